// Hidden text (\v): word processors hide answers, notes to the teacher or
// field codes in it. It is kept, not shown, and written back hidden.
#include "exercises/rtf_reader.h"
#include "exercises/rtf_writer.h"
#include "rtf_test_util.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

#include <gtest/gtest.h>

using namespace tolvi;
using namespace tolvi::rtftest;

namespace {

// Word 2010's shape: an answer hidden in the statement, in a run of its own
// look, split in two groups; hidden Japanese (Shift-JIS) in a table cell; a
// hidden paragraph of its own.
const char kWordHidden[] =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\froman\\fcharset0 Times New Roman;}"
    "{\\f1\\fswiss\\fcharset0 Arial;}{\\f2\\fnil\\fcharset128 MS Mincho;}}\n"
    "\\pard\\plain\\f0\\fs24 La c\\'e9l\\'e9rit\\'e9 vaut {\\v\\f1\\b R\\'e9ponse : }{\\v\\f1\\b v = 3 m/s}"
    " (\\'e0 trouver).\\par\n"
    "\\trowd\\cellx2000\\cellx4000\\pard\\intbl Cellule{\\v\\f2 \\'93\\'fa\\'96\\'7b}\\cell deux\\cell\\row\n"
    "\\pard{\\v Note au professeur.\\par}Fin.\\par}";

// The hidden texts of a document, in order, each with the shown text
// before it in its paragraph.
QStringList hiddenTexts(const QTextDocument& doc)
{
    QStringList out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        QString before;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (f.hasProperty(kRtfHiddenText)) {
                out << before + u'|' + f.stringProperty(kRtfHiddenText) + (f.fontWeight() >= QFont::Bold ? "|b" : "");
                EXPECT_EQ(it.fragment().text(), QString(QChar(kHiddenTextMark)));
            } else {
                before += it.fragment().text();
            }
        }
    }
    return out;
}

}  // namespace

TEST(RtfHiddenText, KeptNotShown)
{
    QTextDocument doc;
    ASSERT_TRUE(readRtf(kWordHidden, doc, nullptr));
    EXPECT_EQ(shownPlainText(doc).toStdString(),
              "La célérité vaut  (à trouver).\nCellule\ndeux\nFin.");
    EXPECT_EQ(hiddenTexts(doc), (QStringList{QString::fromUtf8("La célérité vaut |Réponse : v = 3 m/s|b"),
                                             QString::fromUtf8("Cellule|日本"), "|Note au professeur."}));
    // The paragraph of the note, its end hidden too, is not shown at all;
    // the others are.
    QStringList shown;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        shown << (b.isVisible() ? "+" : "-");
    EXPECT_EQ(shown.join(""), "+++-+");
}

TEST(RtfHiddenText, WrittenBackHidden)
{
    QTextDocument doc;
    ASSERT_TRUE(readRtf(kWordHidden, doc, nullptr));
    const QByteArray written = writeRtf(doc);
    EXPECT_TRUE(written.contains("\\v R\\'e9ponse : v = 3 m/s\\v0")) << written.toStdString();
    EXPECT_TRUE(written.contains("\\v \\u26085\\'3f\\u26412\\'3f\\v0"));
    EXPECT_TRUE(written.contains("\\v Note au professeur.\\v0 }{\\v\\par}"));
    QTextDocument back;
    ASSERT_TRUE(readRtf(written, back, nullptr));
    EXPECT_EQ(shownPlainText(back), shownPlainText(doc));
    EXPECT_EQ(hiddenTexts(back), hiddenTexts(doc));
    EXPECT_EQ(paragraphs(back), paragraphs(doc));
    int hiddenBlocks = 0;
    for (QTextBlock b = back.begin(); b.isValid(); b = b.next())
        hiddenBlocks += !b.isVisible();
    EXPECT_EQ(hiddenBlocks, 1);
    EXPECT_FALSE(written.contains("\xE2\x81\xA0"));
    EXPECT_FALSE(written.contains("\\u8288"));  // the mark is not text
}

// LibreOffice reads Tolvi's copy with the hidden text hidden.
TEST(RtfHiddenText, LibreOfficeSeesItHidden)
{
    TOLVI_NEEDS_SOFFICE(soffice);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QTextDocument doc;
    ASSERT_TRUE(readRtf(kWordHidden, doc, nullptr));
    QFile file(dir.filePath("cache.rtf"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(writeRtf(doc));
    file.close();
    QProcess lo;
    lo.start(soffice, {"-env:UserInstallation=" + QUrl::fromLocalFile(dir.filePath("profile")).toString(),
                       "--headless", "--convert-to", "fodt", "--outdir", dir.path(), file.fileName()});
    ASSERT_TRUE(lo.waitForFinished(300000));
    ASSERT_EQ(lo.exitCode(), 0);
    QFile fodt(dir.filePath("cache.fodt"));
    ASSERT_TRUE(fodt.open(QIODevice::ReadOnly));
    const QString flat = QString::fromUtf8(fodt.readAll());
    // The styles that hide, and the text in them.
    QStringList hiding;
    const QRegularExpression style("<style:style style:name=\"([^\"]+)\"[^>]*>(?:(?!</style:style>).)*text:display=\"none\"",
                                   QRegularExpression::DotMatchesEverythingOption);
    for (auto m = style.globalMatch(flat); m.hasNext();)
        hiding << m.next().captured(1);
    ASSERT_FALSE(hiding.isEmpty()) << flat.toStdString();
    QStringList hidden;
    for (const QString& name : hiding) {
        const QRegularExpression span("<text:span text:style-name=\"" + QRegularExpression::escape(name) + "\">([^<]*)<");
        for (auto m = span.globalMatch(flat); m.hasNext();)
            hidden << m.next().captured(1);
    }
    hidden.sort();
    EXPECT_EQ(hidden, (QStringList{"Note au professeur.", QString::fromUtf8("Réponse : v = 3 m/s"), QString::fromUtf8("日本")}))
        << flat.toStdString();
}
