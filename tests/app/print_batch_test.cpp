// Printing and copying from the command line: PDFs as "&OK" of "Imprimer"
// writes them, the exercise text to PDF, a picture on the clipboard.
#include "measure/pdf_util.h"
#include "same_file.h"

#include <QColor>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tolvi::testing;

namespace {
struct Outcome {
    int code;
    QString out;
    QString err;
};

Outcome runTolvi(const QStringList& arguments, const QProcessEnvironment& env = [] {
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return e;
}())
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(TOLVI_PROGRAM_DIR "/tolvi"), arguments);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QByteArray read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
}  // namespace

TEST(PrintBatch, PrintPdfUsesTheDialogsOpeningValuesOrTheOptionsBeforeIt)
{
    QTemporaryDir dir;
    const QString plain = dir.filePath(QStringLiteral("defaut.pdf"));
    const QString three = dir.filePath(QStringLiteral("trois.pdf"));
    const QString bare = dir.filePath(QStringLiteral("titre.pdf"));
    Outcome r = runTolvi({"--start", "--advance", "1", "--print-pdf", plain, "--copies", "3", "--title", "TP n°4 : célérité",
                   "--print-pdf", three, "--no-rope", "--no-graph", "--print-pdf", bare});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();

    const QByteArray first = read(plain);
    EXPECT_EQ(pdfPageCount(first), 1);
    EXPECT_GT(pdfFirstPageSize(first).width(), pdfFirstPageSize(first).height());
    EXPECT_GE(pdfImageCount(first), 1);
    EXPECT_EQ(pdfPageCount(read(three)), 3);
    EXPECT_EQ(pdfPageCount(read(bare)), 3);
    EXPECT_EQ(pdfImageCount(read(bare)), 0) << "title-only pages";
    if (const auto text = pdfText(plain)) {
        EXPECT_TRUE(text->contains(QStringLiteral("Kestrane - Tolvi")));
        EXPECT_EQ(pdfText(three)->count(QStringLiteral("TP n°4 : célérité")), 3);
        EXPECT_EQ(pdfText(bare)->trimmed().split(QLatin1Char('\f'), Qt::SkipEmptyParts).size(), 3);
    }
}

TEST(PrintBatch, ValuesTablePrintsTheRecordingAfterThePictures)
{
    QTemporaryDir dir;
    const QString plain = dir.filePath(QStringLiteral("images.pdf"));
    const QString table = dir.filePath(QStringLiteral("valeurs.pdf"));
    const QString csv = dir.filePath(QStringLiteral("graphe.csv"));
    // A 1 min recording of 50 ms ticks (1 200 rows) runs over several pages.
    Outcome r = runTolvi({"--duration-index", "7", "--record", "--start", "--advance", "40", "--graph-csv", csv,
                          "--print-pdf", plain, "--values-table", "--print-pdf", table});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    EXPECT_EQ(pdfPageCount(read(plain)), 1);
    EXPECT_GT(pdfPageCount(read(table)), 1);
    if (const auto text = pdfText(table)) {
        const QStringList lines = QString::fromUtf8(read(csv)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        ASSERT_GT(lines.size(), 700);
        for (const QString& line : {lines[1], lines[400], lines.last()})
            for (const QString& field : line.split(QLatin1Char(';'), Qt::SkipEmptyParts))
                EXPECT_TRUE(text->contains(field)) << field.toStdString();
    }
    // Nothing recorded: the page is printed without a table, and it is said.
    r = runTolvi({"--values-table", "--print-pdf", table});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.err.contains(QStringLiteral("aucune valeur"))) << r.err.toStdString();
    EXPECT_EQ(pdfPageCount(read(table)), 1);
}

TEST(PrintBatch, BadValuesAndFailedJobsAreReported)
{
    QTemporaryDir dir;
    for (const QStringList& args : {QStringList{"--copies", "0"}, QStringList{"--copies", "abc"},
                                    QStringList{"--copy", "tout"}, QStringList{"--print-pdf", ""}}) {
        const Outcome r = runTolvi(args);
        EXPECT_EQ(r.code, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(args[0])) << r.err.toStdString();
    }
    const Outcome r = runTolvi({"--print-pdf", dir.filePath(QStringLiteral("absent/page.pdf"))});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Impression impossible"))) << r.err.toStdString();
    // The file cannot be written, and where: not a printer's refusal.
    const Outcome missing = runTolvi({"--print-pdf", QStringLiteral("/nonexistent/x.pdf")});
    EXPECT_EQ(missing.code, 1);
    // (On Windows the same name is on the current drive, and shown with backslashes.)
    const QFileInfo where(QStringLiteral("/nonexistent/x.pdf"));
    EXPECT_TRUE(missing.err.contains(QStringLiteral("Le fichier « %1 » ne peut pas être écrit : "
                                                    "le dossier « %2 » n'existe pas.")
                                         .arg(shownPath(where.absoluteFilePath()), shownPath(where.absolutePath()))))
        << missing.err.toStdString();
    EXPECT_TRUE(missing.err.contains(
        QStringLiteral("Impression dans %1 impossible.").arg(shownPath(QStringLiteral("/nonexistent/x.pdf")))))
        << missing.err.toStdString();
    EXPECT_FALSE(missing.err.contains(QStringLiteral("imprimante"))) << missing.err.toStdString();
}

TEST(PrintBatch, PrintedPicturesAreTheSavedPicturesAtFourTimesTheScreensResolution)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
    const QString rope = dir.filePath(QStringLiteral("corde.png"));
    const QString graph = dir.filePath(QStringLiteral("graphe.png"));
    // A damper's speckles, both markers, and curves recorded for 2 s.
    const Outcome r = runTolvi({"--marker", "blue=200", "--marker", "red=420", "--start", "--record", "--advance",
                                "2", "--print-pdf", pdf, "--scale", "4", "--rope-image", rope, "--graph-image", graph});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const auto images = pdfImages(read(pdf));
    ASSERT_EQ(images.size(), 2u);
    const QImage savedRope(rope), savedGraph(graph);
    ASSERT_EQ(savedRope.size(), QSize(4 * 786, 4 * 106));
    ASSERT_EQ(savedGraph.size(), QSize(4 * 781, 4 * 105));
    for (const PdfImage& image : images)
        EXPECT_EQ(image.filter, QByteArray("FlateDecode")) << "lossless";
    EXPECT_EQ(images[0].image, savedRope.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(images[1].image, savedGraph.convertToFormat(QImage::Format_RGB32));
    // The curves in their exact blue and red.
    EXPECT_TRUE(images[1].image.pixelColor(0, 0).isValid());
    int blue = 0, red = 0;
    for (int y = 0; y < images[1].image.height(); y += 2)
        for (int x = 0; x < images[1].image.width(); x += 2) {
            blue += images[1].image.pixel(x, y) == qRgb(0, 0, 255);
            red += images[1].image.pixel(x, y) == qRgb(255, 0, 0);
        }
    EXPECT_GT(blue, 500);
    EXPECT_GT(red, 500);
}

TEST(PrintBatch, ScaleDrawsThePicturesAndTheSnapshotFinerAndIsChecked)
{
    QTemporaryDir dir;
    const QString rope = dir.filePath(QStringLiteral("corde.png"));
    const QString plain = dir.filePath(QStringLiteral("corde1.png"));
    const QString shot = dir.filePath(QStringLiteral("fenetre.png"));
    const Outcome r = runTolvi({"--rope-image", plain, "--scale", "1,5", "--rope-image", rope, "--snapshot", shot});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(QImage(plain).size(), QSize(786, 106)) << "pictures before --scale are unchanged";
    EXPECT_EQ(QImage(rope).size(), QSize(1179, 159));
    EXPECT_EQ(QImage(shot).size(), QSize(1200, 900));
    for (const char* bad : {"0", "0,5", "5", "deux"}) {
        const Outcome b = runTolvi({"--scale", bad});
        EXPECT_EQ(b.code, 2) << bad;
        EXPECT_TRUE(b.err.contains(QStringLiteral("--scale"))) << b.err.toStdString();
    }
    EXPECT_TRUE(runTolvi({"--help"}).out.contains(QStringLiteral("--scale F")));
}

TEST(PrintBatch, TextPdfHoldsTheExerciseAreaText)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("texte.pdf"));
    const Outcome r = runTolvi({"--print-text-pdf", path});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_GE(pdfPageCount(read(path)), 1);
    // Text, not outlines: the font is in the file (without fonts of its own,
    // a headless run draws every letter as a box).
    EXPECT_TRUE(read(path).contains("/FontFile2"));
    if (const auto text = pdfText(path)) {
        EXPECT_TRUE(text->contains(QStringLiteral("propagation d'un signal"))) << text->toStdString();
    }
    EXPECT_EQ(runTolvi({"--print-text-pdf", dir.filePath(QStringLiteral("non/texte.pdf"))}).code, 1);
}

TEST(PrintBatch, CopyIsReadByAnotherProgramOnARealDisplay)
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    const QString xclip = QStandardPaths::findExecutable(QStringLiteral("xclip"));
    if (xvfb.isEmpty() || xclip.isEmpty())
        GTEST_SKIP() << "xvfb-run and xclip are needed";
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("corde.png"));
    // The program keeps the clipboard until another copy replaces it; xclip
    // reads it once the program says the picture is copied, then copies a
    // text of its own, which lets the program go.
    const QString script =
        QStringLiteral("'%1' --clipboard-wait 600 --copy rope > '%2/out.txt' & "
                       "until grep -q copi '%2/out.txt' || ! kill -0 $! 2>/dev/null; do sleep 0.05; done; "
                       "xclip -selection clipboard -t image/png -o > '%3'; "
                       "echo fini | xclip -selection clipboard -i >/dev/null 2>&1; wait")
            .arg(QStringLiteral(TOLVI_PROGRAM_DIR "/tolvi"), dir.path(), png);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(xvfb, {"-a", "-s", "-screen 0 1024x768x24", "sh", "-c", script});
    ASSERT_TRUE(process.waitForFinished(120000));
    QImage image;
    ASSERT_TRUE(image.load(png)) << process.readAllStandardError().toStdString();
    EXPECT_EQ(image.size(), QSize(786, 106));
    EXPECT_TRUE(QString::fromUtf8(read(dir.filePath(QStringLiteral("out.txt")))).contains(QStringLiteral("L'image est copiée")));
    // The rope picture: the red source ruler at the left of the rest row.
    const QColor source(image.pixel(30, 54));
    EXPECT_GT(source.red(), 200);
    EXPECT_LT(source.green(), 80);
}
