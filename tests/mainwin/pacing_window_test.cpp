// "Pas à pas" and "Ralenti" in the main window: where they stand, their
// texts and keys, and the timer they pace.
#include "mainwin/image_button.h"
#include "mainwin/layout.h"
#include "mainwin/pacing_controls.h"
#include "window_fixture.h"

#include <QLabel>
#include <QShortcut>
#include <QTextEdit>
#include <QTest>

using namespace tolvi;
using tolvi::testing::WindowTest;

namespace {
class Pacing_ : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        window->Form_Load();
    }
    PacingControls& pacing() { return *window->pacing(); }
};
}  // namespace

TEST_F(Pacing_, ButtonsStandBesideThePauseOnTheBareBackground)
{
    ImageButton* pas = pacing().pasAPas();
    ImageButton* ralenti = pacing().ralenti();
    EXPECT_EQ(pas->parentWidget(), window.get());
    EXPECT_EQ(pas->geometry(), layout::kPasAPas);
    EXPECT_EQ(ralenti->geometry(), layout::kRalenti);
    // Same row and size as the pause image, on its right, before Label1.
    EXPECT_EQ(pas->geometry().top(), layout::kCommand16.top());
    EXPECT_EQ(pas->size(), layout::kCommand16.size());
    EXPECT_GT(pas->geometry().left(), layout::kCommand16.right());
    EXPECT_GT(ralenti->geometry().left(), pas->geometry().right());
    EXPECT_LT(ralenti->geometry().right(), layout::kLabel1.left());
    // They cover no other control of the window.
    for (QWidget* other : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (other == pas || other == ralenti || !other->isVisibleTo(window.get()))
            continue;
        EXPECT_FALSE(other->geometry().intersects(pas->geometry())) << other->objectName().toStdString();
        EXPECT_FALSE(other->geometry().intersects(ralenti->geometry())) << other->objectName().toStdString();
    }
}

TEST_F(Pacing_, FrenchTextsForTheMouseAndTheScreenReader)
{
    ImageButton* pas = pacing().pasAPas();
    ImageButton* ralenti = pacing().ralenti();
    EXPECT_EQ(pas->toolTip(), QStringLiteral("Pas à pas (F6)"));
    EXPECT_EQ(pas->accessibleName(), QStringLiteral("Pas à pas"));
    EXPECT_EQ(ralenti->accessibleName(), QStringLiteral("Ralenti"));
    EXPECT_TRUE(ralenti->accessibleDescription().endsWith(QStringLiteral("Vitesse choisie : temps réel.")));
    EXPECT_EQ(ralenti->toolTip(), QStringLiteral("Ralenti : temps réel (F7)"));
    ralenti->clicked();
    EXPECT_EQ(ralenti->toolTip(), QStringLiteral("Ralenti : 1/2 du temps réel (F7)"));
    EXPECT_EQ(pas->accessibleDescription(), PacingControls::pasAPasHint());
    EXPECT_TRUE(ralenti->accessibleDescription().startsWith(PacingControls::ralentiHint()));
    EXPECT_TRUE(ralenti->accessibleDescription().endsWith(QStringLiteral("Vitesse choisie : 1/2 du temps réel.")));

    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QTest::mouseMove(pas, QPoint(12, 12));
    EXPECT_EQ(window->info(), PacingControls::pasAPasHint());
    QTest::mouseMove(ralenti, QPoint(12, 12));
    EXPECT_EQ(window->info(), PacingControls::ralentiHint());
    // Both hints fit the hint line's two lines.
    for (const QString& hint : {PacingControls::pasAPasHint(), PacingControls::ralentiHint()}) {
        const QRect needed = window->infoLabel()->fontMetrics().boundingRect(
            QRect(QPoint(0, 0), layout::kInfo.size()), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, hint);
        EXPECT_LE(needed.height(), layout::kInfo.height()) << hint.toStdString();
        EXPECT_LE(needed.width(), layout::kInfo.width()) << hint.toStdString();
    }
    // The picture changes with the speed shown.
    const QImage avant = ralenti->pixmap().toImage();
    ralenti->clicked();
    EXPECT_NE(ralenti->pixmap().toImage(), avant);
}

TEST_F(Pacing_, SlowMotionMultipliesOnlyTheTimersWait)
{
    QTimer& timer = window->timer1();
    ASSERT_TRUE(timer.isActive());
    sim.Timer1_Timer();
    const int tick = sim.controls().timerInterval;
    ASSERT_EQ(tick, 50);
    const int divisors[] = {2, 5, 10, 1};
    for (int d : divisors) {
        pacing().ralenti()->clicked();
        EXPECT_EQ(pacing().pacing().divisor(), d);
        EXPECT_EQ(timer.interval(), tick * d);
        EXPECT_TRUE(timer.isActive());
        // The tick itself still sets, and advances by, its own interval.
        sim.Timer1_Timer();
        EXPECT_EQ(sim.controls().timerInterval, tick);
        EXPECT_EQ(timer.interval(), tick * d);
    }
    // A new wave interval is slowed as well: a 5 Hz sine ticks every 10 ms.
    pacing().setDivisor(5);
    sim.selectOptpert(OndeSinusoidale);
    sim.setTextfreq(TfFrequence, QStringLiteral("5"));
    sim.Textfreq_LostFocus(TfFrequence);
    sim.Timer1_Timer();
    EXPECT_EQ(timer.interval(), 50);
    EXPECT_FALSE(pacing().setDivisor(3));
    EXPECT_EQ(pacing().pacing().divisor(), 5);
    // Pausing and starting again keeps the speed.
    window->command16()->clicked();
    EXPECT_FALSE(timer.isActive());
    window->command16()->clicked();
    EXPECT_EQ(timer.interval(), 50);
}

TEST_F(Pacing_, StepButtonAndKeysDriveTheAnimation)
{
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTimer& timer = window->timer1();
    sim.Command3_Click();  // chronometer running
    const double chrono = sim.state().chrono;

    // F6 while running: paused, no tick.
    QTest::keyClick(window.get(), Qt::Key_F6);
    EXPECT_FALSE(sim.timerEnabled());
    EXPECT_FALSE(timer.isActive());
    EXPECT_EQ(sim.state().chrono, chrono);
    // Then each press, by key or by click, is one 50 ms tick.
    QTest::keyClick(window.get(), Qt::Key_F6);
    pacing().pasAPas()->clicked();
    QTest::keyClick(window->supertext(), Qt::Key_F6);  // wherever the focus is
    EXPECT_DOUBLE_EQ(sim.state().chrono - chrono, 15.0);
    EXPECT_FALSE(timer.isActive());
    // The pause image shows the paused state.
    window->command16()->clicked();
    EXPECT_TRUE(timer.isActive());

    // F7 cycles the speed.
    QTest::keyClick(window.get(), Qt::Key_F7);
    EXPECT_EQ(pacing().pacing().speedLabel(), QStringLiteral("1/2"));
    QTest::keyClick(window.get(), Qt::Key_F7);
    QTest::keyClick(window.get(), Qt::Key_F7);
    EXPECT_EQ(pacing().pacing().speedLabel(), QStringLiteral("1/10"));
    QTest::keyClick(window.get(), Qt::Key_F7);
    EXPECT_EQ(pacing().pacing().speedLabel(), QStringLiteral("1"));
}

TEST_F(Pacing_, EveryStartIsAtRealTime)
{
    pacing().setDivisor(10);
    FeuilleP autre(sim, shared, messages);
    autre.setProgramDirectory(dir.path());
    EXPECT_EQ(autre.pacing()->pacing().divisor(), 1);
    autre.timer1().stop();
}
