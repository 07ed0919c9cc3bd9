// The tick's arithmetic: intervals, corrections, emission, lifetime,
// reflection and superposition, checked against numbers worked out by hand.
#include "platform/messages.h"
#include "platform/random_source.h"
#include "sim/corrections.h"
#include "sim/propagation.h"
#include "sim/simulation.h"

#include <gtest/gtest.h>
#include <cmath>

using namespace tolvi;
using namespace tolvi::propagation;

TEST(TimerInterval, TenthOfThePulseOrTwentiethOfThePeriodWithinOneTo100ms)
{
    EXPECT_EQ(timerInterval(OndePeriodique, 2.0, 0.5), 50);
    EXPECT_EQ(timerInterval(OndeSolitaire, 2.0, 0.1), 10);
    EXPECT_EQ(timerInterval(OndeSolitaire, 2.0, 1.0), 100);
    EXPECT_EQ(timerInterval(OndeSinusoidale, 2.0, 0.5), 25);   // 500/10 = 50, halved
    EXPECT_EQ(timerInterval(OndeSinusoidale, 0.5, 0.5), 100);  // 200 halved
    EXPECT_EQ(timerInterval(OndeSinusoidale, 0.1, 0.5), 100);  // capped
    EXPECT_EQ(timerInterval(OndeSinusoidale, 5.0, 0.5), 10);
    // 0.345 s -> 34.5 ms -> ties to even 34.
    EXPECT_EQ(timerInterval(OndeSolitaire, 1.0, 0.345), 34);
    EXPECT_EQ(timerInterval(OndeSolitaire, 1.0, 0.0), 1);  // never below 1 ms
}

TEST(Lifetime, TimeForTheSignalToLeaveTheRopeTwiceWhenItComesBack)
{
    SimState s;  // starting values: 0.5 s pulse, 2 m/s
    s.typeBout = BoutLibre;
    EXPECT_DOUBLE_EQ(vieMax(s, dureeMotif(s)), 8.0);
    s.typeBout = BoutFixe;
    EXPECT_DOUBLE_EQ(vieMax(s, dureeMotif(s)), 8.0);
    s.typeBout = BoutAmortisseur;
    EXPECT_DOUBLE_EQ(vieMax(s, dureeMotif(s)), 4.0);
    s.typeOnde = OndeSinusoidale;
    s.frequence = 0.5f;
    EXPECT_DOUBLE_EQ(dureeMotif(s), 2.0);
}

TEST(Shapes, PulsesRiseToTheEnteredAmplitudeAndSineOscillates)
{
    const double a = 10, T = 0.5;
    // Symmetric: raised cosine, peak 2A at T/2, 0 at both ends.
    EXPECT_NEAR(shape(OndeSolitaire, true, a, 0, T), a + a * std::cos(3.14), 1e-12);
    EXPECT_NEAR(shape(OndeSolitaire, true, a, T / 2, T), 20.0, 1e-3);
    // Asymmetric: peak 2A near the end of the first third, then slower fall.
    EXPECT_NEAR(shape(OndeSolitaire, false, a, 0.67 * T / 2, T), 20.0, 1e-3);  // 3.14 and 6.28, not pi
    EXPECT_NEAR(shape(OndePeriodique, false, a, T, T), a + a * std::cos(4.71 + 6.28 / 1.33), 1e-12);
    EXPECT_LT(shape(OndePeriodique, false, a, T, T), 0.1);
    // Sine: 2A sin(6.28 t / T).
    EXPECT_NEAR(shape(OndeSinusoidale, false, a, T / 4, T), 20.0 * std::sin(1.57), 1e-12);
}

TEST(Emission, FirstDeformationLeaves50msAfterStartingThenOnePerPeriod)
{
    ScriptedMessages messages;
    SeededRandom random;
    Simulation sim(messages, random);
    sim.state().frequence = 5.0f;
    sim.state().duree = 0.1f;
    sim.selectOptpert(OndePeriodique);
    EXPECT_EQ(sim.state().ecoule, 150);  // 200 ms period - 50
    EXPECT_EQ(sim.controls().demarCaption(), QStringLiteral("Arrêter"));
    // Interval 10 ms: the first deformation leaves on the 5th tick.
    for (int i = 0; i < 4; ++i) {
        sim.Timer1_Timer();
        EXPECT_EQ(sim.state().nbDef, 0) << "tick " << i;
    }
    sim.Timer1_Timer();
    EXPECT_EQ(sim.state().nbDef, 1);
    EXPECT_EQ(sim.state().ecoule, 0);
    // ... and then one every 200 ms (20 ticks).
    for (int i = 0; i < 19; ++i)
        sim.Timer1_Timer();
    EXPECT_EQ(sim.state().nbDef, 1);
    sim.Timer1_Timer();
    EXPECT_EQ(sim.state().nbDef, 2);
    // Stopping forces ecoule to 0 and emits nothing more.
    sim.demar_Click();
    sim.Timer1_Timer();
    EXPECT_EQ(sim.state().ecoule, 0);
}

TEST(Emission, LateDeformationKeepsItsDelayAndNoBacklog)
{
    SimState s;
    s.frequence = 3.0f;  // period 333.3 ms
    s.ecoule = 300;
    emission(s, 50, true);
    ASSERT_EQ(s.nbDef, 1);
    // 16.67 ms late; the ageing of the same tick adds the 50 ms back.
    EXPECT_NEAR(s.ageDef[1], (350 - 1000.0 / 3 - 50) / 1000.0, 1e-12);
    EXPECT_EQ(s.ecoule, 17);  // 16.67 rounded
    // A huge step emits once and drops the rest.
    s.ecoule = 0;
    emission(s, 1000, true);
    EXPECT_EQ(s.nbDef, 2);
    EXPECT_EQ(s.ecoule, 0);
}

TEST(Ageing, OnlyTheHeadIsRetiredAndTheListNeverShrinks)
{
    SimState s;
    appendDeformation(s, 3.96);
    appendDeformation(s, 1.0);
    appendDeformation(s, 3.99);  // dead behind a living one
    ageAndRetire(s, 50, 4.0);
    ASSERT_EQ(s.nbDef, 2);
    EXPECT_DOUBLE_EQ(s.ageDef[1], 1.05);
    EXPECT_EQ(s.ageDef[2], -1.0);  // waits behind the living one
    EXPECT_EQ(s.ageDef.size(), 4u);
}

namespace {
// A single deformation emitted `age` seconds ago, with everything else at the
// starting values (2 m/s, 0.5 s, 20 cm).
SimState oneDeformation(int typeBout, double age, bool symetrique = true)
{
    SimState s;
    s.typeOnde = OndeSolitaire;
    s.typeBout = typeBout;
    s.symetrique = symetrique;
    appendDeformation(s, age);
    computeDisplacement(s, dureeMotif(s));
    return s;
}
}  // namespace

TEST(Displacement, ReflectionInvertedAtFixedEndUprightAtFreeEndLostInDamper)
{
    // At 3.5 s + 0.25 s the peak (emitted at t = 0.25 s) is exactly at the
    // far end; the first half of the pulse has been folded back.
    const double age = 3.5 + 0.25 + 0.1;  // peak 20 cm beyond the end
    const SimState damper = oneDeformation(BoutAmortisseur, age);
    const SimState fixed = oneDeformation(BoutFixe, age);
    const SimState free = oneDeformation(BoutLibre, age);
    // 20 columns from the end, the folded peak: nothing with the damper.
    const int folded = 730;
    const double incident = damper.deplacement[folded];
    EXPECT_GT(free.deplacement[folded] - incident, 19.0);
    EXPECT_LT(fixed.deplacement[folded] - incident, -19.0);
    EXPECT_NEAR(fixed.deplacement[folded] - incident, -(free.deplacement[folded] - incident), 1e-9);
    // Nothing lands beyond the rope or left of the source.
    for (int c = 0; c < 50; ++c)
        EXPECT_EQ(free.deplacement[c], 0.0);
}

TEST(Displacement, FixedEndStaysNearRestFreeEndMovesTwiceAsFar)
{
    // The peak arrives at the end at 3.75 s.
    const SimState fixed = oneDeformation(BoutFixe, 3.75);
    const SimState free = oneDeformation(BoutLibre, 3.75);
    const SimState damper = oneDeformation(BoutAmortisseur, 3.75);
    EXPECT_LT(std::fabs(fixed.deplacement[750]), 1.5);
    EXPECT_GT(free.deplacement[750], 1.8 * damper.deplacement[750]);
    EXPECT_NEAR(damper.deplacement[750], 20.0, 0.5);
}

TEST(Displacement, DeformationsAddUp)
{
    SimState one;
    appendDeformation(one, 0.3);
    SimState two = one;
    appendDeformation(two, 0.3);
    computeDisplacement(one, 0.5);
    computeDisplacement(two, 0.5);
    for (int c = 50; c <= 750; ++c)
        EXPECT_DOUBLE_EQ(two.deplacement[c], 2 * one.deplacement[c]);
    // The source itself moves while the pulse leaves it.
    EXPECT_GT(one.deplacement[50], 0.0);
}

namespace {
// The rope a pupil should see: each column repeats the source's signal with
// the delay distance / speed, plus the image folded at the far end. Written
// independently of the engine's sample loop.
double expected(const SimState& s, int column, double motif)
{
    double sum = 0;
    for (int i = 1; i <= s.nbDef; ++i) {
        const double age = s.ageDef[i];
        const double direct = age - (column - 50) / (100.0 * s.celerite);
        if (direct >= 0 && direct <= motif)
            sum += shape(s.typeOnde, s.symetrique, s.demiAmplitude, direct, motif);
        if (s.typeBout != BoutAmortisseur) {
            const double back = age - (1501 - column - 50) / (100.0 * s.celerite);
            if (back >= 0 && back <= motif)
                sum += (s.typeBout == BoutFixe ? -1 : 1) * shape(s.typeOnde, s.symetrique, s.demiAmplitude, back, motif);
        }
    }
    return sum;
}
}  // namespace

TEST(Displacement, MatchesTheTravellingSignalColumnByColumn)
{
    struct Case {
        int typeOnde, typeBout;
        bool sym;
        double age;
    };
    const Case cases[] = {
        {OndeSolitaire, BoutAmortisseur, false, 1.0}, {OndeSolitaire, BoutFixe, true, 3.7},
        {OndeSolitaire, BoutLibre, false, 3.8},       {OndePeriodique, BoutLibre, true, 5.0},
        {OndeSinusoidale, BoutFixe, false, 3.9},      {OndeSinusoidale, BoutAmortisseur, false, 2.0},
    };
    for (const Case& c : cases) {
        SimState s;
        s.typeOnde = c.typeOnde;
        s.typeBout = c.typeBout;
        s.symetrique = c.sym;
        s.frequence = 1.0f;
        s.celerite = 2.0;
        appendDeformation(s, c.age);
        const double motif = dureeMotif(s);
        computeDisplacement(s, motif);
        // One sample per centimetre: a column may be off by the signal's
        // change over half a centimetre of travel.
        const double slope = 2 * s.demiAmplitude * 6.28 / (0.67 * s.celerite * motif * 100);
        int checked = 0;
        for (int col = 51; col < 750; ++col) {
            // Skip the two columns at each edge of the signal, where a sample
            // may fall either side.
            bool edge = false;
            for (int d = -1; d <= 1; ++d) {
                const double t1 = c.age - (col + d - 50) / (100.0 * s.celerite);
                const double t2 = c.age - (1501 - col - d - 50) / (100.0 * s.celerite);
                if (std::fabs(t1) < 0.006 || std::fabs(t1 - motif) < 0.006 || std::fabs(t2) < 0.006 ||
                    std::fabs(t2 - motif) < 0.006)
                    edge = true;
            }
            if (edge)
                continue;
            EXPECT_NEAR(s.deplacement[col], expected(s, col, motif), slope * 0.5 + 1e-6)
                << "onde " << c.typeOnde << " bout " << c.typeBout << " column " << col;
            ++checked;
        }
        EXPECT_GT(checked, 600);
    }
}

TEST(Corrections, OverlappingPeriodicFrequencyIsLowered)
{
    ScriptedMessages m;
    SimState s;
    ControlsState c;
    s.typeOnde = OndePeriodique;
    s.frequence = 3.0f;
    s.duree = 0.5f;
    EXPECT_EQ(applyCorrections(s, c, m), 1);
    EXPECT_FLOAT_EQ(s.frequence, 2.0f);
    EXPECT_EQ(c.textfreq[TfFrequence], QStringLiteral("2,00"));
    ASSERT_EQ(m.asked().size(), 1u);
    EXPECT_EQ(m.asked()[0].kind, MessageKind::Information);
    EXPECT_EQ(m.asked()[0].title, QStringLiteral("Fréquence modifiée"));
    EXPECT_EQ(m.asked()[0].text,
              QStringLiteral("La fréquence a été modifiée pour que les déformations ne se superposent pas."));
    // Nothing left to correct.
    EXPECT_EQ(applyCorrections(s, c, m), 0);
}

TEST(Corrections, TooLongPulseIsShortenedThenFrequencyFollows)
{
    ScriptedMessages m;
    SimState s;
    ControlsState c;
    s.typeOnde = OndePeriodique;
    s.duree = 1.0f;
    s.frequence = 2.0f;
    s.celerite = 10.0;  // 10 N, 100 g/m
    // Rule 1 first (2 Hz overlaps 1 s pulses), then rule 2 shortens the pulse;
    // the next pass finds 1 Hz fine for 0.7 s pulses and stops.
    EXPECT_EQ(applyCorrections(s, c, m), 2);
    EXPECT_FLOAT_EQ(s.frequence, 1.0f);
    EXPECT_EQ(c.textfreq[TfFrequence], QStringLiteral("1,00"));
    EXPECT_NEAR(s.duree, 0.7f, 1e-6);
    EXPECT_EQ(c.textfreq[TfDuree], QStringLiteral("700"));
    ASSERT_EQ(m.asked().size(), 2u);
    EXPECT_EQ(m.asked()[0].title, QStringLiteral("Fréquence modifiée"));
    EXPECT_EQ(m.asked()[1].title, QStringLiteral("Perturbation modifiée"));
    EXPECT_EQ(m.asked()[1].text,
              QStringLiteral("La durée de la déformation a été modifiée pour qu'elle soit observable."));
    EXPECT_EQ(applyCorrections(s, c, m), 0);
}

TEST(Corrections, SineWavelengthLimitedToTwiceTheRope)
{
    ScriptedMessages m;
    SimState s;
    ControlsState c;
    s.typeOnde = OndeSinusoidale;
    s.celerite = std::sqrt(10.0 / 0.05);
    s.frequence = 0.5f;
    EXPECT_EQ(applyCorrections(s, c, m), 1);
    EXPECT_NEAR(s.frequence, 1.0102, 1e-4);
    EXPECT_EQ(c.textfreq[TfFrequence], QStringLiteral("1,10"));
    EXPECT_EQ(m.asked()[0].text,
              QStringLiteral("La fréquence a été modifiée pour que les déformations soient observables."));
    // The stored value sits on the bound: it must not fire again.
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(applyCorrections(s, c, m), 0);
}

TEST(Corrections, AlwaysEndEvenOnBoundaryAndNonsenseValues)
{
    ScriptedMessages m;
    for (double celerite : {0.447, 2.0, 7.0, 14.142, 1e300}) {
        for (int onde : {0, 1, 2}) {
            for (float f : {0.1f, 1.0f, 5.0f}) {
                SimState s;
                ControlsState c;
                s.typeOnde = onde;
                s.celerite = celerite;
                s.frequence = f;
                s.duree = 1.0f;
                EXPECT_LE(applyCorrections(s, c, m), 3);
                EXPECT_EQ(applyCorrections(s, c, m), 0);
            }
        }
    }
    SimState s;
    ControlsState c;
    s.frequence = std::nanf("");
    EXPECT_LE(applyCorrections(s, c, m), 16);
}

TEST(Displacement, SmoothAtHalfCentimetrePerTickSpeeds)
{
    // At these speeds the rope runs a half-integer number of centimetres per
    // tick, so samples fall exactly half-way between two columns. Each
    // sample must still land on its own column: no empty column inside a
    // deformation, no two samples stacked on one, peak = the entered amplitude.
    struct Case {
        const char* tension;  // N
        const char* masse;    // g/m
        double celerite;
        int typeOnde;
        bool symetrique;
    };
    const Case cases[] = {
        {"0,1", "100", 1.0, OndeSinusoidale, false}, {"0,1", "100", 1.0, OndePeriodique, true},
        {"0,1", "100", 1.0, OndeSolitaire, false},   {"0,1", "400", 0.5, OndeSinusoidale, false},
        {"0,1", "400", 0.5, OndeSolitaire, true},    {"0,9", "400", 1.5, OndeSinusoidale, false},
        {"0,9", "400", 1.5, OndePeriodique, false},  {"2,5", "400", 2.5, OndeSinusoidale, false},
        {"2,5", "400", 2.5, OndeSolitaire, true},
    };
    for (const Case& c : cases) {
        ScriptedMessages messages;
        SeededRandom random;
        Simulation sim(messages, random);
        sim.setTextfreq(TfTension, QString::fromLatin1(c.tension));
        sim.Textfreq_LostFocus(TfTension);
        sim.setTextfreq(TfMasse, QString::fromLatin1(c.masse));
        sim.Textfreq_LostFocus(TfMasse);
        sim.selectOptpert(c.typeOnde);
        sim.setChecksi(c.symetrique);
        if (c.typeOnde == OndeSolitaire)
            sim.demar_Click();
        ASSERT_NEAR(sim.state().celerite, c.celerite, 1e-9) << c.tension;
        const std::string what = std::string(c.tension) + " N, " + c.masse + " g/m, wave " + std::to_string(c.typeOnde);
        double peak = 0;
        // Two seconds of ticks: the deformations are well on the rope.
        for (double elapsed = 0; elapsed < 2.0; elapsed += sim.controls().timerInterval / 1000.0) {
            sim.Timer1_Timer();
            const auto& u = sim.state().deplacement;
            int first = -1, last = -1;
            for (int col = 50; col <= 750; ++col) {
                peak = std::max(peak, std::fabs(u[col]));
                if (std::fabs(u[col]) > 0.5) {
                    if (first < 0)
                        first = col;
                    last = col;
                }
            }
            for (int col = first + 1; first >= 0 && col < last; ++col) {
                // Neighbours differ by at most the signal's change over 1 cm
                // (a few cm for these shapes), never by a whole peak.
                EXPECT_LT(std::fabs(u[col] - u[col - 1]), 6.0) << what << " column " << col << " at " << elapsed << " s";
            }
        }
        EXPECT_LE(peak, 20.0 + 1e-6) << what;
        EXPECT_GT(peak, 19.5) << what;
    }
}
