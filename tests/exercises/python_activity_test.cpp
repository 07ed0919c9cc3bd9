// The Python program shipped with « Simuler la propagation en Python »:
// completed, it reads what Tolvi writes (two rope profiles and the graph)
// and prints the wavelength and the speed the physics gives; the pupils'
// copy is the same program with the two marked lines left to write, and it
// says so when it is run as it is.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cmath>
#include <iostream>
#include <tuple>

namespace {

const QString kData = QStringLiteral(TOLVI_SOURCE_DIR "/data");

struct Outcome {
    int code = -1;
    QString out;
    QString err;
};

Outcome run(const QString& program, const QStringList& arguments, const QString& folder)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("MPLBACKEND"), QStringLiteral("Agg"));
    env.insert(QStringLiteral("MPLCONFIGDIR"), folder);
    env.insert(QStringLiteral("PYTHONIOENCODING"), QStringLiteral("utf-8"));
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(folder);
    p.start(program, arguments);
    Outcome r;
    if (!p.waitForStarted(30000))
        return r;
    p.waitForFinished(180000);
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// The first Python 3 that has numpy and matplotlib (the one on the path,
// else the system's own), or an empty name.
QString pythonWithLibraries()
{
    QTemporaryDir dir;
#ifdef _WIN32
    // Python for Windows as the school installs it (under Wine, "/usr/bin"
    // would start Linux's, which cannot read Windows paths).
    const QStringList pythons{QStringLiteral("python3"), QStringLiteral("python"), QStringLiteral("py")};
#else
    const QStringList pythons{QStringLiteral("python3"), QStringLiteral("/usr/bin/python3")};
#endif
    for (const QString& python : pythons)
        if (run(python, {QStringLiteral("-c"), QStringLiteral("import numpy, matplotlib")}, dir.path()).code == 0)
            return python;
    return QString();
}

// "λ = 2,00 m" in the printed lines: the number after `label`.
double printed(const QString& out, const QString& label)
{
    const QRegularExpression re(QRegularExpression::escape(label) + QStringLiteral(" = (-?\\d+,\\d+)"));
    const QRegularExpressionMatch m = re.match(out);
    return m.hasMatch() ? m.captured(1).replace(QLatin1Char(','), QLatin1Char('.')).toDouble() : std::nan("");
}

QStringList lines(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).split(QLatin1Char('\n')) : QStringList();
}

}  // namespace

TEST(PythonActivity, ThePupilsProgramIsTheCorrectedOneWithTheTwoMarkedLinesLeftOut)
{
    const QStringList pupil = lines(kData + QStringLiteral("/simulation_onde.py"));
    const QStringList done = lines(kData + QStringLiteral("/simulation_onde_corrige.py"));
    ASSERT_GT(done.size(), 50);
    ASSERT_EQ(pupil.size(), done.size());
    int blanks = 0;
    for (qsizetype i = 0; i < pupil.size(); ++i) {
        if (pupil[i] == done[i])
            continue;
        ++blanks;
        EXPECT_TRUE(pupil[i].trimmed().endsWith(QLatin1String("= ..."))) << pupil[i].toStdString();
        // The comment just above says which line it is and what to write.
        bool marked = false;
        for (qsizetype j = std::max<qsizetype>(0, i - 3); j < i; ++j)
            marked = marked || pupil[j].contains(QStringLiteral("(%1) À COMPLÉTER").arg(blanks));
        EXPECT_TRUE(marked) << "ligne " << i + 1;
    }
    EXPECT_EQ(blanks, 2);
}

TEST(PythonActivity, TheCompletedProgramFindsTheWavelengthAndSpeedOfTolvisRope)
{
    const QString python = pythonWithLibraries();
    if (python.isEmpty())
        GTEST_SKIP() << "python3 avec numpy et matplotlib est absent : le programme de l'activité n'est pas lancé "
                        "(paquets python3-numpy et python3-matplotlib)";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString tolvi = QStringLiteral(TOLVI_PROGRAM_DIR "/tolvi");
    // The pupils' files: the rope paused at 3,00 s and 3,50 s, the 10 s graph.
    for (const auto& [advance, option, file] :
         {std::tuple{"3", "--rope-csv", "corde1.csv"}, std::tuple{"3,5", "--rope-csv", "corde2.csv"},
          std::tuple{"10", "--graph-csv", "graphe.csv"}}) {
        const Outcome made = run(tolvi,
                             {QStringLiteral("--config"), QStringLiteral("PYTHON.P15"), QStringLiteral("--advance"),
                              QString::fromLatin1(advance), QString::fromLatin1(option), dir.filePath(QString::fromLatin1(file))},
                             QStringLiteral(TOLVI_PROGRAM_DIR));
        ASSERT_EQ(made.code, 0) << made.err.toStdString();
    }

    const Outcome done = run(python,
                         {kData + QStringLiteral("/simulation_onde_corrige.py"), QStringLiteral("corde1.csv"),
                          QStringLiteral("3,00"), QStringLiteral("corde2.csv"), QStringLiteral("3,50"),
                          QStringLiteral("graphe.csv")},
                         dir.path());
    ASSERT_EQ(done.code, 0) << done.err.toStdString();
    std::cout << done.out.toStdString();
    // The rope of PYTHON.P15: 0,4 N, 100 g/m, 1,00 Hz: v = 2,0 m/s, λ = 2,0 m,
    // within the centimetre of the rope's columns.
    const double speed = std::sqrt(0.4 / 0.100);
    EXPECT_NEAR(printed(done.out, QStringLiteral("T")), 1.0, 0.01);
    EXPECT_NEAR(printed(done.out, QStringLiteral("λ")), speed / 1.0, 0.02);
    EXPECT_NEAR(printed(done.out, QStringLiteral("v = λ / T")), speed, 0.03);
    EXPECT_NEAR(printed(done.out, QStringLiteral("A")), 10.0, 0.2);
    // Following a crest from one date to the other gives the same speed.
    const QString crest = done.out.section(QStringLiteral("une crête suivie"), 1);
    EXPECT_NEAR(printed(crest, QStringLiteral("v")), speed, 0.05);
    // The model and the simulator agree within a fraction of the 10 cm.
    static const QRegularExpression gap(QStringLiteral("Écart maximal[^:]*: (\\d+,\\d) cm"));
    int gaps = 0;
    for (auto it = gap.globalMatch(done.out); it.hasNext(); ++gaps)
        EXPECT_LT(it.next().captured(1).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(), 1.0);
    EXPECT_EQ(gaps, 3);
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("simulation_onde.png"))));

    // The pupils' copy, run before it is completed, says what to do.
    const Outcome pupil = run(python,
                          {kData + QStringLiteral("/simulation_onde.py"), QStringLiteral("corde1.csv"),
                           QStringLiteral("3,00"), QStringLiteral("corde2.csv"), QStringLiteral("3,50"),
                           QStringLiteral("graphe.csv")},
                          dir.path());
    EXPECT_EQ(pupil.code, 1);
    EXPECT_TRUE(pupil.err.contains(QStringLiteral("Compléter la ligne (1)"))) << pupil.err.toStdString();
}
