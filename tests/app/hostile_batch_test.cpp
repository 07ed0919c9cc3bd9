// The batch line under hostile conditions: pipes nobody reads, protected
// files, the program's own output as a file name, a deleted current folder,
// the longest names, values that are no numbers, a display that is gone.
#include "app/batch_run.h"
#include "config/record_file.h"
#include "exercises/exercise_file.h"
#include "measure/pdf_util.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using batchrun::fileBytes;
using batchrun::Outcome;
using batchrun::runIn;

namespace {
const QString kProgram = QStringLiteral(TOLVI_PROGRAM_DIR "/tolvi");

// `script` run by sh in `folder`, "$T" naming the program; offscreen unless
// `env` says otherwise. A program that hangs is killed after a minute, and
// its exit code is then not 0, 1 or 2.
Outcome runShell(const QString& folder, const QString& script,
                 QProcessEnvironment env = QProcessEnvironment::systemEnvironment())
{
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")) && !env.contains(QStringLiteral("TOLVI_KEEP_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("T"), kProgram);
    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script});
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return {-1, QString(), QStringLiteral("killed: still running after a minute")};
    }
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

bool makeFifo(const QString& path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}
}  // namespace

TEST(HostileBatch, APipeNobodyReadsIsRefusedAtOnceWithTheWriteError)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(makeFifo(dir.filePath(QStringLiteral("p.P15"))));
    ASSERT_TRUE(makeFifo(dir.filePath(QStringLiteral("corde.csv"))));
    ASSERT_TRUE(makeFifo(dir.filePath(QStringLiteral("page.pdf"))));

    const Outcome config = runIn(dir.path(), {"--save-config", "p.P15"});
    EXPECT_EQ(config.code, 1) << config.err.toStdString();
    EXPECT_TRUE(config.err.contains(QStringLiteral("Ecriture impossible sur disque"))) << config.err.toStdString();

    for (const QStringList& args : {QStringList{"--rope-csv", "corde.csv"}, QStringList{"--print-pdf", "page.pdf"}}) {
        const Outcome r = runIn(dir.path(), args);
        EXPECT_EQ(r.code, 1) << args.join(' ').toStdString() << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("aucun programme ne lit ce tube"))) << r.err.toStdString();
        EXPECT_FALSE(r.err.contains(QStringLiteral("QPainter"))) << r.err.toStdString();
    }
    // Still the pipes, not files put in their place.
    for (const char* name : {"p.P15", "corde.csv", "page.pdf"})
        EXPECT_FALSE(QFileInfo(dir.filePath(QString::fromLatin1(name))).isFile()) << name;
}

TEST(HostileBatch, WriteProtectedFilesAreNotReplaced)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString config = dir.filePath(QStringLiteral("prot.P15"));
    const QString csv = dir.filePath(QStringLiteral("prot.csv"));
    const QString rtf = dir.filePath(QStringLiteral("prot.rtf"));
    const QString pdf = dir.filePath(QStringLiteral("prot.pdf"));
    for (const QString& path : {config, csv, rtf, pdf}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("ancien");
        f.close();
        ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0444), 0);
    }
    const Outcome saved = runIn(dir.path(), {"--text", "2=3", "--save-config", "prot"});
    EXPECT_EQ(saved.code, 1);
    EXPECT_TRUE(saved.err.contains(QStringLiteral("Ecriture impossible sur disque"))) << saved.err.toStdString();
    const Outcome rope = runIn(dir.path(), {"--rope-csv", csv});
    EXPECT_EQ(rope.code, 1);
    EXPECT_TRUE(rope.err.contains(QStringLiteral("protégé en écriture"))) << rope.err.toStdString();
    EXPECT_EQ(runIn(dir.path(), {"--getting-started", "--save-text", rtf}).code, 1);
    const Outcome printed = runIn(dir.path(), {"--print-pdf", pdf});
    EXPECT_EQ(printed.code, 1);
    EXPECT_TRUE(printed.err.contains(QStringLiteral("protégé en écriture"))) << printed.err.toStdString();
    for (const QString& path : {config, csv, rtf, pdf})
        EXPECT_EQ(fileBytes(path), QByteArray("ancien")) << path.toStdString();
}

TEST(HostileBatch, PrintedPdfReplacesTheOldFileWholeInsteadOfWritingIntoIt)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A second name for the old file: written in place, it would change too.
    const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
    const QString second = dir.filePath(QStringLiteral("ancienne.pdf"));
    {
        QFile f(pdf);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("ancien PDF");
    }
    ASSERT_EQ(::link(QFile::encodeName(pdf).constData(), QFile::encodeName(second).constData()), 0);
    const Outcome r = runIn(dir.path(), {"--print-pdf", pdf});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(fileBytes(second), QByteArray("ancien PDF"));
    EXPECT_EQ(tolvi::testing::pdfPageCount(fileBytes(pdf)), 1);
    // No temporary file left beside it.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files, QDir::Name),
              (QStringList{QStringLiteral("ancienne.pdf"), QStringLiteral("page.pdf")}));
    // A folder that is not there: the French reason alone, no word from Qt.
    const Outcome missing = runIn(dir.path(), {"--print-pdf", dir.filePath(QStringLiteral("absent/x.pdf"))});
    EXPECT_EQ(missing.code, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("n'existe pas"))) << missing.err.toStdString();
    EXPECT_FALSE(missing.err.contains(QStringLiteral("QPainter"))) << missing.err.toStdString();
}

TEST(HostileBatch, TheProgramsOwnOutputRedirectedToAFileIsWrittenAfterWhatIsThere)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // Replaced, the file would hold the CSV alone; the evaluations before and
    // after it are there around it.
    Outcome r = runShell(dir.path(), QStringLiteral("\"$T\" --eval 1+1 --rope-csv /dev/stdout --eval 2+2 > out.txt"));
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    QString out = QString::fromUtf8(fileBytes(dir.filePath(QStringLiteral("out.txt"))));
    const qsizetype csv = out.indexOf(QStringLiteral("x (m);u (cm)"));
    ASSERT_GE(csv, 0) << out.toStdString();
    EXPECT_TRUE(out.left(csv).contains(QLatin1Char('2'))) << out.toStdString();
    EXPECT_TRUE(out.mid(csv).contains(QLatin1Char('4'))) << out.toStdString();
    EXPECT_TRUE(out.mid(csv).contains(QStringLiteral("7,00;"))) << out.toStdString();

    // Appended to a log, the earlier lines stay; standard error the same.
    r = runShell(dir.path(), QStringLiteral("echo 'ligne plus ancienne' > log.txt; "
                                            "\"$T\" --rope-csv /dev/stdout >> log.txt; "
                                            "\"$T\" --rope-csv /dev/stderr 2>> log.txt"));
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    out = QString::fromUtf8(fileBytes(dir.filePath(QStringLiteral("log.txt"))));
    EXPECT_TRUE(out.startsWith(QStringLiteral("ligne plus ancienne\n"))) << out.left(200).toStdString();
    EXPECT_EQ(out.count(QStringLiteral("x (m);u (cm)")), 2);
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("log.txt"))).isFile());
}

TEST(HostileBatch, ARelativeSaveWithTheCurrentFolderDeletedIsRefused)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString name = QStringLiteral("tolvi-sans-dossier-%1").arg(::getpid());
    // Each kind of save, run in a folder deleted before the program starts.
    for (const QString& option : {QStringLiteral("--save-config"), QStringLiteral("--rope-csv"),
                                  QStringLiteral("--print-pdf"), QStringLiteral("--save-text")}) {
        const Outcome r = runShell(
            dir.path(), QStringLiteral("mkdir d && cd d && rmdir ../d && exec \"$T\" --getting-started %1 %2")
                            .arg(option, name));
        EXPECT_EQ(r.code, 1) << option.toStdString() << r.err.toStdString();
        EXPECT_FALSE(r.err.isEmpty());
        for (const char* suffix : {"", ".P15"})
            EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/") + name + QString::fromLatin1(suffix)))
                << option.toStdString();
    }
}

TEST(HostileBatch, EveryNameTheFileSystemTakesCanBeSavedAndSavedAgain)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const int length : {239, 245, 255}) {
        const QString name = QString(length - 4, QLatin1Char('n')) + QStringLiteral(".csv");
        const QString path = dir.filePath(name);
        for (int round = 0; round < 2; ++round) {
            const Outcome r = runIn(dir.path(), {"--rope-csv", name});
            EXPECT_EQ(r.code, 0) << length << ' ' << r.err.toStdString();
        }
        EXPECT_TRUE(fileBytes(path).startsWith("x (m);u (cm)")) << length;
        QFile::remove(path);
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST(HostileBatch, NumbersThatAreNotFiniteAndMalformedOptionsExitWith2)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QList<QStringList> cases = {
        {"--run", "nan"},    {"--run", "inf"},      {"--advance", "nan"}, {"--advance", "-inf"},
        {"--slow", "nan"},   {"--scale", "NaN"},    {"--step", "inf"},    {"--record=1"},
        {"--start=yes"},     {"-x"},                {"-run", "1"},
    };
    for (const QStringList& args : cases) {
        const Outcome r = runIn(dir.path(), args);
        EXPECT_EQ(r.code, 2) << args.join(' ').toStdString() << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("incorrecte")) || r.err.contains(QStringLiteral("inconnue")) ||
                    r.err.contains(QStringLiteral("ne prend pas de valeur")))
            << args.join(' ').toStdString() << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    }
    // "-h" is the help, not a configuration to open.
    const Outcome help = runIn(dir.path(), {"-h"});
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("Utilisation : tolvi"))) << help.out.left(80).toStdString();
}

TEST(HostileBatch, AnUnreadableLauncherRequestFailsTheRun)
{
    QTemporaryDir program;
    ASSERT_TRUE(program.isValid());
    const QString flag = program.filePath(QStringLiteral("TEMPQA.TMP"));
    ASSERT_TRUE(tolvi::writeRecord(flag, 31, QStringLiteral("ABSENT.E33")).ok());
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("TOLVI_PROGRAM_FOLDER"), program.path());
    process.setProcessEnvironment(env);
    process.start(kProgram, {"--as-launched", "--rope-csv", "-"});
    ASSERT_TRUE(process.waitForFinished(60000));
    const QString err = QString::fromUtf8(process.readAllStandardError());
    EXPECT_EQ(process.exitCode(), 1) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("Lecture impossible"))) << err.toStdString();
    // Nothing run after the failure.
    EXPECT_FALSE(process.readAllStandardOutput().contains("x (m)"));
    EXPECT_EQ(tolvi::readRecord(flag, 3).text, QStringLiteral("NON"));
}

TEST(HostileBatch, ACopyWithoutADisplaySaysTheClipboardIsNotThere)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // No display at all, then a display that is gone.
    QProcessEnvironment none = QProcessEnvironment::systemEnvironment();
    none.remove(QStringLiteral("DISPLAY"));
    none.remove(QStringLiteral("WAYLAND_DISPLAY"));
    none.remove(QStringLiteral("QT_QPA_PLATFORM"));
    none.insert(QStringLiteral("TOLVI_KEEP_PLATFORM"), QStringLiteral("1"));
    Outcome r = runShell(dir.path(), QStringLiteral("exec \"$T\" --copy rope"), none);
    EXPECT_EQ(r.code, 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("Le presse-papiers n'est pas disponible"))) << r.err.toStdString();
    EXPECT_FALSE(r.out.contains(QStringLiteral("copiée"))) << r.out.toStdString();

    QProcessEnvironment gone = none;
    gone.insert(QStringLiteral("DISPLAY"), QStringLiteral(":987"));
    r = runShell(dir.path(), QStringLiteral("exec \"$T\" --copy rope"), gone);
    EXPECT_EQ(r.code, 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("l'affichage :987 ne répond pas"))) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(QStringLiteral("could not connect"))) << r.err.toStdString();
}

TEST(HostileBatch, AConfigurationSavedWithoutMarkersOpensWithoutAnError)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Outcome r = runIn(dir.path(), {"--marker", "blue=-1", "--marker", "red=-1", "--save-config", "nue"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    r = runIn(dir.path(), {"--config", "nue.P15", "--advance", "1", "--rope-csv", "corde.csv"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(QStringLiteral("marqueur"))) << r.err.toStdString();
    EXPECT_TRUE(fileBytes(dir.filePath(QStringLiteral("corde.csv"))).startsWith("x (m)"));
}

TEST(HostileBatch, AFileWhoseNameIsLatin1Opens)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Outcome r = runIn(dir.path(), {"--wave", "2", "--save-config", "cafe"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    ASSERT_EQ(::rename(QFile::encodeName(dir.filePath(QStringLiteral("cafe.P15"))).constData(),
                       (QFile::encodeName(dir.path()) + "/caf\xe9.P15").constData()),
              0);
    r = runShell(dir.path(), QStringLiteral("exec \"$T\" --config \"$(printf 'caf\\351.P15')\" --rope-csv -"));
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("x (m);u (cm)"))) << r.out.left(100).toStdString();
    ::unlink((QFile::encodeName(dir.path()) + "/caf\xe9.P15").constData());
}

TEST(HostileBatch, AMissingStatementIsNamedByThePathLookedFor)
{
    QTemporaryDir top;
    ASSERT_TRUE(top.isValid());
    const QDir t(top.path());
    ASSERT_TRUE(t.mkpath(QStringLiteral("ex")) && t.mkpath(QStringLiteral("outside")));
    QFile secret(t.filePath(QStringLiteral("outside/SECRET.RTF")));
    ASSERT_TRUE(secret.open(QIODevice::WriteOnly));
    secret.write("{\\rtf1 secret}");
    secret.close();
    struct Case {
        const char* statement;
        const char* named;  // beside the exercise
    } cases[] = {{"../outside/SECRET.RTF", "SECRET.RTF"}, {"/tmp/absent.rtf", "tmp/absent.rtf"}};
    for (const Case& c : cases) {
        tolvi::ExerciseRecords exercise;
        exercise.statement = QString::fromLatin1(c.statement);
        ASSERT_TRUE(tolvi::saveExercise(t.filePath(QStringLiteral("ex/EXO.E33")), exercise).ok());
        const Outcome r = runIn(t.filePath(QStringLiteral("ex")), {"--exercise", "EXO.E33"});
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(r.err.contains(QStringLiteral("Le fichier ") + t.filePath(QStringLiteral("ex/")) +
                                   QString::fromLatin1(c.named) + QStringLiteral(" est introuvable")))
            << r.err.toStdString();
        EXPECT_FALSE(r.err.contains(QStringLiteral(".."))) << r.err.toStdString();
        EXPECT_FALSE(r.err.contains(QStringLiteral("//"))) << r.err.toStdString();
    }
}
