#include "exercises/rtf_reader.h"
#include "rtf_test_util.h"

#include <QBuffer>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace tolvi;
using namespace tolvi::rtftest;

namespace {

// Reads an RTF text; the test fails when the reader reports an error.
std::vector<Paragraph> read(const QByteArray& rtf, QTextDocument& doc)
{
    QString error;
    EXPECT_TRUE(readRtf(rtf, doc, &error)) << error.toStdString();
    return paragraphs(doc);
}

QString textOf(const QByteArray& rtf)
{
    QTextDocument doc;
    read(rtf, doc);
    return plainText(doc);
}

// A small red PNG, 4 x 2 pixels, in hexadecimal as RTF carries it.
QByteArray redPngHex()
{
    QImage image(4, 2, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 0));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png.toHex();
}

}  // namespace

// The samples were written by LibreOffice 7.4 from the HTML files of
// data/sources (soffice --infilter="HTML (StarWriter)" --convert-to rtf, and
// for lo_exercice.rtf through an ODT document first).
TEST(RtfReader, LibreOfficeStatementKeepsTextAndLook)
{
    QTextDocument doc;
    const auto ps = read(testData("lo_enonce.rtf"), doc);
    EXPECT_EQ(plainText(doc),
              QString::fromUtf8("Célérité d’une onde\n"
                                "Un signal se propage le long d’une corde élastique : on note ses déformations en M1 et M2.\n"
                                "Données : tension T = 2,5 N, masse linéique µ = 10-1 kg·m-1. Prix : 5 € ; « œuvre » à l’étude… "
                                "Garçon à la fenêtre.\n"
                                "Texte rouge, souligné, barré, vert gras italique.\n"
                                "•\tPremier point : la célérité \n"
                                "•\tSecond point : la période \n"
                                "Durée (s)\nPosition (m)\n"  // a table of two rows
                                "0,5\n1,25\n"
                                "Aligné à droite\n"
                                "Image : \uFFFC fin."));
    ASSERT_EQ(ps.size(), 12u);

    // Centred title: Arial 18, bold, blue (0, 0, 200).
    EXPECT_EQ(ps[0].align, int(Qt::AlignHCenter));
    ASSERT_EQ(ps[0].runs.size(), 1u);
    EXPECT_EQ(ps[0].runs[0].family, "Arial");
    EXPECT_EQ(ps[0].runs[0].points, 18.0);
    EXPECT_TRUE(ps[0].runs[0].bold);
    EXPECT_EQ(ps[0].runs[0].color, "#0000c8");

    // M1 and M2: the digits lowered (\dn2), the rest on the line.
    ASSERT_EQ(ps[1].runs.size(), 5u);
    EXPECT_EQ(ps[1].runs[1].text, "1");
    EXPECT_EQ(ps[1].runs[1].script, QTextCharFormat::AlignSubScript);
    EXPECT_EQ(ps[1].runs[1].shift, -2);
    EXPECT_EQ(ps[1].runs[0].script, QTextCharFormat::AlignNormal);
    EXPECT_EQ(ps[1].runs[0].points, 10.0);

    // 10⁻¹ raised; italic and bold pieces.
    EXPECT_EQ(runText(ps, 2, 0), QString::fromUtf8("Données :"));
    EXPECT_TRUE(ps[2].runs[0].italic);
    EXPECT_EQ(runText(ps, 2, 2), "T = 2,5 N");
    EXPECT_TRUE(ps[2].runs[2].bold);
    EXPECT_EQ(runText(ps, 2, 4), "-1");
    EXPECT_EQ(ps[2].runs[4].script, QTextCharFormat::AlignSuperScript);
    EXPECT_EQ(ps[2].runs[4].shift, 7);

    // Red, underlined, struck out, green bold italic.
    EXPECT_EQ(runText(ps, 3, 0), "Texte rouge");
    EXPECT_EQ(ps[3].runs[0].color, "#ff0000");
    EXPECT_EQ(runText(ps, 3, 2), QString::fromUtf8("souligné"));
    EXPECT_TRUE(ps[3].runs[2].underline);
    EXPECT_EQ(runText(ps, 3, 4), QString::fromUtf8("barré"));
    EXPECT_TRUE(ps[3].runs[4].strike);
    EXPECT_EQ(runText(ps, 3, 6), "vert gras italique");
    EXPECT_TRUE(ps[3].runs[6].bold && ps[3].runs[6].italic);
    EXPECT_EQ(ps[3].runs[6].color, "#008000");

    // List items hang their bullet: 709 twips in, first line 283 twips out.
    EXPECT_NEAR(ps[4].left, 709 / 15.0, 0.01);
    EXPECT_NEAR(ps[4].indent, -283 / 15.0, 0.01);
    EXPECT_EQ(ps[10].align, int(Qt::AlignRight));
    // Spacing of the "Text Body" style, written out on each paragraph.
    EXPECT_NEAR(ps[1].after, 140 / 15.0, 0.01);
    EXPECT_EQ(ps[1].lineType, QTextBlockFormat::ProportionalHeight);
    EXPECT_NEAR(ps[1].line, 115.0, 0.01);

    // The PNG of the shape, not the metafile beside it, at 200 %.
    ASSERT_EQ(ps[11].runs.size(), 3u);
    const TextRun& picture = ps[11].runs[1];
    ASSERT_FALSE(picture.image.isNull());
    EXPECT_EQ(picture.image.size(), QSize(16, 8));
    EXPECT_EQ(picture.image.pixelColor(3, 3), QColor(255, 0, 0));
    EXPECT_NEAR(picture.imageWidth, 32, 0.01);
    EXPECT_NEAR(picture.imageHeight, 16, 0.01);
}

TEST(RtfReader, LibreOfficeExerciseKeepsTextAndLook)
{
    QTextDocument doc;
    const auto ps = read(testData("lo_exercice.rtf"), doc);
    EXPECT_EQ(plainText(doc),
              QString::fromUtf8("Réflexion à l’extrémité fixe\n"
                                "On étudie la réflexion d’une impulsion : la célérité vaut v = √(T/µ) ; la longueur "
                                "d’onde λ = v·T. Œuvre d’élève — « très bien ».\n"
                                "Surligné en jaune et Courier 14.\n"
                                " 1.\tMesurer la durée Δt entre deux passages. \n"
                                " 2.\tCalculer v en m·s−1. \n"
                                "H2O et 3,0×108 m/s.\u2028Ligne suivante après un saut de ligne.\n"
                                "Photo : \uFFFC"));
    ASSERT_EQ(ps.size(), 7u);
    EXPECT_EQ(ps[0].align, int(Qt::AlignHCenter));
    EXPECT_EQ(ps[0].runs[0].color, "#0000c8");
    EXPECT_EQ(ps[1].align, int(Qt::AlignJustify));
    EXPECT_NEAR(ps[1].left, 37.8, 0.1);  // 1 cm
    EXPECT_NEAR(ps[1].indent, 37.8, 0.1);
    EXPECT_EQ(ps[1].runs[0].family, "Times New Roman");
    EXPECT_EQ(ps[2].runs[0].text, QString::fromUtf8("Surligné en jaune"));
    EXPECT_EQ(ps[2].runs[0].background, "#ffff00");
    EXPECT_EQ(runText(ps, 2, 2), "Courier 14");
    EXPECT_EQ(ps[2].runs[2].family, "Courier New");
    EXPECT_EQ(ps[2].runs[2].points, 14.0);
    EXPECT_EQ(runText(ps, 5, 1), "2");
    EXPECT_EQ(ps[5].runs[1].script, QTextCharFormat::AlignSubScript);
    EXPECT_EQ(runText(ps, 5, 3), "8");
    EXPECT_EQ(ps[5].runs[3].script, QTextCharFormat::AlignSuperScript);
    ASSERT_EQ(ps[6].runs.size(), 2u);
    EXPECT_EQ(ps[6].runs[1].image.size(), QSize(20, 10));
    EXPECT_GT(ps[6].runs[1].image.pixelColor(10, 5).blue(), 150);  // the JPEG's blue
}

TEST(RtfReader, CharactersEscapesAndCodePage)
{
    // Windows-1252, not Latin-1: 0x80-0x9F are €, ’, œ...
    EXPECT_EQ(textOf("{\\rtf1\\ansi\\ansicpg1252 \\'80 l\\'92\\'9cuvre \\'e9t\\'e9\\'85}"),
              QString::fromUtf8("€ l’œuvre été…"));
    // Unescaped 8-bit bytes are read in the document's code page.
    EXPECT_EQ(textOf("{\\rtf1\\ansi caf\xE9 \x80}"), QString::fromUtf8("café €"));
    EXPECT_EQ(textOf("{\\rtf1\\ansi\\ansicpg1251 caf\xE9 \x80}"), QString::fromUtf8("cafй Ђ"));
    EXPECT_EQ(textOf("{\\rtf1 a\\\\b\\{c\\}d\\~e\\-f\\_g}"), QString::fromUtf8("a\\b{c}d\u00A0e\u00ADf\u2011g"));
    EXPECT_EQ(textOf("{\\rtf1 \\lquote a\\rquote  \\ldblquote b\\rdblquote \\emdash\\endash\\bullet}"),
              QString::fromUtf8("‘a’ “b”—–•"));
    EXPECT_EQ(textOf("{\\rtf1 a\\tab b\\line c\tz}"), QString::fromUtf8("a\tb\u2028c\tz"));
    // Line ends of the file are not text; a backslash before one is a paragraph.
    EXPECT_EQ(textOf("{\\rtf1 un\r\ndeux\\\ntrois}"), "undeux\ntrois");
    // The blank after a control word is its delimiter; a second one is text.
    EXPECT_EQ(textOf("{\\rtf1 \\b  x\\b0 y}"), " xy");
}

TEST(RtfReader, UnicodeCharactersSkipTheirFallback)
{
    EXPECT_EQ(textOf("{\\rtf1 \\u955\\'3f = \\u8364\\'80}"), QString::fromUtf8("λ = €"));
    EXPECT_EQ(textOf("{\\rtf1 \\u955?x}"), QString::fromUtf8("λx"));
    EXPECT_EQ(textOf("{\\rtf1\\uc2 \\u955 abc}"), QString::fromUtf8("λc"));
    EXPECT_EQ(textOf("{\\rtf1\\uc0 \\u955 abc}"), QString::fromUtf8("λabc"));
    // \uc is part of the group's state.
    EXPECT_EQ(textOf("{\\rtf1 {\\uc2 \\u955 ab}\\u955 ab}"), QString::fromUtf8("λλb"));
    // A control word counts as one fallback character; a group ends the fallback.
    EXPECT_EQ(textOf("{\\rtf1 \\u955\\emdash x\\u955{\\b y}}"), QString::fromUtf8("λxλy"));
    // Characters beyond U+7FFF are negative; beyond U+FFFF, surrogate pairs.
    EXPECT_EQ(textOf("{\\rtf1 \\u-3913\\'3f \\u-10179\\'3f\\u-8704\\'3f}"), QString::fromUtf8("\uF0B7 😀"));
    // A half of a pair alone, and characters the document reserves, are dropped.
    EXPECT_EQ(textOf("{\\rtf1 a\\u-10179\\'3f b\\u8233\\'3f\\u65532\\'3fc}"), "a bc");
}

TEST(RtfReader, SymbolFontsBecomeUnicode)
{
    QTextDocument doc;
    const auto ps = read("{\\rtf1\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\ftech\\fcharset2 Symbol;}"
                         "{\\f2\\fnil\\fcharset2 Wingdings;}}"
                         "{\\f1 l}=v{\\f1\\'b4}T {\\f1 D}t {\\f1 m}, {\\f2\\'a7}}",
                         doc);
    EXPECT_EQ(plainText(doc), QString::fromUtf8("λ=v×T Δt μ, ▪"));
    // Shown in the document's font, not in Symbol.
    ASSERT_FALSE(ps[0].runs.empty());
    for (const TextRun& r : ps[0].runs)
        EXPECT_EQ(r.family, "Arial") << r;
}

TEST(RtfReader, GroupsSaveAndRestoreCharacterState)
{
    QTextDocument doc;
    const auto ps = read("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}"
                         "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue200;}"
                         "\\f0\\fs20 a{\\b b{\\i\\f1\\fs30\\cf1 c}d}e\\ul f\\ul0 g\\ulw h\\ulnone i"
                         "\\strike j\\strike0 k\\b\\i\\cf2 l\\plain m\\cf1\\highlight2 n\\cf0\\highlight0 o"
                         "\\b p\\b0 q{\\v hidden}r}",
                         doc);
    ASSERT_EQ(ps.size(), 1u);
    const auto& r = ps[0].runs;
    EXPECT_EQ(plainText(doc), "abcdefghijklmnopqr");
    auto find = [&](const char* text) -> const TextRun& {
        for (const TextRun& run : r)
            if (run.text == QLatin1String(text))
                return run;
        static TextRun none;
        ADD_FAILURE() << "no run " << text;
        return none;
    };
    EXPECT_EQ(find("a").family, "Arial");
    EXPECT_EQ(find("a").points, 10.0);
    EXPECT_EQ(r[1].text, "b");
    EXPECT_TRUE(r[1].bold);
    EXPECT_EQ(r[2].text, "c");
    EXPECT_TRUE(r[2].bold && r[2].italic);
    EXPECT_EQ(r[2].family, "Courier New");
    EXPECT_EQ(r[2].points, 15.0);
    EXPECT_EQ(r[2].color, "#ff0000");
    EXPECT_EQ(r[3].text, "d");
    EXPECT_TRUE(r[3].bold && !r[3].italic);
    EXPECT_EQ(r[3].family, "Arial");
    EXPECT_EQ(r[3].color, "");
    EXPECT_EQ(find("e").bold, false);
    EXPECT_TRUE(find("f").underline);
    EXPECT_FALSE(find("g").underline);
    EXPECT_TRUE(find("h").underline);
    EXPECT_TRUE(find("j").strike);
    EXPECT_FALSE(find("k").strike);
    EXPECT_EQ(find("l").color, "#0000c8");
    // \plain: back to the default font at 12 points, nothing set.
    const TextRun& m = find("m");
    EXPECT_FALSE(m.bold || m.italic || m.underline);
    EXPECT_EQ(m.points, 12.0);
    EXPECT_EQ(m.color, "");
    EXPECT_EQ(find("n").color, "#ff0000");
    EXPECT_EQ(find("n").background, "#0000c8");
    EXPECT_EQ(find("o").color, "");  // colour 0 of this table is automatic
    EXPECT_EQ(find("o").background, "");
    EXPECT_TRUE(find("p").bold);
    EXPECT_FALSE(find("qr").bold);
}

TEST(RtfReader, TablesWithoutGroupsAndExplicitColourZero)
{
    QTextDocument doc;
    const auto ps = read("{\\rtf1\\deff1{\\fonttbl\\f0\\fswiss Arial;\\f1\\fmodern Courier New;}"
                         "{\\colortbl\\red0\\green128\\blue0;\\red1\\green2\\blue3}"
                         "\\f1 a\\cf0 b\\cf1 c\\cf9 d\\f7 e}",
                         doc);
    ASSERT_EQ(ps[0].runs.size(), 4u);
    EXPECT_EQ(ps[0].runs[0].family, "Courier New");
    EXPECT_EQ(ps[0].runs[1].color, "#008000");
    EXPECT_EQ(ps[0].runs[2].color, "#010203");  // last entry without its ';'
    EXPECT_EQ(ps[0].runs[3].text, "de");        // unknown colour and font: defaults
    EXPECT_EQ(ps[0].runs[3].color, "");
}

TEST(RtfReader, SuperscriptsSubscriptsAndOffsets)
{
    QTextDocument doc;
    // As the rich-text box of Windows writes lowered text: \dn5 ... \up0.
    const auto ps = read("{\\rtf1 M\\dn5 1\\up0  et 10\\super 8\\nosupersub  H\\sub 2\\sub0 O x\\up6 2\\dn0 .}", doc);
    EXPECT_EQ(plainText(doc), "M1 et 108 H2O x2.");
    const auto& r = ps[0].runs;
    ASSERT_EQ(r.size(), 9u);
    EXPECT_EQ(r[1].text, "1");
    EXPECT_EQ(r[1].script, QTextCharFormat::AlignSubScript);
    EXPECT_EQ(r[1].shift, -5);
    EXPECT_EQ(r[2].script, QTextCharFormat::AlignNormal);
    EXPECT_EQ(r[3].text, "8");
    EXPECT_EQ(r[3].script, QTextCharFormat::AlignSuperScript);
    EXPECT_EQ(r[3].shift, 0);
    EXPECT_EQ(r[5].text, "2");
    EXPECT_EQ(r[5].script, QTextCharFormat::AlignSubScript);
    EXPECT_EQ(r[6].script, QTextCharFormat::AlignNormal);  // \sub0 ends it too
    EXPECT_EQ(r[7].shift, 6);
    EXPECT_EQ(r[8].script, QTextCharFormat::AlignNormal);
}

TEST(RtfReader, ParagraphsAlignmentIndentsAndSpacing)
{
    QTextDocument doc;
    const auto ps = read("{\\rtf1\\pard\\qc\\sb240\\sa120 Titre\\par"
                         "\\pard\\li1440\\ri720\\fi-360\\sl360\\slmult1\\qj Corps\\par"
                         "\\qr{\\pard\\ql gauche\\par}droite\\par"
                         "\\pard\\sl-300\\slmult0 fixe\\par\\pard\\sl300 au moins\\par"
                         "\\pard\\par x\\page y}",
                         doc);
    EXPECT_EQ(plainText(doc), "Titre\nCorps\ngauche\ndroite\nfixe\nau moins\n\nx\ny");
    ASSERT_EQ(ps.size(), 9u);
    EXPECT_EQ(ps[0].align, int(Qt::AlignHCenter));
    EXPECT_NEAR(ps[0].before, 16, 1e-9);  // 240 twips at 96 dots per inch
    EXPECT_NEAR(ps[0].after, 8, 1e-9);
    EXPECT_EQ(ps[1].align, int(Qt::AlignJustify));
    EXPECT_NEAR(ps[1].left, 96, 1e-9);
    EXPECT_NEAR(ps[1].right, 48, 1e-9);
    EXPECT_NEAR(ps[1].indent, -24, 1e-9);
    EXPECT_EQ(ps[1].lineType, QTextBlockFormat::ProportionalHeight);
    EXPECT_NEAR(ps[1].line, 150, 1e-9);
    // Paragraph properties belong to the group, as character ones do.
    EXPECT_EQ(ps[2].align, int(Qt::AlignLeft));
    EXPECT_EQ(ps[3].align, int(Qt::AlignRight));
    EXPECT_EQ(ps[4].lineType, QTextBlockFormat::FixedHeight);
    EXPECT_NEAR(ps[4].line, 20, 1e-9);
    EXPECT_EQ(ps[5].lineType, QTextBlockFormat::MinimumHeight);

    // The last \par closes the last paragraph rather than opening an empty one.
    EXPECT_EQ(textOf("{\\rtf1 a\\par}"), "a");
    EXPECT_EQ(textOf("{\\rtf1 a\\par\\par}"), "a\n");
    EXPECT_EQ(textOf("{\\rtf1 a\\par b}"), "a\nb");
    EXPECT_EQ(textOf("{\\rtf1}"), "");
}

TEST(RtfReader, ListsAsText)
{
    // Word's lists: the number or bullet is in \listtext (old files: \pntext).
    EXPECT_EQ(textOf("{\\rtf1{\\*\\listtable{\\list{\\listlevel{\\leveltext \\'01\\u8226 ?;}}}}"
                     "{\\listoverridetable{\\listoverride\\ls1}}"
                     "{\\listtext 1.\\tab}\\ls1 un\\par{\\pntext\\f0 2.\\tab}{\\*\\pn\\pnlvlbody{\\pntxta .}}deux\\par}"),
              "1.\tun\n2.\tdeux");
}

TEST(RtfReader, DestinationsThatAreNotText)
{
    EXPECT_EQ(textOf("{\\rtf1{\\*\\generator Word;}{\\info{\\title T}{\\author A}}"
                     "{\\stylesheet{\\s0 Normal;}{\\s1 heading 1;}}{\\header en-t\\'eate}{\\footer pied}"
                     "{\\*\\unknown{\\nested x}y}a{\\*\\bkmkstart m}b"
                     "{\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt lien}}"
                     "{\\field{\\fldinst PAGE}{\\fldrslt 1}}\\v cach\\'e9\\v0 c{\\*\\pgdsctbl{\\pgdsc0 P;}}}"),
              "ablien1c");
}

TEST(RtfReader, PicturesPngJpegAndOthers)
{
    const QByteArray hex = redPngHex();
    QTextDocument doc;
    auto ps = read("{\\rtf1 a{\\pict\\pngblip\\picw4\\pich2\\picwgoal600\\pichgoal300\\picscalex50\\picscaley100\n"
                       + hex.left(20) + "\r\n" + hex.mid(20) + "}b}",
                   doc);
    ASSERT_EQ(ps[0].runs.size(), 3u);
    EXPECT_EQ(ps[0].runs[1].image.size(), QSize(4, 2));
    EXPECT_EQ(ps[0].runs[1].image.pixelColor(0, 0), QColor(255, 0, 0));
    EXPECT_NEAR(ps[0].runs[1].imageWidth, 20, 1e-9);  // 600 twips at 50 %
    EXPECT_NEAR(ps[0].runs[1].imageHeight, 20, 1e-9);

    // Binary data; a picture without a wanted size keeps its own.
    QByteArray png = QByteArray::fromHex(hex);
    ps = read("{\\rtf1{\\pict\\pngblip\\bin" + QByteArray::number(png.size()) + " " + png + "}}", doc);
    ASSERT_EQ(ps[0].runs.size(), 1u);
    EXPECT_NEAR(ps[0].runs[0].imageWidth, 4, 1e-9);

    // Word: the shape's PNG once, its metafile copy skipped; a floating shape's
    // picture through its properties; pictures that cannot be shown leave a
    // visible mark; data without its kind is known by its bytes.
    ps = read("{\\rtf1 x{\\*\\shppict{\\pict{\\*\\picprop{\\sp{\\sn n}{\\sv v}}}\\pngblip " + hex
                  + "}}{\\nonshppict{\\pict\\wmetafile8 0100}}"
                    "{\\shp{\\*\\shpinst\\shpleft0{\\sp{\\sn pib}{\\sv {\\pict\\pngblip "
                  + hex + "}}}}{\\shprslt{\\pict\\wmetafile8 01}}}"
                          "{\\pict\\emfblip 0102}{\\pict\\dibitmap0 0102}{\\pict\\jpegblip ffd8ff00}"
                          "{\\pict\\pngblip 89504e47zz}{\\pict " + hex + "}y}",
              doc);
    EXPECT_EQ(plainText(doc), QString::fromUtf8("x\uFFFC\uFFFC") + kPictureNotShown.repeated(4) + QString::fromUtf8("\uFFFCy"));
}

TEST(RtfReader, DamagedDataGivesAnErrorOrPartialText)
{
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("avant"));
    QString error;
    EXPECT_FALSE(readRtf("Bonjour", doc, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(readRtf("", doc, nullptr));
    EXPECT_FALSE(readRtf("{\\rt", doc, nullptr));
    // What is not RTF leaves the document as it was.
    EXPECT_EQ(plainText(doc), "avant");

    // Leading blanks are tolerated; missing or extra braces are not fatal.
    EXPECT_EQ(textOf("\r\n {\\rtf1 {\\b gras} suite"), "gras suite");
    EXPECT_TRUE(readRtf("{\\rtf1 a}}}b", doc, nullptr));
    EXPECT_EQ(plainText(doc), "a");

    // Very deep groups: the text inside and after them is kept, and the
    // groups beyond the depth kept apart still end what they skip.
    QByteArray deep = "{\\rtf1 d\\'e9but" + QByteArray(100000, '{') + "x";
    EXPECT_EQ(textOf(deep), QString::fromUtf8("débutx"));
    deep = "{\\rtf1 a" + QByteArray(100000, '{') + "{\\*\\skip cach\\'e9}b\\b c" + QByteArray(100000, '}') + " d\\par}";
    QTextDocument deepDoc;
    const auto ps = read(deep, deepDoc);
    EXPECT_EQ(plainText(deepDoc), "abc d");
    ASSERT_EQ(ps[0].runs.size(), 3u);
    EXPECT_TRUE(ps[0].runs[1].bold);
    EXPECT_FALSE(ps[0].runs[2].bold);  // the group that held \b is closed

    // Cut short anywhere; absurd numbers and words; \bin longer than the data.
    for (const char* bad : {"{\\rtf1 a\\", "{\\rtf1 a\\'", "{\\rtf1 a\\'4", "{\\rtf1 a\\u", "{\\rtf1 a\\u-",
                            "{\\rtf1{\\pict\\pngblip 89504", "{\\rtf1 a\\bin99999999 b", "{\\rtf1{\\fonttbl{\\f0 Ar",
                            "{\\rtf1 \\fs99999999999999999999 a\\fs-5 b\\li-99999999999 c\\u99999999 d",
                            "{\\rtf1 \\aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa1 a\\'zz b"}) {
        readRtf(bad, doc, nullptr);
        EXPECT_LE(plainText(doc).remove(kPictureNotShown).size(), 8) << bad;
    }
    EXPECT_EQ(textOf("{\\rtf1 a\\'zz b"), "azz b");
    EXPECT_EQ(textOf("{\\rtf1 \\aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa1 a}"), "a");

    // Reading replaces what the document held.
    EXPECT_TRUE(readRtf("{\\rtf1 nouveau}", doc, nullptr));
    EXPECT_EQ(plainText(doc), "nouveau");
}

TEST(RtfReader, BinaryDataIsSkippedWhereverItStands)
{
    // In a skipped destination its bytes are neither text nor braces.
    EXPECT_EQ(textOf("{\\rtf1 avant{\\*\\objdata\\bin8 }x} VISI} apr\\'e8s\\par}"), QString::fromUtf8("avant après"));
    EXPECT_EQ(textOf("{\\rtf1 a{\\*\\unknown{\\bin3 {{{}}b\\bin2 }}c}"), "abc");
    // A megabyte of object data with every kind of byte in it.
    QByteArray object(1 << 20, '\0');
    quint32 x = 12345;
    for (char& c : object) {
        x = x * 1103515245u + 12345u;
        c = static_cast<char>(x >> 24);
    }
    EXPECT_EQ(textOf("{\\rtf1 avant{\\object{\\*\\objdata\\bin" + QByteArray::number(object.size()) + " " + object
                     + "}} apr\\'e8s}"),
              QString::fromUtf8("avant après"));
    // Longer than the data: the rest of the file is binary.
    EXPECT_EQ(textOf("{\\rtf1 avant{\\*\\objdata\\bin2000000000 " + object.left(1000) + "}} apres}"), "avant");
}

TEST(RtfReader, AbsurdPictureSizesShrinkToAPage)
{
    const QByteArray hex = redPngHex();
    QTextDocument doc;
    auto ps = read("{\\rtf1{\\pict\\pngblip\\picwgoal2000000000\\pichgoal1000000000 " + hex + "}}", doc);
    ASSERT_EQ(ps[0].runs.size(), 1u);
    EXPECT_NEAR(ps[0].runs[0].imageWidth, 643, 0.5);  // the text's width on an A4 page
    EXPECT_NEAR(ps[0].runs[0].imageHeight, 321.5, 0.5);
    ps = read("{\\rtf1{\\pict\\pngblip\\picwgoal-30\\pichgoal-30\\picscalex1000\\picscaley1 " + hex + "}}", doc);
    ASSERT_EQ(ps[0].runs.size(), 1u);
    EXPECT_NEAR(ps[0].runs[0].imageWidth, 40, 1e-9);  // its own size, scaled
    EXPECT_NEAR(ps[0].runs[0].imageHeight, 1, 1e-9);  // never less than a pixel
}
