// The rope picture: gradient, rope, markers, ruler and far-end devices,
// checked pixel by pixel against the drawing rules.
#include "platform/random_source.h"
#include "sim/propagation.h"
#include "sim/rope_painter.h"
#include "text/french_numbers.h"

#include <gtest/gtest.h>

using namespace tolvi;

namespace {
QColor at(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y);
}
int countColour(const QImage& image, QRect area, QColor colour)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += image.pixelColor(x, y) == colour;
    return n;
}
}  // namespace

TEST(Fondi, GradientDarkensFromGreyishBlueToBlack)
{
    SeededRandom random;
    const QImage bg = fondi(BoutLibre, random);
    ASSERT_EQ(bg.size(), QSize(786, 106));
    EXPECT_EQ(at(bg, 0, 0), QColor(105, 130, 155));
    for (int row : {1, 53, 77, 105}) {
        const double s = 106;
        const QColor want(int(roundEven(105 - 105 * row / s)), int(roundEven(130 - 130 * row / s)),
                          int(roundEven(155 - 155 * row / s)));
        EXPECT_EQ(at(bg, 400, row), want) << row;
        EXPECT_EQ(at(bg, 785, row), want) << row;
    }
}

TEST(Fondi, FarEndDevices)
{
    SeededRandom random;
    const QImage free = fondi(BoutLibre, random);
    const QImage damper = fondi(BoutAmortisseur, random);
    const QImage fixed = fondi(BoutFixe, random);
    const QRect block(750, 0, 36, 106);
    // The damper: white speckles with grey shadows, only in its block.
    EXPECT_EQ(countColour(free, block, Qt::white), 0);
    const int whites = countColour(damper, block, Qt::white);
    EXPECT_GT(whites, 700);  // 1200 draws; grey shadows cover some
    EXPECT_LE(whites, 1200);
    EXPECT_GT(countColour(damper, block, qbColor(7)), 600);
    EXPECT_EQ(countColour(damper, QRect(0, 0, 749, 106), Qt::white), 0);
    // The clamp: white bar, grey and dark grey lines, black outline.
    EXPECT_EQ(at(fixed, 770, 52), QColor(Qt::white));
    EXPECT_EQ(at(fixed, 770, 53), QColor(Qt::white));
    EXPECT_EQ(at(fixed, 770, 55), qbColor(7));
    EXPECT_EQ(at(fixed, 770, 56), qbColor(8));
    EXPECT_EQ(at(fixed, 770, 51), qbColor(0));
    EXPECT_EQ(at(fixed, 770, 57), qbColor(0));
    EXPECT_EQ(at(fixed, 751, 54), qbColor(0));
    EXPECT_EQ(at(fixed, 785, 54), qbColor(0));
    EXPECT_EQ(at(fixed, 770, 58), at(free, 770, 58));  // gradient below
    // Seeded speckles are repeatable.
    SeededRandom a(7), b(7);
    EXPECT_EQ(fondi(BoutAmortisseur, a), fondi(BoutAmortisseur, b));
}

TEST(Deppoint, RopeAtRestWithMarkersAndHorizontalRuler)
{
    SeededRandom random;
    const QImage bg = fondi(BoutLibre, random);
    SimState s;  // markers at 300 and 425
    const QImage frame = ropeFrame(bg, s);
    for (int col : {51, 200, 298, 600, 749})
        EXPECT_EQ(at(frame, col, 54), ropecolors::kRope) << col;
    EXPECT_EQ(at(frame, 200, 50), at(bg, 200, 50));  // nothing above the rope
    EXPECT_EQ(at(frame, 300, 54), qbColor(9));
    EXPECT_EQ(at(frame, 425, 54), qbColor(12));
    EXPECT_EQ(at(frame, 301, 55), qbColor(9));  // a 3-pixel dot
    // The ruler: highlight above, body, shadow below, across columns 0 to 50.
    for (int col : {2, 25, 45}) {
        EXPECT_EQ(at(frame, col, 52), ropecolors::kRulerHighlight) << col;
        EXPECT_EQ(at(frame, col, 54), ropecolors::kRulerBody) << col;
        EXPECT_EQ(at(frame, col, 55), ropecolors::kRulerShadow) << col;
    }
    // Without markers there are no dots.
    s.marqueBleue = s.marqueRouge = -1;
    const QImage bare = ropeFrame(bg, s);
    EXPECT_EQ(at(bare, 300, 54), ropecolors::kRope);
}

TEST(Deppoint, RulerTiltsWithTheSourceAndTheRopeFollowsDisplacement)
{
    SeededRandom random;
    const QImage bg = fondi(BoutAmortisseur, random);
    SimState s;
    s.marqueBleue = s.marqueRouge = -1;
    s.deplacement[50] = 20;
    for (int c = 380; c <= 420; ++c)
        s.deplacement[c] = -30;
    const QImage frame = ropeFrame(bg, s);
    // The tip of the ruler body is 20 pixels above row 54 at the source.
    EXPECT_EQ(at(frame, 49, 34), ropecolors::kRulerBody);
    EXPECT_EQ(at(frame, 0, 54), ropecolors::kRulerBody);
    // Half way the bar is 10 pixels up.
    EXPECT_EQ(at(frame, 25, 44), ropecolors::kRulerBody);
    // The rope dips to row 84 at column 400.
    EXPECT_EQ(at(frame, 400, 84), ropecolors::kRope);
    EXPECT_NE(at(frame, 400, 54), ropecolors::kRope);
}
