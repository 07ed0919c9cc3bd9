// The values table: its texts (those of the graph's CSV), its printed
// layout over pages, printing it with "Le tableau de valeur" and from its
// own window, copying and saving it.
#include "measure/confimp.h"
#include "measure/data_exports.h"
#include "measure/pdf_util.h"
#include "measure/print_later.h"
#include "measure/print_page.h"
#include "measure/up_down.h"
#include "measure/values_table.h"
#include "measure/values_window.h"
#include "platform/messages.h"
#include "platform/random_source.h"
#include "sim/simulation.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QItemSelectionModel>
#include <QPdfWriter>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace tolvi;
using namespace tolvi::testing;

namespace {
QByteArray read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::vector<GraphPoint> points(int n)
{
    std::vector<GraphPoint> v;
    for (int i = 0; i < n; ++i)
        v.push_back({0.05 * i, i % 3 ? std::optional<double>(-12.5 + i) : std::nullopt,
                     std::optional<double>(0.25 * i)});
    return v;
}

// A recording of the default pulse with both markers, 2 s of ticks.
class Recorded : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        sim.Command6_Click();
        sim.demar_Click();
        sim.advance(2);
        ASSERT_GT(sim.graph().points().size(), 30u);
    }
    ScriptedMessages messages;
    SeededRandom random;
    Simulation sim{messages, random};
    QTemporaryDir dir;
};
}  // namespace

TEST(ValuesTableText, RowsAreTheGraphCsvFieldsAndTabsOnlyChangeTheSeparator)
{
    const ValuesTable table(points(5));
    EXPECT_EQ(ValuesTable::header(), (QStringList{"t (s)", "u1 (cm)", "u2 (cm)"}));
    EXPECT_EQ(table.row(0), (QStringList{"0,000", "", "0,0000"})) << "an absent marker is an empty field";
    EXPECT_EQ(table.row(1), (QStringList{"0,050", "-11,5000", "0,2500"}));
    const QString csv = table.text(QLatin1Char(';'));
    EXPECT_TRUE(csv.startsWith(QStringLiteral("t (s);u1 (cm);u2 (cm)\n0,000;;0,0000\n0,050;-11,5000;0,2500\n")));
    EXPECT_EQ(csv.count(QLatin1Char('\n')), 6);
    EXPECT_EQ(table.text(QLatin1Char('\t')), QString(csv).replace(QLatin1Char(';'), QLatin1Char('\t')));
    // Slices, also past the end.
    EXPECT_EQ(table.text(QLatin1Char(';'), 4, 10), QStringLiteral("t (s);u1 (cm);u2 (cm)\n0,200;-8,5000;1,0000\n"));
    EXPECT_EQ(table.text(QLatin1Char(';'), 9), QStringLiteral("t (s);u1 (cm);u2 (cm)\n"));
    EXPECT_EQ(table.text(QLatin1Char(';'), 1, 0), QStringLiteral("t (s);u1 (cm);u2 (cm)\n"));
}

TEST(ValuesTableLayout, BlocksTakeEveryRowOnceAndStayOnThePage)
{
    const ValuesMetrics m = valuesMetrics(300);
    ASSERT_GT(m.rowHeight, 0);
    ASSERT_GT(m.columnWidth, 0);
    const QSize a4Landscape(3508, 2480);
    for (int top : {0, 600, 2480 - 2 * m.rowHeight + 1}) {
        for (std::size_t rows : {std::size_t(1), std::size_t(40), std::size_t(1000), std::size_t(12000)}) {
            const auto blocks = valuesBlocks(m, a4Landscape, top, rows);
            ASSERT_FALSE(blocks.empty());
            std::size_t next = 0;
            int lastPage = 0;
            for (const ValuesBlock& b : blocks) {
                EXPECT_EQ(b.firstRow, next);
                EXPECT_GE(b.rows, 1u);
                next += b.rows;
                EXPECT_GE(b.page, lastPage);
                lastPage = b.page;
                EXPECT_GE(b.topLeft.x(), 0);
                EXPECT_LE(b.topLeft.x() + m.blockWidth(), a4Landscape.width());
                // Header line and rows fit under the page's bottom.
                EXPECT_LE(b.topLeft.y() + int(b.rows + 1) * m.rowHeight, a4Landscape.height())
                    << "top " << top << " rows " << rows;
                EXPECT_EQ(b.topLeft.y(), b.page == 0 ? top : 0);
            }
            EXPECT_EQ(next, rows);
        }
    }
    // Too low for even one row: the table starts on the next page.
    const auto low = valuesBlocks(m, a4Landscape, 2480 - m.rowHeight, 3);
    ASSERT_EQ(low.size(), 1u);
    EXPECT_EQ(low[0].page, 1);
    EXPECT_EQ(low[0].topLeft.y(), 0);
    // Blocks side by side across a page before the next page.
    const auto many = valuesBlocks(m, a4Landscape, 0, 100000);
    EXPECT_GT(many[1].topLeft.x(), many[0].topLeft.x());
    EXPECT_EQ(many[1].page, 0);
    EXPECT_TRUE(valuesBlocks(m, a4Landscape, 0, 0).empty());
}

TEST_F(Recorded, TableOptionIsOfferedWithValuesAndPrintsThemAfterThePictures)
{
    {
        Confimp empty(sim.ropeImage(), sim.graphImage(), messages);
        EXPECT_FALSE(empty.check1(2)->isEnabled());
        EXPECT_FALSE(empty.options().table);
    }
    const QString plain = dir.filePath(QStringLiteral("sans.pdf"));
    const QString withTable = dir.filePath(QStringLiteral("avec.pdf"));
    for (const QString& path : {plain, withTable}) {
        Confimp d(sim.ropeImage(), sim.graphImage(), messages);
        d.setValues(ValuesTable(sim.graph().points()));
        EXPECT_TRUE(d.check1(2)->isEnabled());
        EXPECT_FALSE(d.check1(2)->isChecked()) << "cleared at opening";
        EXPECT_FALSE(d.check1(2)->toolTip().isEmpty());
        d.check1(2)->setChecked(path == withTable);
        d.upDown1()->setValue(2);
        d.printer().setOutputFormat(QPrinter::PdfFormat);
        d.printer().setOutputFileName(path);
        d.Form_Load();
        d.Command1_Click();
        EXPECT_EQ(d.result(), QDialog::Accepted);
    }
    EXPECT_EQ(pdfPageCount(read(plain)), 2);
    // 2 s of 50 ms ticks fit in blocks under the pictures: one page a copy.
    EXPECT_EQ(pdfPageCount(read(withTable)), 2);
    EXPECT_GT(read(withTable).size(), read(plain).size());
    if (const auto text = pdfText(withTable)) {
        EXPECT_GE(text->count(QStringLiteral("u1 (cm)")), 2) << text->toStdString();
        EXPECT_TRUE(text->contains(ValuesTable(sim.graph().points()).row(20).value(0)));
    }
    EXPECT_TRUE(messages.asked().empty());
}

TEST_F(Recorded, TheTablePrintedIsTheRecordingAsOkIsPressedAfterThePrinterChoice)
{
    // The recording goes on while the dialog is open, as the pictures do.
    Confimp d(PrintPictures{[this](double s) { return sim.ropeImage(s); },
                            [this](double s) { return sim.graphImage(s); }},
              messages);
    d.setValues([this] { return ValuesTable(sim.graph().points()); });
    const std::size_t rowsWhenOpened = sim.graph().points().size();
    ASSERT_TRUE(d.check1(2)->isEnabled());
    d.check1(2)->setChecked(true);
    const QString path = dir.filePath(QStringLiteral("plus-tard.pdf"));
    printLater(d, sim, path);
    ASSERT_EQ(d.result(), QDialog::Accepted);
    const ValuesTable atOk(sim.graph().points());
    ASSERT_GT(atOk.rowCount(), rowsWhenOpened + 20);
    const ValuesTable printed = d.options().values;
    ASSERT_EQ(printed.rowCount(), atOk.rowCount());
    EXPECT_EQ(printed.row(printed.rowCount() - 1), atOk.row(atOk.rowCount() - 1));
    if (const auto text = pdfText(path)) {
        EXPECT_TRUE(text->contains(atOk.row(atOk.rowCount() - 1).value(0))) << text->toStdString();
        EXPECT_TRUE(text->contains(atOk.row(rowsWhenOpened + 10).value(0))) << text->toStdString();
    }
    // Unticked, the table is not taken again and not printed.
    Confimp plain(sim.ropeImage(), sim.graphImage(), messages);
    int taken = 0;
    plain.setValues([&] { return ++taken, ValuesTable(sim.graph().points()); });
    plain.printer().setOutputFormat(QPrinter::PdfFormat);
    plain.printer().setOutputFileName(dir.filePath(QStringLiteral("sans-tableau.pdf")));
    plain.Form_Load();
    plain.Command1_Click();
    EXPECT_EQ(plain.result(), QDialog::Accepted);
    EXPECT_EQ(taken, 1) << "once as the dialog opens";
    EXPECT_FALSE(plain.options().table);
    EXPECT_TRUE(messages.asked().empty());
}

TEST_F(Recorded, LongTablesGoOnOverPagesAsTheLayoutSays)
{
    const ValuesTable table(points(3000));
    PrintOptions o;
    o.table = true;
    o.values = table;
    o.copies = 2;
    const QString path = dir.filePath(QStringLiteral("long.pdf"));
    QPdfWriter writer(path);
    writer.setResolution(300);
    ASSERT_EQ(printPages(writer, sim.ropeImage(), sim.graphImage(), o), QString());
    // The layout of one copy, from where the pictures end, on the landscape
    // pages printing uses.
    writer.setPageOrientation(QPageLayout::Landscape);
    const QSize page(writer.width(), writer.height());
    const PageLayout layout = pageLayout(page, 300, sim.ropeImage().size(), sim.graphImage().size(), o);
    const int lines = QFontMetrics([] {
                          QFont f(QStringLiteral("Arial"));
                          f.setPixelSize(int(10.0 * 300 / 72.0 + 0.5));
                          f.setBold(true);
                          return f;
                      }()).lineSpacing();
    const auto blocks = valuesBlocks(valuesMetrics(300), page, layout.graph.bottom() + 1 + 2 * lines, 3000);
    const int pagesPerCopy = blocks.back().page + 1;
    EXPECT_GT(pagesPerCopy, 1);
    EXPECT_EQ(pdfPageCount(read(path)), 2 * pagesPerCopy);
}

TEST_F(Recorded, WindowShowsCopiesSavesAndPrintsTheRecording)
{
    ValuesWindow w(ValuesTable(sim.graph().points()), messages);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Tableau de valeurs"));
    QAbstractItemModel* model = w.tableView()->model();
    const auto& recorded = sim.graph().points();
    ASSERT_EQ(model->rowCount(), int(recorded.size()));
    ASSERT_EQ(model->columnCount(), 3);
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(model->headerData(c, Qt::Horizontal).toString(), GraphRecording::csvHeader()[c]);
    for (int r : {0, 17, int(recorded.size()) - 1})
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(model->index(r, c).data().toString(), GraphRecording::csvFields(recorded[std::size_t(r)])[c]);
    for (QPushButton* b : {w.copyButton(), w.saveButton(), w.printButton(), w.closeButton()})
        EXPECT_FALSE(b->toolTip().isEmpty()) << b->text().toStdString();

    // "&Copier": the whole table as spreadsheet text.
    QApplication::clipboard()->clear();
    w.copyButton()->click();
    EXPECT_EQ(QApplication::clipboard()->text(), sim.graph().csv(QLatin1Char('\t')));
    // Ctrl+C in the table: the rows chosen, in order, under the header.
    w.tableView()->selectRow(12);
    w.tableView()->selectionModel()->select(model->index(3, 0),
                                            QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_TRUE(w.copySelection());
    const QStringList lines = QApplication::clipboard()->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[1], GraphRecording::csvFields(recorded[3]).join(QLatin1Char('\t')));
    EXPECT_EQ(lines[2], GraphRecording::csvFields(recorded[12]).join(QLatin1Char('\t')));

    // "&Enregistrer...": the bytes of the graph's CSV; cancelling writes nothing.
    const QString csv = dir.filePath(QStringLiteral("tableau.csv"));
    QString suggested;
    w.askSaveName = [&](const QString&, const QString& name, const QString&, const QString&) {
        suggested = name;
        return csv;
    };
    EXPECT_TRUE(w.save());
    EXPECT_EQ(suggested, QStringLiteral("graphe.csv"));
    EXPECT_EQ(read(csv), sim.graph().csv().toUtf8());
    w.askSaveName = [](const QString&, const QString&, const QString&, const QString&) { return QString(); };
    EXPECT_FALSE(w.save());
    EXPECT_TRUE(messages.asked().empty());

    // "&Imprimer...": one page of title and table; refused when no printer is chosen.
    const QString pdf = dir.filePath(QStringLiteral("tableau.pdf"));
    w.choosePrinter = [&](QPrinter& p) {
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(pdf);
        return true;
    };
    EXPECT_TRUE(w.print());
    EXPECT_EQ(pdfPageCount(read(pdf)), 1);
    if (const auto text = pdfText(pdf)) {
        EXPECT_TRUE(text->startsWith(QStringLiteral("Tableau de valeurs")));
        EXPECT_TRUE(text->contains(QStringLiteral("u2 (cm)")));
    }
    w.choosePrinter = [](QPrinter&) { return false; };
    EXPECT_FALSE(w.print());
    EXPECT_TRUE(messages.asked().empty());
}

TEST_F(Recorded, AFailedSaveSaysWhyInAMessage)
{
    ValuesWindow w(ValuesTable(sim.graph().points()), messages);
    const QString nowhere = dir.filePath(QStringLiteral("absent/tableau.csv"));
    w.askSaveName = [&](const QString&, const QString&, const QString&, const QString&) { return nowhere; };
    EXPECT_FALSE(w.save());
    ASSERT_EQ(messages.asked().size(), 1u);
    EXPECT_EQ(messages.asked()[0].kind, MessageKind::Critical);
    EXPECT_EQ(messages.asked()[0].title, QStringLiteral("Enregistrement impossible"));
    EXPECT_TRUE(messages.asked()[0].text.contains(QStringLiteral("tableau.csv")));
    EXPECT_FALSE(QFile::exists(nowhere));
    // A folder is not a file name.
    messages.clear();
    w.askSaveName = [&](const QString&, const QString&, const QString&, const QString&) { return dir.path(); };
    EXPECT_FALSE(w.save());
    ASSERT_EQ(messages.asked().size(), 1u);
    EXPECT_EQ(messages.asked()[0].title, QStringLiteral("Enregistrement impossible"));
    EXPECT_TRUE(QFileInfo(dir.path()).isDir());
}
