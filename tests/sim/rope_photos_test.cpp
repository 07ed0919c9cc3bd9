// Photographs of the rope: the shape at an instant kept as a ghost in the
// rope picture with its time, three at most in distinct styles, in the rope
// CSV as columns of their own.
#include "platform/messages.h"
#include "platform/random_source.h"
#include "sim/rope_photos.h"
#include "sim/rope_profile.h"
#include "sim/simulation.h"

#include <QPainter>
#include <gtest/gtest.h>
#include <set>

using namespace tolvi;

namespace {
// The solitary wave, as the window starts with.
struct Experiment {
    Experiment() { sim.selectOptpert(0); }
    ScriptedMessages messages;
    SeededRandom random;
    Simulation sim{messages, random};
};

int differing(const QImage& a, const QImage& b, const QRect& area)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int r = area.top(); r <= area.bottom(); ++r)
        for (int c = area.left(); c <= area.right(); ++c)
            n += x.pixel(c, r) != y.pixel(c, r);
    return n;
}
}  // namespace

TEST(RopePhotos, AGhostOfThePulseStaysInThePictureWithItsTimeAndGoesWhenCleared)
{
    Experiment e;
    Simulation& sim = e.sim;
    sim.demar_Click();  // a 20 cm pulse of 0,5 s at 2 m/s
    sim.advance(1.5);
    // Simulated time since « Démarrer », whole ticks of 50 ms.
    EXPECT_NEAR(sim.waveSeconds(), 1.5, 1e-9);
    EXPECT_EQ(photoLabel(sim.waveSeconds()), QStringLiteral("t = 1,50 s"));
    const SimState at = sim.state();
    const QImage without = sim.ropeImage();
    sim.photograph();
    ASSERT_EQ(sim.photos().size(), 1u);
    EXPECT_EQ(sim.photos()[0].deplacement, at.deplacement);
    EXPECT_DOUBLE_EQ(sim.photos()[0].seconds, 1.5);
    // The live rope has not moved: only the ghost and its label differ, and
    // the ghost lies where the pulse is (its crest 1 m to 3 m from the
    // source at 1,5 s: front at 3 m, back at 2 m).
    const QImage with = sim.ropeImage();
    ASSERT_EQ(with.size(), without.size());
    EXPECT_GT(differing(with, without, QRect(60, 0, 100, 16)), 20) << "the label « t = 1,50 s »";
    int crest = 0;
    for (int c = 250; c <= 350; ++c)
        for (int r = 0; r < 54 - 5; ++r)
            crest += with.pixel(c, r) != without.pixel(c, r);
    EXPECT_GT(crest, 20) << "the ghost over the pulse's crest";
    // Where the rope is flat the ghost lies under the live rope: at most its
    // soft edges show along the rope.
    EXPECT_EQ(differing(with, without, QRect(500, 16, 200, 35)), 0);
    EXPECT_EQ(differing(with, without, QRect(500, 58, 200, 40)), 0);

    // The pulse moves on; the ghost stays where it was taken.
    sim.advance(1.0);
    const QImage later = sim.ropeImage();
    int kept = 0;
    for (int c = 250; c <= 350; ++c)
        for (int r = 0; r < 54 - 5; ++r)
            kept += later.pixel(c, r) == with.pixel(c, r) && with.pixel(c, r) != without.pixel(c, r);
    EXPECT_GT(kept, crest / 2);

    // Finer pictures (a zoomed window, printing) draw the ghost too.
    sim.clearPhotos();
    EXPECT_TRUE(sim.photos().empty());
    const QImage fineWithout = sim.ropeImage(2.0);
    sim.photograph();
    EXPECT_GT(differing(sim.ropeImage(2.0), fineWithout, QRect(QPoint(0, 0), fineWithout.size() - QSize(1, 1))), 50);
    sim.clearPhotos();
    EXPECT_EQ(differing(sim.ropeImage(2.0), fineWithout, QRect(QPoint(0, 0), fineWithout.size() - QSize(1, 1))), 0);
}

TEST(RopePhotos, ThreeAtMostInDistinctStylesTheOldestMakingRoom)
{
    Experiment e;
    Simulation& sim = e.sim;
    sim.demar_Click();
    for (int i = 1; i <= 4; ++i) {
        sim.advance(0.5);
        sim.photograph();
    }
    ASSERT_EQ(int(sim.photos().size()), kMostPhotos);
    std::set<int> styles;
    for (const RopePhoto& p : sim.photos())
        styles.insert(p.style);
    EXPECT_EQ(int(styles.size()), kMostPhotos);
    // The first (0,5 s) made room for the fourth (2 s).
    EXPECT_NEAR(sim.photos().front().seconds, 1.0, 1e-9);
    EXPECT_NEAR(sim.photos().back().seconds, 2.0, 1e-9);
    std::set<QRgb> colours;
    for (int s = 0; s < kMostPhotos; ++s)
        colours.insert(photoColour(s).rgb());
    EXPECT_EQ(int(colours.size()), kMostPhotos);
    // A new pulse starts the clock again.
    sim.advance(3.0);
    sim.demar_Click();
    EXPECT_DOUBLE_EQ(sim.waveSeconds(), 0.0);
}

TEST(RopePhotos, TheRopeCsvGetsAColumnPerPhotographAndIsUnchangedWithout)
{
    Experiment e;
    Simulation& sim = e.sim;
    sim.demar_Click();
    sim.advance(1.0);
    EXPECT_EQ(ropeCsvWithPhotos(sim.state(), sim.photos()), ropeCsv(sim.state()));
    EXPECT_EQ(ropeCsvWithPhotos(sim.state(), sim.photos(), QLatin1Char('\t')), ropeCsv(sim.state(), QLatin1Char('\t')));
    sim.photograph();
    const SimState first = sim.state();
    sim.advance(0.5);
    sim.photograph();
    sim.advance(0.25);
    const QStringList lines = ropeCsvWithPhotos(sim.state(), sim.photos()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1 + 701);
    EXPECT_EQ(lines[0], QStringLiteral("x (m);u (cm);u à t = 1,00 s (cm);u à t = 1,50 s (cm)"));
    // At 1,5 m: the live rope, then each photograph's value there.
    const QStringList row = lines[1 + 150].split(QLatin1Char(';'));
    ASSERT_EQ(row.size(), 4);
    EXPECT_EQ(row[0], QStringLiteral("1,50"));
    const QStringList plain = ropeCsv(sim.state()).split(QLatin1Char('\n'))[1 + 150].split(QLatin1Char(';'));
    EXPECT_EQ(row[1], plain[1]);
    const QStringList taken = ropeCsv(first).split(QLatin1Char('\n'))[1 + 150].split(QLatin1Char(';'));
    EXPECT_EQ(row[2], taken[1]);
    // The pulse at 1 s: 20 cm high somewhere on the first 2 m.
    double highest = 0.0;
    for (int c = 50; c <= 250; ++c)
        highest = std::max(highest, sim.photos()[0].deplacement[std::size_t(c)]);
    EXPECT_NEAR(highest, 20.0, 0.5);
}
