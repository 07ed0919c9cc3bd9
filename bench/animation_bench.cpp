// The animation's cost per tick as the window pays it: one tick of the
// simulation, then the rope and graph pictures repainted whole, at one
// device pixel per unit, at a device pixel ratio of 2, and enlarged 1.8
// times as "Plein écran" shows them on a 1920 × 1080 screen. The timer
// ticks 20 times a second, so a core's share is 20 × the time per tick.
#include "mainwin/full_screen.h"
#include "measure/graph_picture.h"
#include "measure/rope_picture.h"
#include "platform/fonts.h"
#include "platform/messages.h"
#include "platform/random_source.h"
#include "sim/simulation.h"

#include <QApplication>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cmath>

using namespace tolvi;

namespace {
struct Setup {
    const char* name;
    int onde, bout;
    const char *frequence, *masse, *tension, *duree;
};
const Setup kSetups[] = {
    {"default_pulse", 0, 0, nullptr, nullptr, nullptr, nullptr},
    {"sine_5Hz_slowest_rope", 2, 1, "5,00", "500", "0,1", "500"},
};

void prepare(Simulation& sim, const Setup& s)
{
    sim.readParameters();
    if (s.frequence) {
        const char* texts[5] = {s.frequence, s.masse, s.tension, nullptr, s.duree};
        for (int i : {0, 1, 2, 4}) {
            sim.setTextfreq(i, QString::fromLatin1(texts[i]));
            sim.Textfreq_LostFocus(i);
        }
        sim.setTextfreq(3, QStringLiteral("40"));
        sim.Textfreq_LostFocus(3);
        sim.selectOptbout(s.bout);
    }
    sim.selectOptpert(s.onde);
    sim.setMarqueRouge(500);
    sim.setDurationIndex(10);  // 600 s: the graph records for the whole run
    sim.demar_Click();
    sim.Command6_Click();
    sim.advance(2.0);
}

// Scale 1, scale 2, and the full-screen enlargement of 1080 / 600.
double scaleOf(int index)
{
    return index == 0 ? 1.0 : index == 1 ? 2.0 : fittingScale(QSize(1920, 1080), QSize(800, 600));
}

void BM_TickAndRepaint(benchmark::State& state)
{
    const Setup& s = kSetups[state.range(0)];
    const double scale = scaleOf(int(state.range(1)));
    ScriptedMessages messages;
    SeededRandom random;
    Simulation sim(messages, random);
    prepare(sim, s);
    RopePicture rope(sim);
    GraphPicture graph(sim);
    rope.resize(790, 110);
    graph.resize(785, 109);
    // The window's backing store: at the screen's device pixel ratio, or at
    // one pixel per unit under a painter that enlarges (the full-screen view).
    const bool view = state.range(1) == 2;
    const double ratio = view ? 1.0 : scale;
    QImage ropeStore(int(std::ceil(790 * scale)), int(std::ceil(110 * scale)), QImage::Format_RGB32);
    QImage graphStore(int(std::ceil(785 * scale)), int(std::ceil(109 * scale)), QImage::Format_RGB32);
    ropeStore.setDevicePixelRatio(ratio);
    graphStore.setDevicePixelRatio(ratio);
    const auto paint = [&](QWidget& widget, QImage& store) {
        QPainter p(&store);
        if (view)
            p.scale(scale, scale);
        widget.render(&p, QPoint(), QRegion(), QWidget::DrawChildren);
    };
    for (auto _ : state) {
        sim.Timer1_Timer();
        paint(rope, ropeStore);
        paint(graph, graphStore);
        benchmark::DoNotOptimize(ropeStore.constBits());
    }
    state.SetLabel(std::string(s.name) + (state.range(1) == 0 ? " scale 1" : state.range(1) == 1 ? " scale 2"
                                                                                                  : " plein ecran 1920x1080"));
    // The share of one core at 20 ticks a second.
    state.counters["core_percent_at_20Hz"] =
        benchmark::Counter(1.0 / (20.0 * 100.0), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_TickAndRepaint)->ArgsProduct({{0, 1}, {0, 1, 2}})->Unit(benchmark::kMicrosecond);
}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    installFontsAndTranslations();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
