// The batch command line, run as teachers' scripts run it: the real program,
// its exit codes, its messages and the files it writes.
#include "config/record_file.h"
#include "sim/propagation.h"
#include "same_file.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

using namespace tolvi;
using tolvi::testing::shownPath;

namespace {
struct Outcome {
    int code;
    QString out;
    QString err;
};

Outcome runTolvi(const QStringList& arguments, const QString& programFolder = QString())
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (!programFolder.isEmpty())
        env.insert(QStringLiteral("TOLVI_PROGRAM_FOLDER"), programFolder);
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(TOLVI_PROGRAM_DIR "/tolvi"), arguments);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// Reads a rope CSV back into displacements by column.
std::vector<double> readRope(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_EQ(lines.value(0), QStringLiteral("x (m);u (cm)"));
    std::vector<double> u;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList fields = lines[i].split(QLatin1Char(';'));
        EXPECT_EQ(fields.size(), 2);
        EXPECT_EQ(fields[0], QString::number((i - 1) / 100.0, 'f', 2).replace(QLatin1Char('.'), QLatin1Char(',')));
        u.push_back(QString(fields.value(1)).replace(QLatin1Char(','), QLatin1Char('.')).toDouble());
    }
    return u;
}
}  // namespace

TEST(Batch, BadOptionsAndValuesExitWith2AndSayWhy)
{
    struct Case {
        QStringList args;
        const char* says;
    } cases[] = {
        {{"--wave", "3"}, "--wave"},
        {{"--frobnicate"}, "Option inconnue"},
        {{"--text", "7=2"}, "--text"},
        {{"--text", "2"}, "--text"},
        {{"--advance", "-1"}, "--advance"},
        {{"--advance", "abc"}, "--advance"},
        {{"--marker", "green=300"}, "--marker"},
        {{"--marker", "red=751"}, "--marker"},
        {{"--end"}, "attend une valeur"},
    };
    for (const Case& c : cases) {
        const Outcome r = runTolvi(c.args);
        EXPECT_EQ(r.code, 2) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.says))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

TEST(Batch, HelpListsEveryOptionWithAnExample)
{
    const Outcome r = runTolvi({"--help"});
    EXPECT_EQ(r.code, 0);
    for (const char* option : {"--wave", "--end", "--symmetric", "--text", "--start", "--stop", "--advance", "--rope-csv",
                               "--rope-image", "--snapshot", "--tab", "--marker", "--record", "--chrono",
                               "--duration-index", "--check1", "--check2", "--graph-image", "--graph-csv",
                               "--chrono-text", "--values-table"}) {
        EXPECT_TRUE(r.out.contains(QStringLiteral("\n  %1").arg(QString::fromLatin1(option)))) << option;
        EXPECT_TRUE(r.out.contains(QStringLiteral("exemple : tolvi %1").arg(QString::fromLatin1(option)))) << option;
    }
}

TEST(Batch, SolitaryPulseOnTheRopeMatchesTheTravellingSignal)
{
    QTemporaryDir dir;
    // Pulse of 0.5 s at 2 m/s, ticks of 50 ms: after 3.5 s of ticks the pulse
    // emitted at the first press is 3.5 s old.
    for (int end : {0, 1, 2}) {
        for (int symmetric : {0, 1}) {
            const QString csv = dir.filePath(QStringLiteral("rope%1%2.csv").arg(end).arg(symmetric));
            const Outcome r = runTolvi({"--end", QString::number(end), "--symmetric", QString::number(symmetric), "--start",
                                 "--advance", "3,6", "--rope-csv", csv});
            ASSERT_EQ(r.code, 0) << r.err.toStdString();
            const std::vector<double> u = readRope(csv);
            ASSERT_EQ(u.size(), 701u);
            const double age = 3.6, motif = 0.5;
            for (int col = 52; col < 749; ++col) {
                double want = 0;
                const double direct = age - (col - 50) / 200.0;
                const double back = age - (1501 - col - 50) / 200.0;
                bool edge = false;
                for (double t : {direct, back})
                    edge = edge || std::fabs(t) < 0.011 || std::fabs(t - motif) < 0.011;
                if (edge)
                    continue;
                if (direct >= 0 && direct <= motif)
                    want += propagation::shape(0, symmetric, 10, direct, motif);
                if (end != 0 && back >= 0 && back <= motif)
                    want += (end == 1 ? -1 : 1) * propagation::shape(0, symmetric, 10, back, motif);
                EXPECT_NEAR(u[col - 50], want, 1.0) << "end " << end << " sym " << symmetric << " col " << col;
            }
        }
    }
}

TEST(Batch, StartMakesTheWaveRunAndStopStopsIt)
{
    QTemporaryDir dir;
    const auto rope = [&](const QStringList& args) {
        const QString csv = dir.filePath(QStringLiteral("rope.csv"));
        QFile::remove(csv);
        const Outcome r = runTolvi(args + QStringList{"--rope-csv", csv});
        EXPECT_EQ(r.code, 0) << args.join(' ').toStdString() << r.err.toStdString();
        return readRope(csv);
    };
    const auto flat = [](const std::vector<double>& u) {
        return !u.empty() && std::all_of(u.begin(), u.end(), [](double v) { return v == 0.0; });
    };
    for (const char* wave : {"1", "2"}) {
        SCOPED_TRACE(wave);
        // Choosing the wave starts it; --start keeps it running, however
        // often it is given, where pressing the button would stop it.
        const std::vector<double> chosen = rope({"--wave", wave, "--advance", "2"});
        EXPECT_FALSE(flat(chosen));
        EXPECT_EQ(rope({"--wave", wave, "--start", "--advance", "2"}), chosen);
        EXPECT_EQ(rope({"--wave", wave, "--start", "--start", "--advance", "2"}), chosen);
        // Stopped before the first deformation leaves, the rope stays flat;
        // --start then starts it again, as the button does.
        EXPECT_TRUE(flat(rope({"--wave", wave, "--stop", "--advance", "2"})));
        EXPECT_TRUE(flat(rope({"--wave", wave, "--stop", "--stop", "--advance", "2"})));
        EXPECT_EQ(rope({"--wave", wave, "--stop", "--start", "--advance", "2"}), chosen);
        // Stopped later, what left runs its course past the far end.
        EXPECT_TRUE(flat(rope({"--wave", wave, "--advance", "1", "--stop", "--advance", "8"})));
    }
    // The solitary wave sends one deformation for each --start; --stop
    // changes nothing.
    const std::vector<double> one = rope({"--start", "--advance", "1"});
    EXPECT_FALSE(flat(one));
    EXPECT_NE(rope({"--start", "--start", "--advance", "1"}), one);
    EXPECT_EQ(rope({"--stop", "--start", "--stop", "--advance", "1"}), one);
    EXPECT_TRUE(flat(rope({"--stop", "--advance", "1"})));
}

TEST(Batch, StartPressesDemarrerOnlyWhenTheWindowLetsAUserPressIt)
{
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("rope.csv"));
    // Two 40 cm pulses 50 ms apart: 200 ms later they add up to about 73 cm
    // at the source, over the 55 cm beyond which the window greys the button.
    const QStringList piled{"--text", "3=40", "--start", "--advance", "0,05", "--start", "--advance", "0,2"};
    Outcome r = runTolvi(piled + QStringList{"--start", "--rope-csv", csv});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("« Démarrer » n'est pas disponible"))) << r.err.toStdString();
    // The run stops at the refusal, as at any action that fails.
    EXPECT_FALSE(QFile::exists(csv));

    // Once the pulses have left the source, the button can be pressed again.
    r = runTolvi(piled + QStringList{"--advance", "0,5", "--start", "--advance", "0,1", "--rope-csv", csv});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    const std::vector<double> u = readRope(csv);
    ASSERT_FALSE(u.empty());
    EXPECT_GT(u[0], 0.0);

    // A running periodic wave is not pressed, only kept running: nothing to refuse.
    r = runTolvi(piled + QStringList{"--wave", "1", "--start", "--advance", "1"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
}

TEST(Batch, CorrectionsAreReportedAndApplied)
{
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("rope.csv"));
    // 10 N on 100 g/m: 10 m/s, a 1 s pulse would be 10 m long.
    const Outcome r = runTolvi({"--text", "2=10", "--text", "4=1000", "--wave", "1", "--advance", "1", "--rope-csv", csv});
    ASSERT_EQ(r.code, 0);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Fréquence modifiée: La fréquence a été modifiée pour que les "
                                              "déformations ne se superposent pas.")));
    EXPECT_TRUE(r.err.contains(QStringLiteral("Perturbation modifiée: La durée de la déformation a été modifiée "
                                              "pour qu'elle soit observable.")));
    // Now 1 Hz and 0.7 s pulses at 10 m/s: the first pulse leaves 50 ms
    // after the wave starts; the ticks (100 ms, then 70 ms) reach 1.01 s, when
    // its tail is (1.01 - 0.05 - 0.7) x 10 = 2.6 m from the source and its
    // front has run into the damper. The next pulse leaves at 1.05 s. So the
    // rope rests up to 2.5 m and moves beyond.
    const std::vector<double> u = readRope(csv);
    double nearSource = 0;
    for (int col = 50; col <= 300; ++col)
        nearSource = std::max(nearSource, std::fabs(u[col - 50]));
    EXPECT_EQ(nearSource, 0.0);
    EXPECT_GT(u[450 - 50], 0.0);
    EXPECT_GT(u[700 - 50], 0.0);
}

TEST(Batch, PicturesAndChronometer)
{
    QTemporaryDir dir;
    const QString rope = dir.filePath(QStringLiteral("rope.png"));
    const QString window = dir.filePath(QStringLiteral("window.png"));
    const QString graph = dir.filePath(QStringLiteral("graph.png"));
    const QString graphCsv = dir.filePath(QStringLiteral("graph.csv"));
    const Outcome r = runTolvi({"--chrono", "--record", "--start", "--advance", "1,5", "--chrono-text", "--rope-image", rope,
                         "--snapshot", window, "--graph-image", graph, "--graph-csv", graphCsv, "--marker", "blue=-1",
                         "--marker", "red=-1", "--record", "--record"});
    // The refused recording shows an error message: the run fails there.
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, QStringLiteral("1,50 s\n"));
    EXPECT_TRUE(r.err.contains(QStringLiteral("Commande impossible: Placer un marqueur sur la corde pour obtenir un graphe.")))
        << r.err.toStdString();
    EXPECT_EQ(QImage(rope).size(), QSize(786, 106));
    EXPECT_GE(QImage(window).width(), 800);
    EXPECT_FALSE(QImage(graph).isNull());
    QFile file(graphCsv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_EQ(lines.value(0), QStringLiteral("t (s);u1 (cm);u2 (cm)"));
    EXPECT_EQ(lines.size(), 1 + 31);  // t = 0 when recording starts, then 30 ticks of 50 ms
    EXPECT_TRUE(lines.value(1).startsWith(QStringLiteral("0,000;0,0000;0,0000")));
}

TEST(Batch, UnwritableFileFailsWithAMessage)
{
    const Outcome r = runTolvi({"--rope-csv", "/nonexistent-folder/rope.csv"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Impossible d'écrire le fichier ") +
                               shownPath(QStringLiteral("/nonexistent-folder/rope.csv"))))
        << r.err.toStdString();
}

TEST(Batch, CalculatorReadsTheDecimalCommaAndNeverShowsAnOverflowAsZero)
{
    const Outcome r = runTolvi({"--eval", "4/1,33", "--eval", "1.7976931348623157e308", "--eval", "+1"});
    EXPECT_EQ(r.code, 0);
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << r.out.toStdString();
    EXPECT_EQ(lines[0], QStringLiteral(" 3.00751879699248"));
    EXPECT_EQ(lines[1], QStringLiteral("Dépassement de capacité"));
    EXPECT_EQ(lines[2], QStringLiteral(" 1"));  // no last answer after the overflow
}

TEST(Batch, CalculatorLinesKeepTheLastAnswerAndModes)
{
    const Outcome r = runTolvi({"--eval", "2*sin 30", "--eval", "-2^2", "--eval", "1/0", "--radians", "--eval",
                                "cos 0", "--scientific", "--eval", "1/4"});
    EXPECT_EQ(r.code, 0);
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5) << r.out.toStdString();
    EXPECT_EQ(lines[0], QStringLiteral(" 1"));  // degrees by default
    EXPECT_EQ(lines[1], QStringLiteral(" 4"));  // the sign belongs to the number
    EXPECT_EQ(lines[2], QStringLiteral("Calcul impossible"));  // shown in the display, no box
    EXPECT_EQ(lines[3], QStringLiteral(" 1"));
    EXPECT_EQ(lines[4], QStringLiteral("2.5E-01"));  // "#" digits are optional
}

TEST(Batch, StartsAndEndsAsTheProgramDoesForTheLauncher)
{
    // Asked to, a run uses the flag file as the started program does: the
    // launcher reads record 3, "NON" once Tolvi ended, and a request left in
    // record 31 is served (and cleared) at start-up. Its own program folder,
    // so that runs in parallel never share the file.
    QTemporaryDir programFolder;
    ASSERT_TRUE(programFolder.isValid());
    const QString flag = programFolder.filePath(QStringLiteral("TEMPQA.TMP"));
    ASSERT_TRUE(writeRecord(flag, 31, QStringLiteral("   ")).ok());
    const Outcome r = runTolvi({"--as-launched", "--chrono-text"}, programFolder.path());
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(readRecord(flag, 3).text, QStringLiteral("NON"));
    EXPECT_EQ(readRecord(flag, 31).text, QString());
}

TEST(Batch, TheLaunchersRequestIsOpenedOnlyFromTheProgramsFolder)
{
    // The launcher names an exercise beside the program; a link there that
    // leads elsewhere is an exercise the program does not have.
    QTemporaryDir programFolder, elsewhere;
    ASSERT_TRUE(programFolder.isValid() && elsewhere.isValid());
    for (const char* name : {"CELERITE.E33", "CELERITE.RTF", "CELERITE.P15"}) {
        const QString from = QStringLiteral(TOLVI_PROGRAM_DIR "/") + QString::fromLatin1(name);
        ASSERT_TRUE(QFile::copy(from, elsewhere.filePath(QString::fromLatin1(name))));
        ASSERT_TRUE(QFile::copy(from, programFolder.filePath(QString::fromLatin1(name))));
    }
#ifndef _WIN32
    // (On Windows QFile::link makes a .lnk shortcut, not a link.)
    ASSERT_TRUE(QFile::link(elsewhere.filePath(QStringLiteral("CELERITE.E33")),
                            programFolder.filePath(QStringLiteral("AILLEURS.E33"))));
#endif
    const QString flag = programFolder.filePath(QStringLiteral("TEMPQA.TMP"));
    const QString plain = programFolder.filePath(QStringLiteral("texte.txt"));
    const auto statement = [&] {
        QFile file(plain);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };

    ASSERT_TRUE(writeRecord(flag, 31, QStringLiteral("celerite.e33")).ok());
    Outcome r = runTolvi({"--as-launched", "--text-plain", plain}, programFolder.path());
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(statement().startsWith(QStringLiteral("Retard et célérité"))) << statement().left(40).toStdString();

#ifndef _WIN32
    // Refused: the run fails before its actions.
    ASSERT_TRUE(QFile::remove(plain));
    ASSERT_TRUE(writeRecord(flag, 31, QStringLiteral("AILLEURS.E33")).ok());
    r = runTolvi({"--as-launched", "--text-plain", plain}, programFolder.path());
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Lecture impossible: Vérifier"))) << r.err.toStdString();
    EXPECT_FALSE(statement().contains(QStringLiteral("Retard et célérité")));
    EXPECT_EQ(readRecord(flag, 31).text, QString());
#endif
}

TEST(Batch, OtherRunsLeaveTheRunningWindowsFlagFileAlone)
{
    // A window is running (record 3 "OUI") and the launcher has asked it for
    // an exercise (record 31): a script's run must neither say "NON" nor take
    // the request, and creates no flag file where there is none.
    QTemporaryDir programFolder;
    ASSERT_TRUE(programFolder.isValid());
    const QString flag = programFolder.filePath(QStringLiteral("TEMPQA.TMP"));
    ASSERT_TRUE(writeRecord(flag, 3, QStringLiteral("OUI")).ok());
    ASSERT_TRUE(writeRecord(flag, 31, QStringLiteral("CELERITE.E33")).ok());
    QFile file(flag);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    for (const QStringList& args : {QStringList{"--eval", "2*3"}, QStringList{"--chrono-text"},
                                    QStringList{"--getting-started", "--start", "--advance", "0,2"}}) {
        runTolvi(args, programFolder.path());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), before) << args.join(' ').toStdString();
        file.close();
    }
    QTemporaryDir empty;
    ASSERT_TRUE(empty.isValid());
    EXPECT_EQ(runTolvi({"--eval", "1+1"}, empty.path()).code, 0);
    EXPECT_FALSE(QFile::exists(empty.filePath(QStringLiteral("TEMPQA.TMP"))));
    // The option is listed with what it does.
    const Outcome help = runTolvi({"--help"});
    EXPECT_TRUE(help.out.contains(QStringLiteral("\n  --as-launched\n"))) << help.out.toStdString();
    EXPECT_TRUE(help.out.contains(QStringLiteral("TEMPQA.TMP")));
}

#ifndef _WIN32
namespace {
bool isCharacterDevice(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISCHR(st.st_mode);
}

// A character device of the memory driver (3 null, 7 full) named `name` in
// `dir` when this user may make one, so that a program that wrongly
// replaced it would spoil nothing; else the system's own, which only root
// could replace. Empty when `name` must be private and cannot be.
QString memoryDevice(const QTemporaryDir& dir, const QString& name, unsigned minor, bool mustBePrivate = false)
{
    const QString path = dir.filePath(name);
    if (::geteuid() == 0 && ::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0666, makedev(1, minor)) == 0)
        return path;
    if (mustBePrivate || ::geteuid() == 0)
        return QString();
    return minor == 7 ? QStringLiteral("/dev/full") : QStringLiteral("/dev/null");
}

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
}  // namespace

TEST(Batch, DevicesPipesAndLinksAreWrittenNotReplaced)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A device: every writing option writes into it and leaves it a device.
    const QString null = memoryDevice(dir, QStringLiteral("null"), 3);
    if (null.isEmpty())
        GTEST_SKIP() << "no character device can be made here";
    const QStringList writers{"--rope-csv", "--graph-csv", "--rope-image", "--graph-image", "--snapshot",
                              "--text-plain", "--save-text", "--print-text-pdf"};
    for (const QString& option : writers) {
        const Outcome r = runTolvi({option, null});
        EXPECT_EQ(r.code, 0) << option.toStdString() << ": " << r.err.toStdString();
        EXPECT_TRUE(isCharacterDevice(null)) << option.toStdString();
    }
    if (const QString config = memoryDevice(dir, QStringLiteral("nul.P15"), 3, true); !config.isEmpty()) {
        const Outcome r = runTolvi({"--save-config", config});
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_TRUE(isCharacterDevice(config));
    }

    // A FIFO: the reader gets the whole file, the FIFO stays.
    const QString fifo = dir.filePath(QStringLiteral("tube"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const int reader = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_EQ(runTolvi({"--rope-csv", fifo}).code, 0);
    QByteArray piped(65536, '\0');
    const ssize_t got = ::read(reader, piped.data(), piped.size());
    ::close(reader);
    ASSERT_GT(got, 0);
    piped.truncate(got);
    EXPECT_TRUE(piped.startsWith("x (m);u (cm)\n"));
    EXPECT_EQ(piped.count('\n'), 702);
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(fifo).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));

    // Standard output, as /dev/stdout or "-", after what was written before.
    QFile::remove(QStringLiteral("-"));
    for (const char* out : {"/dev/stdout", "-"}) {
        const Outcome r = runTolvi({"--eval", "2*3", "--rope-csv", out});
        EXPECT_EQ(r.code, 0) << out << ": " << r.err.toStdString();
        EXPECT_TRUE(r.out.startsWith(QStringLiteral(" 6\nx (m);u (cm)\n0,00;0,0000\n"))) << out << ": " << r.out.toStdString();
        EXPECT_FALSE(QFile::exists(QStringLiteral("-")));
    }

    // Links: the target is replaced, the link stays a link, also for the
    // configurations and texts that the window saves the same way.
    QDir(dir.path()).mkdir(QStringLiteral("cible"));
    struct Linked {
        const char* option;
        const char* link;
        const char* target;
        const char* begins;  // within the first bytes
    } linked[] = {
        {"--rope-csv", "corde.csv", "cible/vraie.csv", "x (m);u (cm)"},
        {"--save-config", "lien.P15", "cible/vrai.P15", "TOLVI"},
        {"--save-text", "lien.rtf", "cible/vrai.rtf", "{\\rtf1"},
    };
    for (const Linked& l : linked) {
        const QString target = dir.filePath(QString::fromLatin1(l.target));
        const QString link = dir.filePath(QString::fromLatin1(l.link));
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("ancien");
        old.close();
        ASSERT_TRUE(QFile::link(target, link));
        const Outcome r = runTolvi({l.option, link});
        EXPECT_EQ(r.code, 0) << l.option << ": " << r.err.toStdString();
        EXPECT_TRUE(QFileInfo(link).isSymLink()) << l.option;
        EXPECT_TRUE(bytesOf(target).left(16).contains(l.begins)) << l.option << ": " << bytesOf(target).left(20).toStdString();
    }
    // A link to a file not made yet makes that file.
    const QString dangling = dir.filePath(QStringLiteral("nouveau.csv"));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("cible/nouvelle.csv")), dangling));
    EXPECT_EQ(runTolvi({"--graph-csv", dangling}).code, 0);
    EXPECT_TRUE(QFileInfo(dangling).isSymLink());
    EXPECT_TRUE(bytesOf(dir.filePath(QStringLiteral("cible/nouvelle.csv"))).startsWith("t (s);"));
}

TEST(Batch, ActionsThatShowAnErrorMessageExitWith1)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString full = memoryDevice(dir, QStringLiteral("full"), 7);
    if (full.isEmpty())
        GTEST_SKIP() << "no full device can be made here";
    // A full disk: the program's own message or the batch line's, exit 1.
    struct Case {
        QStringList args;
        const char* says;
    } cases[] = {
        {{"--getting-started", "--save-text", full}, "Erreur d'écriture.: Vérifier l'état du lecteur et le nom du fichier."},
        {{"--rope-csv", full}, "Impossible d'écrire le fichier"},
        {{"--rope-image", full}, "Impossible d'écrire l'image"},
        {{"--print-text-pdf", full}, "Impression du texte dans"},
        {{"--open-text", dir.filePath(QStringLiteral("absent.rtf"))}, "Erreur de lecture.: "},
        {{"--open-text", dir.path()}, "Erreur de lecture.: "},
    };
    for (const Case& c : cases) {
        const Outcome r = runTolvi(c.args);
        EXPECT_EQ(r.code, 1) << c.args.join(' ').toStdString() << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.says))) << c.args.join(' ').toStdString() << ": " << r.err.toStdString();
    }
    EXPECT_TRUE(isCharacterDevice(full));
    if (const QString config = memoryDevice(dir, QStringLiteral("plein.P15"), 7, true); !config.isEmpty()) {
        const Outcome r = runTolvi({"--save-config", config, "--eval", "1+1"});
        EXPECT_EQ(r.code, 1) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << "the run stops at the failed action";
    }
    // The same actions that succeed exit 0.
    EXPECT_EQ(runTolvi({"--getting-started", "--save-text", dir.filePath(QStringLiteral("prise.rtf"))}).code, 0);
}
#else
namespace {
QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
}  // namespace

// Windows has no FIFOs in folders, no full device and no /dev/stdout: its
// null device, its standard output and its read-only files instead.
TEST(Batch, TheNullDeviceAndTheStandardOutputGetTheBytesOfAFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QStringList writers{"--rope-csv", "--graph-csv", "--rope-image", "--graph-image", "--snapshot",
                              "--text-plain", "--save-text", "--print-text-pdf", "--save-config"};
    for (const QString& option : writers) {
        const Outcome r = runTolvi({option, QStringLiteral("NUL")});
        EXPECT_EQ(r.code, 0) << option.toStdString() << ": " << r.err.toStdString();
    }
    // "-": after what was written before, with LF line ends as in a file.
    const Outcome r = runTolvi({"--eval", "2*3", "--rope-csv", "-"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(QStringLiteral(" 6\nx (m);u (cm)\n0,00;0,0000\n"))) << r.out.left(60).toStdString();
    EXPECT_FALSE(r.out.contains(QLatin1Char('\r')));
    EXPECT_FALSE(QFile::exists(QStringLiteral("-")));
    const QString file = dir.filePath(QStringLiteral("corde.csv"));
    ASSERT_EQ(runTolvi({"--rope-csv", file}).code, 0);
    EXPECT_EQ(QString::fromUtf8(bytesOf(file)), r.out.mid(3));
}

TEST(Batch, ActionsThatShowAnErrorMessageExitWith1)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A read-only file stands for the full disk: nothing may be written.
    const QString locked = dir.filePath(QStringLiteral("protégé.csv"));
    QFile f(locked);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write("ancien") == 6);
    f.close();
    ASSERT_TRUE(SetFileAttributesW(QDir::toNativeSeparators(locked).toStdWString().c_str(), FILE_ATTRIBUTE_READONLY));
    struct Case {
        QStringList args;
        const char* says;
    } cases[] = {
        {{"--rope-csv", locked}, "Impossible d'écrire le fichier"},
        {{"--rope-image", locked}, "Impossible d'écrire l'image"},
        {{"--open-text", dir.filePath(QStringLiteral("absent.rtf"))}, "Erreur de lecture.: "},
        {{"--open-text", dir.path()}, "Erreur de lecture.: "},
    };
    for (const Case& c : cases) {
        const Outcome r = runTolvi(c.args);
        EXPECT_EQ(r.code, 1) << c.args.join(' ').toStdString() << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.says))) << c.args.join(' ').toStdString() << ": " << r.err.toStdString();
    }
    SetFileAttributesW(QDir::toNativeSeparators(locked).toStdWString().c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(bytesOf(locked), QByteArray("ancien"));
    EXPECT_EQ(runTolvi({"--getting-started", "--save-text", dir.filePath(QStringLiteral("prise.rtf"))}).code, 0);
}
#endif
