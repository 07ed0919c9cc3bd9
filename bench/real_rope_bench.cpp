// The real rope's cost stays bounded however long the waves live: a fixed
// rope driven at its fifth mode (5 Hz on a 14 m/s rope) for 10 minutes of
// simulated time, undamped (the lightest damping: the standing wave grows for
// ever) and at the default 1 % per metre. The ticks of the last minute are
// timed one by one: they cost what the first ones did.
#include "bench_setup.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

using namespace tolvi;
using namespace tolvi::bench;

namespace {
const WaveSetup kResonant{"sine_5Hz_fifth_mode_fixed_end", 2, 1, "5,00", "50", "9,8", "1", "500"};

void BM_RealRopeResonance10Minutes(benchmark::State& state)
{
    const double damping = double(state.range(0));
    std::int64_t ticks = 0;
    int most = 0;
    for (auto _ : state) {
        BenchSimulation held;
        Simulation& sim = held.sim;
        sim.setCordeReelle(true);
        sim.setAmortissement(damping);
        chooseWave(sim, kResonant);
        sim.Command6_Click();  // the graph records too
        double passed = 0.0;
        while (passed < 600.0) {
            sim.Timer1_Timer();
            passed += sim.controls().timerInterval / 1000.0;
            most = std::max<int>(most, sim.state().nbDef);
            ++ticks;
        }
        benchmark::DoNotOptimize(sim.state().deplacement.data());
    }
    state.counters["ticks"] = benchmark::Counter(double(ticks), benchmark::Counter::kAvgIterations);
    state.counters["s_per_tick"] =
        benchmark::Counter(double(ticks), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["nbDef_max"] = most;
}
BENCHMARK(BM_RealRopeResonance10Minutes)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

// One tick after 10 minutes of resonance, undamped.
void BM_RealRopeTickAfter10Minutes(benchmark::State& state)
{
    BenchSimulation held;
    Simulation& sim = held.sim;
    sim.setCordeReelle(true);
    sim.setAmortissement(0.0);
    chooseWave(sim, kResonant);
    sim.advance(600.0);
    for (auto _ : state) {
        sim.Timer1_Timer();
        benchmark::DoNotOptimize(sim.state().deplacement.data());
    }
    state.SetLabel("nbDef=" + std::to_string(sim.state().nbDef));
}
BENCHMARK(BM_RealRopeTickAfter10Minutes);
}  // namespace

int main(int argc, char** argv)
{
    return runBenchmarks<QGuiApplication>(argc, argv);
}
