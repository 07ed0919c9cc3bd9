// One animation tick in the heaviest configurations the parameter ranges
// allow: the computation and the painting of the rope measured apart.
#include "platform/fonts.h"
#include "platform/messages.h"
#include "platform/random_source.h"
#include "sim/rope_painter.h"
#include "sim/simulation.h"

#include <QGuiApplication>
#include <QPainter>
#include <benchmark/benchmark.h>

using namespace tolvi;

namespace {
struct Setup {
    const char* name;
    int onde, bout;
    const char *frequence, *masse, *tension, *duree;
};
// Sine: fastest rope and the longest wavelength kept (14 m), free end, so
// 200 c / f + 1400 samples per tick. Periodic: 0.495 s pulses of 7 m.
const Setup kSetups[] = {
    {"sine_fast_rope_free_end", 2, 2, "1,02", "50", "10", "500"},
    {"sine_slow_rope_5Hz_fixed_end", 2, 1, "5,00", "500", "0,1", "500"},
    {"periodic_7m_pulses_free_end", 1, 2, "2,00", "50", "10", "1000"},
    {"periodic_5Hz_slow_rope_fixed_end", 1, 1, "5,00", "500", "0,1", "100"},
};

void prepare(Simulation& sim, const Setup& s)
{
    sim.readParameters();
    const char* texts[5] = {s.frequence, s.masse, s.tension, nullptr, s.duree};
    for (int i : {0, 1, 2, 4}) {
        sim.setTextfreq(i, QString::fromLatin1(texts[i]));
        sim.Textfreq_LostFocus(i);
    }
    sim.setTextfreq(3, QStringLiteral("40"));
    sim.Textfreq_LostFocus(3);
    sim.selectOptbout(s.bout);
    sim.selectOptpert(s.onde);
    sim.Command6_Click();  // the graph records too
    sim.Command3_Click();
    sim.advance(40.0);     // steady state: the rope is full
}

void BM_TickComputation(benchmark::State& state)
{
    const Setup& s = kSetups[state.range(0)];
    ScriptedMessages messages;
    SeededRandom random;
    Simulation sim(messages, random);
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
    const Setup& s = kSetups[state.range(0)];
    ScriptedMessages messages;
    SeededRandom random;
    Simulation sim(messages, random);
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
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    installFontsAndTranslations();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
