// The rope and graph pictures repaint only what each tick changed; after
// many ticks what the screen holds is the whole picture repainted afresh,
// in the plain window and in the window zoomed as full screen shows it.
#include "mainwin/zoom.h"
#include "measure/graph_picture.h"
#include "measure/rope_picture.h"
#include "window_fixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

using namespace tolvi;
using namespace tolvi::testing;

namespace {
// Counts a widget's paint events that repaint only part of it.
class PartialPaints : public QObject {
public:
    explicit PartialPaints(QWidget* widget) : widget_(widget) { widget->installEventFilter(this); }
    int partial = 0;
    int all = 0;
    QRegion painted;  // all that was repainted

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == widget_ && event->type() == QEvent::Paint) {
            ++all;
            painted += static_cast<QPaintEvent*>(event)->region();
            if (static_cast<QPaintEvent*>(event)->region() != QRegion(widget_->rect()))
                ++partial;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget* widget_;
};

// What a top-level widget's window holds on the screen now.
QImage onScreen(QWidget* topLevel)
{
    return topLevel->screen()->grabWindow(topLevel->winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

QImage part(const QImage& image, const QRect& rect)
{
    return image.copy(rect).convertToFormat(QImage::Format_RGB32);
}

// Every tick repainted, however close the ticks come (as the screen is
// asked to when ticks are further apart than a screen's frame).
struct EveryTickDrawn {
    EveryTickDrawn() { PictureBox::setFrameGap(0); }
    ~EveryTickDrawn() { PictureBox::setFrameGap(kSaved); }
    const int kSaved = PictureBox::frameGap();
};

// Pulses and the markers moving, ticked by hand with each tick's repaint.
void run(Simulation& sim, int ticks)
{
    for (int i = 0; i < ticks; ++i) {
        if (i % 15 == 0)
            sim.demar_Click();
        if (i == 25)
            sim.setMarqueBleue(450);
        sim.Timer1_Timer();
        QApplication::processEvents();
    }
}
}  // namespace

TEST_F(WindowTest, PicturesRepaintedTickByTickInPartsShowTheWholeRepaint)
{
    EveryTickDrawn everyTick;
    window->Form_Load();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    sim.command16_Click();  // the ticks come from the test alone
    window->timer1().stop();
    sim.setMarqueBleue(300);
    sim.setMarqueRouge(600);
    sim.Command6_Click();
    QApplication::processEvents();
    PartialPaints ropePaints(window->animpic());
    PartialPaints graphPaints(window->picture2());
    run(sim, 50);
    EXPECT_GT(ropePaints.partial, 30);
    EXPECT_GT(graphPaints.partial, 30);

    const QImage shown = onScreen(window.get());
    ASSERT_EQ(shown.size(), window->size());
    const QImage whole = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (QWidget* picture : {static_cast<QWidget*>(window->animpic()), static_cast<QWidget*>(window->picture2())}) {
        const QRect at(picture->mapTo(window.get(), QPoint(0, 0)), picture->size());
        EXPECT_EQ(part(shown, at), part(whole, at)) << picture->objectName().toStdString();
    }
}

TEST_F(WindowTest, ZoomedATickRepaintsPartOfThePicturesAndTheScreenShowsTheWholeRepaint)
{
    EveryTickDrawn everyTick;
    window->Form_Load();
    window->setZoom(1.8);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QApplication::processEvents();
    sim.command16_Click();
    window->timer1().stop();
    sim.setMarqueRouge(600);
    sim.Command6_Click();
    QApplication::processEvents();
    PartialPaints ropePaints(window->animpic());
    PartialPaints graphPaints(window->picture2());
    PartialPaints windowPaints(window.get());
    run(sim, 40);
    EXPECT_GT(ropePaints.partial, 20) << "a tick repaints the changed rectangles, not the whole rope";
    EXPECT_GT(graphPaints.all, 0);
    // Ticks that move the pictures alone leave the window between them alone.
    windowPaints.painted = QRegion();
    for (int i = 0; i < 10; ++i) {
        sim.Timer1_Timer();
        QApplication::processEvents();
    }
    const QRect ropeAt = window->animpic()->geometry();
    const QRect graphAt = window->picture2()->geometry();
    const QRect between(QPoint(ropeAt.left(), ropeAt.bottom() + 4), QPoint(ropeAt.right(), graphAt.top() - 4));
    EXPECT_TRUE((windowPaints.painted & between).isEmpty())
        << windowPaints.painted.boundingRect().x() << "," << windowPaints.painted.boundingRect().y() << " "
        << windowPaints.painted.boundingRect().width() << "x" << windowPaints.painted.boundingRect().height();

    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
    const QImage shown = onScreen(window.get());
    ASSERT_EQ(shown.size(), window->size() * shown.devicePixelRatio());
    const QImage whole = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (QWidget* picture : {static_cast<QWidget*>(window->animpic()), static_cast<QWidget*>(window->picture2())}) {
        const QRect at(picture->mapTo(window.get(), QPoint(0, 0)), picture->size());
        EXPECT_EQ(part(shown, at), part(whole, at)) << picture->objectName().toStdString();
    }
    window->setZoom(1.0);
}

TEST_F(WindowTest, TicksCloserThanAScreenFrameAreNotAllDrawnAndTheLatestShowsSoonAfter)
{
    const int gap = PictureBox::frameGap();
    ASSERT_GT(gap, 0);
    // The pictures' clock is the test's: time moves only when it says so,
    // however slowly a busy machine runs the ticks.
    qint64 now = 1000;
    PictureBox::setClock([&now] { return now; });
    struct RealClockAfter {
        ~RealClockAfter() { PictureBox::setClock({}); }
    } restore;
    window->Form_Load();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    sim.command16_Click();
    window->timer1().stop();
    sim.setMarqueRouge(600);
    sim.Command6_Click();
    now += 3 * gap;
    QApplication::processEvents();
    PartialPaints ropePaints(window->animpic());
    PartialPaints graphPaints(window->picture2());

    // Ticks 4 ms apart: at most one ask for a repaint per gap.
    const int ticks = 60;
    const qint64 start = now;
    for (int i = 0; i < ticks; ++i) {
        if (i % 15 == 0)
            sim.demar_Click();
        if (i == 25)
            sim.setMarqueBleue(450);
        sim.Timer1_Timer();
        QApplication::processEvents();
        now += 4;
    }
    const qint64 most = (now - start) / gap + 2;
    EXPECT_LE(ropePaints.all, most);
    EXPECT_LE(graphPaints.all, most);
    // Fewer than one each tick, yet more than one.
    EXPECT_LT(ropePaints.all, ticks / 2);
    EXPECT_GE(ropePaints.all, ticks * 4 / gap / 2);
    // A pulse sent resumes the animation: pause it again, the ticks come
    // from the test alone.
    if (sim.controls().timerEnabled)
        sim.command16_Click();
    window->timer1().stop();

    // No tick comes any more: a gap later the last frame is drawn.
    now += gap;
    const auto latestShown = [&] {
        const QImage shown = onScreen(window.get());
        const QImage whole = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
        for (QWidget* picture : {static_cast<QWidget*>(window->animpic()), static_cast<QWidget*>(window->picture2())}) {
            const QRect at(picture->mapTo(window.get(), QPoint(0, 0)), picture->size());
            if (part(shown, at) != part(whole, at))
                return false;
        }
        return true;
    };
    EXPECT_TRUE(QTest::qWaitFor(latestShown, 10000));

    // Ticks further apart than the gap: each one drawn.
    const int before = ropePaints.all;
    for (int i = 0; i < 5; ++i) {
        now += gap + 2;
        sim.Timer1_Timer();
        QApplication::processEvents();
    }
    EXPECT_EQ(ropePaints.all - before, 5);
}
