// In full screen, every dialog of the program is an ordinary window of its
// own, with its title, that the mouse closes by its buttons, time after
// time, without a crash.
#include "app/program_test.h"
#include "mainwin/feuille_p.h"
#include "mainwin/zoom_commands.h"
#include "measure/rope_picture.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QFileDialog>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>

using namespace tolvi;
using tolvi::testing::ProgramTest;

namespace {

QString plain(QString text)
{
    return text.remove(QLatin1Char('&')).toLower();
}

// Watches for modal dialogs and closes each with a mouse click on one of its
// buttons: the first dialog by the button asked for, any dialog it opens in
// turn (a question, a printer choice) by its cancelling button.
class Closer : public QObject {
public:
    explicit Closer(QStringList wanted, QStringList answers = {}, QString folder = {})
        : wanted_(std::move(wanted)), answers_(std::move(answers)), folder_(std::move(folder))
    {
        timer_.setInterval(5);
        connect(&timer_, &QTimer::timeout, this, &Closer::look);
        timer_.start();
    }

    int seen = 0;
    int clicked = 0;
    QStringList problems;

private:
    void look()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (pending_ || !modal || !modal->isVisible())
            return;
        const bool first = !first_;
        if (first) {
            first_ = modal;
            ++seen;
            if (!modal->isWindow())
                problems << QStringLiteral("not a window: ") + modal->objectName();
            if (modal->windowTitle().isEmpty())
                problems << QStringLiteral("no title: ") + modal->metaObject()->className();
            if (modal->graphicsProxyWidget())
                problems << QStringLiteral("shown through a view: ") + modal->windowTitle();
            // Files go to the test's folder, never the user's.
            if (auto* files = qobject_cast<QFileDialog*>(modal); files && !folder_.isEmpty())
                files->setDirectory(folder_);
        }
        // A dialog that its button leaves open is a failure, not a hang.
        if (modal == first_ && clickedFirst_ >= 3) {
            problems << QStringLiteral("left open by its button: ") + modal->windowTitle();
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
            else
                modal->close();
            return;
        }
        const QStringList names = modal == first_      ? wanted_
                                  : !answers_.isEmpty() ? answers_
                                                        : QStringList{QStringLiteral("annuler"), QStringLiteral("non"),
                                                                      QStringLiteral("cancel"), QStringLiteral("no"),
                                                                      QStringLiteral("ok")};
        if (modal == first_ && wanted_ == QStringList{QStringLiteral("échap")}) {
            ++clickedFirst_;
            ++clicked;
            pending_ = true;
            QTimer::singleShot(0, modal, [this, modal] {
                pending_ = false;
                QTest::keyClick(modal, Qt::Key_Escape);
            });
            return;
        }
        for (const QString& name : names)
            for (QAbstractButton* button : modal->findChildren<QAbstractButton*>())
                if (button->isVisible() && button->isEnabled() && plain(button->text()) == name) {
                    if (modal == first_)
                        ++clickedFirst_;
                    ++clicked;
                    // Clicked from a timer of its own: a question the click
                    // opens (« replace the file? ») runs a loop of its own,
                    // in which this watcher's timer must fire again.
                    pending_ = true;
                    QTimer::singleShot(0, button, [this, button] {
                        pending_ = false;
                        QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
                    });
                    return;
                }
    }

    QStringList wanted_;
    QStringList answers_;
    QString folder_;
    QPointer<QWidget> first_;
    int clickedFirst_ = 0;
    bool pending_ = false;
    QTimer timer_;
};

class FullScreenDialogs : public ProgramTest {
protected:
    FullScreenDialogs() : ProgramTest(1) {}
    void SetUp() override
    {
        ProgramTest::SetUp();
        if (HasFatalFailure())
            return;
        window().Form_Load();
        window().show();
        program.zoomCommands().enterFullScreen(QRect(0, 0, 1920, 1080));
        ASSERT_NE(program.zoomCommands().mode(), ZoomCommands::Mode::Window);
    }
    void TearDown() override
    {
        program.zoomCommands().leaveFullScreen();
        ProgramTest::TearDown();
    }

    // Opens a dialog `times` times, a click on `button` closing it each time.
    // A question the first dialog asks in turn is answered by one of
    // `answers`, or cancelled when there are none.
    void openAndClose(const std::function<void()>& open, const QString& button, int times,
                      const QStringList& answers = {})
    {
        for (int i = 0; i < times; ++i) {
            Closer closer({plain(button)}, answers, dir.path());
            open();
            EXPECT_EQ(closer.seen, 1) << button.toStdString() << " #" << i;
            EXPECT_GE(closer.clicked, 1) << button.toStdString() << " #" << i;
            EXPECT_TRUE(closer.problems.isEmpty()) << closer.problems.join(QStringLiteral("; ")).toStdString();
            EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
            EXPECT_NE(program.zoomCommands().mode(), ZoomCommands::Mode::Window) << "still full screen";
        }
    }
    QAction* action(const char* name)
    {
        for (QAction* a : window().findChildren<QAction*>())
            if (a->objectName() == QLatin1String(name))
                return a;
        return nullptr;
    }

};

}  // namespace

TEST_F(FullScreenDialogs, OpenSaveAndPrintCloseByTheirButtonsTimeAfterTime)
{
    for (int round = 0; round < 20; ++round) {
        openAndClose([this] { window().topButton(0)->click(); }, QStringLiteral("ANNULER"), 1);
        openAndClose([this] { window().topButton(1)->click(); }, QStringLiteral("ANNULER"), 1);
        // « OK » with no printer installed asks for one in Qt's print
        // dialog, which waits on the printing system: « Annuler » only.
        openAndClose([this] { window().topButton(3)->click(); }, QStringLiteral("&Annuler"), 2);
        // F11, « Imprimer », Échap: once a crash.
        openAndClose([this] { window().topButton(3)->click(); }, QStringLiteral("Échap"), 1);
    }
    // A configuration saved by « ENREGISTRER », then opened by « OUVRIR ».
    for (int round = 0; round < 20; ++round) {
        openAndClose(
            [this] {
                QTimer::singleShot(0, [] {
                    if (QWidget* modal = QApplication::activeModalWidget())
                        if (auto* name = modal->findChild<QLineEdit*>())
                            name->setText(QStringLiteral("essai"));
                });
                window().topButton(1)->click();
            },
            QStringLiteral("ENREGISTRER"), 1);
        openAndClose(
            [this] {
                QTimer::singleShot(0, [this] {
                    if (QWidget* modal = QApplication::activeModalWidget())
                        if (auto* name = modal->findChild<QLineEdit*>(QStringLiteral("ficharge")))
                            name->setText(dir.filePath(QStringLiteral("essai.P15")));
                });
                window().topButton(0)->click();
            },
            QStringLiteral("OUVRIR"), 1);
    }
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("essai.P15"))));
}

TEST_F(FullScreenDialogs, EveryExportsSaveDialogAndTheValuesTableCloseByTheirButtons)
{
    program.simulation().Command6_Click();
    program.simulation().advance(1.0);
    for (const char* name : {"imageCorde", "imageGraphe", "csvValeurs", "csvProfil"}) {
        QAction* save = action(name);
        ASSERT_NE(save, nullptr) << name;
        for (int round = 0; round < 10; ++round) {
            openAndClose([save] { save->trigger(); }, QStringLiteral("&Annuler"), 1);
            // From the second round on, the file is there: replaced.
            openAndClose([save] { save->trigger(); }, QStringLiteral("&Enregistrer"), 1,
                         {QStringLiteral("oui"), QStringLiteral("yes")});
        }
        EXPECT_FALSE(QDir(dir.path()).entryList(QDir::Files).isEmpty()) << name;
    }
    QAction* table = action("tableauValeurs");
    ASSERT_NE(table, nullptr);
    openAndClose([table] { table->trigger(); }, QStringLiteral("&Fermer"), 20);
}

TEST_F(FullScreenDialogs, TheCalculatorIsAWindowOfItsOwnThatTheMouseDrives)
{
    for (int round = 0; round < 20; ++round) {
        QPointer<QDialog> calculator;
        QString title;
        bool typed = false;
        QTimer poll;
        poll.setInterval(5);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!modal)
                return;
            calculator = modal;
            title = modal->windowTitle();
            // A key of the calculator pressed with the mouse, then the window
            // closed as by its title bar.
            for (QPushButton* key : modal->findChildren<QPushButton*>())
                if (key->text() == QStringLiteral("7")) {
                    QTest::mouseClick(key, Qt::LeftButton, Qt::NoModifier, key->rect().center());
                    typed = true;
                }
            modal->close();
        });
        poll.start();
        window().topButton(4)->click();
        EXPECT_EQ(title, QStringLiteral("Machine à calculer"));
        EXPECT_TRUE(typed);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
}
