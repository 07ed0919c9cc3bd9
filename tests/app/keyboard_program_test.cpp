// A pupil without a mouse: the whole program driven by key events alone,
// through its dialogs, menus and the exercise window. No mouse event is
// sent anywhere in this file.
#include "app/program_test.h"
#include "exercises/exercise_menu.h"
#include "mainwin/feuille_p.h"
#include "mainwin/image_button.h"
#include "measure/graph_picture.h"
#include "measure/rope_picture.h"
#include "measure/tools_panel.h"
#include "same_file.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPrintDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>

using namespace tolvi;

namespace {

class KeyboardProgram : public tolvi::testing::ProgramTest {
protected:
    KeyboardProgram() : ProgramTest(3) {}
    void SetUp() override
    {
        ProgramTest::SetUp();
        if (HasFatalFailure())
            return;
        window().show();
        window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    }
    const SimState& state() { return program.simulation().state(); }

    // A key to whatever has the keyboard focus now (a popup menu when one is
    // open), as the keyboard sends it.
    static void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier, int times = 1)
    {
        for (int i = 0; i < times; ++i) {
            QWidget* target = focused();
            ASSERT_NE(target, nullptr);
            QTest::keyClick(target, k, mods);
        }
    }
    // What the keyboard reaches: an open popup menu, or the focus widget
    // (given back a moment after a dialog closes).
    static QWidget* focused()
    {
        for (int i = 0; i < 100; ++i) {
            if (QWidget* popup = QApplication::activePopupWidget())
                return popup;
            if (QWidget* focus = QApplication::focusWidget())
                return focus;
            // The offscreen platform has no window manager to give the
            // focus back to the main window when a dialog closes: do it.
            if (i == 2 && !QApplication::activeModalWidget())
                for (QWidget* top : QApplication::topLevelWidgets())
                    if (qobject_cast<FeuilleP*>(top) && top->isVisible())
                        top->activateWindow();
            QTest::qWait(20);
        }
        return nullptr;
    }
    static void type(const QString& text)
    {
        QWidget* target = focused();
        ASSERT_NE(target, nullptr);
        QTest::keyClicks(target, text);
    }
    // Tab until `wanted` says the focus is where it should be.
    static bool tabUntil(const std::function<bool(QWidget*)>& wanted, int most = 60)
    {
        for (int i = 0; i < most; ++i) {
            if (QWidget* f = focused(); f && wanted(f))
                return true;
            key(Qt::Key_Tab);
        }
        return false;
    }
    static bool tabTo(QWidget* target)
    {
        return tabUntil([target](QWidget* f) { return f == target; });
    }
    // Runs `act` once a modal window (or a popup menu) other than `outer`
    // has come up and holds the focus; waits at most a few seconds.
    static void whenOpen(const std::function<void(QWidget*)>& act, QWidget* outer = nullptr, bool* ran = nullptr)
    {
        auto* timer = new QTimer;
        auto tries = std::make_shared<int>(0);
        timer->setInterval(20);
        QObject::connect(timer, &QTimer::timeout, [timer, tries, act, outer, ran] {
            QWidget* open = QApplication::activePopupWidget();
            if (!open) {
                QWidget* modal = QApplication::activeModalWidget();
                QWidget* f = QApplication::focusWidget();
                if (modal && modal != outer && f && f->window() == modal)
                    open = modal;
            }
            if (!open && ++*tries < 250)
                return;
            timer->stop();
            timer->deleteLater();
            if (ran)
                *ran = open != nullptr;
            if (open)
                act(open);
        });
        timer->start();
    }
    // A button's Alt shortcut presses it as a short animation: waits until
    // what `whenOpen` drove has run and its windows have closed.
    static void settle(const bool& ran)
    {
        for (int i = 0; i < 500 && (!ran || QApplication::activeModalWidget() || QApplication::activePopupWidget());
             ++i)
            QTest::qWait(20);
    }
    void run(int ticks)
    {
        for (int i = 0; i < ticks; ++i)
            program.simulation().Timer1_Timer();
    }

};

}  // namespace

TEST_F(KeyboardProgram, PulseMarkersRecordingAndATimeReadByKeysAlone)
{
    // The first control of the window has the focus: Tab goes on from there.
    ASSERT_TRUE(tabTo(window().demar()));
    const int before = state().nbDef;
    key(Qt::Key_Space);
    EXPECT_EQ(state().nbDef, before + 1);

    // Markers: the blue one at exactly 1,00 m by the cursor, the red one at
    // 5,00 m typed in the position box.
    ASSERT_TRUE(tabTo(window().animpic()));
    key(Qt::Key_Home);
    key(Qt::Key_Right, Qt::ShiftModifier, 10);
    key(Qt::Key_B);
    EXPECT_EQ(state().marqueBleue, 150);
    bool asked = false;
    whenOpen(
        [](QWidget*) {
            key(Qt::Key_A, Qt::ControlModifier);
            type(QStringLiteral("5,00"));
            key(Qt::Key_Return);
        },
        nullptr, &asked);
    key(Qt::Key_Return);
    EXPECT_TRUE(asked);
    key(Qt::Key_R);
    EXPECT_EQ(state().marqueRouge, 550);
    key(Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(window().currentTab(), 3);

    // A recording, while the animation runs its ticks.
    ASSERT_TRUE(tabTo(window().command6()));
    key(Qt::Key_Space);
    EXPECT_EQ(window().command6()->text(), QStringLiteral("Arrêter"));
    run(50);
    EXPECT_GT(state().tempsGraphe, 0.0);
    EXPECT_EQ(window().picture1()->labeli(0)->text(), QStringLiteral("1 m"));
    EXPECT_EQ(window().picture1()->labeli(1)->text(), QStringLiteral("5 m"));

    // A time read on the graph by its cursor.
    key(Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_EQ(QApplication::focusWidget(), window().picture2());
    key(Qt::Key_Home);
    key(Qt::Key_Right, Qt::ShiftModifier, 35);
    EXPECT_EQ(window().label1()->text(), QStringLiteral("Position du curseur : t = 5,00 s ; u = 0,00 m"));
    EXPECT_TRUE(messages.asked().empty());
}

TEST_F(KeyboardProgram, ExerciseOpenedFromItsMenuAndItsCorrectionShown)
{
    QWidget* btexo = window().btexo();
    ASSERT_TRUE(tabTo(btexo));
    // The menu opens on Space; Down and Enter choose "Ouvrir un exercice".
    bool menuOpened = false;
    bool chooserOpened = false;
    whenOpen(
        [&](QWidget* menu) {
            EXPECT_EQ(menu, program.exercises().optionexo());
            whenOpen(
                [&](QWidget* chooser) {
                    // In the chooser: Tab to the exercise list, type the first
                    // letters of a name, Enter opens it.
                    const bool inList = tabUntil(
                        [](QWidget* f) { return f->objectName() == QLatin1String("File1"); });
                    EXPECT_TRUE(inList);
                    if (!inList) {
                        key(Qt::Key_Escape);
                        return;
                    }
                    type(QStringLiteral("TENS"));
                    auto* list = static_cast<QListWidget*>(QApplication::focusWidget());
                    EXPECT_EQ(list->currentItem()->text(), QStringLiteral("TENSION.E33"));
                    EXPECT_TRUE(chooser->isVisible());
                    key(Qt::Key_Return);
                },
                nullptr, &chooserOpened);
            key(Qt::Key_Down, Qt::NoModifier, 2);
            key(Qt::Key_Return);
        },
        nullptr, &menuOpened);
    key(Qt::Key_Space);
    for (int i = 0; i < 200 && !(chooserOpened && !QApplication::activeModalWidget()); ++i)
        QTest::qWait(20);
    EXPECT_TRUE(menuOpened);
    ASSERT_TRUE(chooserOpened);
    EXPECT_TRUE(window().fich()->text().endsWith(QStringLiteral("TENSION.E33"))) << window().fich()->text().toStdString();
    const QString statement = window().supertext()->toPlainText();
    EXPECT_FALSE(statement.isEmpty());

    // Back on the exercise button: Enter, then the third item, the correction.
    if (QApplication::focusWidget() != btexo) {
        ASSERT_TRUE(tabTo(btexo));
    }
    bool secondMenu = false;
    whenOpen(
        [](QWidget*) {
            key(Qt::Key_Down, Qt::NoModifier, 3);
            key(Qt::Key_Return);
        },
        nullptr, &secondMenu);
    key(Qt::Key_Return);
    for (int i = 0; i < 100 && QApplication::activePopupWidget(); ++i)
        QTest::qWait(20);
    EXPECT_TRUE(secondMenu);
    EXPECT_NE(window().supertext()->toPlainText(), statement);
    EXPECT_TRUE(window().supertext()->isReadOnly());
}

TEST_F(KeyboardProgram, ConfigurationSavedAndReopenedThroughTheDialogs)
{
    // Something to find again: the red marker at 2,00 m.
    ASSERT_TRUE(tabTo(window().animpic()));
    key(Qt::Key_Home);
    key(Qt::Key_Right, Qt::ShiftModifier, 20);
    key(Qt::Key_R);
    ASSERT_EQ(state().marqueRouge, 250);

    // Alt+E: the save dialog; Tab to the name, type it, Enter.
    bool saved = false;
    whenOpen(
        [](QWidget* dialog) {
            const bool inName = tabUntil([dialog](QWidget* f) {
                return f->window() == dialog && qobject_cast<QLineEdit*>(f) != nullptr;
            });
            EXPECT_TRUE(inName);
            type(QStringLiteral("CLAVIER"));
            key(Qt::Key_Return);
        },
        nullptr, &saved);
    key(Qt::Key_E, Qt::AltModifier);
    settle(saved);
    EXPECT_TRUE(saved);
    const QString path = dir.path() + QStringLiteral("/CLAVIER.P15");
    ASSERT_TRUE(QFile::exists(path)) << messages.asked().size();

    // The marker moves; Alt+O reopens the file by its name and Enter.
    key(Qt::Key_Home);
    key(Qt::Key_R);
    ASSERT_EQ(state().marqueRouge, 50);
    bool opened = false;
    whenOpen(
        [path](QWidget* dialog) {
            // Enter on the file list opens the file chosen by its first letters.
            const bool inList = tabUntil([dialog](QWidget* f) {
                auto* list = qobject_cast<QListWidget*>(f);
                return f->window() == dialog && list && list->count() > 0 &&
                       list->item(0)->text().endsWith(QStringLiteral(".P15"), Qt::CaseInsensitive);
            });
            EXPECT_TRUE(inList);
            if (!inList) {
                key(Qt::Key_Escape);
                return;
            }
            type(QStringLiteral("CLA"));
            key(Qt::Key_Return);
        },
        nullptr, &opened);
    key(Qt::Key_O, Qt::AltModifier);
    settle(opened);
    EXPECT_TRUE(opened);
    EXPECT_EQ(state().marqueRouge, 250);
    EXPECT_TRUE(window().windowTitle().startsWith(QStringLiteral("Tolvi - ")));
    EXPECT_TRUE(window().windowTitle().endsWith(tolvi::testing::shownPath(QStringLiteral("/CLAVIER.P15"))))
        << window().windowTitle().toStdString();

    // Escape leaves a dialog without doing anything.
    bool cancelled = false;
    whenOpen([](QWidget*) { key(Qt::Key_Escape); }, nullptr, &cancelled);
    key(Qt::Key_E, Qt::AltModifier);
    settle(cancelled);
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(KeyboardProgram, CalculatorUsedByTypedKeys)
{
    // Alt+C: the calculator takes typed keys, Enter computes, Escape closes.
    QString shown;
    bool calculated = false;
    whenOpen(
        [&](QWidget* machine) {
            type(QStringLiteral("2*(3+4)"));
            key(Qt::Key_Return);
            if (auto* z1 = machine->findChild<QLineEdit*>(QStringLiteral("z1")))
                shown = z1->text();
            key(Qt::Key_Escape);
        },
        nullptr, &calculated);
    key(Qt::Key_C, Qt::AltModifier);
    settle(calculated);
    EXPECT_TRUE(calculated);
    EXPECT_EQ(shown, QStringLiteral(" 14"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(KeyboardProgram, PrintingToAPdfFile)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows' own print dialog is a window of the system, out of reach of Qt's keys";
#endif
    // Alt+I: the print dialog; Enter is OK; with no printer the system's
    // print dialog comes to choose a PDF file, filled in by keys.
    const QString pdf = dir.path() + QStringLiteral("/clavier.pdf");
    bool printOpened = false;
    bool printerChosen = false;
    whenOpen(
        [&](QWidget* confimp) {
            whenOpen(
                [&](QWidget* system) {

                    const bool inName = tabUntil([system](QWidget* f) {
                        auto* edit = qobject_cast<QLineEdit*>(f);
                        // The output file's box, holding a folder or a file name.
                        return f->window() == system && edit && edit->text().startsWith(QLatin1Char('/'));
                    });
                    EXPECT_TRUE(inName);
                    if (!inName) {
                        key(Qt::Key_Escape);
                        return;
                    }
                    key(Qt::Key_A, Qt::ControlModifier);
                    type(pdf);
                    key(Qt::Key_Return);
                },
                confimp, &printerChosen);
            key(Qt::Key_Return);
        },
        nullptr, &printOpened);
    key(Qt::Key_I, Qt::AltModifier);
    settle(printOpened);
    EXPECT_TRUE(printOpened);
    if (!printerChosen)
        GTEST_SKIP() << "a printer is installed here: no PDF file to choose";
    ASSERT_TRUE(QFile::exists(pdf));
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5) == "%PDF-");
}
