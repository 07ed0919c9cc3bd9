// The real rope, checked against the physics of a string: d'Alembert's
// travelling waves with their images in both ends (each reflection at a held
// end inverts, at a free end keeps the sign), attenuated by the damping over
// the distance run; the modes of a string held at both ends, f_n = n v / 2L.
#include "platform/messages.h"
#include "platform/random_source.h"
#include "sim/propagation.h"
#include "sim/simulation.h"
#include "typed_rope.h"

#include <gtest/gtest.h>
#include <cmath>
#include <complex>
#include <functional>
#include <vector>

using namespace tolvi;

namespace {
constexpr double kL = 7.0;
const double kPi = std::acos(-1.0);

struct Rope : TypedRope {
    double u(int column) const { return sim.state().deplacement[std::size_t(column)]; }
    double interval() const { return sim.controls().timerInterval / 1000.0; }
};

// The displacement at x, time t after the source began to move as s, on a
// rope whose source reflects by r0 and far end by rL, keeping `kept` of the
// amplitude per metre: the sum of every image that has left the source.
double images(const std::function<double(double)>& s, double x, double t, double v, double r0, double rL,
              double kept)
{
    double u = 0.0;
    double gain = 1.0;
    for (int k = 0; 2.0 * k * kL + x <= v * t + 1e-9 && k < 10000; ++k) {
        const double out = 2.0 * k * kL + x, back = 2.0 * k * kL + 2.0 * kL - x;
        u += gain * std::pow(kept, out) * s(t - out / v);
        if (back <= v * t + 1e-9)
            u += gain * rL * std::pow(kept, back) * s(t - back / v);
        gain *= r0 * rL;
        if (gain == 0.0)
            break;
    }
    return u;
}

// The pulse of the solitary wave as the source emits it (0 outside).
std::function<double(double)> pulse(const SimState& s, double motif)
{
    const SimState copy = s;
    return [copy, motif](double t) {
        return t < 0.0 || t > motif ? 0.0 : propagation::shape(OndeSolitaire, copy.symetrique, copy.demiAmplitude, t, motif);
    };
}
}  // namespace

using RealRope = Rope;

TEST_F(RealRope, HeldSourceSendsBackWhatReturnsInvertedAndDampingTakesItsStatedShare)
{
    // 2 m/s on 7 m: a round trip takes 7 s. Each end, each damping.
    struct Case {
        int end;
        double damping;  // % per metre
    };
    for (const Case c : {Case{BoutLibre, 0.0}, Case{BoutFixe, 0.0}, Case{BoutFixe, 3.0}, Case{BoutAmortisseur, 5.0}}) {
        sim.setCordeReelle(true);
        sim.setAmortissement(c.damping);
        sim.selectOptbout(c.end);
        const double rL = c.end == BoutFixe ? -1.0 : c.end == BoutLibre ? 1.0 : 0.0;
        const double kept = 1.0 - c.damping / 100.0;
        const auto s = pulse(sim.state(), 0.5);
        sim.demar_Click();
        double t = 0.0;
        double worst = 0.0;
        while (t < 17.0) {
            sim.Timer1_Timer();
            t += interval();
            for (int column = 50; column <= 750; column += 7)
                worst = std::max(worst, std::fabs(u(column) - images(s, (column - 50) / 100.0, t, 2.0, -1.0, rL, kept)));
        }
        EXPECT_LT(worst, 0.01) << "end " << c.end << ", damping " << c.damping;
    }

    // Free far end, no damping: at 2L/v + 1,5 s the pulse has left the
    // source again, inverted, its top (20 cm) 2 m out (0,5 s after leaving
    // ... the pulse's top leaves a third of 0,5 s after its start).
    sim.selectOptbout(BoutLibre);
    sim.setAmortissement(0.0);
    sim.demar_Click();
    sim.advance(7.0 + 1.5);
    const double top = *std::min_element(sim.state().deplacement.begin() + 50, sim.state().deplacement.end());
    EXPECT_NEAR(top, -20.0, 0.05);
    const int where = int(std::min_element(sim.state().deplacement.begin() + 50, sim.state().deplacement.end()) -
                          sim.state().deplacement.begin());
    EXPECT_NEAR(where, 50 + 100 * 2.0 * (1.5 - 0.5 / 3.0), 1.0);

    // The damping as stated: 5 % per metre leaves 0,95^x of the pulse x
    // metres out, on a rope that absorbs at its far end.
    sim.selectOptbout(BoutAmortisseur);
    sim.setAmortissement(5.0);
    sim.demar_Click();
    const double passed = sim.advance(2.0 + 0.5 / 3.0);  // the top about 4 m out
    const double peak = *std::max_element(sim.state().deplacement.begin() + 50, sim.state().deplacement.end());
    EXPECT_NEAR(peak, 20.0 * std::pow(0.95, 2.0 * (passed - 0.5 / 3.0)), 0.02);
}

TEST_F(RealRope, DeadEchoesAreRetiredAndTheWorkStaysBounded)
{
    sim.setCordeReelle(true);
    sim.setAmortissement(10.0);
    sim.selectOptbout(BoutFixe);
    sim.demar_Click();
    sim.advance(80.0);  // 20 cm x 0,9^(2 m/s x 80 s) is far below 0,001 cm
    for (int column = 50; column <= 750; ++column)
        ASSERT_EQ(u(column), 0.0) << column;
    EXPECT_EQ(sim.state().nbDef, 0);

    // Undamped, a periodic wave at 5 Hz on a held rope rings for ever, but
    // keeps at most two deformations at the source and one round trip.
    sim.setAmortissement(0.0);
    sim.selectOptpert(OndePeriodique);
    set(TfDuree, "100");
    set(TfFrequence, "5");
    int most = 0;
    for (int i = 0; i < 3000; ++i) {
        sim.Timer1_Timer();
        most = std::max<int>(most, sim.state().nbDef);
    }
    EXPECT_LE(most, 2);
    EXPECT_LE(sim.state().ageDef.size(), 3u);
}

namespace {
// Steady complex amplitude of the displacement at x for a source B sin(wt):
// the images' geometric series.
std::complex<double> steady(double x, double f, double v, double rL, double kept, double B)
{
    const double w = 2.0 * kPi * f;
    const std::complex<double> i(0.0, 1.0);
    const auto wave = [&](double run) { return std::pow(kept, run) * std::exp(-i * w * run / v); };
    const std::complex<double> roundTrip = -rL * wave(2.0 * kL);
    return B * (wave(x) + rL * wave(2.0 * kL - x)) / (1.0 - roundTrip);
}
}  // namespace

TEST_F(RealRope, FixedRopeDrivenAtItsModesBuildsTheStandingWaveOfTheImagesAndStaysSmallOffThem)
{
    // 9,8 N and 50 g/m: v = 14 m/s, so f_n = n x 14 / 14 = n Hz. A source
    // of 1 cm; a damping of 2 % per metre.
    set(TfMasse, "50");
    set(TfTension, "9,8");
    set(TfDuree, "100");  // ticks of 10 ms
    ASSERT_NEAR(sim.state().celerite, 14.0, 1e-9);
    sim.setCordeReelle(true);
    sim.selectOptbout(BoutFixe);
    EXPECT_EQ(sim.amortissement(), 1.0) << "the default damping";
    sim.setAmortissement(2.0);
    const double kept = 0.98, v = 14.0, B = 1.0;
    for (double f : {1.0, 2.0, 3.0, 4.0, 2.5}) {
        const bool resonant = f != 2.5;
        sim.setMouvementSource([=](double t) { return B * std::sin(2.0 * kPi * f * t); });
        // Growing: the images as they arrive, at 0,5 s, 3 s and 8 s.
        double t = 0.0;
        for (double check : {0.5, 3.0, 8.0}) {
            while (t < check - 1e-9) {
                sim.Timer1_Timer();
                t += interval();
            }
            double worst = 0.0;
            for (int column = 50; column <= 750; column += 5) {
                const double x = (column - 50) / 100.0;
                const auto s = [=](double tau) { return tau < 0.0 ? 0.0 : B * std::sin(2.0 * kPi * f * tau); };
                worst = std::max(worst, std::fabs(u(column) - images(s, x, t, v, -1.0, -1.0, kept)));
            }
            EXPECT_LT(worst, 0.01 * std::abs(steady(kL - 0.25 * v / f, f, v, -1.0, kept, B)) + 1e-3)
                << f << " Hz at " << check << " s";
        }
        // Saturated after 40 round trips (0,98^(14 x 40) = 1e-5): the
        // amplitude at every point over the last second (whole periods).
        sim.advance(40.0 - t);
        std::vector<std::complex<double>> measured(751);
        const int n = int(std::lround(1.0 / interval()));
        double time = 0.0;
        for (int k = 0; k < n; ++k) {
            sim.Timer1_Timer();
            time += interval();
            for (int column = 50; column <= 750; ++column)
                measured[std::size_t(column)] +=
                    u(column) * std::exp(std::complex<double>(0.0, -2.0 * kPi * f * time)) * (2.0 / n);
        }
        double top = 0.0, worstGap = 0.0;
        for (int column = 50; column <= 750; ++column)
            top = std::max(top, std::abs(steady((column - 50) / 100.0, f, v, -1.0, kept, B)));
        double measuredTop = 0.0;
        for (int column = 50; column <= 750; ++column) {
            const double expected = std::abs(steady((column - 50) / 100.0, f, v, -1.0, kept, B));
            worstGap = std::max(worstGap, std::fabs(std::abs(measured[std::size_t(column)]) - expected));
            measuredTop = std::max(measuredTop, std::abs(measured[std::size_t(column)]));
        }
        EXPECT_LT(worstGap, 0.01 * top) << f << " Hz";
        EXPECT_NEAR(measuredTop, top, 0.01 * top) << f << " Hz";
        if (!resonant) {
            EXPECT_LT(top, 2.5 * B);
            continue;
        }
        EXPECT_GT(top, 6.5 * B) << "resonance at " << f << " Hz";
        // Nodes every half wavelength from the far end, where the images
        // cancel: the smallest amplitude near each is within a centimetre.
        const double halfWave = v / f / 2.0;
        for (int k = 1; k < int(std::lround(f)); ++k) {  // the nodes inside the rope
            const int node = int(std::lround(750 - 100 * k * halfWave));
            int lowest = node;
            for (int column = node - 20; column <= node + 20; ++column)
                if (std::abs(measured[std::size_t(column)]) < std::abs(measured[std::size_t(lowest)]))
                    lowest = column;
            EXPECT_NEAR(lowest, node, 1) << f << " Hz, node " << k;
            // Not quite still: the wave coming back is weaker than the one
            // going out by the damping over the way, as the images say.
            EXPECT_NEAR(std::abs(measured[std::size_t(lowest)]),
                        std::abs(steady((lowest - 50) / 100.0, f, v, -1.0, kept, B)), 0.01 * top);
            EXPECT_LT(std::abs(measured[std::size_t(lowest)]), 0.15 * top);
        }
    }
}

TEST_F(RealRope, SineOfTheWaveControlsAtTheSecondModeSaturatesAtTheImagesAmplitude)
{
    // The wave controls' own sine: 2 Hz (period 500 ms, ticks of 25 ms),
    // amplitude 2 cm, on the 14 m/s rope.
    set(TfMasse, "50");
    set(TfTension, "9,8");
    set(TfAmplitude, "2");
    sim.setCordeReelle(true);
    sim.selectOptbout(BoutFixe);
    set(TfFrequence, "2");
    sim.selectOptpert(OndeSinusoidale);
    sim.advance(70.0);
    // The amplitude at every point over one period (20 ticks).
    std::vector<std::complex<double>> measured(751);
    for (int k = 1; k <= 20; ++k) {
        sim.Timer1_Timer();
        for (int column = 50; column <= 750; ++column)
            measured[std::size_t(column)] += u(column) * std::exp(std::complex<double>(0.0, -2.0 * kPi * k / 20.0)) / 10.0;
    }
    double top = 0.0, expected = 0.0;
    for (int column = 50; column <= 750; ++column) {
        top = std::max(top, std::abs(measured[std::size_t(column)]));
        expected = std::max(expected, std::abs(steady((column - 50) / 100.0, 2.0, 14.0, -1.0, 0.99, 2.0)));
    }
    EXPECT_NEAR(top, expected, 0.01 * expected);
}

TEST_F(RealRope, PluckedStringRingsWithPeriodTwoLOverVAndTheHarmonicsOfItsModes)
{
    // 2 m/s: f1 = 2 / 14 Hz, period 7 s. Undamped, plucked 20 cm at 1,4 m.
    sim.setAmortissement(0.0);
    sim.setCordeReelle(true);
    sim.setAmortissement(0.0);
    sim.pincer(1.4);
    EXPECT_EQ(sim.state().typeBout, BoutFixe);
    EXPECT_NEAR(u(190), 20.0, 0.01);
    EXPECT_NEAR(u(50), 0.0, 1e-9);
    EXPECT_NEAR(u(470), 20.0 * (7.0 - 4.2) / (7.0 - 1.4), 0.01);

    // The modes: u = sum b_n sin(n pi x / L) cos(n pi v t / L).
    const double h = 20.0, x0 = 1.4, v = 2.0;
    const auto b = [&](int n) {
        return 2.0 * h * kL * kL / (n * n * kPi * kPi * x0 * (kL - x0)) * std::sin(n * kPi * x0 / kL);
    };
    const auto modes = [&](double x, double t) {
        double sum = 0.0;
        for (int n = 1; n <= 4000; ++n)
            sum += b(n) * std::sin(n * kPi * x / kL) * std::cos(n * kPi * v * t / kL);
        return sum;
    };
    const int marker = 300;  // 2,5 m
    std::vector<double> recording;
    double t = 0.0, worst = 0.0;
    while (recording.size() < 420) {  // three periods at 50 ms
        sim.Timer1_Timer();
        t += interval();
        recording.push_back(u(marker));
        if (recording.size() % 37 == 0)
            worst = std::max(worst, std::fabs(u(marker) - modes(2.5, t)));
    }
    EXPECT_LT(worst, 0.1);
    // Period 2L/v = 7 s: 140 ticks; the recording repeats itself then and
    // at no shorter lag.
    const auto gap = [&](std::size_t lag) {
        double sum = 0.0;
        for (std::size_t i = 0; i + lag < recording.size(); ++i)
            sum += std::fabs(recording[i + lag] - recording[i]);
        return sum / double(recording.size() - lag);
    };
    EXPECT_LT(gap(140), 0.01);
    for (std::size_t lag = 10; lag < 135; ++lag)
        EXPECT_GT(gap(lag), 0.3) << lag;
    // Spectrum of the three periods: lines at n / 7 Hz (bins 3, 6, 9) with
    // the modes' amplitudes at the marker, nothing between.
    const auto line = [&](int bin) {
        std::complex<double> sum;
        for (std::size_t i = 0; i < recording.size(); ++i)
            sum += recording[i] * std::exp(std::complex<double>(0.0, -2.0 * kPi * bin * double(i + 1) / 420.0));
        return std::abs(sum) * 2.0 / 420.0;
    };
    for (int n = 1; n <= 3; ++n)
        EXPECT_NEAR(line(3 * n), std::fabs(b(n) * std::sin(n * kPi * 2.5 / kL)), 0.02 * std::fabs(b(1)))
            << "harmonic " << n;
    EXPECT_LT(line(4), 0.01 * line(3));
    EXPECT_LT(line(8), 0.01 * line(3));
}

TEST_F(RealRope, HandOnTheSourceIsSeenAtAMarkerDistanceOverVLaterInBothModels)
{
    // A recorded hand: up 30 cm in 0,3 s, down to -10 cm, back to rest.
    const auto hand = [](double t) {
        if (t < 0.3)
            return 100.0 * t;
        if (t < 0.7)
            return 30.0 - 100.0 * (t - 0.3);
        if (t < 0.8)
            return -10.0 + 100.0 * (t - 0.7);
        return 0.0;
    };
    for (bool real : {false, true}) {
        sim.setCordeReelle(real);
        sim.setAmortissement(0.0);
        sim.selectOptbout(BoutFixe);
        sim.setALaMain(true);
        std::vector<double> moves;  // the position at each tick's end
        double t = 0.0, worst = 0.0;
        for (int k = 0; k < 200; ++k) {  // 10 s at 50 ms
            const double target = hand(t + interval());
            sim.setPositionMain(target);
            sim.Timer1_Timer();
            t += interval();
            moves.push_back(target);
            // The real rope's source holds the rope where the hand is; on
            // the default rope what the far end sent back runs past it.
            const double back = !real && k >= 140 ? -moves[std::size_t(k - 140)] : 0.0;
            EXPECT_NEAR(u(50), target + back, 1e-9) << k;
            // 2,5 m from the source: 1,25 s later (25 ticks); what the fixed
            // end sends back: (14 - 2,5) / 2 = 5,75 s later (115 ticks),
            // inverted; with the real rope the source sends that on again.
            double expected = k >= 25 ? moves[std::size_t(k - 25)] : 0.0;
            if (k >= 115)
                expected -= moves[std::size_t(k - 115)];
            if (real && k >= 165)
                expected += moves[std::size_t(k - 165)];  // inverted twice
            worst = std::max(worst, std::fabs(u(300) - expected));
        }
        EXPECT_LT(worst, 1e-9) << (real ? "real rope" : "default rope");
        sim.setALaMain(false);
    }
    // The hand's reach is ±40 cm.
    sim.setALaMain(true);
    sim.setPositionMain(75.0);
    sim.Timer1_Timer();
    EXPECT_EQ(u(50), 40.0);
}
