// The window's rope picture, kept from frame to frame and written again only
// where the rope moved, shows exactly what a frame drawn afresh shows: at
// every resolution, for waves of every steepness, across a change of
// background and for places far off the picture or no number at all.
#include "platform/random_source.h"
#include "sim/rope_canvas.h"
#include "sim/rope_painter.h"
#include "rope_images.h"

#include <QPainter>
#include <gtest/gtest.h>
#include <cmath>
#include <limits>
#include <random>

using namespace tolvi;

namespace {
using tolvi::testing::ropeImageAt;

// A frame of a wave moving along the rope: steep and short, or long and
// gentle, or a pulse on a still rope.
SimState frameOf(int kind, int tick)
{
    SimState s;
    for (int c = rope::kSourceColumn; c < rope::kColumns; ++c) {
        const double x = c - rope::kSourceColumn - 3.0 * tick;
        double d = 0.0;
        if (kind == 0)
            d = 40.0 * std::sin(2.0 * M_PI * x / 9.0);  // 9 cm waves: every segment steep
        else if (kind == 1)
            d = 15.0 * std::sin(2.0 * M_PI * x / 120.0);
        else if (x < 0 && x > -60)
            d = 30.0 * std::sin(M_PI * -x / 60.0);
        s.deplacement[std::size_t(c)] = d;
    }
    s.deplacement[rope::kSourceColumn] = 10.0 * std::sin(tick / 3.0);
    s.marqueBleue = std::int16_t(tick % 2 ? 120 + 7 * tick : -1);
    s.marqueRouge = 500;
    return s;
}
}  // namespace

TEST(RopeCanvas, FrameAfterFrameShowsWhatAFrameDrawnAfreshShows)
{
    SeededRandom random;
    const RopeBackdrop backdrop = ropeBackdrop(BoutAmortisseur, random);
    for (const double scale : {1.0, 1.25, 1.5, 1.8, 2.0, 3.0})
        for (const bool enlarged : {false, true}) {
            if (enlarged && scale == 1.0)
                continue;
            const QImage background = paintBackdrop(backdrop, scale);
            RopeCanvas canvas;
            int tick = 0;
            for (const int kind : {0, 1, 2, 0})
                for (int i = 0; i < 4; ++i, ++tick) {
                    const SimState s = frameOf(kind, tick);
                    const QImage kept = ropeImageAt(scale, enlarged, [&](QPainter& p) { canvas.paint(p, background, s); });
                    const QImage afresh = ropeImageAt(scale, enlarged, [&](QPainter& p) { deppoint(p, background, s); });
                    ASSERT_EQ(kept, afresh) << "scale " << scale << (enlarged ? " enlarged" : "") << ", tick " << tick;
                }
        }
}

TEST(RopeCanvas, APartialRepaintMatchesTheWholeFrameInsideItsPart)
{
    SeededRandom random;
    const QImage background = paintBackdrop(ropeBackdrop(BoutFixe, random), 2.0);
    RopeCanvas canvas;
    const SimState first = frameOf(1, 0);
    ropeImageAt(2.0, false, [&](QPainter& p) { canvas.paint(p, background, first); });
    // The next frame painted only inside a part, over the old frame, as a
    // window repaints what a tick changed.
    const SimState next = frameOf(1, 1);
    const QRect part(300, 20, 120, 50);
    QImage partly = ropeImageAt(2.0, false, [&](QPainter& p) { deppoint(p, background, first); });
    {
        QPainter p(&partly);
        p.setClipRect(part);
        canvas.paint(p, background, next, part);
    }
    const QImage afresh = ropeImageAt(2.0, false, [&](QPainter& p) { deppoint(p, background, next); });
    const QImage before = ropeImageAt(2.0, false, [&](QPainter& p) { deppoint(p, background, first); });
    const QRect device(part.topLeft() * 2, part.size() * 2);
    EXPECT_EQ(partly.copy(device), afresh.copy(device));
    // Outside the part, the old frame is left as it was.
    EXPECT_EQ(partly.copy(0, 0, device.left(), partly.height()), before.copy(0, 0, device.left(), before.height()));
}

TEST(RopeCanvas, ANewBackgroundStartsTheFrameAgain)
{
    SeededRandom random;
    const QImage damper = paintBackdrop(ropeBackdrop(BoutAmortisseur, random), 1.5);
    const QImage fixed = paintBackdrop(ropeBackdrop(BoutFixe, random), 1.5);
    const QImage fine = paintBackdrop(ropeBackdrop(BoutFixe, random), 3.0);
    RopeCanvas canvas;
    const SimState s = frameOf(0, 2);
    ropeImageAt(1.5, false, [&](QPainter& p) { canvas.paint(p, damper, s); });
    // The same rope, a new far end: nothing of the damper may stay.
    EXPECT_EQ(ropeImageAt(1.5, false, [&](QPainter& p) { canvas.paint(p, fixed, s); }),
              ropeImageAt(1.5, false, [&](QPainter& p) { deppoint(p, fixed, s); }));
    // Another resolution (the window moved to another screen).
    EXPECT_EQ(ropeImageAt(3.0, false, [&](QPainter& p) { canvas.paint(p, fine, s); }),
              ropeImageAt(3.0, false, [&](QPainter& p) { deppoint(p, fine, s); }));
}

TEST(RopeCanvas, PlacesOffThePictureOrNotNumbersNeitherOverflowNorStay)
{
    SeededRandom random;
    const QImage background = paintBackdrop(ropeBackdrop(BoutLibre, random), 2.0);
    RopeCanvas canvas;
    SimState wild = frameOf(1, 0);
    wild.deplacement[200] = std::numeric_limits<double>::quiet_NaN();
    wild.deplacement[300] = 1e300;
    wild.deplacement[400] = -std::numeric_limits<double>::infinity();
    wild.deplacement[500] = std::numeric_limits<double>::max();
    for (const SimState& s : {frameOf(1, 0), wild, frameOf(1, 1)}) {
        const QImage kept = ropeImageAt(2.0, false, [&](QPainter& p) { canvas.paint(p, background, s); });
        EXPECT_EQ(kept, ropeImageAt(2.0, false, [&](QPainter& p) { deppoint(p, background, s); }));
    }
    // The wild places drew whole columns of rope, and the next frame took
    // them all away again: what is kept is the plain wave's frame.
    RopeCanvas fresh;
    ropeImageAt(2.0, false, [&](QPainter& p) { fresh.paint(p, background, frameOf(1, 1)); });
    EXPECT_EQ(canvas.frame(), fresh.frame());
}
