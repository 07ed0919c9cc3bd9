// The animation's cost per tick as the window pays it: one tick of the
// simulation, then the parts of the rope and graph pictures that the tick
// changed repainted (what the pictures ask of Qt's backing store), at one
// device pixel per unit, at a device pixel ratio of 2, and enlarged 1.8
// times as "Plein écran" shows them on a 1920 × 1080 screen. A core's share
// is the time per tick times the ticks a second of the wave.
//
// BM_TickAndRepaint paints the parts the way the window's backing store
// does; BM_ShownWindow runs the real thing: a window holding both pictures,
// shown at zoom 1, zoomed to fill a 1920 × 1080 screen, or with the pictures
// across that screen as the projection layout places them, the tick
// followed by Qt's own repaint of what it was asked to; run with
// QT_SCALE_FACTOR=2, it shows them at a display scale of 2.
#include "bench_setup.h"
#include "mainwin/zoom.h"
#include "mainwin/zoom_commands.h"
#include "mainwin/layout.h"
#include "measure/graph_picture.h"
#include "measure/rope_picture.h"
#include "sim/frame_changes.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cmath>

using namespace tolvi;
using namespace tolvi::bench;

namespace {
const WaveSetup kSetups[] = {
    {"default_pulse", 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr},
    {"sine_5Hz_slowest_rope", 2, 1, "5,00", "500", "0,1", "40", "500"},
};

void prepare(Simulation& sim, const WaveSetup& s)
{
    chooseWave(sim, s);
    sim.setMarqueRouge(500);
    sim.setDurationIndex(10);  // 600 s: the graph records for the whole run
    // Choosing a periodic wave starts it; a pulse starts with the button.
    if (!sim.controls().demarRunning)
        sim.demar_Click();
    sim.Command6_Click();
    // The sine fills the whole slow rope (0,45 m/s): every column moves.
    sim.advance(s.frequence ? 20.0 : 2.0);
}

// A tick, with the pulse sent again as it leaves the rope, so that one is
// always on its way, as when a teacher sends pulse after pulse.
void tick(Simulation& sim, int& ticks)
{
    if (sim.state().typeOnde == OndeSolitaire && ++ticks % 40 == 0)
        sim.demar_Click();
    sim.Timer1_Timer();
}

// Scale 1, scale 2, and the full-screen enlargement of 1080 / 600.
double scaleOf(int index)
{
    return index == 0 ? 1.0 : index == 1 ? 2.0 : fittingScale(QSize(1920, 1080), QSize(800, 600));
}

std::string scaleLabel(int index)
{
    return index == 0 ? " scale 1" : index == 1 ? " scale 2" : " plein ecran 1920x1080";
}

void coreShare(benchmark::State& state, const Simulation& sim)
{
    // The share of one core at the wave's own tick rate (20 a second for
    // the pulse, 100 for the 5 Hz sine, whose tick is a twentieth of its
    // period), in per cent, with every tick drawn: the window draws at most
    // one tick per screen frame, so this is what it pays at most.
    const double perSecond = 1000.0 / sim.controls().timerInterval;
    state.counters["ticks_per_second"] = perSecond;
    state.counters["core_percent"] = benchmark::Counter(
        1.0 / (perSecond * 100.0), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The two pictures and their backing stores, as the window paints them: at
// the screen's device pixel ratio, or at one pixel per unit under a painter
// that enlarges (the window zoomed in full screen).
struct Pictures {
    Pictures(Simulation& sim, int scaleIndex)
        : rope(sim), graph(sim), scale(scaleOf(scaleIndex)), view(scaleIndex == 2)
    {
        rope.resize(layout::kAnimpic.size());
        graph.resize(layout::kPicture2.size());
        ropeStore = store(rope.size());
        graphStore = store(graph.size());
    }
    QImage store(QSize size) const
    {
        QImage image(int(std::ceil(size.width() * scale)), int(std::ceil(size.height() * scale)), QImage::Format_RGB32);
        image.setDevicePixelRatio(view ? 1.0 : scale);
        return image;
    }
    void paint(QWidget& widget, QImage& image, const QRegion& region) const
    {
        if (region.isEmpty())
            return;
        QPainter p(&image);
        if (view)
            p.scale(scale, scale);
        widget.render(&p, region.boundingRect().topLeft(), region, QWidget::DrawChildren);
    }

    RopePicture rope;
    GraphPicture graph;
    double scale;
    bool view;
    QImage ropeStore, graphStore;
};

void BM_TickAndRepaint(benchmark::State& state)
{
    const WaveSetup& s = kSetups[state.range(0)];
    BenchSimulation held;
    Simulation& sim = held.sim;
    prepare(sim, s);
    Pictures pictures(sim, int(state.range(1)));
    RopePicture& rope = pictures.rope;
    GraphPicture& graph = pictures.graph;
    // Both pictures whole once, as when the window is shown.
    pictures.paint(rope, pictures.ropeStore, QRegion(rope.rect()));
    pictures.paint(graph, pictures.graphStore, QRegion(graph.rect()));
    RopeFrameKey shown = RopeFrameKey::of(sim.state());
    GraphFollower follower;
    bool all = false;
    follower.changes(sim.graph(), all);
    double ropeArea = 0.0, graphArea = 0.0;
    int ticks = 0;
    for (auto _ : state) {
        tick(sim, ticks);
        // The parts the pictures ask to be repainted (RopePicture and
        // GraphPicture ask for these, offset by the border).
        const QRegion ropeParts = PictureBox::joinedParts(ropeChanges(shown, sim.state())) & rope.rect();
        shown = RopeFrameKey::of(sim.state());
        const QRect graphPart = follower.changes(sim.graph(), all);
        const QRegion graphParts =
            (all ? QRegion(graph.rect()) : QRegion(graphPart.translated(PictureBox::origin()))) & graph.rect();
        pictures.paint(rope, pictures.ropeStore, ropeParts);
        pictures.paint(graph, pictures.graphStore, graphParts);
        for (const QRect& r : ropeParts)
            ropeArea += double(r.width()) * r.height();
        for (const QRect& r : graphParts)
            graphArea += double(r.width()) * r.height();
        benchmark::DoNotOptimize(pictures.ropeStore.constBits());
    }
    state.SetLabel(std::string(s.name) + scaleLabel(int(state.range(1))));
    coreShare(state, sim);
    // How much of each picture a tick repaints, in per cent.
    const double n = double(state.iterations());
    state.counters["rope_percent_repainted"] = 100.0 * ropeArea / n / (rope.width() * rope.height());
    state.counters["graph_percent_repainted"] = 100.0 * graphArea / n / (graph.width() * graph.height());
}
BENCHMARK(BM_TickAndRepaint)->ArgsProduct({{0, 1}, {0, 1, 2}})->Unit(benchmark::kMicrosecond);

// The tick alone, and the tick with both pictures repainted whole (as the
// window did before it repainted only the parts that changed): references
// for the figures above.
void BM_TickOnly(benchmark::State& state)
{
    BenchSimulation held;
    Simulation& sim = held.sim;
    prepare(sim, kSetups[state.range(0)]);
    int ticks = 0;
    for (auto _ : state)
        tick(sim, ticks);
    state.SetLabel(kSetups[state.range(0)].name);
    coreShare(state, sim);
}
BENCHMARK(BM_TickOnly)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_TickAndWholeRepaint(benchmark::State& state)
{
    const WaveSetup& s = kSetups[state.range(0)];
    BenchSimulation held;
    Simulation& sim = held.sim;
    prepare(sim, s);
    Pictures pictures(sim, int(state.range(1)));
    int ticks = 0;
    for (auto _ : state) {
        tick(sim, ticks);
        pictures.paint(pictures.rope, pictures.ropeStore, QRegion(pictures.rope.rect()));
        pictures.paint(pictures.graph, pictures.graphStore, QRegion(pictures.graph.rect()));
        benchmark::DoNotOptimize(pictures.ropeStore.constBits());
    }
    state.SetLabel(std::string(s.name) + scaleLabel(int(state.range(1))));
    coreShare(state, sim);
}
BENCHMARK(BM_TickAndWholeRepaint)->ArgsProduct({{0, 1}, {0, 1, 2}})->Unit(benchmark::kMicrosecond);

// Counts the device pixels a widget repaints.
class PaintCounter : public QObject {
public:
    double pixels = 0.0;
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++paints;
            for (const QRect& r : static_cast<QPaintEvent*>(event)->region())
                pixels += double(r.width()) * r.height();
        }
        return QObject::eventFilter(watched, event);
    }
};

// The real window: both pictures in an 800 × 600 window shown on the
// (offscreen) screen at zoom 1, or a window filling a 1920 × 1080 screen
// with the layout zoomed to fit (1.8) or the pictures across the screen as
// the projection layout places them (zoom 2.4); each tick is followed by the
// repaint Qt makes of what the pictures asked for.
void BM_ShownWindow(benchmark::State& state)
{
    const WaveSetup& s = kSetups[state.range(0)];
    const int how = int(state.range(1));  // 0 window, 1 full screen, 2 projection
    BenchSimulation held;
    Simulation& sim = held.sim;
    prepare(sim, s);
    auto* window = new QWidget;
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->resize(layout::kClient);
    auto* rope = new RopePicture(sim, window);
    rope->setGeometry(layout::kAnimpic);
    auto* graph = new GraphPicture(sim, window);
    graph->setGeometry(layout::kPicture2);
    PaintCounter counter;
    // A 1920 × 1080 screen, in the units of the display scale the bench
    // runs at (QT_SCALE_FACTOR).
    const double ratio = qApp->devicePixelRatio();
    const QSize screen(int(std::lround(1920 / ratio)), int(std::lround(1080 / ratio)));
    if (how == 1) {
        const FullScreenPlan plan = fullScreenPlan(screen);
        zoom::apply(window, plan.zoom, plan.at);
        window->setGeometry(QRect(QPoint(0, 0), screen));
    } else if (how == 2) {
        zoom::apply(window, screen.width() / 800.0, QPointF());
        zoom::place(rope, QRect(5, 4, 790, 110));
        zoom::place(graph, QRect(7, 118, 785, 109));
        window->setGeometry(QRect(QPoint(0, 0), screen));
    }
    window->show();
    rope->installEventFilter(&counter);
    graph->installEventFilter(&counter);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    counter.pixels = 0.0;
    counter.paints = 0;
    int ticks = 0;
    for (auto _ : state) {
        tick(sim, ticks);
        QCoreApplication::processEvents();
    }
    const std::string scale = " scale " + QString::number(ratio).toStdString();
    const char* const names[3] = {" fenetre", " plein ecran 1920x1080", " projection 1920x1080"};
    state.SetLabel(std::string(s.name) + names[how] + scale);
    coreShare(state, sim);
    const double n = double(state.iterations());
    state.counters["paints_per_tick"] = counter.paints / n;
    // Both in units: the paint events count them so.
    const double whole = how ? double(screen.width()) * screen.height() : 800.0 * 600.0;
    state.counters["screen_percent_repainted"] = 100.0 * counter.pixels / n / whole;
    delete window;
}
BENCHMARK(BM_ShownWindow)->ArgsProduct({{0, 1}, {0, 1, 2}})->Unit(benchmark::kMicrosecond);
}  // namespace

int main(int argc, char** argv)
{
    // Every tick drawn, however fast the ticks come here.
    PictureBox::setFrameGap(0);
    return runBenchmarks<QApplication>(argc, argv);
}
