// The parts of the pictures a tick changes: every device pixel that differs
// between two frames lies inside them, at every resolution, and a still
// rope asks for nothing.
#include "platform/random_source.h"
#include "sim/frame_changes.h"
#include "sim/rope_painter.h"
#include "rope_images.h"

#include <QGuiApplication>
#include <QPainter>
#include <gtest/gtest.h>
#include <cmath>
#include <limits>
#include <random>

using namespace tolvi;

namespace {
// The frame of `s` drawn as the window draws it: at `scale` device pixels
// per unit, or (`enlarged`) at one pixel per unit under a painter that
// enlarges, as the full-screen view does.
QImage frame(const QImage& background, const SimState& s, double scale, bool enlarged)
{
    return tolvi::testing::ropeImageAt(scale, enlarged, [&](QPainter& p) { deppoint(p, background, s); });
}

// The device pixels that differ between a and b and lie outside `parts`
// (drawing units, `scale` device pixels each).
int pixelsOutside(const QImage& a, const QImage& b, const std::vector<QRect>& parts, double scale)
{
    int outside = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) == b.pixel(x, y))
                continue;
            const QPointF unit((x + 0.5) / scale, (y + 0.5) / scale);
            const bool inside = std::any_of(parts.begin(), parts.end(),
                                            [&](const QRect& r) { return QRectF(r).contains(unit); });
            outside += !inside;
        }
    return outside;
}

SimState wave(std::mt19937& gen, int trial)
{
    SimState s;
    std::uniform_real_distribution<double> amplitude(-45.0, 45.0), number(0.002, 1.6);
    const double a = amplitude(gen), k = number(gen);
    for (int c = 0; c < rope::kColumns; ++c)
        // Every third rope still outside a short stretch, as under a pulse.
        s.deplacement[std::size_t(c)] = trial % 3 == 0 && (c < 280 || c > 420) ? 0.0 : a * std::sin(k * c + trial);
    s.marqueBleue = std::int16_t(trial % 2 ? 50 + 17 * trial : -1);
    s.marqueRouge = std::int16_t(500);
    return s;
}
}  // namespace

TEST(RopeChanges, EveryChangedPixelLiesInThePartsAtEveryResolution)
{
    SeededRandom random;
    const RopeBackdrop backdrop = ropeBackdrop(BoutFixe, random);
    std::mt19937 gen(14);
    for (const double scale : {1.0, 1.25, 1.5, 1.8, 2.0, 3.0}) {
        const QImage background = paintBackdrop(backdrop, scale);
        for (int trial = 0; trial < 8; ++trial) {
            const SimState before = wave(gen, trial);
            SimState now = before;
            // Next frame: the wave moved on, a marker moved (or not).
            std::uniform_real_distribution<double> step(-6.0, 6.0);
            for (int c = trial; c < rope::kColumns; c += 1 + trial % 4)
                now.deplacement[std::size_t(c)] += step(gen);
            if (trial % 4 == 1)
                now.marqueBleue = std::int16_t(now.marqueBleue + 40);
            const std::vector<QRect> parts = ropeChanges(RopeFrameKey::of(before), now);
            ASSERT_FALSE(parts.empty());
            for (const bool enlarged : {false, true}) {
                if (enlarged && scale == 1.0)
                    continue;
                const QImage a = frame(background, before, scale, enlarged);
                const QImage b = frame(background, now, scale, enlarged);
                EXPECT_EQ(pixelsOutside(a, b, parts, scale), 0) << scale << " " << enlarged << " " << trial;
            }
        }
    }
}

TEST(RopeChanges, AStillRopeAsksForNothingAndOneMovedColumnForLittle)
{
    SimState s;
    for (int c = 0; c < rope::kColumns; ++c)
        s.deplacement[std::size_t(c)] = 10.0 * std::sin(c / 30.0);
    s.marqueRouge = 400;
    EXPECT_TRUE(ropeChanges(RopeFrameKey::of(s), s).empty());

    SimState moved = s;
    moved.deplacement[600] += 3.0;
    const std::vector<QRect> parts = ropeChanges(RopeFrameKey::of(s), moved);
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_TRUE(parts[0].contains(QPoint(600, int(rope::kRestRow - moved.deplacement[600]))));
    EXPECT_LT(parts[0].width(), 10);
    EXPECT_LT(parts[0].height(), 30);

    // A marker taken off: its dot goes, at its old place.
    SimState unmarked = s;
    unmarked.marqueRouge = -1;
    const std::vector<QRect> dot = ropeChanges(RopeFrameKey::of(s), unmarked);
    ASSERT_EQ(dot.size(), 1u);
    EXPECT_TRUE(dot[0].contains(QRect(399, int(std::lround(rope::kRestRow - s.deplacement[400])) - 1, 3, 3)));

    // The source moved: the ruler's part reaches the left edge.
    SimState source = s;
    source.deplacement[rope::kSourceColumn] = 20.0;
    const std::vector<QRect> ruler = ropeChanges(RopeFrameKey::of(s), source);
    EXPECT_TRUE(std::any_of(ruler.begin(), ruler.end(), [](const QRect& r) { return r.contains(QPoint(0, 54)); }));
}

TEST(RopeChanges, ValuesOffThePictureOrNotNumbersGiveWholeColumnsNotOverflows)
{
    SimState s;
    SimState wild = s;
    wild.deplacement[300] = std::numeric_limits<double>::quiet_NaN();
    wild.deplacement[500] = 1e300;
    wild.deplacement[600] = -std::numeric_limits<double>::infinity();
    const std::vector<QRect> parts = ropeChanges(RopeFrameKey::of(s), wild);
    // Not a number: the whole height; far above or below: from the rest
    // row to the picture's edge.
    const struct {
        int column, top, bottom;
    } expected[] = {{300, 0, rope::kPictureHeight}, {500, 0, rope::kRestRow}, {600, rope::kRestRow, rope::kPictureHeight}};
    for (const auto& e : expected) {
        const bool covered = std::any_of(parts.begin(), parts.end(), [&](const QRect& r) {
            return r.left() <= e.column && r.right() >= e.column && r.top() <= e.top && r.bottom() >= e.bottom;
        });
        EXPECT_TRUE(covered) << e.column;
    }
    // A NaN stays "changed" against itself: it is always repainted.
    EXPECT_FALSE(ropeChanges(RopeFrameKey::of(wild), wild).empty());
}

TEST(GraphChanges, NewStrokesAskForTheirOwnPartAndANewFrameForAll)
{
    GraphRecording graph;
    graph.prepare(10);
    GraphFollower follower;
    bool all = false;
    follower.changes(graph, all);
    EXPECT_TRUE(all);  // the first time

    graph.plotDot(30, 50, false);
    graph.plotLine(30, 50, 37, 40, false);
    graph.plotLine(30, 60, 37, 70, true);
    const QRect part = follower.changes(graph, all);
    EXPECT_FALSE(all);
    // Every pixel the strokes drew lies inside the part.
    const QImage drawn = graph.image();
    GraphRecording frameOnly;
    frameOnly.prepare(10);
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            if (drawn.pixel(x, y) != frameOnly.image().pixel(x, y)) {
                EXPECT_TRUE(part.contains(x, y)) << x << "," << y;
            }
    EXPECT_LT(part.width() * part.height(), 20 * 40);

    EXPECT_TRUE(follower.changes(graph, all).isEmpty());
    EXPECT_FALSE(all);
    graph.prepare(10);
    follower.changes(graph, all);
    EXPECT_TRUE(all);
}
