// One animation tick in the heaviest configurations the parameter ranges
// allow: the computation and the painting of the rope measured apart.
#include "bench_setup.h"
#include "sim/rope_painter.h"

#include <QGuiApplication>
#include <QPainter>
#include <benchmark/benchmark.h>

using namespace tolvi;
using namespace tolvi::bench;

namespace {
// Sine: fastest rope and the longest wavelength kept (14 m), free end, so
// 200 c / f + 1400 samples per tick. Periodic: 0.495 s pulses of 7 m.
const WaveSetup kSetups[] = {
    {"sine_fast_rope_free_end", 2, 2, "1,02", "50", "10", "40", "500"},
    {"sine_slow_rope_5Hz_fixed_end", 2, 1, "5,00", "500", "0,1", "40", "500"},
    {"periodic_7m_pulses_free_end", 1, 2, "2,00", "50", "10", "40", "1000"},
    {"periodic_5Hz_slow_rope_fixed_end", 1, 1, "5,00", "500", "0,1", "40", "100"},
};

void prepare(Simulation& sim, const WaveSetup& s)
{
    chooseWave(sim, s);
    sim.Command6_Click();  // the graph records too
    sim.Command3_Click();
    sim.advance(40.0);     // steady state: the rope is full
}

void BM_TickComputation(benchmark::State& state)
{
    const WaveSetup& s = kSetups[state.range(0)];
    BenchSimulation held;
    Simulation& sim = held.sim;
    prepare(sim, s);
    for (auto _ : state) {
        sim.Timer1_Timer();
        benchmark::DoNotOptimize(sim.state().deplacement.data());
    }
    state.SetLabel(std::string(s.name) + " nbDef=" + std::to_string(sim.state().nbDef));
}
BENCHMARK(BM_TickComputation)->DenseRange(0, 3);

void BM_RopePainting(benchmark::State& state)
{
    const WaveSetup& s = kSetups[state.range(0)];
    BenchSimulation held;
    Simulation& sim = held.sim;
    prepare(sim, s);
    QImage frame(sim.background().size(), QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&frame);
        deppoint(p, sim.background(), sim.state());
    }
    state.SetLabel(s.name);
}
BENCHMARK(BM_RopePainting)->DenseRange(0, 3);
}  // namespace

int main(int argc, char** argv)
{
    return runBenchmarks<QGuiApplication>(argc, argv);
}
