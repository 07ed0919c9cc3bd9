// The exercise options of the batch command line, on the real program and
// its shipped activities.
#include "app/batch_run.h"
#include "exercises/exercise_file.h"
#include "fifo_guard.h"
#include "measure/pdf_util.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
struct Outcome {
    int code;
    QString err;
};

Outcome run(const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(QStringLiteral(TOLVI_PROGRAM_DIR));
    process.start(QStringLiteral(TOLVI_PROGRAM_DIR "/tolvi"), arguments);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardError())};
}

QString readUtf8(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}
}  // namespace

TEST(BatchExercise, ShippedActivitiesOpenTheirCorrectionsAndTextsRoundTrip)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString plain = dir.filePath(QStringLiteral("texte.txt"));
    const QString rtf = dir.filePath(QStringLiteral("texte.rtf"));

    Outcome o = run({"--getting-started", "--text-plain", plain, "--save-text", rtf});
    EXPECT_EQ(o.code, 0) << o.err.toStdString();
    EXPECT_TRUE(readUtf8(plain).startsWith(QStringLiteral("Prise en main de Tolvi\n")));
    EXPECT_TRUE(readUtf8(rtf).startsWith(QStringLiteral("{\\rtf1")));

    // The saved text, opened again, gives the same plain text.
    const QString again = dir.filePath(QStringLiteral("encore.txt"));
    o = run({"--open-text", rtf, "--text-plain", again});
    EXPECT_EQ(o.code, 0) << o.err.toStdString();
    EXPECT_EQ(readUtf8(again), readUtf8(plain));

    o = run({"--exercise", "TENSION.E33", "--text-plain", plain});
    EXPECT_EQ(o.code, 0) << o.err.toStdString();
    EXPECT_TRUE(readUtf8(plain).startsWith(QStringLiteral("Célérité, tension et masse linéique")));
    o = run({"--exercise", "TENSION.E33", "--correction", "--text-plain", plain});
    EXPECT_EQ(o.code, 0) << o.err.toStdString();
    EXPECT_TRUE(readUtf8(plain).contains(QStringLiteral("v = √(T / µ)")));

    // Failures: exit 1 with the program's message; no exercise, no correction.
    o = run({"--exercise", "ABSENT.E33"});
    EXPECT_EQ(o.code, 1);
    EXPECT_TRUE(o.err.contains(QStringLiteral("Lecture impossible"))) << o.err.toStdString();
    o = run({"--correction"});
    EXPECT_EQ(o.code, 1);
    o = run({"--open-text"});
    EXPECT_EQ(o.code, 2);
}

TEST(BatchExercise, FifosAndHugeTextsEndTheRunWithTheProgramsMessage)
{
    TOLVI_NEEDS_FIFOS();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const FifoGuard exercise(dir.filePath(QStringLiteral("tube.E33")));
    const FifoGuard configuration(dir.filePath(QStringLiteral("tube.P15")));
    ASSERT_TRUE(exercise.made() && configuration.made());
    {
        QFile big(dir.filePath(QStringLiteral("gros.rtf")));
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        ASSERT_EQ(big.write("{\\rtf1 "), 7);
        ASSERT_TRUE(big.resize(qint64(100) << 20));
    }
    batchrun::Outcome o = batchrun::runIn(dir.path(), {"--exercise", "tube.E33"});
    EXPECT_EQ(o.code, 1);
    EXPECT_TRUE(o.err.contains(QStringLiteral("Lecture impossible: "))) << o.err.toStdString();
    EXPECT_TRUE(o.err.contains(QStringLiteral("L'exercice tube.E33 n'a pas pu être ouvert."))) << o.err.toStdString();

    o = batchrun::runIn(dir.path(), {"--config", "tube.P15"});
    EXPECT_EQ(o.code, 1);
    EXPECT_TRUE(o.err.contains(QStringLiteral("impossible d'ouvrir ce fichier: Nom de fichier incorrect ou chemin non valide")))
        << o.err.toStdString();

    o = batchrun::runIn(dir.path(), {"--open-text", "gros.rtf"});
    EXPECT_TRUE(o.err.contains(QStringLiteral("Fichier trop grand: Le fichier ") + dir.filePath(QStringLiteral("gros.rtf")) +
                               QStringLiteral(" est trop grand (100 Mo) : Tolvi lit les textes jusqu'à 64 Mo.")))
        << o.err.toStdString();

    EXPECT_FALSE(exercise.rescued() || configuration.rescued());
}

TEST(BatchExercise, StatementsOutOfTheExerciseFolderAreAbsentAndDrivesAreDropped)
{
    QTemporaryDir top;
    ASSERT_TRUE(top.isValid());
    const QDir t(top.path());
    ASSERT_TRUE(t.mkpath(QStringLiteral("exos")) && t.mkpath(QStringLiteral("ailleurs")));
    const QString statement = QStringLiteral(TOLVI_PROGRAM_DIR "/CELERITE.RTF");
    ASSERT_TRUE(QFile::copy(statement, t.filePath(QStringLiteral("ailleurs/CACHE.RTF"))));
    ASSERT_TRUE(QFile::copy(statement, t.filePath(QStringLiteral("exos/ONDE.RTF"))));
#ifndef _WIN32  // QFile::link makes a shortcut on Windows, not a symbolic link
    ASSERT_TRUE(QFile::link(t.filePath(QStringLiteral("ailleurs/CACHE.RTF")), t.filePath(QStringLiteral("exos/LIEN.RTF"))));
    tolvi::ExerciseRecords linked;
    linked.statement = QStringLiteral("LIEN.RTF");
    ASSERT_TRUE(tolvi::saveExercise(t.filePath(QStringLiteral("exos/LIEN.E33")), linked).ok());
#endif
    tolvi::ExerciseRecords drive;
    drive.statement = QStringLiteral("C:\\EXOS\\onde.rtf");
    ASSERT_TRUE(tolvi::saveExercise(t.filePath(QStringLiteral("exos/DISQUE.E33")), drive).ok());

    const QString plain = t.filePath(QStringLiteral("texte.txt"));
    batchrun::Outcome o;
#ifndef _WIN32
    o = batchrun::runIn(t.filePath(QStringLiteral("exos")), {"--exercise", "LIEN.E33", "--text-plain", plain});
    EXPECT_EQ(o.code, 1);
    EXPECT_TRUE(o.err.contains(QStringLiteral("Fichier absent: Le fichier ") + t.filePath(QStringLiteral("exos/")) +
                               QStringLiteral("LIEN.RTF est introuvable")))
        << o.err.toStdString();
    EXPECT_FALSE(QFile::exists(plain));
#endif

    o = batchrun::runIn(t.filePath(QStringLiteral("exos")), {"--exercise", "DISQUE.E33", "--text-plain", plain});
    EXPECT_EQ(o.code, 0) << o.err.toStdString();
    EXPECT_TRUE(readUtf8(plain).startsWith(QStringLiteral("Retard et célérité"))) << readUtf8(plain).left(40).toStdString();
}

// A word processor's text through the batch line: AbiWord's numbered items
// numbered in the plain text, its lists and hidden text kept when the text
// is saved, a table made for a Letter page printed whole on A4.
TEST(BatchExercise, WordProcessorTextKeepsListsHiddenTextAndPrintsWhole)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString source = dir.filePath(QStringLiteral("abiword.rtf"));
    {
        QFile f(source);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fnil\\fcharset0 Liberation Serif;}}\n"
                "{\\*\\listtable{\\list\\listtemplateid1000{\\listlevel\\levelnfc0\\levelstartat1{\\leveltext\\'02\\'00.;}"
                "{\\levelnumbers\\'01;}}\\listid1}}\n"
                "{\\*\\listoverridetable{\\listoverride\\listoverridecount0\\listid1\\ls1}}\n"
                "\\pard\\plain Consignes{\\v  (corrig\\'e9 : v = 3 m/s)}\\par\n"
                "{\\listtext\\pard\\fi-431\\li720  \t}\\pard\\plain{\\fi-431\\li720\\ls1\\ilvl0 Mesurer\\par}\n"
                "{\\listtext\\pard\\fi-431\\li720  \t}\\pard\\plain{\\fi-431\\li720\\ls1\\ilvl0 Calculer\\par}\n"
                "\\trowd\\cellx3600\\cellx7200\\cellx10692\\pard\\intbl Un\\cell Deux\\cell Trois\\cell "
                "Cellule trop loin\\cell\\row\\pard Fin\\par}");
    }
    const QString plain = dir.filePath(QStringLiteral("texte.txt"));
    const QString saved = dir.filePath(QStringLiteral("copie.rtf"));
    const QString pdf = dir.filePath(QStringLiteral("texte.pdf"));
    const Outcome o = run({"--open-text", source, "--text-plain", plain, "--save-text", saved, "--print-text-pdf", pdf});
    ASSERT_EQ(o.code, 0) << o.err.toStdString();
    EXPECT_EQ(readUtf8(plain).toStdString(), "Consignes\n1.\tMesurer\n2.\tCalculer\nUn\nDeux\nTrois\nCellule trop loin\nFin");
    const QString copy = readUtf8(saved);
    EXPECT_TRUE(copy.contains(QStringLiteral("{\\*\\listtable"))) << copy.toStdString();
    EXPECT_TRUE(copy.contains(QStringLiteral("\\ls1\\ilvl0")));
    EXPECT_TRUE(copy.contains(QStringLiteral("\\v  (corrig\\'e9 : v = 3 m/s)\\v0")));
    if (const auto text = tolvi::testing::pdfText(pdf)) {
        EXPECT_TRUE(text->simplified().contains(QStringLiteral("Cellule trop loin"))) << text->toStdString();
    }
}
