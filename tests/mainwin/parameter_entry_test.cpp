#include "mainwin/param_box.h"
#include "mainwin/perturbation_panel.h"
#include "mainwin/rope_panel.h"
#include "window_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QRadioButton>
#include <QTest>
#include <cmath>

using namespace tolvi;
using tolvi::testing::WindowTest;

namespace {

void leave(ParamBox* box)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(box, &out);
}

void retype(ParamBox* box, const QString& keys)
{
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, keys);
}

}  // namespace

class ParameterEntry : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        window->Form_Load();
    }
    ParamBox* box(int index) const
    {
        if (index == TfMasse || index == TfTension)
            return window->picture3()->textfreq(index);
        return window->frame2()->textfreq(index);
    }
};

TEST_F(ParameterEntry, KeyFilterTakesDigitsAndCommaAndTurnsTheFullStopIntoAComma)
{
    sim.selectOptpert(OndePeriodique);  // the frequency box is usable
    ParamBox* frequence = box(TfFrequence);
    ASSERT_TRUE(frequence->isEnabled());
    retype(frequence, QStringLiteral("3.5"));
    EXPECT_EQ(frequence->text(), QStringLiteral("3,5"));
    EXPECT_EQ(sim.controls().textfreq[TfFrequence], QStringLiteral("3,5"));

    QTest::keyClicks(frequence, QStringLiteral("x -+e "));  // letters, signs and blanks never reach the box
    EXPECT_EQ(frequence->text(), QStringLiteral("3,5"));
    QTest::keyClick(frequence, Qt::Key_Backspace);
    EXPECT_EQ(frequence->text(), QStringLiteral("3,"));
    QTest::keyClicks(frequence, QStringLiteral("5"));
    // Editing keys without a character still work.
    QTest::keyClick(frequence, Qt::Key_Home);
    QTest::keyClick(frequence, Qt::Key_Delete);
    EXPECT_EQ(frequence->text(), QStringLiteral(",5"));
    QTest::keyClicks(frequence, QStringLiteral("3"));

    // Enter validates at once.
    QTest::keyClick(frequence, Qt::Key_Return);
    EXPECT_EQ(frequence->text(), QStringLiteral("3,50"));
    EXPECT_FLOAT_EQ(sim.state().frequence, 3.5f);
}

TEST_F(ParameterEntry, LeavingABoxClampsFormatsAndReadsBack)
{
    ParamBox* amplitude = box(TfAmplitude);
    retype(amplitude, QStringLiteral("75"));
    leave(amplitude);
    EXPECT_EQ(amplitude->text(), QStringLiteral("40"));
    EXPECT_FLOAT_EQ(sim.state().demiAmplitude, 20.0f);

    retype(amplitude, QString());
    EXPECT_EQ(amplitude->text(), QString());
    leave(amplitude);
    EXPECT_EQ(amplitude->text(), QStringLiteral("1"));
    EXPECT_FLOAT_EQ(sim.state().demiAmplitude, 0.5f);

    ParamBox* duree = box(TfDuree);
    retype(duree, QStringLiteral("1000"));
    leave(duree);
    EXPECT_EQ(duree->text(), QStringLiteral("1 000"));
    EXPECT_FLOAT_EQ(sim.state().duree, 1.0f);
    leave(duree);  // the grouped text reads back as the value it shows
    EXPECT_EQ(duree->text(), QStringLiteral("1 000"));
    EXPECT_FLOAT_EQ(sim.state().duree, 1.0f);

    ParamBox* tension = box(TfTension);
    ParamBox* masse = box(TfMasse);
    retype(tension, QStringLiteral("0,04"));
    leave(tension);
    retype(masse, QStringLiteral("1000"));
    leave(masse);
    EXPECT_EQ(tension->text(), QStringLiteral("0,1"));
    EXPECT_EQ(masse->text(), QStringLiteral("500"));
    EXPECT_NEAR(sim.state().celerite, std::sqrt(0.1 / 0.5), 1e-9);

    // A pasted text is not filtered, but validation makes it a number.
    tension->setText(QStringLiteral("abc"));
    sim.setTextfreq(TfTension, tension->text());
    leave(tension);
    EXPECT_EQ(tension->text(), QStringLiteral("0,1"));
}

TEST_F(ParameterEntry, LeavingABoxEmptiesTheRopeAndResumesThePausedAnimation)
{
    sim.demar_Click();
    sim.advance(0.2);
    ASSERT_GT(sim.state().nbDef, 0);
    sim.command16_Click();
    ASSERT_FALSE(window->timer1().isActive());
    leave(box(TfAmplitude));
    EXPECT_EQ(sim.state().nbDef, 0);
    EXPECT_TRUE(window->timer1().isActive());
}

TEST_F(ParameterEntry, WaveChoiceGreysTheEntriesThatDoNotApply)
{
    const QColor white(255, 255, 255), grey(192, 192, 192);
    const auto background = [](ParamBox* b) { return b->palette().color(QPalette::Base); };
    // Start-up selects the solitary wave: no frequency.
    EXPECT_FALSE(box(TfFrequence)->isEnabled());
    EXPECT_EQ(background(box(TfFrequence)), grey);
    EXPECT_TRUE(box(TfDuree)->isEnabled());

    window->frame2()->optpert(OndeSinusoidale)->click();
    EXPECT_EQ(sim.state().typeOnde, OndeSinusoidale);
    EXPECT_TRUE(box(TfFrequence)->isEnabled());
    EXPECT_EQ(background(box(TfFrequence)), white);
    EXPECT_FALSE(box(TfDuree)->isEnabled());
    EXPECT_EQ(background(box(TfDuree)), grey);
    EXPECT_FALSE(window->frame2()->checksi()->isEnabled());
    EXPECT_EQ(window->demar()->text(), QStringLiteral("Arrêter"));

    window->frame2()->optpert(OndePeriodique)->click();
    EXPECT_TRUE(box(TfDuree)->isEnabled());
    EXPECT_EQ(background(box(TfDuree)), white);
    EXPECT_TRUE(window->frame2()->checksi()->isEnabled());

    window->picture3()->optbout(2)->click();
    EXPECT_EQ(sim.state().typeBout, BoutLibre);
    window->frame2()->checksi()->click();
    EXPECT_TRUE(sim.state().symetrique);
}
