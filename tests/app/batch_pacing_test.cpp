// Slow motion and step-by-step from the batch command line.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "batch_run.h"

namespace {
using batchrun::Outcome;
using batchrun::fileBytes;
using batchrun::runIn;
}  // namespace

TEST(BatchPacing, StepsCountOneIntervalEachAndTheChronometerFollows)
{
    QTemporaryDir dir;
    // Solitary pulse of 0,5 s: 50 ms a tick. A 5 Hz sine: 10 ms a tick.
    const Outcome r = runIn(dir.path(), {"--step", "10", "--chrono", "--step", "4", "--chrono-text",
                                         "--wave", "2", "--text", "0=5", "--step", "7", "--step", "0"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5) << r.out.toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("10 pas ; 0,500 s de temps simulé"));
    EXPECT_EQ(lines[1], QStringLiteral("4 pas ; 0,200 s de temps simulé"));
    EXPECT_EQ(lines[2], QStringLiteral("0,20 s"));
    // The sine's first tick still has the pulse's interval: the tick sets the
    // next one.
    EXPECT_EQ(lines[3], QStringLiteral("7 pas ; 0,070 s de temps simulé"));
    EXPECT_EQ(lines[4], QStringLiteral("0 pas ; 0,000 s de temps simulé"));
}

TEST(BatchPacing, RunCountsWholeIntervalsAndStepsPause)
{
    QTemporaryDir dir;
    // Whatever the machine's load, each tick of the timer is one interval.
    const Outcome r = runIn(dir.path(), {"--slow", "1/2", "--run", "0,3", "--step", "1", "--run", "0,2"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << r.out.toStdString();
    const QRegularExpression shape(QStringLiteral("^(\\d+) pas ; (\\d+),(\\d{3}) s de temps simulé$"));
    const QRegularExpressionMatch m = shape.match(lines[0]);
    ASSERT_TRUE(m.hasMatch()) << lines[0].toStdString();
    EXPECT_EQ(m.captured(1).toInt() * 50, m.captured(2).toInt() * 1000 + m.captured(3).toInt());
    // After a step the animation stays paused: no tick in the next run.
    EXPECT_EQ(lines[1], QStringLiteral("1 pas ; 0,050 s de temps simulé"));
    EXPECT_EQ(lines[2], QStringLiteral("0 pas ; 0,000 s de temps simulé"));
}

TEST(BatchPacing, BadValuesAndConfigurationsKeepTheirFormat)
{
    QTemporaryDir dir;
    for (const char* bad : {"1/3", "0", "", "2"}) {
        const Outcome r = runIn(dir.path(), {"--slow", bad});
        EXPECT_EQ(r.code, 2) << bad;
        EXPECT_TRUE(r.err.contains(QStringLiteral("1, 1/2, 1/5 ou 1/10 est attendu"))) << r.err.toStdString();
    }
    EXPECT_EQ(runIn(dir.path(), {"--step", "-1"}).code, 2);
    EXPECT_EQ(runIn(dir.path(), {"--run", "-1"}).code, 2);
    EXPECT_EQ(runIn(dir.path(), {"--run", "3601"}).code, 2);

    // The speed is saved in nothing: a configuration saved in slow motion is
    // the same file.
    ASSERT_EQ(runIn(dir.path(), {"--save-config", dir.filePath("A.P15")}).code, 0);
    ASSERT_EQ(runIn(dir.path(), {"--slow", "1/10", "--step", "3", "--save-config", dir.filePath("B.P15")}).code, 0);
    EXPECT_EQ(fileBytes(dir.filePath("A.P15")).size(), 2304);
    EXPECT_EQ(fileBytes(dir.filePath("A.P15")), fileBytes(dir.filePath("B.P15")));

    const Outcome help = runIn(dir.path(), {"--help"});
    for (const char* option : {"--slow F", "--step N", "--run SECONDES"})
        EXPECT_TRUE(help.out.contains(QString::fromLatin1(option))) << option;
}
