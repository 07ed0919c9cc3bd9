// Chronometer, markers and the time graph as the tick drives them, and the
// physics a pupil checks with them.
#include "platform/messages.h"
#include "platform/random_source.h"
#include "sim/simulation.h"
#include "typed_rope.h"

#include <gtest/gtest.h>
#include <cmath>

using namespace tolvi;

TEST(Chronometer, DisplayTexts)
{
    EXPECT_EQ(Simulation::chronoText(725), QStringLiteral("7,25 s"));
    EXPECT_EQ(Simulation::chronoText(12500), QStringLiteral("2 min 5,00 s"));
    EXPECT_EQ(Simulation::chronoText(360050), QStringLiteral("1 h 0 min 0,50 s"));
    EXPECT_EQ(Simulation::chronoText(6512), QStringLiteral("1 min 5,12 s"));
    EXPECT_EQ(Simulation::chronoText(5999), QStringLiteral("59,99 s"));
    EXPECT_EQ(Simulation::chronoText(0), QStringLiteral("0,00 s"));
}

TEST(Graph, DurationTable)
{
    const int seconds[] = {1, 2, 5, 10, 20, 30, 60, 120, 300, 600};
    const char* labels[] = {"1 s", "2 s", "5 s", "10 s", "20 s", "30 s", "1 min", "2 min", "5 min", "10 min"};
    for (int i = 1; i <= 10; ++i) {
        EXPECT_EQ(Simulation::durationSeconds(i), seconds[i - 1]);
        EXPECT_EQ(Simulation::durationLabel(i), QString::fromUtf8(labels[i - 1]));
    }
    EXPECT_EQ(Simulation::durationSeconds(0), 0);
    EXPECT_EQ(Simulation::durationSeconds(11), 0);
}

namespace {
struct Bench : TypedRope {
};
}  // namespace

TEST(Graph, FrameTimeLabelsForTheShortestAndLongestDurations)
{
    EXPECT_EQ(GraphRecording::timeLabels(1).join(' '), QStringLiteral("0,1 0,2 0,3 0,4 0,5 0,6 0,7 0,8 0,9 1"));
    EXPECT_EQ(GraphRecording::timeLabels(600).join(' '), QStringLiteral("60 120 180 240 300 360 420 480 540 600"));
    EXPECT_EQ(GraphRecording::timeLabels(10).last(), QStringLiteral("10"));
}

TEST(Graph, FrameGridAxesAndBlankStrip)
{
    GraphRecording g;
    g.prepare(10);
    const QImage& im = g.image();
    EXPECT_EQ(im.pixelColor(100, 14), QColor(192, 192, 192));  // top grid line
    EXPECT_EQ(im.pixelColor(100, 94), QColor(192, 192, 192));  // bottom grid line
    EXPECT_EQ(im.pixelColor(100, 54), QColor(Qt::black));       // time axis
    EXPECT_EQ(im.pixelColor(30, 80), QColor(Qt::black));        // displacement axis
    EXPECT_EQ(im.pixelColor(744, 54), QColor(Qt::black));       // arrow tip
    EXPECT_EQ(im.pixelColor(65, 60), QColor(Qt::white));        // grid blanked under the axis
    EXPECT_EQ(im.pixelColor(65, 79), QColor(Qt::white));        // between grid lines
    EXPECT_EQ(im.pixelColor(100, 79), QColor(192, 192, 192));   // vertical grid line at column 100
}

using Chrono = Bench;
using Recording = Bench;
using Physics = Bench;

TEST_F(Chrono, CountsSimulatedTimeOnlyWhileRunning)
{
    sim.Command3_Click();
    EXPECT_EQ(sim.controls().command3Caption(), QStringLiteral("Arrêt"));
    EXPECT_FALSE(sim.command5Enabled());
    for (int i = 0; i < 30; ++i)  // 30 ticks of 50 ms
        sim.Timer1_Timer();
    EXPECT_EQ(sim.controls().label4, QStringLiteral("1,50 s"));
    sim.command16_Click();  // pause: the timer no longer ticks
    EXPECT_FALSE(sim.timerEnabled());
    sim.command16_Click();
    sim.Command3_Click();
    EXPECT_EQ(sim.controls().command3Caption(), QStringLiteral("Marche"));
    EXPECT_TRUE(sim.command5Enabled());
    EXPECT_EQ(sim.controls().label4, QStringLiteral("1,50 s"));
    sim.Command3_Click();  // starts again from zero
    EXPECT_EQ(sim.controls().label4, QStringLiteral("0"));
    EXPECT_EQ(sim.state().chrono, 0.0);
    sim.Command3_Click();
    sim.Timer1_Timer();
    sim.Command5_Click();
    EXPECT_EQ(sim.controls().label4, QStringLiteral("0"));
}

TEST_F(Recording, PointsEqualTheRopeAtTheMarkersTickByTick)
{
    sim.setDurationIndex(1);  // 1 s
    sim.demar_Click();
    sim.Command6_Click();
    ASSERT_EQ(sim.controls().command6Caption(), QStringLiteral("Arrêter"));
    std::vector<std::pair<double, double>> seen;
    int ticks = 0;
    while (sim.controls().recording && ticks < 100) {
        sim.Timer1_Timer();
        ++ticks;
        const GraphPoint& p = sim.graph().points().back();
        ASSERT_TRUE(p.bleu && p.rouge);
        EXPECT_EQ(*p.bleu, sim.state().deplacement[300]);
        EXPECT_EQ(*p.rouge, sim.state().deplacement[425]);
    }
    // 50 ms ticks: the first point is plotted when the recording starts, and
    // the recording stops with the point after which the next would pass
    // 1.01 s: 21 points (t = 0 .. 1.0 s) in 20 ticks.
    EXPECT_EQ(ticks, 20);
    EXPECT_EQ(sim.graph().points().size(), 21u);
    EXPECT_NEAR(sim.graph().points().back().t, 1.0, 1e-9);
    EXPECT_EQ(sim.controls().command6Caption(), QStringLiteral("Enregistrer"));
    EXPECT_EQ(sim.state().dernierX, 730);
    const QString csv = sim.graph().csv();
    EXPECT_TRUE(csv.startsWith(QStringLiteral("t (s);u1 (cm);u2 (cm)\n0,000;")));
}

TEST_F(Recording, NeedsAMarkerAndFallsBackWhenBothGo)
{
    sim.setMarqueBleue(-1);
    sim.setMarqueRouge(-1);
    sim.Command6_Click();
    ASSERT_EQ(messages.asked().size(), 1u);
    EXPECT_EQ(messages.asked()[0].kind, MessageKind::Critical);
    EXPECT_EQ(messages.asked()[0].title, QStringLiteral("Commande impossible"));
    EXPECT_EQ(messages.asked()[0].text, QStringLiteral("Placer un marqueur sur la corde pour obtenir un graphe."));
    EXPECT_FALSE(sim.controls().recording);

    sim.setMarqueRouge(425);
    sim.Command6_Click();
    sim.Timer1_Timer();
    EXPECT_FALSE(sim.graph().points().back().bleu);
    EXPECT_TRUE(sim.graph().points().back().rouge);
    EXPECT_TRUE(sim.graph().csv().contains(QStringLiteral("0,000;;")));
    sim.setMarqueRouge(-1);
    sim.Timer1_Timer();
    EXPECT_EQ(sim.controls().command6Caption(), QStringLiteral("Enregistrer"));
}

TEST_F(Recording, ContinuousRecordingRestartsAndCheck1StopsTheChronometer)
{
    sim.setDurationIndex(1);
    sim.setCheck1(true);
    sim.setCheck2(true);
    sim.demar_Click();  // starts the chronometer and a graph together
    EXPECT_TRUE(sim.controls().chronoRunning);
    EXPECT_TRUE(sim.controls().recording);
    for (int i = 0; i < 20; ++i)
        sim.Timer1_Timer();
    EXPECT_TRUE(sim.controls().recording);
    EXPECT_EQ(sim.state().tempsGraphe, 0.0);
    EXPECT_EQ(sim.state().chrono, 0.0);
    EXPECT_TRUE(sim.controls().chronoRunning);

    sim.setCheck2(false);
    for (int i = 0; i < 20; ++i)
        sim.Timer1_Timer();
    EXPECT_FALSE(sim.controls().recording);
    EXPECT_FALSE(sim.controls().chronoRunning);
    EXPECT_EQ(sim.state().chrono, 0.0);
}

TEST_F(Recording, MarkerLabelsFollowTheMarkers)
{
    sim.Timer1_Timer();
    EXPECT_EQ(sim.controls().labeli[0], QStringLiteral("2,5 m"));
    EXPECT_EQ(sim.controls().labeli[1], QStringLiteral("3,75 m"));
    sim.command16_Click();  // paused: the change shows at once
    sim.setMarqueBleue(50);
    EXPECT_EQ(sim.controls().labeli[0], QStringLiteral("0 m"));
    sim.setMarqueRouge(-1);
    EXPECT_EQ(sim.controls().labeli[1], QString());
}

TEST_F(Physics, PulseTravelTimeBetweenMarkersIsDistanceOverSpeed)
{
    struct Case {
        const char* tension;
        const char* masse;
    } cases[] = {{"0,4", "100"}, {"2,5", "100"}, {"10", "50"}, {"0,1", "500"}, {"5,0", "200"}};
    for (const Case& c : cases) {
        set(TfTension, c.tension);
        set(TfMasse, c.masse);
        set(TfDuree, "100");
        sim.selectOptbout(BoutAmortisseur);
        sim.setChecksi(true);
        sim.setMarqueBleue(150);
        sim.setMarqueRouge(550);
        const double speed = sim.state().celerite;
        sim.demar_Click();
        // The time at which each marker sees the peak of the pulse.
        double t = 0, peakBlue = -1, peakRed = -1, maxBlue = 0, maxRed = 0;
        while (t < 5.5 / speed + 1.0) {
            sim.Timer1_Timer();
            t += sim.controls().timerInterval / 1000.0;
            if (sim.state().deplacement[150] > maxBlue) {
                maxBlue = sim.state().deplacement[150];
                peakBlue = t;
            }
            if (sim.state().deplacement[550] > maxRed) {
                maxRed = sim.state().deplacement[550];
                peakRed = t;
            }
        }
        const double tick = sim.controls().timerInterval / 1000.0;
        EXPECT_NEAR(peakRed - peakBlue, 4.0 / speed, tick + 1e-9) << c.tension << " N " << c.masse << " g/m";
        sim.selectOptpert(OndeSolitaire);
    }
}
