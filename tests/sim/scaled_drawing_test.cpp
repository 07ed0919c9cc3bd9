// The rope picture and the time graph drawn at device pixel ratios above 1:
// the same layout and colours as at one device pixel per unit, with real
// detail where the drawing follows the rope and the curves.
#include "platform/messages.h"
#include "platform/random_source.h"
#include "sim/rope_painter.h"
#include "sim/simulation.h"

#include <QPainter>
#include <cmath>
#include <gtest/gtest.h>

using namespace tolvi;

namespace {
const double kScales[] = {1.25, 1.5, 2.0, 3.0};

// The device pixel holding the centre of unit pixel (x, y).
QRgb centre(const QImage& fine, int x, int y, double scale)
{
    return fine.pixel(int(std::floor((x + 0.5) * scale)), int(std::floor((y + 0.5) * scale)));
}

// A 20 cm sine of 1 m wavelength along the whole rope.
SimState sineRope()
{
    SimState s;
    for (int c = 0; c < rope::kColumns; ++c)
        s.deplacement[std::size_t(c)] = 20.0 * std::sin(2.0 * M_PI * (c - rope::kSourceColumn) / 100.0);
    s.marqueBleue = Simulation::kNoMarker;
    s.marqueRouge = Simulation::kNoMarker;
    return s;
}
}  // namespace

TEST(ScaledRope, BackgroundsKeepTheirLayoutAndColoursAtEveryScale)
{
    for (int end : {BoutAmortisseur, BoutFixe, BoutLibre}) {
        SeededRandom random(11);
        const RopeBackdrop backdrop = ropeBackdrop(end, random);
        const QImage unit = paintBackdrop(backdrop);
        SeededRandom again(11);
        EXPECT_EQ(unit, fondi(end, again)) << "the same speckles as fondi throws";
        for (double scale : kScales) {
            const QImage fine = paintBackdrop(backdrop, scale);
            ASSERT_EQ(fine.devicePixelRatio(), scale);
            ASSERT_EQ(fine.deviceIndependentSize().toSize(), unit.size()) << scale;
            int differing = 0;
            for (int y = 0; y < unit.height(); ++y)
                for (int x = 0; x < unit.width(); ++x)
                    differing += centre(fine, x, y, scale) != unit.pixel(x, y);
            EXPECT_EQ(differing, 0) << "end " << end << " at scale " << scale;
        }
    }
}

TEST(ScaledRope, RopeAtRestLiesOnTheSameRowsAndColumns)
{
    SeededRandom random;
    const RopeBackdrop backdrop = ropeBackdrop(BoutLibre, random);
    SimState s;
    s.marqueBleue = Simulation::kNoMarker;
    s.marqueRouge = Simulation::kNoMarker;
    const QImage unit = ropeFrame(paintBackdrop(backdrop), s);
    for (double scale : kScales) {
        const QImage fine = ropeFrame(paintBackdrop(backdrop, scale), s);
        int differing = 0;
        // Right of the ruler's reach: the rope, and the gradient around it.
        for (int y = 40; y < 70; ++y)
            for (int x = rope::kSourceColumn; x < rope::kPictureWidth; ++x)
                differing += centre(fine, x, y, scale) != unit.pixel(x, y);
        EXPECT_EQ(differing, 0) << scale;
    }
}

TEST(ScaledRope, AtScaleTwoTheRopeHasRealDetailNotDoubledPixels)
{
    SeededRandom random;
    const SimState s = sineRope();
    const QImage fine = ropeFrame(paintBackdrop(ropeBackdrop(BoutLibre, random), 2.0), s);
    ASSERT_EQ(fine.size(), QSize(2 * rope::kPictureWidth, 2 * rope::kPictureHeight));
    const QRgb ropeColour = ropecolors::kRope.rgb();
    // Every aligned 2 x 2 block that the rope touches: a picture drawn at one
    // pixel per unit and doubled would have all of them of one colour; here
    // the rope's edges cross many of them.
    int touched = 0;
    int mixed = 0;
    for (int y = 0; y + 1 < fine.height(); y += 2)
        for (int x = 2 * rope::kSourceColumn; x + 1 < 2 * rope::kFarEndColumn; x += 2) {
            const QRgb a = fine.pixel(x, y), b = fine.pixel(x + 1, y), c = fine.pixel(x, y + 1),
                       d = fine.pixel(x + 1, y + 1);
            if (a != ropeColour && b != ropeColour && c != ropeColour && d != ropeColour)
                continue;
            ++touched;
            mixed += !(a == b && a == c && a == d);
        }
    ASSERT_GT(touched, 1400);
    EXPECT_GT(mixed, touched / 3) << mixed << " of " << touched << " blocks hold an edge of the rope";

    // The rope still follows the model: at each column its band holds the
    // column's height.
    for (int c = rope::kSourceColumn + 1; c < rope::kFarEndColumn; c += 7) {
        const double row = rope::kRestRow - s.deplacement[std::size_t(c)];
        EXPECT_EQ(fine.pixel(2 * c, int(std::lround(2 * row))), ropeColour) << c;
        EXPECT_NE(fine.pixel(2 * c, int(std::lround(2 * row)) + 8), ropeColour) << c;
    }
}

namespace {
class ScaledGraph : public ::testing::Test {
protected:
    ScriptedMessages messages;
    SeededRandom random;
    Simulation sim{messages, random};
};
}  // namespace

TEST_F(ScaledGraph, RedrawnPictureEqualsTheOneBuiltTickByTickAndKeepsItsGrid)
{
    sim.setMarqueBleue(150);
    sim.setMarqueRouge(250);
    sim.demar_Click();
    sim.Command6_Click();
    sim.advance(3.0);
    ASSERT_GT(sim.graph().strokes().size(), 50u);
    EXPECT_EQ(sim.graph().render(1.0), sim.graphImage()) << "the strokes replay exactly";

    const QImage unit = sim.graphImage();
    const QRgb grid = qbColor(7).rgb();
    const QRgb axis = qbColor(0).rgb();
    for (double scale : kScales) {
        const QImage fine = sim.graphImage(scale);
        ASSERT_EQ(fine.deviceIndependentSize().toSize(), unit.size()) << scale;
        int gridPixels = 0, misplaced = 0;
        // The grid and the axes inside the frame (the labels sit outside it
        // or on the blank strip under the zero line).
        for (int y = 14; y <= 94; ++y)
            for (int x = 30; x <= 730; ++x) {
                if (y >= 50 && y <= 64)
                    continue;
                const QRgb want = unit.pixel(x, y);
                if (want != grid && want != axis)
                    continue;
                // Where a curve crosses the grid its finer line covers
                // slightly other pixels.
                bool nearCurve = false;
                for (int dy = -2; dy <= 2; ++dy)
                    for (int dx = -2; dx <= 2; ++dx) {
                        const QRgb n = unit.pixel(x + dx, y + dy);
                        nearCurve = nearCurve || n == qbColor(9).rgb() || n == qbColor(12).rgb();
                    }
                if (nearCurve)
                    continue;
                ++gridPixels;
                misplaced += centre(fine, x, y, scale) != want;
            }
        EXPECT_GT(gridPixels, 3000);
        EXPECT_EQ(misplaced, 0) << scale;
        // The curves are drawn at the finer resolution, in their colours.
        int blue = 0;
        for (int y = 0; y < fine.height(); ++y)
            for (int x = 0; x < fine.width(); ++x)
                blue += fine.pixel(x, y) == qbColor(9).rgb();
        int unitBlue = 0;
        for (int y = 0; y < unit.height(); ++y)
            for (int x = 0; x < unit.width(); ++x)
                unitBlue += unit.pixel(x, y) == qbColor(9).rgb();
        EXPECT_GT(blue, unitBlue * scale * scale * 0.6) << scale;
    }
}

TEST_F(ScaledGraph, ANewFrameForgetsTheStrokes)
{
    sim.demar_Click();
    sim.Command6_Click();
    sim.advance(1.0);
    const int generation = sim.graph().generation();
    sim.setDurationIndex(2);
    // Only the new recording's first point: a dot at column 30 per marker.
    ASSERT_EQ(sim.graph().strokes().size(), 2u);
    for (const GraphStroke& stroke : sim.graph().strokes())
        EXPECT_TRUE(stroke.dot && stroke.to.x() == 30.0);
    EXPECT_GT(sim.graph().generation(), generation);
    EXPECT_EQ(sim.graph().render(1.0), sim.graphImage());
}
