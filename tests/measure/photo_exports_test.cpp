// Photographs of the rope go wherever the rope goes: the window's rope
// picture, its right-click menu and keys, the saved CSV and PNG, the printed
// page, and the command line.
#include "app/program.h"
#include "mainwin/feuille_p.h"
#include "measure/data_exports.h"
#include "measure/pdf_util.h"
#include "measure/print_page.h"
#include "measure/rope_picture.h"
#include "sim/rope_photos.h"
#include "sim/rope_profile.h"

#include <QAction>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QPdfWriter>
#include <QProcess>
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

int differing(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return -1;
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int r = 0; r < x.height(); ++r)
        for (int c = 0; c < x.width(); ++c)
            n += x.pixel(c, r) != y.pixel(c, r);
    return n;
}

class Photos : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        window().setProgramDirectory(dir.path());
        window().endProgram = [] {};
        window().Form_Load();
        window().Form_Activate();
        exports()->askSaveName = [this](const QString&, const QString&, const QString&, const QString&) {
            return dir.filePath(answer);
        };
        sim().demar_Click();
        sim().advance(1.0);
        // Paused: the ticks come from the test alone.
        if (sim().controls().timerEnabled)
            sim().command16_Click();
        window().timer1().stop();
    }
    void TearDown() override { window().timer1().stop(); }
    FeuilleP& window() { return program.window(); }
    Simulation& sim() { return program.simulation(); }
    DataExports* exports() { return window().findChild<DataExports*>(QStringLiteral("donnees")); }
    QImage ropeShown() { return window().animpic()->grab().toImage(); }
    // The printed page's pictures, as a PDF writer receives them.
    QImage printedRope()
    {
        const QString path = dir.filePath(QStringLiteral("page.pdf"));
        {
            QPdfWriter writer(path);
            PrintOptions options;
            options.rope = true;
            options.graph = false;
            EXPECT_EQ(printPages(writer, PrintPictures{[this](double s) { return sim().ropeImage(s); },
                                                       [this](double s) { return sim().graphImage(s); }},
                                 options, path),
                      QString());
        }
        const std::vector<PdfImage> images = pdfImages(read(path));
        return images.empty() ? QImage() : images.front().image;
    }

    ScriptedMessages messages;
    Program program{messages, 1};
    QTemporaryDir dir;
    QString answer;
};
}  // namespace

TEST_F(Photos, TheCommandsAreInTheRopeMenuAndTheWindowWithKeysAndHoverTexts)
{
    QAction* take = exports()->action(DataExports::PhotographRope);
    QAction* clear = exports()->action(DataExports::ClearPhotos);
    ASSERT_NE(take, nullptr);
    ASSERT_NE(clear, nullptr);
    EXPECT_EQ(take->text(), QStringLiteral("Photographier la corde"));
    EXPECT_EQ(take->shortcut(), QKeySequence(Qt::Key_P));
    EXPECT_EQ(clear->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_P));
    EXPECT_FALSE(take->toolTip().isEmpty());
    EXPECT_FALSE(clear->toolTip().isEmpty());
    EXPECT_TRUE(window().actions().contains(take));
    EXPECT_TRUE(window().actions().contains(clear));
    ASSERT_NE(window().animpic()->exportMenu(), nullptr);
    EXPECT_TRUE(window().animpic()->exportMenu()->actions().contains(take));

    // P on the rope picture photographs; the picture shows the ghost.
    window().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
    window().animpic()->setFocus();
    const QImage before = ropeShown();
    QTest::keyClick(window().animpic(), Qt::Key_P);
    ASSERT_EQ(sim().photos().size(), 1u);
    EXPECT_TRUE(window().info().contains(QStringLiteral("t = 1,00 s"))) << window().info().toStdString();
    const QImage after = ropeShown();
    EXPECT_GT(differing(before, after), 50) << "the ghost and its label in the window's picture";
    QTest::keyClick(window().animpic(), Qt::Key_P, Qt::ShiftModifier);
    EXPECT_TRUE(sim().photos().empty());
    EXPECT_EQ(differing(before, ropeShown()), 0);
    window().hide();
}

TEST_F(Photos, SavedCsvAndPngAndThePrintedPageHoldThePhotographs)
{
    const QImage printedWithout = printedRope();
    ASSERT_FALSE(printedWithout.isNull());
    answer = QStringLiteral("sans.csv");
    ASSERT_TRUE(exports()->saveRopeProfile());
    EXPECT_EQ(read(dir.filePath(answer)), ropeCsv(sim().state()).toUtf8()) << "unchanged without photographs";
    answer = QStringLiteral("sans.png");
    ASSERT_TRUE(exports()->saveImage(false));

    ASSERT_TRUE(exports()->photograph());
    sim().advance(0.5);
    ASSERT_TRUE(exports()->photograph());

    answer = QStringLiteral("avec.csv");
    ASSERT_TRUE(exports()->saveRopeProfile());
    const QString csv = QString::fromUtf8(read(dir.filePath(answer)));
    EXPECT_TRUE(csv.startsWith(QStringLiteral("x (m);u (cm);u à t = 1,00 s (cm);u à t = 1,50 s (cm)\n")))
        << csv.left(80).toStdString();
    EXPECT_EQ(csv, ropeCsvWithPhotos(sim().state(), sim().photos()));

    answer = QStringLiteral("avec.png");
    ASSERT_TRUE(exports()->saveImage(false));
    const QImage png(dir.filePath(answer));
    EXPECT_EQ(differing(png, sim().ropeImage()), 0);
    // The live rope moved by 0,5 s as well: the ghosts are seen where the
    // rope is not (both labels, top left).
    const QImage plain(dir.filePath(QStringLiteral("sans.png")));
    EXPECT_GT(differing(png.copy(50, 0, 260, 16), plain.copy(50, 0, 260, 16)), 40);

    const QImage printed = printedRope();
    ASSERT_EQ(printed.size(), printedWithout.size());
    const QRect labels(0, 0, printed.width() * 320 / 786, printed.height() * 16 / 106);
    EXPECT_GT(differing(printed.copy(labels), printedWithout.copy(labels)), 40) << "the labels on paper";
}

TEST_F(Photos, TheCommandLinePhotographsAndWritesTheGhostsInTheCsvAndPng)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    const QString csv = dir.filePath(QStringLiteral("c.csv"));
    const QString png = dir.filePath(QStringLiteral("c.png"));
    const QString plainCsv = dir.filePath(QStringLiteral("p.csv"));
    process.start(QStringLiteral(TOLVI_PROGRAM_DIR "/tolvi"),
                  {QStringLiteral("--start"), QStringLiteral("--advance"), QStringLiteral("1"),
                   QStringLiteral("--rope-csv"), plainCsv, QStringLiteral("--photo"), QStringLiteral("--advance"),
                   QStringLiteral("0,5"), QStringLiteral("--photo"), QStringLiteral("--rope-csv"), csv,
                   QStringLiteral("--rope-image"), png, QStringLiteral("--clear-photos")});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    const QString text = QString::fromUtf8(read(csv));
    EXPECT_TRUE(text.startsWith(QStringLiteral("x (m);u (cm);u à t = 1,00 s (cm);u à t = 1,50 s (cm)\n")))
        << text.left(80).toStdString();
    EXPECT_TRUE(QString::fromUtf8(read(plainCsv)).startsWith(QStringLiteral("x (m);u (cm)\n")));
    EXPECT_FALSE(QImage(png).isNull());
}
