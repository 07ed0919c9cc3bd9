// Wall-clock pacing of the animation at each slow-motion speed: the main
// window's own timer left to run for a fixed wall time, counting its ticks
// and the simulated time they advanced. Expected: simulated / wall time close
// to 1, 1/2, 1/5 and 1/10 (a little below when the machine is busy: a late
// tick is never made up, as simulated time follows ticks, not the clock).
// Each case runs once, for TOLVI_PACING_SECONDS of wall time (default 2).
#include "bench_setup.h"
#include "mainwin/feuille_p.h"
#include "mainwin/pacing_controls.h"
#include "mainwin/shared_state.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

using namespace tolvi;
using namespace tolvi::bench;

namespace {

double wallSeconds()
{
    bool ok = false;
    const double s = qEnvironmentVariable("TOLVI_PACING_SECONDS").toDouble(&ok);
    return ok && s > 0 ? s : 2.0;
}

// Range 0: divisor (1, 2, 5, 10). Range 1: wave (0 pulse of 0,5 s, ticks of
// 50 ms; 2 sine of 5 Hz, ticks of 10 ms).
void BM_WallPacing(benchmark::State& state)
{
    const int divisor = int(state.range(0));
    const int wave = int(state.range(1));
    BenchSimulation held;
    Simulation& sim = held.sim;
    SharedState shared;
    QTemporaryDir dir;
    FeuilleP window(sim, shared, held.messages);
    window.setProgramDirectory(dir.path());
    window.Form_Load();
    if (wave == OndeSinusoidale)  // chosen once its frequency is set: it runs
        chooseWave(sim, {"sine_5Hz", OndeSinusoidale, 0, "5", nullptr, nullptr, nullptr, nullptr});
    sim.Timer1_Timer();  // the wave's own interval is set
    window.pacing()->setDivisor(divisor);

    long long ticks = 0;
    long long simulatedMs = 0;
    QObject::connect(&window.timer1(), &QTimer::timeout, &sim, [&] {
        ++ticks;
        simulatedMs += sim.controls().timerInterval;
    });
    double wall = 0.0;
    for (auto _ : state) {
        QEventLoop loop;
        QElapsedTimer clock;
        clock.start();
        QTimer::singleShot(int(wallSeconds() * 1000), Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
        wall += clock.nsecsElapsed() / 1e9;
    }
    window.timer1().stop();
    const double simulated = simulatedMs / 1000.0;
    state.counters["wall_s"] = wall;
    state.counters["ticks"] = double(ticks);
    state.counters["simulated_s"] = simulated;
    state.counters["sim_per_wall"] = wall > 0 ? simulated / wall : 0.0;
    state.counters["expected"] = 1.0 / divisor;
    state.SetLabel(std::string(wave == OndeSinusoidale ? "sine_5Hz_10ms" : "pulse_50ms") + " speed 1/" +
                   std::to_string(divisor));
}
BENCHMARK(BM_WallPacing)
    ->ArgsProduct({{1, 2, 5, 10}, {0, 2}})
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    return runBenchmarks<QApplication>(argc, argv);
}
