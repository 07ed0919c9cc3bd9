#include "mainwin/hover_texts.h"
#include "mainwin/image_button.h"
#include "mainwin/layout.h"
#include "measure/chronometer_controls.h"
#include "measure/graph_picture.h"
#include "measure/readouts.h"
#include "measure/rope_picture.h"
#include "measure/tools_panel.h"
#include "measure/up_down.h"
#include "window_fixture.h"

#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace tolvi;
using tolvi::testing::WindowTest;

TEST(Readouts, MarkerColumnsRoundTiesToEvenAndStayOnTheRope)
{
    EXPECT_FALSE(posMarque(49.5));
    EXPECT_EQ(posMarque(50), 50);
    EXPECT_EQ(posMarque(300.5), 300);
    EXPECT_EQ(posMarque(301.5), 302);
    EXPECT_EQ(posMarque(300.49), 300);
    EXPECT_EQ(posMarque(750), 750);
    EXPECT_FALSE(posMarque(750.5));
    EXPECT_FALSE(posMarque(751));
    EXPECT_FALSE(posMarque(-1e300));
    EXPECT_FALSE(posMarque(std::numeric_limits<double>::quiet_NaN()));
}

TEST(Readouts, PositionTextsOverTheRopeAndTheGraph)
{
    EXPECT_EQ(ropeReadout(300, 42), QStringLiteral("Position du curseur : x = 2,50 m ; u = 0,12 m"));
    EXPECT_EQ(ropeReadout(50, 54), QStringLiteral("Position du curseur : x = 0,00 m ; u = 0,00 m"));
    EXPECT_EQ(ropeReadout(400, 14), QStringLiteral("Position du curseur : x = 3,50 m ; u = 0,40 m"));
    EXPECT_EQ(ropeReadout(750.9, 94), QStringLiteral("Position du curseur : x = 7,01 m ; u = -0,40 m"));
    EXPECT_FALSE(ropeReadout(49.9, 54));
    EXPECT_FALSE(ropeReadout(751, 54));

    EXPECT_EQ(graphReadout(730, 54, 10), QStringLiteral("Position du curseur : t = 10,00 s ; u = 0,00 m"));
    EXPECT_EQ(graphReadout(30, 14, 10), QStringLiteral("Position du curseur : t = 0,00 s ; u = 0,40 m"));
    EXPECT_EQ(graphReadout(100, 64, 600), QStringLiteral("Position du curseur : t = 60,00 s ; u = -0,10 m"));
    EXPECT_EQ(graphReadout(65, 54, 1), QStringLiteral("Position du curseur : t = 0,05 s ; u = 0,00 m"));
    EXPECT_FALSE(graphReadout(731, 54, 10));
    EXPECT_FALSE(graphReadout(29.5, 54, 10));
}

class Measuring : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        window->Form_Load();
        window->animpic()->showMenu = [this](QMenu* menu, const QPoint&) { menusShown << menu; };
    }
    QAction* item(const char* name) const
    {
        return window->animpic()->menupoint()->findChild<QAction*>(QString::fromLatin1(name));
    }
    QList<QMenu*> menusShown;
};

TEST_F(Measuring, MarkerMenuOpensOnTheRopeAndPlacesTheMarkers)
{
    RopePicture* rope = window->animpic();
    const QList<QAction*> actions = rope->menupoint()->actions();
    ASSERT_EQ(actions.size(), 5);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("Marquer en bleu"));
    EXPECT_EQ(actions[1]->text(), QStringLiteral("Marquer en rouge"));
    EXPECT_TRUE(actions[2]->isSeparator());
    EXPECT_EQ(actions[3]->text(), QStringLiteral("Effacer le point bleu"));
    EXPECT_EQ(actions[4]->text(), QStringLiteral("Effacer le point rouge"));

    EXPECT_FALSE(rope->animpic_MouseUp(49.5, 54, {}));
    EXPECT_FALSE(rope->animpic_MouseUp(751, 54, {}));
    EXPECT_TRUE(menusShown.isEmpty());

    EXPECT_TRUE(rope->animpic_MouseUp(300.5, 54, {}));
    EXPECT_EQ(rope->posMarque(), 300);
    EXPECT_TRUE(rope->animpic_MouseUp(301.5, 54, {}));
    EXPECT_EQ(rope->posMarque(), 302);
    item("marqrou")->trigger();
    EXPECT_EQ(sim.state().marqueRouge, 302);

    EXPECT_TRUE(rope->animpic_MouseUp(750, 54, {}));
    item("marqbleu")->trigger();
    EXPECT_EQ(sim.state().marqueBleue, 750);
    EXPECT_EQ(menusShown.size(), 3);

    item("effb")->trigger();
    item("effb")->trigger();  // already absent: stays absent
    EXPECT_EQ(sim.state().marqueBleue, -1);
    item("effr")->trigger();
    EXPECT_EQ(sim.state().marqueRouge, -1);

    // A real release over the picture: its drawing origin is inside the border.
    const QPoint at = QPoint(125, 50) + PictureBox::origin();
    QMouseEvent release(QEvent::MouseButtonRelease, at, rope->mapToGlobal(at), Qt::RightButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(rope, &release);
    EXPECT_EQ(rope->posMarque(), 125);
    EXPECT_EQ(menusShown.size(), 4);
}

TEST_F(Measuring, MarkerMovedWhilePausedRedrawsAtOnce)
{
    sim.command16_Click();  // pause
    ASSERT_FALSE(window->timer1().isActive());
    window->animpic()->animpic_MouseUp(600, 54, {});
    item("marqbleu")->trigger();
    EXPECT_EQ(window->picture1()->labeli(0)->text(), QStringLiteral("5,5 m"));
    const QImage rope = window->animpic()->picture();
    EXPECT_EQ(rope.pixelColor(600, 54), QColor(0, 0, 255));
}

// Coming back to the window (a dialog closed, full screen left) keeps the
// markers' abscissas shown, running or paused.
TEST_F(Measuring, MarkerAbscissasStayShownWhenTheWindowIsActivatedAgain)
{
    for (bool paused : {false, true}) {
        if (paused)
            sim.command16_Click();
        sim.Timer1_Timer();
        window->Form_Activate();
        if (!paused)
            sim.Timer1_Timer();
        QCoreApplication::processEvents();
        EXPECT_EQ(window->picture1()->labeli(0)->text(), QStringLiteral("2,5 m")) << "paused " << paused;
        EXPECT_EQ(window->picture1()->labeli(1)->text(), QStringLiteral("3,75 m")) << "paused " << paused;
    }
}

TEST_F(Measuring, ReadoutsGoToLabel1AndHintsToInfo)
{
    QLabel* label1 = window->label1();
    window->animpic()->animpic_MouseMove(300, 42);
    EXPECT_EQ(label1->text(), QStringLiteral("Position du curseur : x = 2,50 m ; u = 0,12 m"));
    EXPECT_EQ(label1->palette().color(QPalette::WindowText), QColor(255, 255, 255));
    EXPECT_EQ(label1->palette().color(QPalette::Window), QColor(0, 0, 0));
    EXPECT_EQ(window->info(), hover::animpic());
    EXPECT_EQ(window->animpic()->cursor().shape(), Qt::CrossCursor);

    window->animpic()->animpic_MouseMove(760, 42);  // beyond the far end
    EXPECT_TRUE(label1->text().isEmpty());
    EXPECT_EQ(label1->palette().color(QPalette::Window), window->background().pixelColor(158, 168));
    EXPECT_EQ(window->animpic()->cursor().shape(), Qt::ArrowCursor);

    window->picture2()->Picture2_MouseMove(730, 54);
    EXPECT_EQ(label1->text(), QStringLiteral("Position du curseur : t = 10,00 s ; u = 0,00 m"));
    EXPECT_EQ(label1->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    EXPECT_EQ(label1->palette().color(QPalette::Window), QColor(255, 255, 255));
    EXPECT_EQ(window->info(), hover::picture2());
    window->picture2()->Picture2_MouseMove(731, 54);
    EXPECT_TRUE(label1->text().isEmpty());

    // Over the bare window: the general hint again, on two lines.
    window->Form_MouseMove();
    EXPECT_EQ(window->info(), hover::general());
    EXPECT_EQ(window->info().count(QLatin1Char('\n')), 1);
}

TEST_F(Measuring, HoverHintsAndTheCopyConfirmation)
{
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    const auto hover = [](QWidget* w) { QTest::mouseMove(w, QPoint(w->width() / 2, w->height() / 2)); };
    const QString expected[7] = {hover::command2(), hover::command11(), hover::command4(), hover::command10(),
                                 hover::command8(), hover::command7(),  hover::command1()};
    for (int i = 0; i < 7; ++i) {
        hover(window->topButton(i));
        EXPECT_EQ(window->info(), expected[i]) << i;
    }
    hover(window->btexo());
    EXPECT_EQ(window->info(), hover::btexo());

    // After a copy the confirmation stays while the mouse is on "Co&pier".
    window->setInfo(shared.messageCopie);
    hover(window->topButton(2));
    EXPECT_EQ(window->info(), shared.messageCopie);
    hover(window->topButton(3));
    EXPECT_EQ(window->info(), hover::command10());

    window->selectTab(2);
    QTest::mouseMove(window->frame2(), QPoint(380, 80));
    EXPECT_EQ(window->info(), hover::frame2());
    window->selectTab(1);
    QTest::mouseMove(window->picture3(), QPoint(230, 4));  // above the controls
    EXPECT_EQ(window->info(), hover::picture3());
    window->selectTab(3);
    QTest::mouseMove(window->picture1(), QPoint(380, 5));
    EXPECT_EQ(window->info(), hover::picture1());

    QTest::mouseMove(window.get(), QPoint(420, 580));  // bare window
    EXPECT_EQ(window->info(), hover::general());
}

TEST_F(Measuring, TimerFollowsThePauseImageAndTheTickInterval)
{
    QTimer& timer = window->timer1();
    ASSERT_TRUE(timer.isActive());
    window->command16()->clicked();
    EXPECT_FALSE(timer.isActive());
    EXPECT_FALSE(sim.controls().timerEnabled);
    window->command16()->clicked();
    EXPECT_TRUE(timer.isActive());

    // A sine of 5 Hz asks for a tick of 10 ms (a twentieth of the period).
    sim.selectOptpert(OndeSinusoidale);
    sim.setTextfreq(TfFrequence, QStringLiteral("5"));
    sim.Textfreq_LostFocus(TfFrequence);
    sim.Timer1_Timer();
    EXPECT_EQ(timer.interval(), sim.controls().timerInterval);
    EXPECT_EQ(timer.interval(), 10);

    // Validating a box resumes a paused animation.
    sim.command16_Click();
    EXPECT_FALSE(timer.isActive());
    sim.Textfreq_LostFocus(TfAmplitude);
    EXPECT_TRUE(timer.isActive());
}

TEST_F(Measuring, ChronometerAndGraphButtonsMirrorTheirState)
{
    ChronometerControls* chrono = window->chronometer();
    EXPECT_EQ(chrono->command3()->text(), QStringLiteral("Marche"));
    EXPECT_EQ(chrono->label4()->text(), QStringLiteral("0"));
    EXPECT_TRUE(chrono->command5()->isEnabled());

    chrono->command3()->click();
    EXPECT_EQ(chrono->command3()->text(), QStringLiteral("Arrêt"));
    EXPECT_FALSE(chrono->command5()->isEnabled());
    sim.advance(1.5);
    EXPECT_EQ(chrono->label4()->text(), Simulation::chronoText(sim.state().chrono));
    EXPECT_TRUE(chrono->label4()->text().endsWith(QStringLiteral(" s")));
    chrono->command3()->click();
    EXPECT_TRUE(chrono->command5()->isEnabled());
    chrono->command5()->click();
    EXPECT_EQ(chrono->label4()->text(), QStringLiteral("0"));

    EXPECT_EQ(window->command6()->text(), QStringLiteral("Enregistrer"));
    window->command6()->click();
    EXPECT_EQ(window->command6()->text(), QStringLiteral("Arrêter"));
    window->command6()->click();
    EXPECT_EQ(window->command6()->text(), QStringLiteral("Enregistrer"));

    // No marker: the refusal goes through the message seam.
    sim.setMarqueBleue(-1);
    sim.setMarqueRouge(-1);
    window->command6()->click();
    ASSERT_EQ(messages.asked().size(), 1u);
    EXPECT_EQ(messages.asked()[0].title, QStringLiteral("Commande impossible"));
    EXPECT_EQ(window->command6()->text(), QStringLiteral("Enregistrer"));
}

TEST_F(Measuring, UpDownStepsTheRecordingDuration)
{
    ToolsPanel* tools = window->picture1();
    UpDown* upDown = tools->upDown1();
    EXPECT_EQ(upDown->value(), 4);
    upDown->stepUp();
    EXPECT_EQ(sim.durationIndex(), 5);
    EXPECT_EQ(tools->labelg()->text(), QStringLiteral("20 s"));
    upDown->setValue(10);
    EXPECT_EQ(tools->labelg()->text(), QStringLiteral("10 min"));
    upDown->stepUp();  // no further than ten minutes
    EXPECT_EQ(sim.durationIndex(), 10);
    upDown->setValue(1);
    upDown->stepDown();
    EXPECT_EQ(sim.durationIndex(), 1);
    EXPECT_EQ(tools->labelg()->text(), QStringLiteral("1 s"));

    // The upper half of the control steps up, the lower half down.
    QTest::mouseClick(upDown, Qt::LeftButton, {}, QPoint(8, 3));
    EXPECT_EQ(sim.durationIndex(), 2);
    QTest::mouseClick(upDown, Qt::LeftButton, {}, QPoint(8, 14));
    EXPECT_EQ(sim.durationIndex(), 1);
}
