// The open and save dialogs offscreen: the saving name rules, the overwrite
// question, the refusals, the lists they browse with, and the main window's
// buttons that open them.
#include "../mainwin/window_fixture.h"
#include "app/program.h"
#include "config/config_loader.h"
#include "config/file_browser.h"
#include "config/open_dialog.h"
#include "config/save_dialog.h"
#include "platform/widget_messages.h"
#include "same_file.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

using namespace tolvi;
using tolvi::testing::shownPath;

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void touch(const QString& path, const QByteArray& bytes = "x")
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class ConfigDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        folder = QFileInfo(dir.path()).canonicalFilePath();
        previous = QDir::currentPath();
        QDir::setCurrent(folder);
    }
    void TearDown() override { QDir::setCurrent(previous); }

    std::function<void(const QString&)> titleSetter()
    {
        return [this](const QString& t) { titles << t; };
    }

    QTemporaryDir dir;
    QString folder;
    QString previous;
    ScriptedMessages messages;
    SeededRandom random;
    Simulation sim{messages, random};
    SharedState shared;
    QStringList titles;
};

}  // namespace

TEST(SaveName, TrimsDropsTheExtensionAddsTheFolderAndP15)
{
    struct Case {
        const char* typed;
        const char* directory;
        std::optional<QString> path;
    } cases[] = {
        {"essai.txt", "/mes", QStringLiteral("/mes/essai.P15")},
        {"essai.bis.P15", "/mes", QStringLiteral("/mes/essai.P15")},
        {"  essai  ", "/mes/", QStringLiteral("/mes/essai.P15")},
        {"essai .txt", "/mes", QStringLiteral("/mes/essai.P15")},
        {"essai", "/", QStringLiteral("/essai.P15")},
        {"/cours/essai", "/mes", QStringLiteral("/cours/essai.P15")},
        {"/cours.2024/essai.p15", "/mes", QStringLiteral("/cours.2024/essai.P15")},
        {"été", "/mes", QStringLiteral("/mes/été.P15")},
        {"     ", "/mes", std::nullopt},
        {"", "/mes", std::nullopt},
        {".P15", "/mes", std::nullopt},
        {" .essai", "/mes", std::nullopt},
        {"/cours/", "/mes", std::nullopt},
        {"/cours/.P15", "/mes", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(saveName(QString::fromUtf8(c.typed), QString::fromUtf8(c.directory)), c.path) << c.typed;
#ifdef _WIN32
    // A Windows path typed with its own separators is a folder and a name,
    // not a name inside the current folder.
    EXPECT_EQ(saveName(QStringLiteral("Z:\\cours.2024\\essai.p15"), QStringLiteral("C:/mes")),
              QStringLiteral("Z:/cours.2024/essai.P15"));
#endif
}

TEST_F(ConfigDialogTest, SaveDialogSavesAsksBeforeReplacingAndRefusesEmptyNames)
{
    QWidget main;
    main.move(130, 70);
    shared.cheminConfig = QStringLiteral("/ailleurs/ancien.P15");
    {
        SaveDialog d(sim, shared, messages, titleSetter(), &main);
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Enregistrer les paramètres."));
        EXPECT_TRUE(d.isModal());
        EXPECT_EQ(d.font().family(), QStringLiteral("MS Sans Serif"));
        EXPECT_EQ(d.pos(), main.frameGeometry().topLeft() + QPoint(20, 20));
        EXPECT_EQ(d.text1()->text(), shared.cheminConfig);
        EXPECT_EQ(d.browser().dirPath(), folder);

        // Empty names: the message, nothing written, the dialog stays.
        for (const char* typed : {"    ", ".P15", " .txt"}) {
            messages.clear();
            d.text1()->setText(QString::fromUtf8(typed));
            EXPECT_FALSE(d.Command1_Click());
            ASSERT_EQ(messages.asked().size(), 1u) << typed;
            EXPECT_EQ(messages.asked()[0].kind, MessageKind::Critical);
            EXPECT_EQ(messages.asked()[0].title, QStringLiteral("Enregistrement impossible"));
            EXPECT_EQ(messages.asked()[0].text, QStringLiteral("Il faut donner un nom au fichier!"));
        }
        EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty());
        EXPECT_EQ(shared.cheminConfig, QStringLiteral("/ailleurs/ancien.P15"));

        messages.clear();
        d.text1()->setText(QStringLiteral(" essai.txt "));
        EXPECT_TRUE(d.Command1_Click());
        EXPECT_EQ(d.result(), QDialog::Accepted);
    }
    const QString essai = folder + QStringLiteral("/essai.P15");
    EXPECT_TRUE(messages.asked().empty());
    EXPECT_EQ(shared.cheminConfig, essai);
    EXPECT_EQ(titles, QStringList{QStringLiteral("Tolvi - ") + shownPath(essai)});
    EXPECT_EQ(fileBytes(essai).size(), 18 * 128);
    const QByteArray first = fileBytes(essai);

    // Saving again under the same name: the question; No keeps the old file.
    sim.setMarqueRouge(700);
    {
        SaveDialog d(sim, shared, messages, titleSetter(), &main);
        EXPECT_EQ(d.text1()->text(), essai);
        EXPECT_EQ(d.browser().files(), QStringList{QStringLiteral("essai.P15")});
        messages.script(Answer::No);
        EXPECT_FALSE(d.Command1_Click());
        ASSERT_EQ(messages.asked().size(), 1u);
        EXPECT_EQ(messages.asked()[0].title, QStringLiteral("Ce fichier existe déjà!"));
        EXPECT_EQ(messages.asked()[0].text, QStringLiteral("Ecraser le fichier existant?"));
        EXPECT_EQ(messages.asked()[0].kind, MessageKind::WarningYesNo);  // exclamation icon, Yes and No
        EXPECT_EQ(fileBytes(essai), first);
        EXPECT_EQ(d.text1()->text(), essai);
        EXPECT_NE(d.result(), QDialog::Accepted);

        // Yes replaces it.
        messages.clear();
        messages.script(Answer::Yes);
        EXPECT_TRUE(d.Command1_Click());
        EXPECT_EQ(messages.asked().size(), 1u);
        EXPECT_NE(fileBytes(essai), first);
        EXPECT_EQ(readConfig(essai).values.redMarker, 700);
    }
}

TEST_F(ConfigDialogTest, SavingOverAWindowsNameInAnotherCaseReplacesThatFile)
{
    // TENSION.p15, as written on Windows: typing TENSION (or double-clicking
    // the file) saves over it after the question, and makes no TENSION.P15.
    const QString windowsMade = folder + QStringLiteral("/TENSION.p15");
    sim.setMarqueRouge(600);
    ASSERT_TRUE(saveConfiguration(sim, messages, windowsMade));
    sim.setMarqueRouge(700);
    for (const bool doubleClick : {false, true}) {
        messages.clear();
        SaveDialog d(sim, shared, messages, titleSetter(), nullptr);
        messages.script(Answer::No);
        d.text1()->setText(QStringLiteral("TENSION"));
        EXPECT_FALSE(d.Command1_Click());
        ASSERT_EQ(messages.asked().size(), 1u);
        EXPECT_EQ(messages.asked()[0].text, kOverwriteText);
        EXPECT_EQ(readConfig(windowsMade).values.redMarker, 600);  // No keeps it

        messages.clear();
        messages.script(Answer::Yes);
        if (doubleClick) {
            d.File1_DblClick(QStringLiteral("TENSION.p15"));
        } else {
            d.text1()->setText(QStringLiteral("tension.txt"));
            d.Command1_Click();
        }
        EXPECT_EQ(messages.asked().size(), 1u);
        EXPECT_EQ(d.result(), QDialog::Accepted);
#ifdef _WIN32
        // Windows' names ignore case: the name typed is that file there.
        EXPECT_EQ(shared.cheminConfig.toLower(), windowsMade.toLower());
#else
        EXPECT_EQ(shared.cheminConfig, windowsMade);
#endif
        EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("TENSION.p15")});
        EXPECT_EQ(readConfig(windowsMade).values.redMarker, 700);
        sim.setMarqueRouge(600);
        ASSERT_TRUE(saveConfiguration(sim, messages, windowsMade));
        sim.setMarqueRouge(700);
    }
    // The exact name wins when both exist.
    touch(folder + QStringLiteral("/TENSION.P15"));
    EXPECT_EQ(saveName(QStringLiteral("TENSION"), folder), folder + QStringLiteral("/TENSION.P15"));
    EXPECT_EQ(saveName(QStringLiteral("Tension"), folder).value_or(QString()).compare(
                  folder + QStringLiteral("/TENSION.P15"), Qt::CaseInsensitive),
              0);
}

TEST_F(ConfigDialogTest, SaveDialogListsP15FilesAndFollowsTheChosenFolder)
{
    touch(folder + QStringLiteral("/b.P15"));
    touch(folder + QStringLiteral("/a.p15"));
    touch(folder + QStringLiteral("/c.txt"));
    touch(folder + QStringLiteral("/d.P15.bak"));
    ASSERT_TRUE(QDir(folder).mkdir(QStringLiteral("sous")));
    touch(folder + QStringLiteral("/sous/e.P15"));

    SaveDialog d(sim, shared, messages, titleSetter(), nullptr);
    EXPECT_EQ(d.browser().files(), (QStringList{QStringLiteral("a.p15"), QStringLiteral("b.P15")}));

    // The directory list: the folders down to this one, then its subfolder.
    QListWidget* dirs = d.browser().dir1();
    ASSERT_GE(dirs->count(), 2);
    EXPECT_EQ(dirs->item(dirs->count() - 1)->data(Qt::UserRole).toString(), folder + QStringLiteral("/sous"));
    EXPECT_EQ(dirs->item(0)->data(Qt::UserRole).toString(), QDir::rootPath());

    // A new folder keeps only the bare name typed.
    d.text1()->setText(QStringLiteral("/quelque/part/essai.P15"));
    d.browser().Dir1_Open(dirs->count() - 1);
    EXPECT_EQ(d.browser().dirPath(), folder + QStringLiteral("/sous"));
    EXPECT_EQ(d.browser().files(), QStringList{QStringLiteral("e.P15")});
    EXPECT_EQ(d.text1()->text(), QStringLiteral("essai.P15"));

    // Double-clicking a file saves over it after the question.
    d.File1_DblClick(QStringLiteral("e.P15"));
    ASSERT_EQ(messages.asked().size(), 1u);
    EXPECT_EQ(messages.asked()[0].title, QStringLiteral("Ce fichier existe déjà!"));
    EXPECT_EQ(fileBytes(folder + QStringLiteral("/sous/e.P15")).size(), 18 * 128);
    EXPECT_EQ(QDir::currentPath(), folder + QStringLiteral("/sous"));

    // The place list: the roots and the home folder; choosing one goes there.
    QComboBox* places = d.browser().drive1();
    const int root = places->findText(QDir::rootPath());
    ASSERT_GE(root, 0);
    EXPECT_GE(places->findText(QDir::cleanPath(QDir::homePath())), 0);
    EXPECT_EQ(places->currentIndex(), d.browser().placeOf(folder));
    d.browser().Drive1_Change(root);
    EXPECT_EQ(d.browser().dirPath(), QDir::rootPath());
    EXPECT_EQ(places->currentIndex(), root);
}

TEST_F(ConfigDialogTest, OpenDialogLoadsTheChosenFileAndRefusesMissingOnes)
{
    ASSERT_TRUE(saveConfiguration(sim, messages, folder + QStringLiteral("/essai.P15")));
    QWidget main;
    main.move(40, 50);
    OpenDialog d(sim, shared, messages, titleSetter(), &main);
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Ouvrir une configuration"));
    EXPECT_EQ(d.pos(), QPoint(60, 70));
    EXPECT_TRUE(d.ficharge()->text().isEmpty());
    EXPECT_TRUE(d.frame1()->isHidden());

    // A name of blanks does nothing.
    d.ficharge()->setText(QStringLiteral("   "));
    d.Command1_Click();
    EXPECT_TRUE(messages.asked().empty());
    EXPECT_TRUE(shared.cheminConfig.isEmpty());

    // A path that names no file: refused, the dialog stays open.
    const QString missing = folder + QStringLiteral("/absent.P15");
    d.ficharge()->setText(missing);
    d.Command1_Click();
    ASSERT_EQ(messages.asked().size(), 1u);
    EXPECT_EQ(messages.asked()[0].kind, MessageKind::Critical);
    EXPECT_EQ(messages.asked()[0].title, QStringLiteral("impossible d'ouvrir ce fichier"));
    EXPECT_EQ(messages.asked()[0].text, QStringLiteral("Nom de fichier incorrect ou chemin non valide"));
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_NE(d.result(), QDialog::Accepted);
    EXPECT_TRUE(titles.isEmpty());

    // Clicking the file names it; OUVRIR loads it and closes.
    messages.clear();
    QDir::setCurrent(previous);
    d.File1_Click(QStringLiteral("essai.P15"));
    EXPECT_EQ(d.ficharge()->text(), folder + QStringLiteral("/essai.P15"));
    EXPECT_EQ(QDir::currentPath(), folder);
    d.Command1_Click();
    EXPECT_TRUE(messages.asked().empty());
    EXPECT_FALSE(d.frame1()->isHidden());
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(shared.cheminConfig, folder + QStringLiteral("/essai.P15"));
    EXPECT_EQ(titles, QStringList{QStringLiteral("Tolvi - ") + shownPath(shared.cheminConfig)});
    EXPECT_TRUE(sim.controls().recording);
}

TEST_F(ConfigDialogTest, TheMainWindowButtonsOpenTheDialogsModally)
{
    Program program(messages, 1);
    program.window().setProgramDirectory(folder);
    QStringList seen;
    for (int button : {0, 1}) {
        QTimer::singleShot(0, [&] {
            if (QWidget* w = QApplication::activeModalWidget()) {
                seen << w->windowTitle();
                w->close();
            }
        });
        program.window().topButton(button)->click();
    }
    EXPECT_EQ(seen, (QStringList{QStringLiteral("Ouvrir une configuration"), QStringLiteral("Enregistrer les paramètres.")}));
}

TEST(WidgetMessagesTest, OverwriteQuestionShowsTheExclamationIconWithYesAndNo)
{
    WidgetMessages widgetMessages;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QString text;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                icon = box->icon();
                buttons = box->standardButtons();
                text = box->text();
                box->button(QMessageBox::No)->click();
            }
    });
    EXPECT_FALSE(widgetMessages.warningYesNo(kOverwriteTitle, kOverwriteText));
    EXPECT_EQ(text, QStringLiteral("Ecraser le fichier existant?"));
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(buttons, QMessageBox::Yes | QMessageBox::No);
}
