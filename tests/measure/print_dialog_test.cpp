// The print dialog "Imprimer": its opening values, the copies, printing to a
// PDF file, and what happens when there is nowhere to print.
#include "measure/confimp.h"
#include "measure/pdf_util.h"
#include "measure/print_later.h"
#include "measure/up_down.h"
#include "platform/messages.h"
#include "platform/random_source.h"
#include "sim/simulation.h"
#include "same_file.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tolvi;
using namespace tolvi::testing;

namespace {
class PrintDialog : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    std::unique_ptr<Confimp> open()
    {
        return std::make_unique<Confimp>(sim.ropeImage(), sim.graphImage(), messages);
    }
    void toPdf(Confimp& d, const QString& path)
    {
        d.printer().setOutputFormat(QPrinter::PdfFormat);
        d.printer().setOutputFileName(path);
        d.Form_Load();
    }
    QByteArray read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    bool showsOptions(Confimp& d)
    {
        return !d.frame1()->isHidden() && !d.command(1)->isHidden() && !d.command(2)->isHidden() &&
               !d.command(3)->isHidden() && d.frame2()->isHidden();
    }

    ScriptedMessages messages;
    SeededRandom random;
    Simulation sim{messages, random};
    QTemporaryDir dir;
};
}  // namespace

TEST_F(PrintDialog, OpensWithTheSameValuesEveryTime)
{
    for (int use = 0; use < 2; ++use) {
        auto d = open();
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Imprimer"));
        EXPECT_EQ(d->frame1()->title(), QStringLiteral("Options"));
        EXPECT_EQ(d->check1(0)->text(), QStringLiteral("L'animation"));
        EXPECT_EQ(d->check1(1)->text(), QStringLiteral("Le graphe"));
        EXPECT_EQ(d->check1(2)->text(), QStringLiteral("Le tableau de valeur"));
        EXPECT_TRUE(d->check1(0)->isChecked());
        EXPECT_TRUE(d->check1(1)->isChecked());
        EXPECT_FALSE(d->check1(2)->isChecked());
        EXPECT_FALSE(d->check1(2)->isEnabled());
        EXPECT_EQ(d->text1()->text(), QStringLiteral("Kestrane - Tolvi"));
        EXPECT_EQ(d->label4()->text(), QStringLiteral("1"));
        EXPECT_EQ(d->upDown1()->value(), 1);
        EXPECT_EQ(d->command(1)->text(), QStringLiteral("&OK"));
        EXPECT_EQ(d->command(2)->text(), QStringLiteral("&Imprimantes"));
        EXPECT_EQ(d->command(3)->text(), QStringLiteral("&Annuler"));
        EXPECT_TRUE(d->frame2()->isHidden());
        EXPECT_FALSE(d->defaut()->text().isEmpty());
        // This use changes everything; the next opening does not see it.
        d->check1(0)->setChecked(false);
        d->text1()->setText(QStringLiteral("autre"));
        d->upDown1()->stepUp();
    }
}

TEST_F(PrintDialog, CopiesControlStepsWithinItsRangeAndTheLabelFollows)
{
    auto d = open();
    d->upDown1()->stepUp();
    d->upDown1()->stepUp();
    EXPECT_EQ(d->label4()->text(), QStringLiteral("3"));
    d->upDown1()->setValue(0);
    EXPECT_EQ(d->label4()->text(), QStringLiteral("1"));
    d->upDown1()->setValue(kMaxCopies + 5);
    EXPECT_EQ(d->label4()->text(), QString::number(kMaxCopies));
    EXPECT_EQ(d->options().copies, kMaxCopies);
}

TEST_F(PrintDialog, OkPrintsOnePagePerCopyThenCloses)
{
    auto d = open();
    const QString path = dir.filePath(QStringLiteral("imprime.pdf"));
    toPdf(*d, path);
    EXPECT_TRUE(d->defaut()->text().contains(path));
    d->upDown1()->setValue(2);
    d->text1()->setText(QStringLiteral("TP ondes"));
    d->check1(1)->setChecked(false);
    d->Command1_Click();
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_TRUE(messages.asked().empty());
    const QByteArray pdf = read(path);
    EXPECT_EQ(pdfPageCount(pdf), 2);
    EXPECT_GE(pdfImageCount(pdf), 1);
    if (const auto text = pdfText(path)) {
        EXPECT_EQ(text->count(QStringLiteral("TP ondes")), 2);
    }
}

TEST_F(PrintDialog, AFailedJobSaysSoAndReturnsToTheDialog)
{
    auto d = open();
    toPdf(*d, dir.filePath(QStringLiteral("pas/de/dossier/page.pdf")));
    d->Command1_Click();
    EXPECT_NE(d->result(), QDialog::Accepted);
    ASSERT_EQ(messages.asked().size(), 1u);
    EXPECT_EQ(messages.asked()[0].kind, MessageKind::Critical);
    EXPECT_EQ(messages.asked()[0].title, QStringLiteral("Impression impossible"));
    EXPECT_TRUE(showsOptions(*d)) << "the options and buttons are back";

    // Pointed at a good file, the same dialog then prints.
    messages.clear();
    const QString good = dir.filePath(QStringLiteral("ok.pdf"));
    toPdf(*d, good);
    d->Command1_Click();
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(pdfPageCount(read(good)), 1);
}

TEST_F(PrintDialog, WithNowhereToPrintTheUserChoosesFirst)
{
    auto d = open();
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        GTEST_SKIP() << "a printer is installed here";
    EXPECT_EQ(d->defaut()->text(), QStringLiteral("Aucune imprimante installée (fichier PDF)"));
    int asked = 0;
    // Refused: back to the dialog, nothing printed, nothing said.
    d->choosePrinter = [&](QPrinter&) { return ++asked, false; };
    d->Command1_Click();
    EXPECT_EQ(asked, 1);
    EXPECT_NE(d->result(), QDialog::Accepted);
    EXPECT_TRUE(showsOptions(*d));
    EXPECT_TRUE(messages.asked().empty());

    // Accepted with a PDF file: printed there.
    const QString path = dir.filePath(QStringLiteral("choisi.pdf"));
    d->choosePrinter = [&](QPrinter& printer) {
        ++asked;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        return true;
    };
    d->Command1_Click();
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(pdfPageCount(read(path)), 1);
}

TEST_F(PrintDialog, PrintersButtonShowsTheChosenPrinterAndCancelCloses)
{
    auto d = open();
    const QString path = dir.filePath(QStringLiteral("choix.pdf"));
    d->choosePrinter = [&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        return true;
    };
    d->Command2_Click();
    EXPECT_TRUE(d->defaut()->text().contains(path));
    EXPECT_TRUE(read(path).isEmpty()) << "choosing prints nothing";
    d->Command3_Click();
    EXPECT_EQ(d->result(), QDialog::Rejected);
}

namespace {
// Same size and same colour at every pixel.
bool samePixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size() || a.isNull())
        return false;
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col)
            if (x.pixel(col, row) != y.pixel(col, row))
                return false;
    return true;
}
}  // namespace

TEST_F(PrintDialog, PrintsLosslessPicturesOfTheMomentOkIsPressedAfterThePrinterChoice)
{
    // A recording under way with both markers: the blue and red curves grow
    // while the dialog is open.
    sim.setMarqueBleue(200);
    sim.setMarqueRouge(400);
    sim.demar_Click();
    sim.Command6_Click();
    sim.advance(0.2);
    double scale = 0;
    Confimp d(PrintPictures{[&](double s) { return scale = s, sim.ropeImage(s); },
                            [&](double s) { return sim.graphImage(s); }},
              messages);
    const std::size_t pointsWhenOpened = sim.graph().points().size();
    const QString path = dir.filePath(QStringLiteral("instant.pdf"));
    printLater(d, sim, path);
    ASSERT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(scale, printScale(d.printer().logicalDpiY()));
    EXPECT_GT(scale, 1.0) << "finer than the screen on paper";

    const auto images = pdfImages(read(path));
    ASSERT_EQ(images.size(), 2u);
    for (const PdfImage& image : images)
        EXPECT_EQ(image.filter, QByteArray("FlateDecode")) << "no lossy compression";
    EXPECT_TRUE(samePixels(images[0].image, sim.ropeImage(scale)));
    EXPECT_TRUE(samePixels(images[1].image, sim.graphImage(scale)));
    // The graph on paper holds the curve drawn while the dialog was open.
    EXPECT_GT(sim.graph().points().size(), pointsWhenOpened + 20);
}

TEST_F(PrintDialog, AnUnwritablePdfFileIsNamedWithItsFolder)
{
    auto d = open();
    const QString folder = dir.filePath(QStringLiteral("absent"));
    toPdf(*d, folder + QStringLiteral("/page.pdf"));
    d->Command1_Click();
    ASSERT_EQ(messages.asked().size(), 1u);
    const QString text = messages.asked()[0].text;
    EXPECT_TRUE(text.contains(QStringLiteral("ne peut pas être écrit"))) << text.toStdString();
    EXPECT_TRUE(text.contains(tolvi::testing::shownPath(folder + QStringLiteral("/page.pdf")))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("le dossier « %1 » n'existe pas").arg(tolvi::testing::shownPath(folder))))
        << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("imprimante"))) << text.toStdString();
}
