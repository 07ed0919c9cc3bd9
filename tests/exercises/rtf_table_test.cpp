#include "exercises/rtf_reader.h"
#include "exercises/rtf_writer.h"
#include "rtf_test_util.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <gtest/gtest.h>

using namespace tolvi;
using namespace tolvi::rtftest;

namespace {

std::vector<QTextTable*> tables(const QTextDocument& doc)
{
    std::vector<QTextTable*> out;
    for (QTextFrame* f : doc.rootFrame()->childFrames())
        if (auto* t = qobject_cast<QTextTable*>(f))
            out.push_back(t);
    return out;
}

QString cellText(QTextTable* t, int row, int column)
{
    const QTextTableCell cell = t->cellAt(row, column);
    QTextCursor c = cell.firstCursorPosition();
    c.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return c.selectedText().replace(QChar::ParagraphSeparator, u'\n');
}

Qt::Alignment cellAlignment(QTextTable* t, int row, int column)
{
    return t->cellAt(row, column).firstCursorPosition().blockFormat().alignment() & Qt::AlignHorizontal_Mask;
}

// The text outside tables, paragraphs separated by '\n'.
QString textAround(const QTextDocument& doc)
{
    QStringList lines;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        if (!QTextCursor(b).currentTable())
            lines << b.text();
    return lines.join(u'\n');
}

// A table as Word writes it: the row's definition, then its cells.
const QByteArray kWordTable =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Calibri;}}{\\colortbl;\\red255\\green0\\blue0;\\red220\\green230\\blue240;}"
    "\\pard avant\\par"
    "\\trowd\\trgaph108\\trleft-108\\trbrdrt\\brdrs\\brdrw10 \\trbrdrl\\brdrs\\brdrw10 \\trbrdrb\\brdrs\\brdrw10 "
    "\\trbrdrr\\brdrs\\brdrw10 \\trbrdrh\\brdrs\\brdrw10 \\trbrdrv\\brdrs\\brdrw10 "
    "\\clbrdrt\\brdrs\\brdrw30\\brdrcf1 \\clbrdrl\\brdrs\\brdrw10 \\clbrdrb\\brdrs\\brdrw10 \\clbrdrr\\brdrs\\brdrw10 "
    "\\cellx1332\\clcbpat2\\cellx2772\\clvertalc\\cellx4212"
    "\\pard\\intbl\\qc\\b Dur\\'e9e\\b0\\cell\\pard\\intbl\\qc Position\\cell\\pard\\intbl\\qc Vitesse\\cell"
    "\\pard\\intbl{\\trowd\\trgaph108\\trleft-108\\cellx1332\\cellx2772\\cellx4212\\row}"
    "\\trowd\\trgaph108\\trleft-108\\cellx1332\\cellx2772\\clvertalc\\cellx4212"
    "\\pard\\intbl\\qr 0,5\\cell\\pard\\intbl\\qr 1,25\\par deux lignes\\cell\\pard\\intbl\\ql 2,5\\cell\\row"
    "\\pard apr\\'e8s\\par}";

}  // namespace

TEST(RtfTables, RowsAndCellsBecomeOneTable)
{
    QTextDocument doc;
    ASSERT_TRUE(readRtf(kWordTable, doc, nullptr));
    const auto ts = tables(doc);
    ASSERT_EQ(ts.size(), 1u);
    QTextTable* t = ts[0];
    ASSERT_EQ(t->rows(), 2);
    ASSERT_EQ(t->columns(), 3);
    EXPECT_EQ(textAround(doc), QString::fromUtf8("avant\naprès"));
    EXPECT_EQ(cellText(t, 0, 0), QString::fromUtf8("Durée"));
    EXPECT_EQ(cellText(t, 0, 2), "Vitesse");
    EXPECT_EQ(cellText(t, 1, 1), "1,25\ndeux lignes");
    EXPECT_EQ(cellAlignment(t, 0, 1), Qt::AlignHCenter);
    EXPECT_EQ(cellAlignment(t, 1, 0), Qt::AlignRight);
    EXPECT_EQ(cellAlignment(t, 1, 2), Qt::AlignLeft);

    // Column widths from \cellx: 1440 twips, 96 pixels each.
    const auto widths = t->format().columnWidthConstraints();
    ASSERT_EQ(widths.size(), 3);
    for (const QTextLength& w : widths) {
        EXPECT_EQ(w.type(), QTextLength::FixedLength);
        EXPECT_NEAR(w.rawValue(), 96, 1e-9);
    }
    // Borders of the cell, or else of the row; shading; vertical alignment.
    const QTextTableCellFormat first = t->cellAt(0, 0).format().toTableCellFormat();
    EXPECT_NEAR(first.topBorder(), 2, 1e-9);
    EXPECT_EQ(first.topBorderBrush().color(), QColor(255, 0, 0));
    EXPECT_NEAR(first.leftBorder(), 1, 1e-9);
    const QTextTableCellFormat second = t->cellAt(0, 1).format().toTableCellFormat();
    EXPECT_NEAR(second.bottomBorder(), 1, 1e-9);
    EXPECT_EQ(second.topBorderStyle(), QTextFrameFormat::BorderStyle_Solid);
    EXPECT_EQ(second.background().color(), QColor(220, 230, 240));
    EXPECT_EQ(t->cellAt(0, 2).format().verticalAlignment(), QTextCharFormat::AlignMiddle);
    EXPECT_EQ(t->cellAt(1, 0).format().verticalAlignment(), QTextCharFormat::AlignTop);
    // Text formats inside the cells.
    EXPECT_TRUE(t->cellAt(0, 0).firstCursorPosition().block().begin().fragment().charFormat().fontWeight()
                >= QFont::Bold);
}

TEST(RtfTables, PandocTablesLineUp)
{
    // pandoc 2.17 (from tests/exercises/data/sources/tableau.md): each
    // paragraph in its own groups, \pard inside the cell.
    QTextDocument doc;
    ASSERT_TRUE(readRtf(testData("pandoc_tableau.rtf"), doc, nullptr));
    const auto ts = tables(doc);
    ASSERT_EQ(ts.size(), 1u);
    QTextTable* t = ts[0];
    ASSERT_EQ(t->rows(), 3);
    ASSERT_EQ(t->columns(), 2);
    // Each cell ends with the empty paragraph pandoc leaves, as LibreOffice shows it.
    EXPECT_EQ(cellText(t, 0, 0), QString::fromUtf8("Durée (s)\n"));
    EXPECT_EQ(cellText(t, 2, 1), "2,50\n");
    EXPECT_EQ(cellAlignment(t, 0, 0), Qt::AlignHCenter);
    EXPECT_EQ(cellAlignment(t, 2, 1), Qt::AlignRight);
    EXPECT_GT(t->cellAt(0, 1).format().toTableCellFormat().bottomBorder(), 0);
    EXPECT_EQ(t->cellAt(1, 1).format().toTableCellFormat().bottomBorder(), 0);
    EXPECT_TRUE(textAround(doc).endsWith(QString::fromUtf8("Texte après.")));
}

TEST(RtfTables, MergedCellsAndUnevenRows)
{
    QTextDocument doc;
    // Row 1: one cell over both columns of row 2 (by its edges), then a
    // cell merged down over two rows (\clvmgf, \clvmrg) and one merged
    // across (\clmgf, \clmrg).
    ASSERT_TRUE(readRtf("{\\rtf1\\trowd\\cellx2000\\clvmgf\\cellx3000\\intbl titre\\cell haut\\cell\\row"
                        "\\trowd\\cellx1000\\cellx2000\\clvmrg\\cellx3000\\intbl a\\cell b\\cell\\cell\\row"
                        "\\trowd\\clmgf\\cellx1000\\clmrg\\cellx2000\\cellx3000\\intbl large\\cell\\cell c\\cell\\row"
                        "\\pard fin}",
                        doc, nullptr));
    const auto ts = tables(doc);
    ASSERT_EQ(ts.size(), 1u);
    QTextTable* t = ts[0];
    ASSERT_EQ(t->rows(), 3);
    ASSERT_EQ(t->columns(), 3);
    EXPECT_EQ(t->cellAt(0, 0).columnSpan(), 2);
    EXPECT_EQ(cellText(t, 0, 0), "titre");
    EXPECT_EQ(t->cellAt(0, 2).rowSpan(), 2);
    EXPECT_EQ(cellText(t, 0, 2), "haut");
    EXPECT_EQ(cellText(t, 1, 1), "b");
    EXPECT_EQ(t->cellAt(2, 0).columnSpan(), 2);
    EXPECT_EQ(cellText(t, 2, 0), "large");
    EXPECT_EQ(cellText(t, 2, 2), "c");
    EXPECT_EQ(textAround(doc), "\nfin");  // the block before the table is the document's first
}

TEST(RtfTables, RowsWithoutDefinitionOrEndAndNestedTables)
{
    QTextDocument doc;
    // A row without \trowd takes the last definition; a file cut in a row
    // keeps its text; a table in a cell is a table in the cell.
    ASSERT_TRUE(readRtf("{\\rtf1 x\\par\\trowd\\cellx1000\\cellx2000\\intbl a\\cell b\\cell\\row"
                        "\\intbl c\\cell {\\itap2 n1\\nestcell n2\\nestcell{\\*\\nesttableprops\\trowd\\cellx500\\nestrow}"
                        "n3\\nestcell{\\*\\nesttableprops\\nestrow}}d",
                        doc, nullptr));
    const auto ts = tables(doc);
    ASSERT_EQ(ts.size(), 1u);
    QTextTable* t = ts[0];
    ASSERT_EQ(t->rows(), 2);
    ASSERT_EQ(t->columns(), 2);
    EXPECT_EQ(cellText(t, 1, 0), "c");
    const QTextTableCell outer = t->cellAt(1, 1);
    QTextTable* inner = nullptr;
    for (auto it = outer.begin(); !it.atEnd(); ++it)
        if (auto* f = qobject_cast<QTextTable*>(it.currentFrame()))
            inner = f;
    ASSERT_NE(inner, nullptr);
    ASSERT_EQ(inner->rows(), 2);
    EXPECT_EQ(cellText(inner, 0, 0), "n1");
    EXPECT_EQ(cellText(inner, 0, 1), "n2");
    EXPECT_EQ(cellText(inner, 1, 0), "n3");
    EXPECT_EQ(outer.lastCursorPosition().block().text(), "d");  // after the table in the cell
    EXPECT_EQ(textAround(doc), "x\n");
}

TEST(RtfTables, HostileTablesKeepTheirText)
{
    // A row of 100 000 cells, and rows whose edges all differ: no grid can
    // hold them as they are, none of their text is lost.
    QByteArray rtf = "{\\rtf1\\trowd\\cellx100\\cellx200\\intbl ";
    for (int i = 0; i < 100000; ++i)
        rtf += "x\\cell ";
    rtf += "\\row\\pard apres\\par}";
    QTextDocument doc;
    ASSERT_TRUE(readRtf(rtf, doc, nullptr));
    EXPECT_EQ(doc.toPlainText().count(u'x'), 100000);
    EXPECT_TRUE(doc.toPlainText().endsWith("apres"));
    for (QTextTable* t : tables(doc))
        EXPECT_LE(t->columns(), 63);

    rtf = "{\\rtf1";
    for (int r = 1; r <= 300; ++r)
        rtf += "\\trowd\\cellx" + QByteArray::number(r) + "\\cellx" + QByteArray::number(1000 + 7 * r)
            + "\\intbl r" + QByteArray::number(r) + "\\cell s\\cell\\row";
    rtf += "}";
    ASSERT_TRUE(readRtf(rtf, doc, nullptr));
    const QString text = doc.toPlainText();
    EXPECT_TRUE(text.contains("r1\n") && text.contains("r300\n")) << text.left(40).toStdString();
    EXPECT_EQ(text.count(u's'), 300);
}

TEST(RtfTables, WrittenTablesReadBackTheSame)
{
    QTextDocument doc;
    ASSERT_TRUE(readRtf(kWordTable, doc, nullptr));
    const QByteArray rtf = writeRtf(doc);
    EXPECT_TRUE(rtf.contains("\\trowd"));
    EXPECT_TRUE(rtf.contains("\\intbl"));
    QTextDocument back;
    ASSERT_TRUE(readRtf(rtf, back, nullptr));
    EXPECT_EQ(plainText(back), plainText(doc));
    const auto ts = tables(back);
    ASSERT_EQ(ts.size(), 1u);
    QTextTable* t = ts[0];
    ASSERT_EQ(t->rows(), 2);
    ASSERT_EQ(t->columns(), 3);
    EXPECT_EQ(cellText(t, 1, 1), "1,25\ndeux lignes");
    EXPECT_EQ(cellAlignment(t, 0, 1), Qt::AlignHCenter);
    EXPECT_EQ(cellAlignment(t, 1, 0), Qt::AlignRight);
    const auto widths = t->format().columnWidthConstraints();
    ASSERT_EQ(widths.size(), 3);
    EXPECT_NEAR(widths[1].rawValue(), 96, 0.1);
    const QTextTableCellFormat first = t->cellAt(0, 0).format().toTableCellFormat();
    EXPECT_NEAR(first.topBorder(), 2, 1e-9);
    EXPECT_EQ(first.topBorderBrush().color(), QColor(255, 0, 0));
    EXPECT_EQ(t->cellAt(0, 1).format().background().color(), QColor(220, 230, 240));
    EXPECT_EQ(t->cellAt(0, 2).format().verticalAlignment(), QTextCharFormat::AlignMiddle);
    // Paragraphs around it, and the table's look, are the same.
    const auto before = paragraphs(doc), after = paragraphs(back);
    ASSERT_EQ(before.size(), after.size());
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(before[i], after[i]) << i;

    // A table made in the program, with merged cells and a table border.
    QTextDocument made;
    QTextCursor c(&made);
    c.insertText("avant");
    QTextTableFormat f;
    f.setBorder(1);
    QTextTable* m = c.insertTable(2, 3, f);
    m->mergeCells(0, 0, 1, 2);
    m->mergeCells(0, 2, 2, 1);
    m->cellAt(0, 0).firstCursorPosition().insertText("large");
    m->cellAt(0, 2).firstCursorPosition().insertText("haute");
    m->cellAt(1, 1).firstCursorPosition().insertText("b");
    QTextDocument again;
    ASSERT_TRUE(readRtf(writeRtf(made), again, nullptr));
    const auto ms = tables(again);
    ASSERT_EQ(ms.size(), 1u);
    ASSERT_EQ(ms[0]->rows(), 2);
    ASSERT_EQ(ms[0]->columns(), 3);
    EXPECT_EQ(ms[0]->cellAt(0, 0).columnSpan(), 2);
    EXPECT_EQ(ms[0]->cellAt(0, 2).rowSpan(), 2);
    EXPECT_EQ(cellText(ms[0], 0, 2), "haute");
    EXPECT_EQ(cellText(ms[0], 1, 1), "b");
    EXPECT_GT(ms[0]->cellAt(1, 1).format().toTableCellFormat().leftBorder(), 0);
    EXPECT_EQ(textAround(again), "avant\n");
}

namespace {

// The shape of a table and of the tables in its cells: "[rows x columns:
// cell texts ...]", a table in a cell written in its place.
QString shape(QTextTable* t)
{
    QString out = QStringLiteral("[%1x%2:").arg(t->rows()).arg(t->columns());
    for (int r = 0; r < t->rows(); ++r)
        for (int c = 0; c < t->columns(); ++c) {
            out += u' ';
            const QTextTableCell cell = t->cellAt(r, c);
            for (auto it = cell.begin(); !it.atEnd(); ++it) {
                if (auto* inner = qobject_cast<QTextTable*>(it.currentFrame()))
                    out += shape(inner);
                else if (it.currentBlock().isValid())
                    out += it.currentBlock().text() + u'/';
            }
        }
    return out + u']';
}

}  // namespace

TEST(RtfTables, TablesInCellsWrittenBackAsTablesInCells)
{
    // LibreOffice's shape: the cells of a table in a cell at \itap2, ended
    // by \nestcell, each row's definition after its cells.
    const QByteArray rtf =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Liberation Serif;}}"
        "\\pard\\plain Avant\\par"
        "\\trowd\\cellx2000\\cellx6000\\pard\\plain\\intbl A\\cell"
        "\\pard\\plain\\intbl Dedans :\\par"
        "\\pard\\plain\\intbl\\itap2 n11\\nestcell\\pard\\plain\\intbl\\itap2 n12\\nestcell"
        "{\\*\\nesttableprops\\trowd\\cellx1000\\cellx2000\\nestrow}"
        "\\pard\\plain\\intbl\\itap2 n21\\nestcell\\pard\\plain\\intbl\\itap2 n22\\nestcell"
        "{\\*\\nesttableprops\\trowd\\cellx1000\\cellx2000\\nestrow}"
        "\\pard\\plain\\intbl apr\\'e8s\\cell\\row"
        "\\trowd\\cellx2000\\cellx6000\\pard\\plain\\intbl B1\\cell B2\\cell\\row"
        "\\pard\\plain Fin\\par}";
    QTextDocument doc;
    ASSERT_TRUE(readRtf(rtf, doc, nullptr));
    auto ts = tables(doc);
    ASSERT_EQ(ts.size(), 1u);
    const QString expected = QString::fromUtf8("[2x2: A/ Dedans :/[2x2: n11/ n12/ n21/ n22/]après/ B1/ B2/]");
    EXPECT_EQ(shape(ts[0]), expected);

    const QByteArray written = writeRtf(doc);
    EXPECT_TRUE(written.contains("\\intbl\\itap2 ")) << written.toStdString();
    EXPECT_TRUE(written.contains("n11}\\nestcell"));
    EXPECT_EQ(written.count("\\nestrow}"), 2);
    EXPECT_EQ(written.count("\\row"), 2);
    QTextDocument back;
    ASSERT_TRUE(readRtf(written, back, nullptr));
    ts = tables(back);
    ASSERT_EQ(ts.size(), 1u);
    EXPECT_EQ(shape(ts[0]), expected);
    EXPECT_EQ(textAround(back), textAround(doc));

    // Three tables deep, and cells left open at the end of the file.
    ASSERT_TRUE(readRtf("{\\rtf1\\trowd\\cellx900\\intbl\\itap1 a\\par\\intbl\\itap3 deep\\nestcell"
                        "{\\*\\nesttableprops\\trowd\\cellx300\\nestrow}\\intbl\\itap2 mid\\nestcell\\intbl\\itap99 x",
                        doc, nullptr));
    ts = tables(doc);
    ASSERT_EQ(ts.size(), 1u);
    // "x" is 99 tables deep: as deep as tables go, 16 (and one more table
    // holds "deep").
    const QString deep = shape(ts[0]);
    EXPECT_TRUE(deep.startsWith("[1x1: a/[1x2: /[1x1: deep/]mid/ ")) << deep.toStdString();
    EXPECT_EQ(deep.count(u'['), 17);
    EXPECT_TRUE(deep.contains("[1x1: x/]"));
    ASSERT_TRUE(readRtf(writeRtf(doc), back, nullptr));
    EXPECT_EQ(shape(tables(back).at(0)), shape(ts[0]));
}
