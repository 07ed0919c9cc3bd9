// The main window's controls by keyboard alone: the tab strip, the up-down
// control, the picture buttons, the rope's marker cursor, the graph cursor,
// the Tab order and the focus marks.
#include "mainwin/focus_marks.h"
#include "mainwin/hover_texts.h"
#include "mainwin/image_button.h"
#include "mainwin/param_box.h"
#include "mainwin/pacing_controls.h"
#include "mainwin/tab_strip_painter.h"
#include "measure/graph_picture.h"
#include "measure/rope_picture.h"
#include "measure/up_down.h"
#include "window_fixture.h"

#include "measure/chronometer_controls.h"

#include <QApplication>
#include <QCheckBox>
#include <QRadioButton>
#include <QFocusFrame>
#include <QLineEdit>
#include <QLabel>
#include <QMenu>
#include <QShortcut>
#include <QTest>
#include <QTextEdit>
#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

using namespace tolvi;
using tolvi::testing::WindowTest;

namespace {

class KeyboardTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    // A key to whatever has the focus, as the keyboard sends it.
    void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier, int times = 1)
    {
        for (int i = 0; i < times; ++i) {
            QWidget* target = QApplication::focusWidget();
            QTest::keyClick(target ? target : window.get(), k, mods);
        }
    }
    void focus(QWidget* w)
    {
        w->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(w->hasFocus()) << w->objectName().toStdString();
    }
    QString readout() const { return window->label1()->text(); }
    ToolsPanel* tools() const { return window->picture1(); }
};

// Pixels where two pictures of the same widget differ.
std::vector<QPoint> differences(const QImage& a, const QImage& b)
{
    std::vector<QPoint> out;
    for (int y = 0; y < std::min(a.height(), b.height()); ++y)
        for (int x = 0; x < std::min(a.width(), b.width()); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                out.emplace_back(x, y);
    return out;
}

}  // namespace

TEST_F(KeyboardTest, TabsChangeByArrowsOnTheStripAndByCtrlShortcutsAnywhere)
{
    TabStrip* strip = window->onglets();
    focus(strip);
    key(Qt::Key_Right);
    EXPECT_EQ(window->currentTab(), 2);
    key(Qt::Key_Right);
    EXPECT_EQ(window->currentTab(), 3);
    key(Qt::Key_Right);  // a tab bar stops at its last tab
    EXPECT_EQ(window->currentTab(), 3);
    key(Qt::Key_Left);
    EXPECT_EQ(window->currentTab(), 2);
    key(Qt::Key_Home);
    EXPECT_EQ(window->currentTab(), 1);
    EXPECT_TRUE(window->picture3()->isVisible());
    key(Qt::Key_End);
    EXPECT_EQ(window->currentTab(), 3);
    EXPECT_TRUE(tools()->isVisible());
    EXPECT_FALSE(window->picture3()->isVisible());

    // From elsewhere in the window: Ctrl+1/2/3, Ctrl+Tab going round.
    focus(window->topButton(0));
    key(Qt::Key_1, Qt::ControlModifier);
    EXPECT_EQ(window->currentTab(), 1);
    key(Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(window->currentTab(), 3);
    key(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(window->currentTab(), 1);
    key(Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(window->currentTab(), 3);
    key(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(window->currentTab(), 2);
    EXPECT_TRUE(window->topButton(0)->hasFocus());

    // The focus inside a panel that goes away comes back to the strip.
    key(Qt::Key_3, Qt::ControlModifier);
    focus(tools()->check1());
    key(Qt::Key_1, Qt::ControlModifier);
    EXPECT_EQ(window->currentTab(), 1);
    EXPECT_TRUE(strip->hasFocus());
}

// On X11 one press of Ctrl+Maj+Tab reaches Qt read two ways, Ctrl+Shift+Tab
// and Ctrl+Backtab (the Maj level of the Tab key); when both match, Qt hands
// the press to one shortcut marked ambiguous. Whichever shortcut gets it,
// the previous tab comes up.
TEST_F(KeyboardTest, CtrlShiftTabGoesBackWhenTheDisplayReadsTheKeyTwoWays)
{
    const QList<QKeySequence> readings{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
                                       QKeySequence(Qt::CTRL | Qt::Key_Backtab)};
    QList<QShortcut*> reached;
    for (QShortcut* shortcut : window->findChildren<QShortcut*>())
        for (const QKeySequence& k : shortcut->keys())
            if (readings.contains(k) && !reached.contains(shortcut))
                reached << shortcut;
    ASSERT_FALSE(reached.isEmpty());
    focus(window->topButton(0));
    for (QShortcut* shortcut : reached) {
        key(Qt::Key_2, Qt::ControlModifier);
        ASSERT_EQ(window->currentTab(), 2);
        emit shortcut->activatedAmbiguously();
        EXPECT_EQ(window->currentTab(), 1) << shortcut->keys().first().toString().toStdString();
        emit shortcut->activated();
        EXPECT_EQ(window->currentTab(), 3);
    }
}

TEST_F(KeyboardTest, FocusMarksAreDottedFramesAroundTheCurrentTabAndThePictures)
{
    TabStrip* strip = window->onglets();
    window->selectTab(2);
    focus(window->topButton(0));
    const QImage plain = strip->grab().toImage();
    focus(strip);
    const QImage marked = strip->grab().toImage();
    const auto changed = differences(plain, marked);
    ASSERT_FALSE(changed.empty());
    // Only the dotted outline around "Onde" changes.
    const QRect mark = tabFocusRect(strip->geometry());
    for (const QPoint& p : changed) {
        EXPECT_TRUE(mark.contains(p)) << p.x() << "," << p.y();
        const bool onEdge = p.x() == mark.left() || p.x() == mark.right() || p.y() == mark.top() ||
                            p.y() == mark.bottom();
        EXPECT_TRUE(onEdge) << p.x() << "," << p.y();
        EXPECT_EQ(marked.pixelColor(p), QColor(0, 0, 0));
    }

    // The pause picture: dots inside its edge, the picture elsewhere the same.
    ImageButton* pause = window->command16();
    const QImage before = pause->grab().toImage();
    focus(pause);
    const QImage after = pause->grab().toImage();
    const auto dots = differences(before, after);
    ASSERT_FALSE(dots.empty());
    const QRect inside = pause->rect().adjusted(2, 2, -2, -2);
    for (const QPoint& p : dots)
        EXPECT_TRUE(p.x() == inside.left() || p.x() == inside.right() || p.y() == inside.top() ||
                    p.y() == inside.bottom())
            << p.x() << "," << p.y();
    // One pixel on, one off along the top edge.
    EXPECT_NE(after.pixel(inside.left(), inside.top()), after.pixel(inside.left() + 1, inside.top()));
}

TEST_F(KeyboardTest, RecordingDurationStepsAsASpinBox)
{
    window->selectTab(3);
    UpDown* upDown = tools()->upDown1();
    focus(upDown);
    ASSERT_EQ(upDown->value(), 4);
    key(Qt::Key_Up);
    EXPECT_EQ(tools()->labelg()->text(), QStringLiteral("20 s"));
    EXPECT_EQ(sim.state().dureeGraphe, 20);
    key(Qt::Key_PageUp);
    EXPECT_EQ(upDown->value(), 10);
    EXPECT_EQ(tools()->labelg()->text(), QStringLiteral("10 min"));
    key(Qt::Key_Up);  // stays at its maximum
    EXPECT_EQ(upDown->value(), 10);
    key(Qt::Key_Down);
    EXPECT_EQ(tools()->labelg()->text(), QStringLiteral("5 min"));
    key(Qt::Key_PageDown);
    EXPECT_EQ(upDown->value(), 1);
    EXPECT_EQ(sim.state().dureeGraphe, 1);
    key(Qt::Key_End);
    EXPECT_EQ(upDown->value(), 10);
    key(Qt::Key_Home);
    EXPECT_EQ(tools()->labelg()->text(), QStringLiteral("1 s"));
    // Keys with Ctrl are not the control's.
    key(Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(upDown->value(), 1);
}

TEST_F(KeyboardTest, PictureButtonsPressWithSpaceAndEnterButNotWithAClick)
{
    ImageButton* pause = window->command16();
    focus(pause);
    const bool running = sim.controls().timerEnabled;
    key(Qt::Key_Space);
    EXPECT_NE(sim.controls().timerEnabled, running);
    key(Qt::Key_Return);
    EXPECT_EQ(sim.controls().timerEnabled, running);
    key(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_NE(sim.controls().timerEnabled, running);

    int menus = 0;
    window->exerciseMenuHook = [&](const QPoint&) { ++menus; };
    focus(window->btexo());
    key(Qt::Key_Space);
    key(Qt::Key_Return);
    EXPECT_EQ(menus, 2);

    // A mouse click does not take the focus from the box being typed in.
    EXPECT_EQ(pause->focusPolicy(), Qt::TabFocus);
    EXPECT_EQ(window->btexo()->focusPolicy(), Qt::TabFocus);
}

TEST_F(KeyboardTest, RopeCursorPlacesMovesAndRemovesMarkersToTheCentimetre)
{
    RopePicture* rope = window->animpic();
    focus(rope);
    // The cursor starts at the source and reads as the pointer does.
    EXPECT_EQ(rope->cursorColumn(), 50);
    EXPECT_EQ(readout(), QStringLiteral("Position du curseur : x = 0,00 m ; u = 0,00 m"));
    key(Qt::Key_Left);  // kept on the rope
    EXPECT_EQ(rope->cursorColumn(), 50);
    key(Qt::Key_Right, Qt::ShiftModifier, 10);
    EXPECT_EQ(rope->cursorColumn(), 150);
    EXPECT_EQ(readout(), QStringLiteral("Position du curseur : x = 1,00 m ; u = 0,00 m"));
    key(Qt::Key_B);
    EXPECT_EQ(sim.state().marqueBleue, 150);
    sim.Timer1_Timer();  // the running animation shows it at its next tick
    EXPECT_EQ(tools()->labeli(0)->text(), QStringLiteral("1 m"));
    key(Qt::Key_Right, Qt::NoModifier, 3);
    key(Qt::Key_Left);
    EXPECT_EQ(rope->cursorColumn(), 152);
    key(Qt::Key_R);
    EXPECT_EQ(sim.state().marqueRouge, 152);
    sim.Timer1_Timer();
    EXPECT_EQ(tools()->labeli(1)->text(), QStringLiteral("1,02 m"));
    key(Qt::Key_End);
    key(Qt::Key_Right);
    EXPECT_EQ(rope->cursorColumn(), 750);
    EXPECT_EQ(readout(), QStringLiteral("Position du curseur : x = 7,00 m ; u = 0,00 m"));
    key(Qt::Key_B);  // a marker that exists moves; the far end can be marked
    EXPECT_EQ(sim.state().marqueBleue, 750);

    // Delete takes away what is at the cursor, nothing else.
    key(Qt::Key_Home);
    key(Qt::Key_Delete);
    EXPECT_EQ(sim.state().marqueBleue, 750);
    EXPECT_EQ(sim.state().marqueRouge, 152);
    key(Qt::Key_R);
    key(Qt::Key_B);
    key(Qt::Key_Delete);
    EXPECT_EQ(sim.state().marqueBleue, Simulation::kNoMarker);
    EXPECT_EQ(sim.state().marqueRouge, Simulation::kNoMarker);
    sim.Timer1_Timer();
    EXPECT_TRUE(tools()->labeli(0)->text().isEmpty());

    // Leaving the rope empties the readout.
    focus(window->topButton(0));
    EXPECT_TRUE(readout().isEmpty());
}

TEST_F(KeyboardTest, RopeCursorGoesToATypedAbscissaAndRefusesAnyOther)
{
    RopePicture* rope = window->animpic();
    QString typed;
    int asked = 0;
    rope->askAbscissa = [&](QWidget*) -> std::optional<QString> {
        ++asked;
        if (typed.isNull())
            return std::nullopt;
        return typed;
    };
    focus(rope);
    typed = QStringLiteral("5,00");
    key(Qt::Key_Return);
    EXPECT_EQ(rope->cursorColumn(), 550);
    key(Qt::Key_R);
    EXPECT_EQ(sim.state().marqueRouge, 550);
    typed = QStringLiteral("1");
    key(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(rope->cursorColumn(), 150);

    // Off the rope or not a number: a French message, the cursor stays.
    for (const char* bad : {"7,01", "-0,5", "deux", ""}) {
        typed = QString::fromUtf8(bad);
        messages.clear();
        key(Qt::Key_Return);
        EXPECT_EQ(rope->cursorColumn(), 150) << bad;
        ASSERT_EQ(messages.asked().size(), 1u) << bad;
        EXPECT_EQ(messages.asked()[0].title, QStringLiteral("Position du curseur"));
    }
    // Cancelled: nothing.
    typed = QString();
    messages.clear();
    key(Qt::Key_Return);
    EXPECT_TRUE(messages.asked().empty());
    EXPECT_EQ(asked, 7);

    EXPECT_EQ(RopePicture::columnForAbscissa(QStringLiteral("0")), 50);
    EXPECT_EQ(RopePicture::columnForAbscissa(QStringLiteral(" 7 ")), 750);
    EXPECT_EQ(RopePicture::columnForAbscissa(QStringLiteral("2.5")), 300);
    EXPECT_EQ(RopePicture::columnForAbscissa(QStringLiteral("3,754")), 425);
    EXPECT_FALSE(RopePicture::columnForAbscissa(QStringLiteral("1e400")));
}

TEST_F(KeyboardTest, MenuKeyOpensTheMarkerMenuAtTheCursor)
{
    RopePicture* rope = window->animpic();
    QPoint shownAt;
    int shown = 0;
    rope->showMenu = [&](QMenu* menu, const QPoint& global) {
        EXPECT_EQ(menu, rope->menupoint());
        shownAt = global;
        ++shown;
    };
    focus(rope);
    key(Qt::Key_Right, Qt::NoModifier, 25);
    key(Qt::Key_Menu);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(rope->posMarque(), 75);
    EXPECT_EQ(rope->mapFromGlobal(shownAt).x(), PictureBox::origin().x() + 75);
    key(Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(shown, 2);
    rope->menupoint()->actions().at(1)->trigger();  // "Marquer en rouge"
    EXPECT_EQ(sim.state().marqueRouge, 75);
}

TEST_F(KeyboardTest, GraphCursorReadsTimeAndDisplacementAsThePointerDoes)
{
    GraphPicture* graph = window->picture2();
    focus(graph);
    EXPECT_EQ(readout(), QStringLiteral("Position du curseur : t = 0,00 s ; u = 0,00 m"));
    key(Qt::Key_End);
    EXPECT_EQ(readout(), QStringLiteral("Position du curseur : t = 10,00 s ; u = 0,00 m"));
    key(Qt::Key_Right);  // column 730 is the last one
    EXPECT_EQ(graph->keyboardCursor().x(), 730);
    key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(readout(), QStringLiteral("Position du curseur : t = 9,86 s ; u = 0,00 m"));
    key(Qt::Key_Up, Qt::ShiftModifier, 4);
    EXPECT_EQ(readout(), QStringLiteral("Position du curseur : t = 9,86 s ; u = 0,40 m"));
    key(Qt::Key_Up);  // row 14 is the top of the scale
    EXPECT_EQ(graph->keyboardCursor().y(), 14);
    key(Qt::Key_Down, Qt::ShiftModifier, 9);
    key(Qt::Key_Down, Qt::NoModifier, 3);
    EXPECT_EQ(readout(), QStringLiteral("Position du curseur : t = 9,86 s ; u = -0,40 m"));
    // The hint line tells the keys while the graph has the focus.
    EXPECT_EQ(window->info(), hover::picture2Keys());
    focus(window->animpic());
    EXPECT_EQ(window->info(), hover::animpicKeys());
}

TEST_F(KeyboardTest, TabGoesThroughTheWindowInReadingOrder)
{
    window->selectTab(3);
    focus(window->topButton(0));
    std::vector<QWidget*> seen;
    for (int i = 0; i < 40; ++i) {
        seen.push_back(QApplication::focusWidget());
        key(Qt::Key_Tab);
        if (QApplication::focusWidget() == seen.front())
            break;
    }
    const auto at = [&](QWidget* w) {
        const auto it = std::find(seen.begin(), seen.end(), w);
        return it == seen.end() ? -1 : int(it - seen.begin());
    };
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(at(window->topButton(i)), i);
    const std::vector<QWidget*> order = {window->animpic(),    window->command16(),
                                         window->pacing()->pasAPas(), window->pacing()->ralenti(),
                                         window->chronometer()->command5(), window->chronometer()->command3(),
                                         window->picture2(),   window->command6(),
                                         window->onglets(),    tools()->check1(),
                                         tools()->upDown1(),   tools()->check2(),
                                         window->btexo(),      window->supertext()};
    int last = 6;
    for (QWidget* w : order) {
        const int index = at(w);
        EXPECT_GT(index, last) << w->objectName().toStdString();
        last = std::max(last, index);
    }
    // The start button comes between the rope and the pause when it is enabled.
    if (window->demar()->isEnabled()) {
        EXPECT_EQ(at(window->demar()), at(window->animpic()) + 1);
    }
    // The exercise text is the end of the round; the read-only file field is not in it.
    EXPECT_EQ(seen.back(), window->supertext());
    EXPECT_EQ(at(window->fich()), -1);
    // Hidden panels are skipped.
    EXPECT_EQ(at(window->frame2()->checksi()), -1);
}

TEST_F(KeyboardTest, PanelsAreCrossedInReadingOrderAndCtrlDigitGoesStraightToTheStrip)
{
    // The Corde panel: the three options drawn at the top, then Masse and
    // Tension below them.
    window->selectTab(1);
    RopePanel* rope = window->picture3();
    focus(window->onglets());
    std::vector<QWidget*> seen;
    for (int i = 0; i < 6; ++i) {
        key(Qt::Key_Tab);
        seen.push_back(QApplication::focusWidget());
    }
    const auto at = [&](QWidget* w) { return int(std::find(seen.begin(), seen.end(), w) - seen.begin()); };
    // Tab stops at the chosen option of the group (arrows move within it).
    ASSERT_TRUE(rope->optbout(0)->isChecked());
    EXPECT_LT(at(rope->optbout(0)), at(rope->textfreq(TfMasse)));
    for (int i = 0; i < 3; ++i)
        EXPECT_LT(rope->optbout(i)->y(), rope->textfreq(TfMasse)->y()) << i;
    EXPECT_LT(at(rope->textfreq(TfMasse)), at(rope->textfreq(TfTension)));

    // Ctrl+2 from inside a panel: the focus goes to the strip and nowhere
    // on the way (a screen reader announces every stop).
    focus(rope->textfreq(TfTension));
    std::vector<QWidget*> stops;
    auto connection = QObject::connect(qApp, &QApplication::focusChanged,
                                       [&](QWidget*, QWidget* now) { stops.push_back(now); });
    key(Qt::Key_2, Qt::ControlModifier);
    QObject::disconnect(connection);
    EXPECT_EQ(window->currentTab(), 2);
    ASSERT_EQ(stops.size(), 1u);
    EXPECT_EQ(stops.front(), window->onglets());
}

TEST_F(KeyboardTest, TheKeysHintFitsTheHelpLineAndGoesWithTheFocus)
{
    QLabel* line = window->infoLabel();
    for (const QString& hint : {hover::animpicKeys(), hover::picture2Keys()}) {
        const QRect needed =
            QFontMetrics(line->font()).boundingRect(QRect(0, 0, line->width(), 1000), Qt::TextWordWrap, hint);
        EXPECT_LE(needed.height(), line->height()) << hint.toStdString();
        EXPECT_LE(needed.width(), line->width()) << hint.toStdString();
    }
    focus(window->animpic());
    EXPECT_EQ(window->info(), hover::animpicKeys());
    key(Qt::Key_Tab);
    EXPECT_NE(window->info(), hover::animpicKeys());
    focus(window->picture2());
    EXPECT_EQ(window->info(), hover::picture2Keys());
    key(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_NE(window->info(), hover::picture2Keys());
}

// The contrast ratio of two colours, as accessibility rules reckon it.
double contrast(QColor a, QColor b)
{
    const auto luminance = [](QColor c) {
        const auto channel = [](double v) {
            v /= 255.0;
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST_F(KeyboardTest, EveryFocusedControlShowsAMarkThatStandsOutFromTheStart)
{
    // The first control has its mark as soon as the window is active,
    // before any Tab.
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    ASSERT_NE(focusRing(), nullptr);
    EXPECT_EQ(focusRing()->widget(), QApplication::focusWidget());

    // Around every Tab stop, a ring of which one line at least differs from
    // what lies there without the focus by 3:1 or more, along a whole side.
    window->selectTab(3);
    focus(window->topButton(0));
    QWidget* first = QApplication::focusWidget();
    for (int stop = 0; stop < 40; ++stop) {
        QWidget* w = QApplication::focusWidget();
        QWidget* parent = w->parentWidget();
        const QRect whole = w->geometry().adjusted(-kFocusRingWidth, -kFocusRingWidth, kFocusRingWidth,
                                                   kFocusRingWidth);
        // A control on the window's edge shows the ring on its other sides.
        const QRect around = whole & parent->rect();
        // Grabbed from the window, as the screen shows it.
        const QRect onWindow(parent->mapTo(window.get(), around.topLeft()), around.size());
        const QImage marked = window->grab(onWindow).toImage();
        // The same place with the focus elsewhere: a control outside this one.
        QWidget* elsewhere = w == window->supertext() ? static_cast<QWidget*>(window->topButton(0))
                                                      : static_cast<QWidget*>(window->supertext());
        elsewhere->setFocus(Qt::TabFocusReason);
        const QImage plain = window->grab(onWindow).toImage();
        w->setFocus(Qt::TabFocusReason);
        const int width = marked.width();
        const int height = marked.height();
        // Each side of the ring: the best line of the three.
        const auto side = [&](auto pixelAt, int length) {
            double best = 0.0;
            for (int line = 0; line < kFocusRingWidth; ++line) {
                double worst = 100.0;
                for (int i = kFocusRingWidth; i < length - kFocusRingWidth; ++i) {
                    const QPoint p = pixelAt(line, i);
                    worst = std::min(worst, contrast(marked.pixelColor(p), plain.pixelColor(p)));
                }
                best = std::max(best, worst);
            }
            return best;
        };
        std::vector<double> sides;
        if (around.top() == whole.top())
            sides.push_back(side([](int l, int i) { return QPoint(i, l); }, width));
        if (around.bottom() == whole.bottom())
            sides.push_back(side([&](int l, int i) { return QPoint(i, height - 1 - l); }, width));
        if (around.left() == whole.left())
            sides.push_back(side([](int l, int i) { return QPoint(l, i); }, height));
        if (around.right() == whole.right())
            sides.push_back(side([&](int l, int i) { return QPoint(width - 1 - l, i); }, height));
        const std::string who = w->objectName().toStdString() + " " + w->metaObject()->className();
        // At least two sides of the ring stand out (a control in a corner of
        // the window has no more inside it; next to the exercise text, the
        // text's own ring in the unfocused picture covers one side).
        std::sort(sides.begin(), sides.end(), std::greater<>());
        ASSERT_GE(sides.size(), 2u) << who;
        EXPECT_GE(sides[1], 3.0) << who;
        key(Qt::Key_Tab);
        if (QApplication::focusWidget() == first)
            break;
    }
}
