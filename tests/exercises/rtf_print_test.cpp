// Printing an exercise text: tables fit the page's text, page breaks start
// pages. Printed to PDF and read back with poppler's pdftotext.
#include "exercises/rtf_reader.h"
#include "exercises/text_print.h"
#include "measure/pdf_util.h"

#include <QPageLayout>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <gtest/gtest.h>

using namespace tolvi;

namespace {

// Word for a Letter page (margins of 0,5 inch): a table 7,5 inches wide, a
// row with one cell more than its definition, then a page break.
const char kLetterTable[] =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\n"
    "\\paperw12240\\paperh15840\\margl720\\margr720\n"
    "\\pard\\plain\\f0\\fs22 Mesures sur la corde\\par\n"
    "\\trowd\\trgaph108\\trleft-108\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10"
    "\\clbrdrr\\brdrs\\brdrw10\\cellx3600\\clbrdrr\\brdrs\\brdrw10\\cellx7200\\clbrdrr\\brdrs\\brdrw10\\cellx10692\n"
    "\\pard\\plain\\intbl\\f0\\fs22 Dur\\'e9e\\cell Position\\cell Remarque\\cell\\row\n"
    "\\trowd\\trgaph108\\trleft-108\\cellx3600\\cellx7200\\cellx10692\n"
    "\\pard\\plain\\intbl\\f0\\fs22 0,5 s\\cell 1,25 m\\cell bord droit du tableau\\cell Cellule trop loin\\cell\\row\n"
    "\\pard\\plain\\f0\\fs22 Fin de la premi\\'e8re page.\\page Deuxi\\'e8me page.\\par"
    "{\\v Note au professeur.\\par}}";

struct Word {
    QString text;
    double xMin = 0, xMax = 0;
    int page = 0;
};

struct Pages {
    double width = 0;
    std::vector<Word> words;
    int count = 0;
};

// The words of a PDF with their places, from pdftotext -bbox.
std::optional<Pages> pdfWords(const QString& path)
{
    const std::optional<QByteArray> out = tolvi::testing::runPdftotext({"-bbox", "-enc", "UTF-8"}, path);
    if (!out)
        return std::nullopt;
    const QString html = QString::fromUtf8(*out);
    Pages pages;
    static const QRegularExpression item(
        "<page width=\"([0-9.]+)\"|<word xMin=\"([0-9.]+)\" yMin=\"[0-9.]+\" xMax=\"([0-9.]+)\"[^>]*>([^<]*)</word>");
    for (auto m = item.globalMatch(html); m.hasNext();) {
        const auto match = m.next();
        if (!match.captured(1).isEmpty()) {
            pages.width = match.captured(1).toDouble();
            ++pages.count;
            continue;
        }
        pages.words.push_back({match.captured(4), match.captured(2).toDouble(), match.captured(3).toDouble(), pages.count});
    }
    return pages;
}

}  // namespace

TEST(TextPrint, PrintableWidthOfAnA4Page)
{
    // 21 cm less 2 cm on each side, at 96 pixels to the inch.
    const QPageLayout a4(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
    EXPECT_NEAR(printableTextWidth(a4), 210 / 25.4 * 96 - 2 * 75, 0.5);
    const QPageLayout margins(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                              QPageLayout::Millimeter);
    EXPECT_NEAR(printableTextWidth(margins), 190 / 25.4 * 96 - 2 * 75, 0.5);
}

TEST(TextPrint, WideTablesFitThePageAndNarrowOnesStay)
{
    QTextDocument doc;
    ASSERT_TRUE(readRtf(kLetterTable, doc, nullptr));
    QTextTable* table = nullptr;
    for (QTextFrame* f : doc.rootFrame()->childFrames())
        table = table ? table : qobject_cast<QTextTable*>(f);
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->columns(), 4);
    const auto before = table->format().columnWidthConstraints();
    fitTablesToWidth(doc, 643);
    const auto after = table->format().columnWidthConstraints();
    ASSERT_EQ(after.size(), 4);
    double total = 0;
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(after[c].type(), QTextLength::PercentageLength);
        total += after[c].rawValue();
    }
    EXPECT_NEAR(total, 100, 1e-6);
    // In proportion: the first column is as wide as the second.
    EXPECT_NEAR(after[0].rawValue() / after[1].rawValue(), before[0].rawValue() / before[1].rawValue(), 1e-6);

    // A table narrower than the page keeps its widths.
    QTextDocument narrow;
    ASSERT_TRUE(readRtf("{\\rtf1\\trowd\\cellx1440\\cellx2880\\pard\\intbl a\\cell b\\cell\\row}", narrow, nullptr));
    QTextTable* small = qobject_cast<QTextTable*>(narrow.rootFrame()->childFrames().value(0));
    ASSERT_NE(small, nullptr);
    fitTablesToWidth(narrow, 643);
    EXPECT_EQ(small->format().columnWidthConstraints().value(0), QTextLength(QTextLength::FixedLength, 96));
}

TEST(TextPrint, TablesWithinTheMarginsAndPagesBroken)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QTextDocument doc;
    ASSERT_TRUE(readRtf(kLetterTable, doc, nullptr));
    const QString path = dir.filePath("texte.pdf");
    {
        QPdfWriter writer(path);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF());
        printText(doc, &writer);
    }
    const auto pages = pdfWords(path);
    ASSERT_TRUE(pages);
    EXPECT_EQ(pages->count, 2);
    EXPECT_NEAR(pages->width, 595.3, 0.5);  // A4
    const double margin = 2 / 2.54 * 72;
    QString firstPage, secondPage;
    for (const Word& w : pages->words) {
        EXPECT_LE(w.xMax, pages->width - margin + 1) << w.text.toStdString();
        EXPECT_GE(w.xMin, margin - 1) << w.text.toStdString();
        (w.page == 1 ? firstPage : secondPage) += w.text + u' ';
    }
    EXPECT_TRUE(firstPage.contains(QStringLiteral("Cellule trop loin"))) << firstPage.toStdString();
    EXPECT_TRUE(firstPage.contains(QStringLiteral("bord droit du tableau")));
    EXPECT_TRUE(firstPage.contains(QString::fromUtf8("Fin de la première page.")));
    // Then the page's number, as printing numbers its pages.
    EXPECT_EQ(secondPage.trimmed(), QString::fromUtf8("Deuxième page. 2"));
}

TEST(TextPrint, HiddenParagraphsAreNotPrinted)
{
    // Eighty hidden paragraphs would fill a page of empty lines.
    QByteArray rtf = "{\\rtf1\\ansi\\pard Visible en haut.\\par";
    for (int i = 0; i < 80; ++i)
        rtf += "{\\v Note cach\\'e9e au professeur.\\par}";
    rtf += "Visible aussi.\\par}";
    QTextDocument doc;
    ASSERT_TRUE(readRtf(rtf, doc, nullptr));
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("cache.pdf");
    {
        QPdfWriter writer(path);
        writer.setPageSize(QPageSize(QPageSize::A4));
        printText(doc, &writer);
    }
    const auto pages = pdfWords(path);
    ASSERT_TRUE(pages);
    EXPECT_EQ(pages->count, 1);
    QString text;
    for (const Word& w : pages->words)
        text += w.text + u' ';
    EXPECT_EQ(text.trimmed(), QStringLiteral("Visible en haut. Visible aussi. 1"));
}
