// Slow motion and step-by-step: the speed choice and what each press of
// "Pas à pas" does to simulated time, the chronometer and the graph.
#include "platform/messages.h"
#include "platform/random_source.h"
#include "sim/pacing.h"
#include "sim/simulation.h"

#include <gtest/gtest.h>

using namespace tolvi;

TEST(Pacing, SpeedsCycleAndOnlyLengthenTheWait)
{
    Pacing pacing;
    EXPECT_EQ(pacing.divisor(), 1);
    EXPECT_FALSE(pacing.slowed());
    const char* labels[] = {"1/2", "1/5", "1/10", "1"};
    const int divisors[] = {2, 5, 10, 1};
    for (int i = 0; i < 4; ++i) {
        pacing.nextSpeed();
        EXPECT_EQ(pacing.speedLabel(), QString::fromLatin1(labels[i]));
        EXPECT_EQ(pacing.divisor(), divisors[i]);
        // The wall-clock wait of a 50 ms tick, and of a 1 ms tick.
        EXPECT_EQ(pacing.wallInterval(50), 50 * divisors[i]);
        EXPECT_EQ(pacing.wallInterval(1), divisors[i]);
        EXPECT_EQ(pacing.wallInterval(0), divisors[i]);  // the timer never waits 0 ms
    }
    pacing.setSpeedIndex(9);
    EXPECT_EQ(pacing.divisor(), 10);
    pacing.setSpeedIndex(-1);
    EXPECT_EQ(pacing.divisor(), 1);

    for (int d : Pacing::kDivisors)
        EXPECT_EQ(Pacing::parseSpeed(Pacing::speedLabel(d)), std::optional<int>(d));
    EXPECT_EQ(Pacing::parseSpeed(QStringLiteral(" 1/5 ")), std::optional<int>(5));
    for (const char* bad : {"", "1/3", "0", "2", "1/", "/2", "1/10x", "0,5"})
        EXPECT_EQ(Pacing::parseSpeed(QString::fromLatin1(bad)), std::nullopt) << bad;
}

namespace {
struct Steps : ::testing::Test {
    ScriptedMessages messages;
    SeededRandom random;
    Simulation sim{messages, random};
    void SetUp() override
    {
        sim.readParameters();
        sim.selectOptpert(OndeSinusoidale);
        // A 5 Hz sine: ticks of 10 ms (a twentieth of the period).
        sim.setTextfreq(TfFrequence, QStringLiteral("5"));
        sim.Textfreq_LostFocus(TfFrequence);
        sim.demar_Click();
        sim.Timer1_Timer();
    }
};
}  // namespace

TEST_F(Steps, APressPausesARunningAnimationWithoutATick)
{
    ASSERT_TRUE(sim.timerEnabled());
    sim.Command3_Click();  // chronometer running
    const auto rope = sim.state().deplacement;
    const double chrono = sim.state().chrono;
    EXPECT_EQ(pasAPas(sim), 0);
    EXPECT_FALSE(sim.timerEnabled());
    EXPECT_EQ(sim.state().deplacement, rope);
    EXPECT_EQ(sim.state().chrono, chrono);
}

TEST_F(Steps, EachPressWhilePausedIsOneTickOfOneInterval)
{
    sim.Command3_Click();  // chronometer
    sim.Command6_Click();  // graph recording
    sim.command16_Click(); // pause
    ASSERT_FALSE(sim.timerEnabled());
    ASSERT_EQ(sim.controls().timerInterval, 10);
    const double chrono = sim.state().chrono;
    const double graphe = sim.state().tempsGraphe;
    const int points = int(sim.graph().points().size());

    // A twin simulation driven by plain timer ticks: the presses give the
    // very same rope, tick for tick.
    ScriptedMessages messages2;
    SeededRandom random2;
    Simulation twin{messages2, random2};
    twin.readParameters();
    twin.selectOptpert(OndeSinusoidale);
    twin.setTextfreq(TfFrequence, QStringLiteral("5"));
    twin.Textfreq_LostFocus(TfFrequence);
    twin.demar_Click();
    twin.Timer1_Timer();
    twin.Command3_Click();
    twin.Command6_Click();

    int simule = 0;
    for (int press = 1; press <= 37; ++press) {
        simule += pasAPas(sim);
        twin.Timer1_Timer();
        EXPECT_FALSE(sim.timerEnabled());  // still paused
        ASSERT_EQ(simule, press * 10);
        ASSERT_EQ(sim.state().deplacement, twin.state().deplacement) << press;
    }
    // Chronometer (hundredths) and graph (seconds) count simulated time.
    EXPECT_DOUBLE_EQ(sim.state().chrono - chrono, 37.0);
    EXPECT_NEAR(sim.state().tempsGraphe - graphe, 0.37, 1e-9);
    EXPECT_EQ(sim.state().chrono, twin.state().chrono);
    EXPECT_GT(int(sim.graph().points().size()), points);

    // The pause image starts it again as usual.
    sim.command16_Click();
    EXPECT_TRUE(sim.timerEnabled());
}

TEST_F(Steps, PressesFollowTheTickIntervalOfTheWave)
{
    // A solitary pulse of 0,5 s: ticks of 50 ms.
    sim.selectOptpert(OndeSolitaire);
    sim.demar_Click();
    sim.command16_Click();
    int simule = 0;
    for (int i = 0; i < 4; ++i)
        simule += pasAPas(sim);
    EXPECT_EQ(simule, 200);
}
