// What a screen reader is told while a pupil works by keyboard: run where
// Qt's accessibility is on (an X server and the accessibility bus, see
// with_accessibility_bus.sh), every event Qt would send over AT-SPI is
// caught here instead. No mouse event is sent, no wall time is waited for.
#include "app/program.h"
#include "exercises/exercise_menu.h"
#include "mainwin/feuille_p.h"
#include "mainwin/image_button.h"
#include "mainwin/pacing_controls.h"
#include "measure/graph_picture.h"
#include "measure/rope_picture.h"
#include "measure/tools_panel.h"
#include "measure/up_down.h"

#include <QAccessible>
#include <QApplication>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <vector>

using namespace tolvi;

namespace {

struct Heard {
    QObject* object;
    QAccessible::Event type;
    QString name;
    QString valueText;
    QString description;
    QVariant value;
};

std::vector<Heard>& heard()
{
    static std::vector<Heard> events;
    return events;
}

void listen(QAccessibleEvent* event)
{
    QAccessibleInterface* a = event->accessibleInterface();
    Heard h{event->object(), event->type(), a ? a->text(QAccessible::Name) : QString(),
            a ? a->text(QAccessible::Value) : QString(), a ? a->text(QAccessible::Description) : QString(), {}};
    if (event->type() == QAccessible::ValueChanged)
        h.value = static_cast<QAccessibleValueChangeEvent*>(event)->value();
    heard().push_back(h);
}

class ScreenReaderEvents : public ::testing::Test {
protected:
    void SetUp() override
    {
        QAccessible::installUpdateHandler(listen);
        ASSERT_TRUE(QTest::qWaitFor([] { return QAccessible::isActive(); }, 10000))
            << "Qt's accessibility is off: run under with_accessibility_bus.sh";
        window().setProgramDirectory(dir.path());
        window().endProgram = [] {};
        window().show();
        window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
        heard().clear();
    }
    void TearDown() override
    {
        window().timer1().stop();
        window().hide();
        QAccessible::installUpdateHandler(nullptr);
    }
    FeuilleP& window() { return program.window(); }
    static void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            QTest::keyClick(QApplication::focusWidget(), k, mods);
    }
    // The names the NameChanged events of `object` carried, in order.
    static QStringList namesTold(QObject* object)
    {
        QStringList names;
        for (const Heard& h : heard())
            if (h.object == object && h.type == QAccessible::NameChanged)
                names << h.name;
        return names;
    }
    // The texts read with each ValueChanged event of `object`, in order.
    static QStringList valuesTold(QObject* object)
    {
        QStringList values;
        for (const Heard& h : heard())
            if (h.object == object && h.type == QAccessible::ValueChanged)
                values << h.valueText;
        return values;
    }

    ScriptedMessages messages;
    Program program{messages, 1};
    QTemporaryDir dir;
};

}  // namespace

TEST_F(ScreenReaderEvents, RopeCursorMovesAreToldAFewTimesASecondWhenAKeyIsHeld)
{
    RopePicture* rope = window().animpic();
    rope->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(rope->hasFocus());
    key(Qt::Key_Home);
    heard().clear();

    // One step: told at once, as the focused picture's new value.
    key(Qt::Key_Right);
    EXPECT_EQ(valuesTold(rope), QStringList{QStringLiteral("x = 0,01 m ; u = 0,0 cm")});
    // A held key: the steps during the gap are not told one by one...
    key(Qt::Key_Right, Qt::NoModifier, 5);
    EXPECT_EQ(valuesTold(rope).size(), 1);
    ASSERT_TRUE(rope->announceTimer()->isActive());
    // ...but the latest once the gap is over, and nothing more after it.
    rope->announceTimer_Timer();
    EXPECT_EQ(valuesTold(rope).size(), 2);
    EXPECT_EQ(valuesTold(rope).back(), QStringLiteral("x = 0,06 m ; u = 0,0 cm"));
    rope->announceTimer_Timer();
    EXPECT_EQ(valuesTold(rope).size(), 2);
    // The name stays the picture's own.
    EXPECT_TRUE(namesTold(rope).isEmpty());

    // The graph the same way: the date and the recorded curves there.
    GraphPicture* graph = window().picture2();
    graph->setFocus(Qt::TabFocusReason);
    key(Qt::Key_Home);
    heard().clear();
    key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(valuesTold(graph), QStringList{QStringLiteral("t = 0,14 s ; pas de valeur enregistrée")});
}

TEST_F(ScreenReaderEvents, DurationAndSlowMotionTellWhatTheyNowShow)
{
    UpDown* duration = window().picture1()->upDown1();
    window().selectTab(3);
    duration->setFocus(Qt::TabFocusReason);
    heard().clear();
    key(Qt::Key_Up);  // 10 s -> 20 s
    bool told = false;
    for (const Heard& h : heard())
        if (h.object == duration && h.type == QAccessible::ValueChanged) {
            EXPECT_EQ(h.value.toDouble(), 20.0);
            told = true;
        }
    EXPECT_TRUE(told);

    heard().clear();
    key(Qt::Key_F7);
    bool speedTold = false;
    for (const Heard& h : heard())
        if (h.object == window().pacing()->ralenti() && h.type == QAccessible::DescriptionChanged)
            speedTold = h.description.endsWith(QStringLiteral("Vitesse choisie : 1/2 du temps réel."));
    EXPECT_TRUE(speedTold);
}

TEST_F(ScreenReaderEvents, TheExerciseMenuIsAnnouncedAloneWithNoHiddenWindowBeforeIt)
{
    window().btexo()->setFocus(Qt::TabFocusReason);
    heard().clear();
    QMenu* menu = nullptr;
    QTimer::singleShot(0, [&] {
        menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu)
            menu->close();
    });
    key(Qt::Key_Space);
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu != nullptr; }, 5000));
    ASSERT_TRUE(program.exercises().windowLoaded());
    Fichexo* chooser = &program.exercises().window();
    EXPECT_FALSE(chooser->isVisible());
    for (const Heard& h : heard()) {
        const bool inChooser = h.object == chooser || (h.object && h.object->isWidgetType() &&
                                                        chooser->isAncestorOf(static_cast<QWidget*>(h.object)));
        EXPECT_FALSE(inChooser && (h.type == QAccessible::Focus || h.type == QAccessible::ObjectShow ||
                                   h.type == QAccessible::DialogStart))
            << "event " << h.type << " for " << h.name.toStdString();
    }
}
