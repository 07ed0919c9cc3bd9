// The real rope's controls in the tab « Corde », « À la main » in the tab
// « Onde », and the hand on the red ruler, as a user works them.
#include "mainwin/real_rope_controls.h"
#include "measure/rope_picture.h"
#include "window_fixture.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace tolvi;
using tolvi::testing::WindowTest;

TEST_F(WindowTest, RealRopeControlsDriveTheModelAndFollowIt)
{
    window->selectTab(1);
    RealRopeControls* controls = window->picture3()->realRope();
    QCheckBox* box = controls->cordeReelle();
    EXPECT_EQ(box->text(), QStringLiteral("Corde &réelle : réflexions aux deux extrémités"));
    EXPECT_EQ(box->accessibleName(), QStringLiteral("Corde réelle : réflexions aux deux extrémités"));
    EXPECT_FALSE(box->toolTip().isEmpty());
    EXPECT_FALSE(box->isChecked());
    EXPECT_FALSE(controls->amortissement()->isEnabled()) << "the damping belongs to the real rope";
    EXPECT_EQ(controls->amortissement()->text(), QStringLiteral("1,0\u00a0% par m"));

    // Space on the focused box checks it, as a click would.
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_TRUE(sim.cordeReelle());
    EXPECT_TRUE(controls->amortissement()->isEnabled());
    controls->amortissement()->setValue(2.5);
    EXPECT_EQ(sim.amortissement(), 2.5);
    controls->amortissement()->setValue(80.0);
    EXPECT_EQ(sim.amortissement(), 50.0);

    // « Pincer la corde » at the point shown: the fixed end, the triangle.
    controls->pointPince()->setValue(2.0);
    controls->pincer()->click();
    EXPECT_EQ(sim.state().typeBout, BoutFixe);
    EXPECT_TRUE(window->picture3()->optbout(BoutFixe)->isChecked());
    EXPECT_NEAR(sim.state().deplacement[250], 20.0, 1e-6);

    // Changed from elsewhere (the batch line), the box follows.
    sim.setCordeReelle(false);
    EXPECT_FALSE(box->isChecked());
    EXPECT_FALSE(controls->amortissement()->isEnabled());
}

TEST_F(WindowTest, TheHandTakesTheRulerWithTheMouseOrTheArrowsWithinItsReach)
{
    QCheckBox* hand = window->frame2()->aLaMain();
    EXPECT_EQ(hand->accessibleName(), QStringLiteral("À la main : la source suit la main"));
    RopePicture* rope = window->animpic();
    // Without the hand, Up is not the ruler's.
    rope->handPress(20, 30);
    EXPECT_EQ(sim.positionMain(), 0.0);

    hand->click();
    ASSERT_TRUE(sim.aLaMain());
    // Taken on the ruler and dragged up to row 24: 30 cm.
    EXPECT_TRUE(rope->handPress(20, 50));
    rope->handMove(24);
    EXPECT_EQ(sim.positionMain(), 30.0);
    sim.Timer1_Timer();
    EXPECT_EQ(sim.state().deplacement[50], 30.0);
    rope->handMove(-100);  // beyond the reach
    EXPECT_EQ(sim.positionMain(), 40.0);
    rope->handRelease();
    rope->handMove(54);
    EXPECT_EQ(sim.positionMain(), 40.0) << "let go, the ruler stays";
    EXPECT_FALSE(rope->handPress(300, 54)) << "the rope is not the ruler";

    rope->setFocus();
    QTest::keyClick(rope, Qt::Key_Down);
    EXPECT_EQ(sim.positionMain(), 39.0);
    QTest::keyClick(rope, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(sim.positionMain(), 34.0);
    QTest::keyClick(rope, Qt::Key_Up);
    EXPECT_EQ(sim.positionMain(), 35.0);
}
