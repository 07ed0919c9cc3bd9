// The real rope, the plucked rope and the hand on the batch line: the real
// program, its output files and its refusals.
#include "batch_run.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cmath>

using batchrun::runIn;

namespace {
// Column 50 + i of a rope CSV.
std::vector<double> ropeValues(const QString& csv)
{
    std::vector<double> u;
    const QStringList lines = csv.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (qsizetype i = 1; i < lines.size(); ++i)
        u.push_back(QString(lines[i].section(QLatin1Char(';'), 1)).replace(QLatin1Char(','), QLatin1Char('.')).toDouble());
    return u;
}
}  // namespace

TEST(BatchRealRope, OptionsAreListedWithExamplesAndBadValuesRefused)
{
    QTemporaryDir dir;
    const auto help = runIn(dir.path(), {"--help"});
    for (const char* option : {"--real-rope", "--damping", "--pluck", "--hand", "--hand-to", "--source-file",
                               "--source-formula", "--graph-spectrum"}) {
        EXPECT_TRUE(help.out.contains(QStringLiteral("\n  %1 ").arg(QString::fromLatin1(option)))) << option;
        EXPECT_TRUE(help.out.contains(QStringLiteral("exemple : tolvi %1").arg(QString::fromLatin1(option)))) << option;
    }
    struct Bad {
        QStringList args;
        int code;
        const char* says;
    };
    for (const Bad& bad : {Bad{{"--damping", "60"}, 2, "un pourcentage de 0 à 50 est attendu"},
                           Bad{{"--pluck", "7"}, 2, "une abscisse de 0,05 à 6,95 m est attendue"},
                           Bad{{"--hand", "1", "--hand-to", "41"}, 2, "une hauteur de -40 à 40 cm"},
                           Bad{{"--source-file", "absent.csv"}, 1, "Lecture impossible du mouvement de la source"},
                           Bad{{"--source-formula", "3*(t"}, 1, "illisible par la calculatrice"}}) {
        const auto r = runIn(dir.path(), bad.args);
        EXPECT_EQ(r.code, bad.code) << bad.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(bad.says))) << r.err.toStdString();
    }
}

TEST(BatchRealRope, PluckedRopeComesBackAfterTwoLOverVAndAHeldSourceSendsAPulseBack)
{
    QTemporaryDir dir;
    // 2 m/s: after 7 s the undamped plucked rope has its triangle again.
    auto r = runIn(dir.path(), {"--damping", "0", "--pluck", "1,4", "--advance", "7", "--rope-csv", "-"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    std::vector<double> u = ropeValues(r.out);
    ASSERT_EQ(u.size(), 701u);
    EXPECT_NEAR(u[140], 20.0, 0.01);
    EXPECT_NEAR(u[420], 10.0, 0.01);

    // The pulse of the default rope at 8,5 s has gone (fixed end); on the
    // real rope the source sent it out again, the right way up after two
    // held ends: its top (1/6 s after its start) at 2 x (8,5 - 7 - 1/6) m.
    r = runIn(dir.path(), {"--end", "1", "--start", "--advance", "8,5", "--rope-csv", "-"});
    u = ropeValues(r.out);
    EXPECT_EQ(*std::max_element(u.begin(), u.end()), 0.0);
    r = runIn(dir.path(), {"--real-rope", "1", "--damping", "0", "--end", "1", "--start", "--advance", "8,5",
                           "--rope-csv", "-"});
    u = ropeValues(r.out);
    const auto top = std::max_element(u.begin(), u.end());
    EXPECT_NEAR(*top, 20.0, 0.05);
    EXPECT_NEAR(double(top - u.begin()), 100.0 * 2.0 * (1.5 - 0.5 / 3.0), 1.0);
}

TEST(BatchRealRope, AMotionFromAFileOrAFormulaReachesAMarkerDistanceOverVLater)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("main.csv")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("t (s);u (cm)\n0;0\n0,25;15\n0,5;0\n");
    file.close();
    // Blue marker at 2,5 m, 1,25 s from the source: the file's top (0,25 s)
    // and the formula's first top (0,5 s) arrive 1,25 s later.
    struct Case {
        QStringList source;
        double top;
    };
    for (const Case& c : {Case{{"--source-file", "main.csv"}, 0.25},
                          Case{{"--source-formula", "15*SIN(3.14159265358979*t)"}, 0.5}}) {
        const auto r = runIn(dir.path(), QStringList{"--marker", "red=-1"} + c.source +
                                             QStringList{"--record", "--advance", "3", "--graph-csv", "-"});
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        double best = -1.0, when = -1.0;
        for (const QString& line : r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(1)) {
            const double t = QString(line.section(QLatin1Char(';'), 0, 0)).replace(',', '.').toDouble();
            const double u = QString(line.section(QLatin1Char(';'), 1, 1)).replace(',', '.').toDouble();
            if (u > best)
                best = u, when = t;
        }
        EXPECT_NEAR(best, 15.0, 0.01);
        EXPECT_NEAR(when, c.top + 1.25, 0.051) << c.source.join(' ').toStdString();
    }
}
