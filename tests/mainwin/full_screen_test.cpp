// "Plein écran": the window enlarged whole, proportions kept, its controls
// still the real ones; F11 and Escape; and the window fitted to a screen too
// small for it.
#include "mainwin/full_screen.h"
#include "mainwin/param_box.h"
#include "measure/rope_picture.h"
#include "window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

using namespace tolvi;
using namespace tolvi::testing;

TEST(FullScreenRules, ScreensThatHoldTheWindowAndTheScaleThatFillsThem)
{
    const QSize client(800, 600);
    const QSize frame(10, 36);
    EXPECT_TRUE(fitsOnScreen(QRect(0, 0, 1920, 1050), client, frame));
    EXPECT_TRUE(fitsOnScreen(QRect(0, 0, 810, 636), client, frame));
    // 1920 x 1080 at 200 %, a panel taking 30 pixels.
    EXPECT_FALSE(fitsOnScreen(QRect(0, 30, 960, 510), client, frame));
    EXPECT_FALSE(fitsOnScreen(QRect(0, 0, 809, 1000), client, frame));
    EXPECT_DOUBLE_EQ(fittingScale(QSize(1920, 1080), client), 1.8);  // height bound
    EXPECT_DOUBLE_EQ(fittingScale(QSize(1600, 1600), client), 2.0);  // width bound
    EXPECT_DOUBLE_EQ(fittingScale(QSize(960, 474), client), 0.79);
    EXPECT_DOUBLE_EQ(fittingScale(QSize(), client), 1.0);
}

TEST_F(WindowTest, FullScreenEnlargesTheRealWindowAndEscapeOrF11Leave)
{
    window->Form_Load();
    FullScreen full(*window);
    QAction* action = full.action();
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text(), QStringLiteral("Plein écran"));
    EXPECT_EQ(action->shortcut(), QKeySequence(Qt::Key_F11));
    EXPECT_TRUE(action->toolTip().contains(QStringLiteral("Échap")));
    EXPECT_TRUE(window->actions().contains(action)) << "in the window's right-click menu";
    EXPECT_EQ(window->contextMenuPolicy(), Qt::ActionsContextMenu);
    window->show();

    action->trigger();
    ASSERT_EQ(full.mode(), FullScreen::Mode::Full);
    ScaledView* view = full.view();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->embedded(), window.get());
    EXPECT_TRUE(view->isVisible());
    EXPECT_TRUE(action->isChecked());
    // As on a 1920 x 1080 screen (the test screen is smaller).
    view->showNormal();
    view->resize(1920, 1080);
    QApplication::processEvents();
    EXPECT_NEAR(view->scale(), 1.8, 1e-9);
    EXPECT_EQ(window->size(), QSize(800, 600)) << "the layout itself is unchanged";

    // The boxes still take the keyboard through the enlarged view.
    ParamBox* box = window->picture3()->textfreq(2);
    ASSERT_NE(box, nullptr);
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(view->viewport(), QStringLiteral("3"));
    EXPECT_EQ(box->text(), QStringLiteral("3"));

    // The rope is drawn at the enlargement, not enlarged afterwards.
    const QImage shot = view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QPoint ropeAt = view->mapFromScene(QPointF(window->animpic()->mapTo(window.get(), PictureBox::origin())));
    const QImage fine = sim.ropeImage(view->scale()).convertToFormat(QImage::Format_RGB32);
    int same = 0, compared = 0;
    for (int y = 10; y < 150; y += 3)
        for (int x = 10; x < 1300; x += 7) {
            ++compared;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if (shot.pixel(ropeAt.x() + x + dx, ropeAt.y() + y + dy) == fine.pixel(x, y)) {
                        ++same;
                        dx = dy = 2;
                    }
        }
    EXPECT_GT(same, compared * 95 / 100) << same << " of " << compared;

    // Escape leaves; the window is its own again, at its size.
    QAction* escape = nullptr;
    for (QAction* a : view->actions())
        if (a->shortcut() == QKeySequence(Qt::Key_Escape))
            escape = a;
    ASSERT_NE(escape, nullptr);
    escape->trigger();
    EXPECT_NE(full.mode(), FullScreen::Mode::Full);
    EXPECT_FALSE(action->isChecked());
    if (full.mode() == FullScreen::Mode::Plain) {
        EXPECT_EQ(view->embedded(), nullptr);
        EXPECT_FALSE(view->isVisible());
        EXPECT_TRUE(window->isVisible());
        EXPECT_TRUE(window->isWindow());
        EXPECT_EQ(window->size(), QSize(800, 600));
    }
    // And F11 enters and leaves again.
    action->trigger();
    EXPECT_EQ(full.mode(), FullScreen::Mode::Full);
    action->trigger();
    EXPECT_NE(full.mode(), FullScreen::Mode::Full);
}

TEST_F(WindowTest, AFittedWindowLiesOnTheScreenWithItsFrame)
{
    window->Form_Load();
    FullScreen full(*window);
    const QScreen* screen = window->screen();
    ASSERT_NE(screen, nullptr);
    const QRect available = screen->availableGeometry();
    if (fitsOnScreen(available, window->size(), QSize(12, 40)))
        GTEST_SKIP() << "the test screen holds the window: nothing to fit";
    full.show();
    ASSERT_EQ(full.mode(), FullScreen::Mode::Fitted);
    ScaledView* view = full.view();
    ASSERT_NE(view, nullptr);
    // Once framed (here by the test platform's own thin frame), the frame
    // itself lies on the screen, its top at the top of the usable area.
    QTest::qWait(150);
    const QRect frame = view->frameGeometry();
    EXPECT_TRUE(available.contains(frame)) << frame.x() << "," << frame.y() << " " << frame.width() << "x"
                                           << frame.height() << " on " << available.width() << "x"
                                           << available.height();
    EXPECT_EQ(frame.topLeft(), available.topLeft());
    EXPECT_LT(view->scale(), 1.0);
    full.leave();
}
