// What word processors write beside plain formatted text: LibreOffice's
// shapes and lists, AbiWord's links, Word's footnotes, sections and
// metafiles, Macintosh and Korean code pages. Each file is small and written
// here in the shape its producer gives it.
#include "exercises/rtf_reader.h"
#include "exercises/rtf_reader_state.h"
#include "exercises/rtf_table.h"
#include "exercises/rtf_writer.h"
#include "rtf_test_util.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace tolvi;
using namespace tolvi::rtftest;

namespace {

QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 30);
    return bytes;
}

QImage filled(int w, int h, QColor color)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

// The packed bitmap of an image: BITMAPINFOHEADER then the rows, bottom up,
// 24 bits a pixel.
QByteArray dib(const QImage& image)
{
    const QByteArray bmp = encoded(image.convertToFormat(QImage::Format_RGB888), "BMP");
    return bmp.mid(14);  // the file header is all that a DIB lacks
}

void put16(QByteArray& out, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

void put32(QByteArray& out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

// A Windows metafile as WordPad writes a pasted Paint picture: its header,
// a window's size, a StretchDIB record with the bitmap, the end record.
QByteArray wmfWithBitmap(const QByteArray& bitmap)
{
    QByteArray records;
    put32(records, 5);  // SetWindowExt
    put16(records, 0x020C);
    put16(records, 100);
    put16(records, 100);
    QByteArray stretch;
    put32(stretch, 0x00CC0020);  // SRCCOPY
    put16(stretch, 0);           // colours: RGB
    for (int i = 0; i < 8; ++i)
        put16(stretch, 10);
    stretch += bitmap;
    if (stretch.size() % 2)
        stretch += '\0';
    put32(records, quint32(3 + stretch.size() / 2));
    put16(records, 0x0F43);
    records += stretch;
    put32(records, 3);
    put16(records, 0);
    QByteArray wmf;
    put16(wmf, 1);
    put16(wmf, 9);
    put16(wmf, 0x300);
    put32(wmf, quint32((18 + records.size()) / 2));
    put16(wmf, 0);
    put32(wmf, 0);
    put16(wmf, 0);
    return wmf + records;
}

// A metafile that draws only a line (a Word equation draws lines and text).
QByteArray wmfOfLines()
{
    QByteArray wmf;
    put16(wmf, 1);
    put16(wmf, 9);
    put16(wmf, 0x300);
    put32(wmf, 9 + 5 + 3);
    put16(wmf, 0);
    put32(wmf, 5);
    put16(wmf, 0);
    put32(wmf, 5);  // LineTo
    put16(wmf, 0x0213);
    put16(wmf, 10);
    put16(wmf, 10);
    put32(wmf, 3);
    put16(wmf, 0);
    return wmf;
}

int pictureCount(const QTextDocument& doc)
{
    return int(plainText(doc).count(QChar::ObjectReplacementCharacter));
}

QImage firstImage(const QTextDocument& doc)
{
    for (const Paragraph& p : paragraphs(doc))
        for (const TextRun& r : p.runs)
            if (!r.image.isNull())
                return r.image;
    return {};
}

}  // namespace

TEST(RtfWordProcessors, LongWordsBreakWithoutChangingTheText)
{
    const QString word(5000, u'a');
    QTextDocument doc;
    ASSERT_TRUE(readRtf("{\\rtf1\\ansi court " + word.toLatin1() + " fin\\par}", doc));
    EXPECT_EQ(shownPlainText(doc), "court " + word + " fin");
    // Lines of a narrow page end inside the word, at most every so many letters.
    doc.setTextWidth(300);
    doc.documentLayout()->documentSize();
    const QTextLayout* layout = doc.begin().layout();
    ASSERT_GT(layout->lineCount(), 5000 / rtf::kLongWord);
    for (int i = 0; i < layout->lineCount(); ++i)
        EXPECT_LE(layout->lineAt(i).textLength(), rtf::kLongWord + 8) << "line " << i;
    // The breaks are not written: the word comes back whole.
    const QByteArray rtf = writeRtf(doc);
    EXPECT_FALSE(rtf.contains("\\u8203"));
    QTextDocument back;
    ASSERT_TRUE(readRtf(rtf, back));
    EXPECT_EQ(shownPlainText(back), "court " + word + " fin");
    // Ordinary words and text with blanks get none.
    ASSERT_TRUE(readRtf("{\\rtf1 " + QByteArray(rtf::kLongWord - 1, 'b') + " " + QByteArray(3000, ' ') + "c}", doc));
    EXPECT_EQ(doc.toPlainText(), shownPlainText(doc));
}

TEST(RtfWordProcessors, PicturesOfShapesAndLabelsShownOnce)
{
    const QByteArray png = encoded(filled(8, 4, Qt::red), "PNG").toHex();
    const QByteArray jpeg = encoded(filled(16, 8, Qt::blue), "JPEG").toHex();
    QTextDocument doc;
    // LibreOffice: the shape's picture, and the same again as its fill.
    ASSERT_TRUE(readRtf("{\\rtf1\\ansi x{\\shp{\\*\\shpinst\\shpleft0\\shpright240{\\sp{\\sn shapeType}{\\sv 75}}"
                        "{\\sp{\\sn pib}{\\sv {\\pict\\picw8\\pich4\\picwgoal240\\pichgoal120\\pngblip\n" + png + "}}}"
                        "{\\sp{\\sn fillBlip}{\\sv {\\pict\\picw8\\pich4\\pngblip\n" + png + "}}}}}"
                        "y{\\shp{\\*\\shpinst{\\sp{\\sn pib}{\\sv {\\pict\\pngblip " + png + "}}}}}z\\par}",
                        doc));
    EXPECT_EQ(plainText(doc), QString::fromUtf8("x\uFFFCy\uFFFCz"));
    // JPEG data under the PNG label is shown by what it is.
    RtfReadNotes notes;
    ASSERT_TRUE(readRtf("{\\rtf1 a{\\pict\\pngblip\\picw16\\pich8 " + jpeg + "}b}", doc, nullptr, &notes));
    EXPECT_EQ(pictureCount(doc), 1);
    EXPECT_EQ(firstImage(doc).size(), QSize(16, 8));
    EXPECT_EQ(notes.picturesNotShown, 0);
}

TEST(RtfWordProcessors, BitmapsAndMetafilesShownOrNamedAndKept)
{
    const QImage green = filled(6, 3, QColor(0, 160, 0));
    const QByteArray bitmap = dib(green);
    const QByteArray pasted = wmfWithBitmap(bitmap);
    QTextDocument doc;
    RtfReadNotes notes;
    // WordPad: a Paint object's result; a bitmap; an equation drawn in lines.
    ASSERT_TRUE(readRtf("{\\rtf1\\ansi a{\\object\\objemb{\\*\\objclass Paint.Picture}{\\*\\objdata 0102}"
                        "{\\result{\\pict\\wmetafile8\\picw159\\pich79\\picwgoal90\\pichgoal45 " + pasted.toHex()
                        + "}}}b{\\pict\\dibitmap0\\picw6\\pich3 " + bitmap.toHex() + "}c"
                        "{\\pict\\wmetafile8\\picw300\\pich100 " + wmfOfLines().toHex() + "}d"
                        "{\\pict\\emfblip 0100000058000000}e\\par}",
                        doc, nullptr, &notes));
    EXPECT_EQ(plainText(doc), QString::fromUtf8("a\uFFFCb\uFFFCc") + kPictureNotShown + "d" + kPictureNotShown + "e");
    EXPECT_EQ(notes.picturesNotShown, 2);
    const auto ps = paragraphs(doc);
    ASSERT_GE(ps[0].runs.size(), 4u);
    EXPECT_EQ(ps[0].runs[1].image.pixelColor(2, 1), QColor(0, 160, 0));
    EXPECT_EQ(ps[0].runs[1].imageWidth, 6);  // 90 twips
    EXPECT_EQ(ps[0].runs[3].image.size(), QSize(6, 3));

    // Saved as they came: LibreOffice and Word get their metafiles back.
    const QByteArray rtf = writeRtf(doc);
    EXPECT_TRUE(rtf.contains("\\wmetafile8\\picw300\\pich100"));
    EXPECT_TRUE(rtf.contains(wmfOfLines().toHex()));
    EXPECT_TRUE(rtf.contains("\\emfblip"));
    EXPECT_FALSE(rtf.contains("image non affich"));
    QTextDocument back;
    ASSERT_TRUE(readRtf(rtf, back, nullptr, &notes));
    EXPECT_EQ(plainText(back), plainText(doc));
    EXPECT_EQ(notes.picturesNotShown, 2);
}

TEST(RtfWordProcessors, HugePhotographsScaledDownWithinTheBudget)
{
    // A 20-megapixel photograph (5 472 x 3 648), and six of 12 megapixels.
    const QByteArray photo = encoded(filled(5472, 3648, QColor(200, 120, 40)), "JPEG").toHex();
    QTextDocument doc;
    RtfReadNotes notes;
    ASSERT_TRUE(readRtf("{\\rtf1 {\\pict\\jpegblip\\picw5472\\pich3648 " + photo + "}}", doc, nullptr, &notes));
    const QImage shown = firstImage(doc);
    ASSERT_FALSE(shown.isNull());
    EXPECT_LE(qint64(shown.width()) * shown.height(), 2560 * 1600);
    EXPECT_NEAR(double(shown.width()) / shown.height(), 5472.0 / 3648, 0.01);
    const auto ps = paragraphs(doc);
    EXPECT_LE(ps[0].runs[0].imageWidth, 643.5);  // the text's width
    EXPECT_EQ(notes.picturesNotShown, 0);
    // Saved at full size.
    EXPECT_TRUE(writeRtf(doc).contains(photo.left(128)));  // written 128 digits a line

    const QByteArray twelve = encoded(filled(4000, 3000, QColor(40, 120, 200)), "JPEG").toHex();
    QByteArray six = "{\\rtf1 ";
    for (int i = 0; i < 6; ++i)
        six += "{\\pict\\jpegblip " + twelve + "}";
    six += "}";
    ASSERT_TRUE(readRtf(six, doc, nullptr, &notes));
    EXPECT_EQ(pictureCount(doc), 6);
    EXPECT_EQ(notes.picturesNotShown, 0);
}

TEST(RtfWordProcessors, ListMarksOfSymbolFontsWithoutTheirFont)
{
    // LibreOffice, from a .docx: the list text has no font of its own.
    QTextDocument doc;
    ASSERT_TRUE(readRtf("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman Liberation Serif;}{\\f1\\fcharset2 Symbol;}}"
                        "{\\listtext\\pard\\plain  \\u61623\\'3f\\tab}\\ls1\\ilvl0 un\\par"
                        "{\\listtext\\pard\\plain  \\u61607\\'3f\\tab}\\ls1\\ilvl1 deux\\par"
                        "{\\listtext\\pard\\plain  \\u61692\\'3f\\tab}\\ls1\\ilvl2 trois\\par"
                        "\\pard\\plain \\u61623\\'3f reste\\par}",
                        doc));
    EXPECT_EQ(plainText(doc), QString::fromUtf8(" •\tun\n ▪\tdeux\n ✓\ttrois\n\uF0B7 reste"));
}

TEST(RtfWordProcessors, FootnotesShownAtTheEndAndWrittenBack)
{
    // LibreOffice's footnotes: the mark raised, the note in the same group.
    const QByteArray rtf = "{\\rtf1\\ansi Une corde de 7 m{\\super \\chftn{\\*\\footnote \\chftn\\pard\\plain "
                           "{ }{La longueur est mesur\\'e9e.}}} : la c\\'e9l\\'e9rit\\'e9"
                           "{\\super\\chftn}{\\footnote\\pard\\plain{\\super\\chftn} Note deux.\\par Suite.}.\\par}";
    QTextDocument doc;
    ASSERT_TRUE(readRtf(rtf, doc));
    EXPECT_EQ(plainText(doc), QString::fromUtf8("Une corde de 7 m1 : la célérité2.\n"
                                                "1 La longueur est mesurée.\n2 Note deux.\nSuite."));
    const auto ps = paragraphs(doc);
    ASSERT_GE(ps[0].runs.size(), 2u);
    EXPECT_EQ(ps[0].runs[1].text, "1");
    EXPECT_EQ(ps[0].runs[1].script, QTextCharFormat::AlignSuperScript);

    const QByteArray written = writeRtf(doc);
    EXPECT_EQ(written.count("{\\*\\footnote"), 2);
    QTextDocument back;
    ASSERT_TRUE(readRtf(written, back));
    EXPECT_EQ(plainText(back), plainText(doc));
}

TEST(RtfWordProcessors, AFileCutInsideANoteKeepsTheTextItsMarkStandsIn)
{
    // The end of the file lost in the middle of the last note.
    const QByteArray rtf = "{\\rtf1\\ansi Avant.\\par Fin de l'\\'e9nonc\\'e9{\\super\\chftn}"
                           "{\\*\\footnote\\pard\\plain{\\super\\chftn} D'apr\\'e8s le man";
    QTextDocument doc;
    readRtf(rtf, doc);
    EXPECT_EQ(plainText(doc), QString::fromUtf8("Avant.\nFin de l'énoncé1\n1 D'après le man"));
    QTextDocument back;
    ASSERT_TRUE(readRtf(writeRtf(doc), back));
    EXPECT_EQ(plainText(back), plainText(doc));
}

TEST(RtfWordProcessors, FieldsKeepTheirResultAndLinksTheirAddress)
{
    // AbiWord: the instruction in a group of its own, the result ignorable.
    QTextDocument doc;
    ASSERT_TRUE(readRtf("{\\rtf1\\ansi Voir le {\\field{\\*\\fldinst {\\f1\\fs24{\\*\\listtag0} HYPERLINK "
                        "\"https://example.org/tolvi\"}}{\\*\\fldrslt{\\f1\\fs24{\\*\\listtag0}simulateur}}} "
                        "page {\\field{\\*\\fldinst PAGE }{\\fldrslt 3}}.\\par}",
                        doc));
    EXPECT_EQ(plainText(doc), "Voir le simulateur page 3.");
    QTextCursor link(&doc);
    link.setPosition(10);
    EXPECT_EQ(link.charFormat().anchorHref(), "https://example.org/tolvi");

    const QByteArray rtf = writeRtf(doc);
    EXPECT_TRUE(rtf.contains("{\\field{\\*\\fldinst HYPERLINK \"https://example.org/tolvi\"}{\\fldrslt "));
    EXPECT_TRUE(rtf.contains("{\\field{\\*\\fldinst PAGE}{\\fldrslt "));
    QTextDocument back;
    ASSERT_TRUE(readRtf(rtf, back));
    EXPECT_EQ(plainText(back), plainText(doc));
    QTextCursor again(&back);
    again.setPosition(10);
    EXPECT_EQ(again.charFormat().anchorHref(), "https://example.org/tolvi");
}

TEST(RtfWordProcessors, SectionColumnAndPageBreaks)
{
    QTextDocument doc;
    // Word ends a section's last paragraph with \sect alone.
    ASSERT_TRUE(readRtf("{\\rtf1 fin de section\\sect\\sectd d\\'e9but\\column colonne\\par\\sect suite\\page"
                        " page deux\\par}",
                        doc));
    EXPECT_EQ(plainText(doc), QString::fromUtf8("fin de section\ndébut\ncolonne\nsuite\npage deux"));
    const QTextBlock second = doc.findBlockByNumber(4);
    EXPECT_EQ(second.blockFormat().pageBreakPolicy(), QTextFormat::PageBreak_AlwaysBefore);
    EXPECT_EQ(doc.findBlockByNumber(3).blockFormat().pageBreakPolicy(), QTextFormat::PageBreak_Auto);
    QTextDocument back;
    ASSERT_TRUE(readRtf(writeRtf(doc), back));
    EXPECT_EQ(back.findBlockByNumber(4).blockFormat().pageBreakPolicy(), QTextFormat::PageBreak_AlwaysBefore);
}

TEST(RtfWordProcessors, MacintoshAndKoreanCodePages)
{
    // Bytes from Python's codecs: Shift-JIS, Big5, EUC-KR, GB2312, Johab,
    // and the Macintosh Greek, Turkish, Central European and Cyrillic sets.
    QTextDocument doc;
    ASSERT_TRUE(readRtf("{\\rtf1\\mac\\ansicpg10001 \\'93\\'fa\\'96\\'7b}", doc));
    EXPECT_EQ(plainText(doc), QString::fromUtf8("日本"));
    ASSERT_TRUE(readRtf("{\\rtf1\\mac{\\fonttbl{\\f0\\fcharset128 Osaka;}{\\f1\\fcharset136 LiSung;}"
                        "{\\f2\\fcharset129 AppleGothic;}{\\f3\\fcharset134 STSong;}{\\f4\\fcharset130 Johab;}"
                        "{\\f5\\fcharset85 Greek;}{\\f6\\fcharset86 Turkish;}{\\f7\\fcharset88 CE;}{\\f8\\fcharset89 Cyr;}}"
                        "\\f0 \\'93\\'fa\\'96\\'7b \\f1 \\'a4\\'a4\\'a4\\'e5 \\f2 \\'c7\\'d1\\'b1\\'b9 \\f3 \\'d6\\'d0\\'ce\\'c4 "
                        "\\f4 \\'d0\\'65\\'d9\\'34 \\f5 \\'e1 \\f6 \\'db \\f7 \\'8b \\f8 \\'84}",
                        doc));
    EXPECT_EQ(plainText(doc), QString::fromUtf8("日本 中文 한국 中文 한· α ğ č Д"));
}

TEST(RtfWordProcessors, RightToLeftParagraphsStartAtTheRight)
{
    QTextDocument doc;
    ASSERT_TRUE(readRtf("{\\rtf1\\ansi\\ansicpg1255{\\fonttbl{\\f0\\fcharset177 Arial;}}"
                        "\\pard\\rtlpar\\f0 \\'f9\\'ec\\'e5\\'ed\\par\\pard\\rtlpar\\ql gauche\\par\\pard ltr\\par}",
                        doc));
    EXPECT_EQ(plainText(doc), QString::fromUtf8("שלום\ngauche\nltr"));
    const QTextBlockFormat rtl = doc.findBlockByNumber(0).blockFormat();
    EXPECT_EQ(rtl.layoutDirection(), Qt::RightToLeft);
    EXPECT_EQ(rtl.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight | Qt::AlignAbsolute);
    EXPECT_EQ(doc.findBlockByNumber(1).blockFormat().alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignLeft | Qt::AlignAbsolute);
    EXPECT_EQ(doc.findBlockByNumber(2).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    QTextDocument back;
    ASSERT_TRUE(readRtf(writeRtf(doc), back));
    EXPECT_EQ(back.findBlockByNumber(0).blockFormat().layoutDirection(), Qt::RightToLeft);
}

TEST(RtfWordProcessors, HeadersAndFootersWrittenBackAsTheyCame)
{
    const QByteArray header = "{\\header \\pard\\plain\\qc {\\b Lyc\\'e9e} {\\field{\\*\\fldinst PAGE}{\\fldrslt 1}}\\par}";
    const QByteArray footer = "{\\footerf \\pard\\plain Fiche 3\\par}";
    QTextDocument doc;
    ASSERT_TRUE(readRtf("{\\rtf1\\ansi " + header + footer + "\\pard Texte\\par}", doc));
    EXPECT_EQ(plainText(doc), "Texte");  // not shown
    const QByteArray rtf = writeRtf(doc);
    EXPECT_TRUE(rtf.contains(header)) << rtf.toStdString();
    EXPECT_TRUE(rtf.contains(footer));
    // And kept through a second saving; a text without them has none.
    QTextDocument back;
    ASSERT_TRUE(readRtf(rtf, back));
    EXPECT_TRUE(writeRtf(back).contains(header));
    ASSERT_TRUE(readRtf("{\\rtf1 autre}", back));
    EXPECT_FALSE(writeRtf(back).contains("\\header"));
}

TEST(RtfWordProcessors, TextsCutIntoTinyPiecesRefusedBeforeReading)
{
    // Some 600 000 pieces of a letter each: refused, the document kept.
    QByteArray tiny = "{\\rtf1 ";
    for (int i = 0; i < 300000; ++i)
        tiny += "{\\b x}{\\i y}";
    tiny += "}";
    QTextDocument doc;
    doc.setPlainText("avant");
    QString error;
    EXPECT_FALSE(readRtf(tiny, doc, &error));
    EXPECT_TRUE(error.startsWith(QString::fromUtf8("Ce texte est trop morcelé pour être affiché"))) << error.toStdString();
    EXPECT_EQ(doc.toPlainText(), "avant");
    // As many groups spread over a text of ordinary paragraphs are read.
    QByteArray spread = "{\\rtf1 ";
    for (int i = 0; i < 130000; ++i)
        spread += "{\\b gras} {\\i pench\\'e9} et du texte ordinaire entre les deux{\\ul x}\\par\n";
    spread += "}";
    EXPECT_TRUE(readRtf(spread, doc, &error));
    EXPECT_EQ(doc.blockCount(), 130000);
}

TEST(RtfWordProcessors, LongParagraphsOfManyFormatsLaidOutInPartsWrittenWhole)
{
    QByteArray rtf = "{\\rtf1\\ansi ";
    QString text;
    for (int i = 0; i < 20000; ++i) {
        rtf += "{\\b gras} texte {\\i pench\\'e9} ";
        text += QString::fromUtf8("gras texte penché ");
    }
    rtf += "\\par}";
    QTextDocument doc;
    ASSERT_TRUE(readRtf(rtf, doc));
    // Several blocks, cut where the format changes, the text whole.
    EXPECT_GT(doc.blockCount(), 2);
    EXPECT_EQ(shownPlainText(doc).remove(u'\n'), text);
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        EXPECT_LE(b.length(), rtf::kMaxBlockText + 64);
    // Saved as one paragraph.
    const QByteArray written = writeRtf(doc);
    EXPECT_EQ(written.count("\\par\n"), 1);
    QTextDocument back;
    ASSERT_TRUE(readRtf(written, back));
    EXPECT_EQ(shownPlainText(back).remove(u'\n'), text);
}
