#include "exercises/rtf_writer.h"
#include "exercises/rtf_reader.h"
#include "rtf_test_util.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace tolvi;
using namespace tolvi::rtftest;

namespace {

QTextCharFormat font(const char* family, double points)
{
    QTextCharFormat f;
    f.setFontFamilies({QString::fromUtf8(family)});
    f.setFontPointSize(points);
    return f;
}

// A statement as the program shows them: a centred blue title, lowered
// indices, exponents, every kind of emphasis, characters from everywhere, a
// picture, and paragraphs with all their settings.
void buildStatement(QTextDocument& doc)
{
    QTextCursor c(&doc);
    QTextBlockFormat title;
    title.setAlignment(Qt::AlignHCenter);
    c.setBlockFormat(title);
    QTextCharFormat f = font("Arial", 18);
    f.setForeground(QColor(0, 0, 200));
    c.insertText("Tolvi", f);

    QTextBlockFormat body;
    body.setLeftMargin(20);
    body.setRightMargin(10);
    body.setTextIndent(-8);
    body.setTopMargin(4);
    body.setBottomMargin(6);
    body.setLineHeight(150, QTextBlockFormat::ProportionalHeight);
    c.insertBlock(body);
    const QTextCharFormat base = font("Arial", 10);
    c.insertText(QString::fromUtf8("Vous pouvez marquer deux points M"), base);
    QTextCharFormat lowered = base;  // lowered by 50 twips, as the introduction does
    lowered.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    lowered.setProperty(kRtfBaselineShift, -5);
    c.insertText("1", lowered);
    c.insertText(" et M", base);
    QTextCharFormat sub = base;
    sub.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    c.insertText("2", sub);
    c.insertText(QString::fromUtf8(" ; µ = 10"), base);
    QTextCharFormat sup = base;
    sup.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    c.insertText(QString::fromUtf8("−1"), sup);
    QTextCharFormat raised = base;
    raised.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    raised.setProperty(kRtfBaselineShift, 6);
    c.insertText("3", raised);

    c.insertBlock(QTextBlockFormat());
    QTextCharFormat bold = base;
    bold.setFontWeight(QFont::Bold);
    c.insertText("gras ", bold);
    QTextCharFormat italic = base;
    italic.setFontItalic(true);
    c.insertText("italique ", italic);
    QTextCharFormat under = base;
    under.setFontUnderline(true);
    c.insertText(QString::fromUtf8("souligné "), under);
    QTextCharFormat strike = base;
    strike.setFontStrikeOut(true);
    c.insertText(QString::fromUtf8("barré "), strike);
    QTextCharFormat red = font("Courier New", 14);
    red.setForeground(QColor(255, 0, 0));
    red.setBackground(QColor(255, 255, 0));
    c.insertText("rouge sur jaune", red);
    c.insertText(QString::fromUtf8("\tà l’œuvre : 5 € « Ÿ » λ Δt 😀 \\{x} a\u00A0b\u2028ligne suivante"), base);

    c.insertBlock(QTextBlockFormat(), font("Arial", 16));  // an empty line of 16 points

    QTextBlockFormat justified;
    justified.setAlignment(Qt::AlignJustify);
    justified.setLineHeight(20, QTextBlockFormat::FixedHeight);
    c.insertBlock(justified);
    c.insertText("Figure : ", base);
    QImage image(3, 2, QImage::Format_ARGB32);
    image.fill(QColor(20, 120, 40));
    image.setPixelColor(0, 0, QColor(250, 0, 0));
    doc.addResource(QTextDocument::ImageResource, QUrl("figure"), image);
    QTextImageFormat picture;
    picture.setName("figure");
    picture.setWidth(30);
    picture.setHeight(20);
    c.insertImage(picture);

    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    right.setLineHeight(18, QTextBlockFormat::MinimumHeight);
    c.insertBlock(right);
    c.insertText(QString::fromUtf8("à droite"), base);
    c.insertBlock(QTextBlockFormat(), base);  // and an empty last paragraph
}

std::vector<Paragraph> roundTrip(const QTextDocument& doc, QByteArray* rtf = nullptr)
{
    const QByteArray out = writeRtf(doc);
    if (rtf)
        *rtf = out;
    QTextDocument back;
    QString error;
    EXPECT_TRUE(readRtf(out, back, &error)) << error.toStdString();
    return paragraphs(back);
}

void expectSame(const std::vector<Paragraph>& expected, const std::vector<Paragraph>& actual)
{
    ASSERT_EQ(expected.size(), actual.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(expected[i], actual[i]) << "paragraph " << i;
}

}  // namespace

TEST(RtfWriter, ReadsBackIdentically)
{
    QTextDocument doc;
    buildStatement(doc);
    const auto original = paragraphs(doc);
    ASSERT_EQ(original.size(), 7u);
    QByteArray rtf;
    const auto back = roundTrip(doc, &rtf);
    expectSame(original, back);
    // The picture really is the picture.
    ASSERT_EQ(back[4].runs.size(), 2u);
    EXPECT_EQ(back[4].runs[1].image.pixelColor(0, 0), QColor(250, 0, 0));
    EXPECT_NEAR(back[4].runs[1].imageWidth, 30, 1e-9);
    EXPECT_TRUE(rtf.contains("\\pngblip"));

    // Text without a font of its own comes back in the document's font.
    QTextDocument plain;
    plain.setDefaultFont(QFont("Liberation Serif", 11));
    QTextCursor(&plain).insertText("sans police");
    const auto p = roundTrip(plain);
    ASSERT_EQ(p.size(), 1u);
    ASSERT_EQ(p[0].runs.size(), 1u);
    EXPECT_EQ(p[0].runs[0].family, "Liberation Serif");
    EXPECT_EQ(p[0].runs[0].points, 11.0);
}

TEST(RtfWriter, WordProcessorFilesSurviveWritingAndReading)
{
    for (const char* name : {"lo_enonce.rtf", "lo_exercice.rtf"}) {
        QTextDocument doc;
        ASSERT_TRUE(readRtf(testData(name), doc, nullptr)) << name;
        SCOPED_TRACE(name);
        expectSame(paragraphs(doc), roundTrip(doc));
    }
}

TEST(RtfWriter, WritesWindows1252AndUnicodeEscapes)
{
    QTextDocument doc;
    buildStatement(doc);
    const QByteArray rtf = writeRtf(doc);
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252"));
    EXPECT_TRUE(rtf.contains("{\\fonttbl{\\f0"));
    EXPECT_TRUE(rtf.contains("{\\colortbl;\\red"));
    EXPECT_TRUE(rtf.trimmed().endsWith('}'));
    for (const char byte : rtf)
        ASSERT_LT(static_cast<unsigned char>(byte), 0x80) << "8-bit byte in the file";
    EXPECT_TRUE(rtf.contains("\\'e0 l\\'92\\'9cuvre : 5 \\'80 \\'ab \\'9f \\'bb"));
    EXPECT_TRUE(rtf.contains("\\u955\\'3f \\u916\\'3ft"));
    EXPECT_TRUE(rtf.contains("\\u-10179\\'3f\\u-8704\\'3f"));  // U+1F600, one half at a time
    EXPECT_TRUE(rtf.contains("\\\\\\{x\\}"));
    EXPECT_TRUE(rtf.contains("a\\~b\\line "));
    // Raised and lowered text as word processors draw it small, with its
    // exact offset for Tolvi.
    EXPECT_TRUE(rtf.contains("\\sub{\\*\\updnprop5800}{\\*\\tolvishift-5}"));
    EXPECT_TRUE(rtf.contains("\\super{\\*\\updnprop5800}{\\*\\tolvishift6}"));
    EXPECT_FALSE(QString::fromLatin1(rtf).contains(QRegularExpression("\\\\(up|dn)[0-9]")));
    // Never a literal '?' as fallback: some readers take it for text.
    EXPECT_FALSE(QString::fromLatin1(rtf).contains(QRegularExpression("\\\\u-?[0-9]+ ?\\?")));

    // Font names outside ASCII, with the table's separator or with soft
    // hyphens in them (found by fuzzing: "Sy\-mbol" was read back as Symbol,
    // whose letters are Greek).
    QTextDocument named;
    QTextCursor c(&named);
    c.insertText("x", font("Écriture;bizarre", 12));
    c.insertText("l", font("Sy\u00ADmbol\u00A0", 12));
    const QByteArray out = writeRtf(named);
    EXPECT_TRUE(out.contains("\\'c9criturebizarre;}"));
    QTextDocument back;
    ASSERT_TRUE(readRtf(out, back, nullptr));
    EXPECT_EQ(plainText(back), "xl");
    const auto ps = paragraphs(back);
    ASSERT_EQ(ps[0].runs.size(), 2u);
    EXPECT_EQ(ps[0].runs[0].family, QString::fromUtf8("Écriturebizarre"));
    EXPECT_EQ(ps[0].runs[1].family, QString::fromUtf8("Sy\u00ADmbol"));
}

TEST(RtfWriter, HugeSizesAreWrittenWithinBounds)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    QImage image(4, 2, QImage::Format_RGB32);
    image.fill(Qt::red);
    doc.addResource(QTextDocument::ImageResource, QUrl("grande"), image);
    QTextImageFormat picture;
    picture.setName("grande");
    picture.setWidth(2e9);
    picture.setHeight(1e9);
    c.insertImage(picture);
    QTextBlockFormat wide;
    wide.setLeftMargin(1e12);
    wide.setTextIndent(-1e12);
    c.insertBlock(wide);
    c.insertText("x", font("Arial", 1e10));
    const QByteArray rtf = writeRtf(doc);
    EXPECT_TRUE(rtf.contains("\\picwgoal31680\\pichgoal15840")) << rtf.toStdString();
    EXPECT_TRUE(rtf.contains("\\li31680\\fi-31680"));
    EXPECT_TRUE(rtf.contains("\\fs3276"));
    EXPECT_FALSE(QString::fromLatin1(rtf).contains(QRegularExpression("\\\\(picw|pich|picwgoal|pichgoal|li|fs)-")));
    QTextDocument back;
    ASSERT_TRUE(readRtf(rtf, back, nullptr));
    const auto ps = paragraphs(back);
    ASSERT_EQ(ps[0].runs.size(), 1u);
    EXPECT_NEAR(ps[0].runs[0].imageWidth, 643, 0.5);
}

TEST(RtfWriter, ListItemsKeepTheirMarks)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText("Avant");
    c.insertBlock();
    c.createList(QTextListFormat::ListDisc);
    c.insertText("premier");
    c.insertBlock();
    c.insertText("second");
    c.insertBlock(QTextBlockFormat());
    c.createList(QTextListFormat::ListDecimal);
    c.insertText(QString::fromUtf8("étape"));
    QTextDocument back;
    ASSERT_TRUE(readRtf(writeRtf(doc), back, nullptr));
    EXPECT_EQ(plainText(back), QString::fromUtf8("Avant\n•\tpremier\n•\tsecond\n1.\tétape"));
}

TEST(RtfWriter, EmptyParagraphsAreKept)
{
    QTextDocument empty;
    auto ps = roundTrip(empty);
    ASSERT_EQ(ps.size(), 1u);
    EXPECT_TRUE(ps[0].runs.empty());

    QTextDocument doc;
    doc.setPlainText("\na\n\n");
    QTextDocument back;
    ASSERT_TRUE(readRtf(writeRtf(doc), back, nullptr));
    EXPECT_EQ(plainText(back), "\na\n\n");
}

// LibreOffice is the word processor at hand: it must open what Tolvi writes
// with the same text and the same look. It reads our file and writes its own
// RTF and HTML, which we check. Skipped where LibreOffice is not installed.
TEST(RtfWriter, LibreOfficeOpensWhatIsWritten)
{
    TOLVI_NEEDS_SOFFICE(soffice);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QTextDocument doc;
    buildStatement(doc);
    QFile file(dir.filePath("tolvi.rtf"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(writeRtf(doc));
    file.close();

    const QString profile = QUrl::fromLocalFile(dir.filePath("profile")).toString();
    for (const char* format : {"odt", "html"}) {
        QProcess lo;
        const QString input =
            QLatin1String(format) == QLatin1String("odt") ? dir.filePath("tolvi.rtf") : dir.filePath("tolvi.odt");
        lo.start(soffice, {"-env:UserInstallation=" + profile, "--headless", "--convert-to", format, "--outdir",
                           dir.path(), input});
        ASSERT_TRUE(lo.waitForFinished(120000));
        ASSERT_EQ(lo.exitCode(), 0) << lo.readAllStandardError().toStdString();
    }
    {
        // Back to RTF as LibreOffice writes it, read with our reader.
        QProcess lo;
        QDir(dir.path()).mkdir("lo");
        lo.start(soffice, {"-env:UserInstallation=" + profile, "--headless", "--convert-to", "rtf", "--outdir",
                           dir.filePath("lo"), dir.filePath("tolvi.odt")});
        ASSERT_TRUE(lo.waitForFinished(120000));
    }
    QFile loRtf(dir.filePath("lo/tolvi.rtf"));
    ASSERT_TRUE(loRtf.open(QIODevice::ReadOnly));
    QTextDocument back;
    ASSERT_TRUE(readRtf(loRtf.readAll(), back, nullptr));
    EXPECT_EQ(plainText(back), plainText(doc));

    const auto ps = paragraphs(back);
    ASSERT_EQ(ps.size(), 7u);
    EXPECT_EQ(ps[0].align, int(Qt::AlignHCenter));
    EXPECT_EQ(ps[0].runs[0].color, "#0000c8");
    EXPECT_EQ(ps[0].runs[0].points, 18.0);
    EXPECT_EQ(ps[0].runs[0].family, "Arial");
    EXPECT_NEAR(ps[1].left, 20, 0.1);
    EXPECT_NEAR(ps[1].indent, -8, 0.1);
    EXPECT_EQ(runText(ps, 1, 1), "1");
    EXPECT_EQ(ps[1].runs[1].script, QTextCharFormat::AlignSubScript);
    EXPECT_EQ(runText(ps, 1, 3), "2");
    EXPECT_EQ(ps[1].runs[3].script, QTextCharFormat::AlignSubScript);
    EXPECT_EQ(ps[1].runs[5].script, QTextCharFormat::AlignSuperScript);
    const auto& emphasis = ps[2].runs;
    ASSERT_GE(emphasis.size(), 5u);
    EXPECT_TRUE(emphasis[0].bold);
    EXPECT_TRUE(emphasis[1].italic);
    EXPECT_TRUE(emphasis[2].underline);
    EXPECT_TRUE(emphasis[3].strike);
    EXPECT_EQ(emphasis[4].color, "#ff0000");
    EXPECT_EQ(emphasis[4].background, "#ffff00");
    EXPECT_EQ(emphasis[4].family, "Courier New");
    EXPECT_EQ(emphasis[4].points, 14.0);
    EXPECT_EQ(ps[4].align, int(Qt::AlignJustify));
    ASSERT_EQ(ps[4].runs.size(), 2u);
    EXPECT_EQ(ps[4].runs[1].image.pixelColor(0, 0), QColor(250, 0, 0));
    EXPECT_NEAR(ps[4].runs[1].imageWidth, 30, 0.5);
    EXPECT_EQ(ps[5].align, int(Qt::AlignRight));

    QFile html(dir.filePath("tolvi.html"));
    ASSERT_TRUE(html.open(QIODevice::ReadOnly));
    // LibreOffice cuts its lines anywhere: blanks are compared as one.
    const QString page = QString::fromUtf8(html.readAll()).replace(QRegularExpression("\\s+"), " ");
    EXPECT_TRUE(page.contains(QString::fromUtf8("Vous pouvez marquer deux points M")));
    EXPECT_TRUE(page.contains(QString::fromUtf8("à l’œuvre : 5 € « Ÿ » λ Δt 😀 \\{x}")));
    EXPECT_TRUE(page.contains(QRegularExpression("<sub>(<[^>]*>)*1<")));
    EXPECT_TRUE(page.contains(QRegularExpression("<sup>(<[^>]*>)*[^<]*3<")));
    EXPECT_TRUE(page.contains(QRegularExpression("<b>gras ?</b>")));
    EXPECT_TRUE(page.contains(QRegularExpression("<p align=\"center\"[^>]*> ?<font color=\"#0000c8\">")));
    EXPECT_TRUE(page.contains("<img"));
}
