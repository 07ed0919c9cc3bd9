// Times a pupil reads: the graph's dates, the chronometer and the moments the
// wave starts, checked against the rope's physics computed here from the
// typed parameters (v = sqrt(T / mu), first arrival = departure + d / v), not
// against the program's own figures.
#include "platform/messages.h"
#include "platform/random_source.h"
#include "sim/propagation.h"
#include "sim/simulation.h"
#include "typed_rope.h"

#include <gtest/gtest.h>
#include <cmath>

using namespace tolvi;

namespace {

struct Timing : TypedRope {
    double chronoSeconds() const { return sim.state().chrono / 100.0; }
    bool ropeAtRest() const
    {
        for (double u : sim.state().deplacement)
            if (std::fabs(u) > 1e-3)
                return false;
        return true;
    }
    // Ticks until the rope moves; the chronometer's time then, or -1.
    double firstMotion(double limit)
    {
        while (chronoSeconds() < limit) {
            sim.Timer1_Timer();
            if (!ropeAtRest())
                return chronoSeconds();
        }
        return -1;
    }
};

// Below this a point of the rope counts as at rest: the pulses' first sample
// is 1e-5 cm (their phase uses 3.14 for pi).
constexpr double kMoving = 1e-3;

}  // namespace

// Each point of the graph is the rope at the marker at the time the
// chronometer shows at the same tick, and a recording's first point is the
// rope when it starts.
TEST_F(Timing, GraphDatesAreTheChronometersAndThePointsTheRopeAtThatTime)
{
    sim.setDurationIndex(1);  // 1 s
    sim.setMarqueBleue(50);   // the source itself
    sim.setCheck1(true);
    sim.demar_Click();
    ASSERT_TRUE(sim.controls().recording);
    ASSERT_EQ(sim.graph().points().size(), 1u);
    EXPECT_EQ(sim.graph().points()[0].t, 0.0);
    EXPECT_EQ(chronoSeconds(), 0.0);
    EXPECT_NEAR(*sim.graph().points()[0].bleu, 0.0, kMoving);  // the pulse leaves at rest

    int ticks = 0;
    while (sim.controls().recording && ticks < 100) {
        sim.Timer1_Timer();
        ++ticks;
        const GraphPoint& p = sim.graph().points().back();
        // What the chronometer shows at this tick (the last tick of the
        // recording zeroes it behind its text).
        EXPECT_EQ(sim.controls().label4, Simulation::chronoText(p.t * 100)) << "tick " << ticks;
        EXPECT_NEAR(p.t, ticks * 0.05, 1e-9);
        EXPECT_EQ(*p.bleu, sim.state().deplacement[50]);
        EXPECT_EQ(*p.rouge, sim.state().deplacement[425]);
    }
    // 21 points, t = 0 to 1 s, the last at column 730; 20 ticks of 50 ms.
    EXPECT_EQ(ticks, 20);
    EXPECT_EQ(sim.graph().points().size(), 21u);
    EXPECT_EQ(sim.state().dernierX, 730);

    // 50 ms after the press the source shows the pulse 50 ms in: for the
    // asymmetric 500 ms pulse of 20 cm, 10 + 10 cos(3.14 + 6.28 x 0.05 / (0.67 x 0.5)).
    const double expected = 10 + 10 * std::cos(3.14 + 6.28 * 0.05 / (0.67 * 0.5));
    EXPECT_NEAR(*sim.graph().points()[1].bleu, expected, 1e-6);
    EXPECT_NEAR(*sim.graph().points()[0].bleu, 0.0, kMoving);

    // Continuous recording: the new recording's dates follow the chronometer,
    // zeroed with it.
    sim.setCheck2(true);
    sim.Command6_Click();
    sim.demar_Click();
    for (int i = 0; i < 30; ++i) {
        sim.Timer1_Timer();
        EXPECT_NEAR(sim.graph().points().back().t, chronoSeconds(), 1e-9) << "tick " << i;
    }

    // Another duration chosen while recording: a new graph from now, whose
    // first point (a dot at column 30) is the rope now.
    sim.setDurationIndex(2);
    ASSERT_TRUE(sim.controls().recording);
    ASSERT_EQ(sim.graph().points().size(), 1u);
    EXPECT_EQ(sim.graph().points()[0].t, 0.0);
    EXPECT_EQ(*sim.graph().points()[0].bleu, sim.state().deplacement[50]);
    ASSERT_FALSE(sim.graph().strokes().empty());
    EXPECT_TRUE(sim.graph().strokes().front().dot);
    EXPECT_EQ(sim.graph().strokes().front().to.x(), 30.0);
    sim.Timer1_Timer();
    EXPECT_NEAR(sim.graph().points().back().t, 0.05, 1e-9);
    EXPECT_FALSE(sim.graph().strokes().back().dot);
    EXPECT_EQ(sim.graph().strokes().back().from.x(), 30.0);
}

// First arrival at a marker at distance d: the departure plus d / v. A
// solitary pulse leaves when the start button is pressed; a periodic or sine
// wave's first deformation 50 ms after it starts. The graph brackets that
// time between its last point at rest and its first moving one, one sampling
// step apart: each date is known to half a step (and the rope to a
// centimetre, the time the wave runs 1.5 cm here: half a column's rounding
// and one sample).
TEST_F(Timing, FirstArrivalAtEachMarkerIsTheDepartureAndDistanceOverSpeed)
{
    struct Case {
        int wave;
        const char* tension;  // N
        const char* masse;    // g/m
        double T, mu;         // the same in N and kg/m
        const char* duree;    // ms
        const char* frequence;
        double d1, d2;  // m
        double step;    // s, the sampling step the wave gives
    } cases[] = {
        {OndeSolitaire, "0,4", "100", 0.4, 0.1, "500", "2,00", 2.5, 3.75, 0.050},
        {OndeSolitaire, "10", "50", 10, 0.05, "100", "2,00", 1.0, 6.0, 0.010},
        {OndeSolitaire, "0,1", "500", 0.1, 0.5, "1000", "2,00", 0.2, 0.6, 0.100},
        {OndePeriodique, "2,5", "100", 2.5, 0.1, "200", "2,00", 1.0, 4.0, 0.020},
        {OndePeriodique, "0,4", "100", 0.4, 0.1, "500", "1,00", 0.5, 2.5, 0.050},
        {OndeSinusoidale, "0,4", "100", 0.4, 0.1, "500", "2,00", 0.5, 2.0, 0.025},
        {OndeSinusoidale, "1,6", "100", 1.6, 0.1, "500", "0,50", 1.0, 5.0, 0.100},
        {OndeSinusoidale, "0,4", "100", 0.4, 0.1, "500", "4,00", 0.3, 1.0, 0.012},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "wave " << c.wave << ", " << c.tension << " N, " << c.masse
                                          << " g/m, " << c.frequence << " Hz");
        sim.setCheck1(false);
        sim.selectOptpert(OndeSolitaire);
        sim.selectOptbout(BoutAmortisseur);
        set(TfTension, c.tension);
        set(TfMasse, c.masse);
        set(TfDuree, c.duree);
        set(TfFrequence, c.frequence);
        sim.setMarqueBleue(int(std::lround(50 + 100 * c.d1)));
        sim.setMarqueRouge(int(std::lround(50 + 100 * c.d2)));
        sim.setDurationIndex(4);  // 10 s
        sim.Timer1_Timer();       // the rope empties
        sim.setCheck1(true);
        if (c.wave == OndeSolitaire)
            sim.demar_Click();
        else
            sim.selectOptpert(c.wave);  // choosing the wave starts the three together
        ASSERT_TRUE(sim.controls().recording);
        ASSERT_TRUE(sim.controls().chronoRunning);

        const double v = std::sqrt(c.T / c.mu);
        const double departure = c.wave == OndeSolitaire ? 0.0 : 0.05;
        const double rope = 0.015 / v;
        const double last = departure + c.d2 / v + 0.5;
        while (sim.controls().recording && chronoSeconds() < last) {
            sim.Timer1_Timer();
            EXPECT_NEAR(sim.graph().points().back().t, chronoSeconds(), 1e-9);
        }
        const auto& points = sim.graph().points();
        for (int marker = 0; marker < 2; ++marker) {
            const double arrival = departure + (marker == 0 ? c.d1 : c.d2) / v;
            std::size_t first = 0;
            while (first < points.size() &&
                   std::fabs(*(marker == 0 ? points[first].bleu : points[first].rouge)) <= kMoving)
                ++first;
            ASSERT_LT(first, points.size()) << "marker " << marker << " never moves";
            ASSERT_GT(first, 0u);
            const double atRest = points[first - 1].t;
            const double moving = points[first].t;
            EXPECT_NEAR(moving - atRest, c.step, 1e-9);
            EXPECT_LE(atRest, arrival + rope) << "marker " << marker << ", arrival " << arrival;
            EXPECT_GE(moving, arrival - rope) << "marker " << marker << ", arrival " << arrival;
        }
    }
}

// The first deformation leaves 50 ms after the wave starts, at the frequency
// in force then, whatever frequency the counter was set for before.
TEST_F(Timing, WaveStartsFiftyMillisecondsAfterItsStartAtTheFrequencyInForce)
{
    // A new frequency typed while the sine runs: the rope, emptied, and the
    // chronometer, zeroed, start again together.
    sim.setCheck1(true);
    sim.selectOptpert(OndeSinusoidale);  // 2 Hz
    sim.advance(3.0);
    set(TfFrequence, "0,5");
    EXPECT_EQ(chronoSeconds(), 0.0);
    EXPECT_EQ(sim.state().nbDef, 0);
    EXPECT_TRUE(ropeAtRest());
    const double moved = firstMotion(3.0);
    EXPECT_GT(moved, 0.05);
    EXPECT_LE(moved, 0.05 + 0.1 + 1e-9);  // the first 100 ms tick after 50 ms

    // Opening a configuration at 4 Hz when 2 Hz was in force: its texts are
    // put back, its wave chosen (the counter made for 2 Hz), then its boxes
    // validated. The wave must not already be along the rope after one 12 ms
    // tick.
    sim.selectOptpert(OndeSolitaire);
    set(TfFrequence, "2,00");
    sim.setTextfreq(TfFrequence, QStringLiteral("4,00"));
    sim.selectOptpert(OndeSinusoidale);
    sim.Textfreq_LostFocus(TfFrequence);
    ASSERT_EQ(sim.state().frequence, 4.0f);
    sim.Timer1_Timer();
    EXPECT_TRUE(ropeAtRest());
    const double started = firstMotion(1.0);
    EXPECT_GT(started, 0.05);
    EXPECT_LE(started, 0.05 + 0.012 + 1e-9);

    // A correction in the tick that lowers the frequency of a periodic wave
    // just started: the counter follows the corrected frequency.
    sim.selectOptpert(OndeSolitaire);
    set(TfDuree, "500");
    set(TfFrequence, "5");
    sim.selectOptpert(OndePeriodique);  // 5 Hz is too fast for 500 ms pulses
    const double corrected = firstMotion(2.0);
    EXPECT_EQ(sim.state().frequence, 2.0f);
    EXPECT_GT(corrected, 0.05);
    EXPECT_LE(corrected, 0.10 + 1e-9);
}

// With « Démarrer simultanément » ticked, whatever starts the wave starts
// the chronometer and the graph with it.
TEST_F(Timing, StartingTogetherStartsTheGraphForEveryWave)
{
    sim.setCheck1(true);
    for (int wave : {OndeSinusoidale, OndePeriodique}) {
        sim.selectOptpert(OndeSolitaire);
        if (sim.controls().recording)
            sim.Command6_Click();
        ASSERT_FALSE(sim.controls().recording);
        sim.advance(0.5);
        sim.selectOptpert(wave);
        EXPECT_TRUE(sim.controls().recording) << "wave " << wave;
        EXPECT_TRUE(sim.controls().chronoRunning);
        sim.advance(1.0);
        EXPECT_NEAR(sim.graph().points().back().t, chronoSeconds(), 1e-9);

        // Stopped then started with the button: the same.
        sim.demar_Click();
        sim.Command6_Click();
        ASSERT_FALSE(sim.controls().recording);
        sim.demar_Click();
        EXPECT_TRUE(sim.controls().recording);
        EXPECT_EQ(chronoSeconds(), 0.0);

        // A far end chosen while it runs starts the wave again: the three
        // together again.
        sim.advance(0.5);
        sim.selectOptbout(BoutLibre);
        EXPECT_EQ(chronoSeconds(), 0.0);
        EXPECT_EQ(sim.graph().points().size(), 1u);
        EXPECT_EQ(sim.state().ecoule, propagation::startingEcoule(sim.state().frequence));
    }
    // Without a marker there is nothing to record: the button says so.
    sim.setMarqueBleue(-1);
    sim.setMarqueRouge(-1);
    sim.selectOptpert(OndeSolitaire);
    sim.selectOptpert(OndePeriodique);
    EXPECT_FALSE(sim.controls().recording);
    EXPECT_TRUE(sim.controls().chronoRunning);
}
