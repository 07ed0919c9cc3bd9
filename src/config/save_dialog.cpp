#include "config/save_dialog.h"

#include "config/config_loader.h"
#include "config/file_browser.h"
#include "config/open_dialog.h"
#include "mainwin/shared_state.h"
#include "platform/messages.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace tolvi {

SaveDialog::SaveDialog(Simulation& sim, SharedState& shared, Messages& messages,
                       std::function<void(const QString&)> setTitle, QWidget* mainWindow)
    : QDialog(mainWindow), sim_(sim), shared_(shared), messages_(messages), setTitle_(std::move(setTitle))
{
    setWindowTitle(QStringLiteral("Enregistrer les paramètres."));
    setModal(true);
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setFixedSize(420, 300);

    auto* label1 = new QLabel(QStringLiteral("Lecteur:"), this);
    auto* label3 = new QLabel(QStringLiteral("Répertoire:"), this);
    auto* label4 = new QLabel(QStringLiteral("Fichiers enregistrés"), this);
    auto* label2 = new QLabel(QStringLiteral("Nom du fichier:"), this);
    browser_ = new FileBrowser(this);
    text1_ = new QLineEdit(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    command1_ = new QPushButton(QStringLiteral("ENREGISTRER"), this);
    command2_ = new QPushButton(QStringLiteral("ANNULER"), this);
    command1_->setAutoDefault(false);
    command1_->setDefault(true);  // Enter in the dialog is OK; Escape cancels
    command2_->setAutoDefault(false);

    // Each list and the field named for screen readers, and their labels
    // tied to them.
    label1->setBuddy(browser_->drive1());
    label3->setBuddy(browser_->dir1());
    label4->setBuddy(browser_->file1());
    label2->setBuddy(text1_);
    browser_->drive1()->setAccessibleName(QStringLiteral("Lecteur"));
    browser_->dir1()->setAccessibleName(QStringLiteral("Répertoire"));
    browser_->file1()->setAccessibleName(QStringLiteral("Fichiers enregistrés"));
    text1_->setAccessibleName(QStringLiteral("Nom du fichier"));

    label1->setGeometry(10, 8, 190, 16);
    browser_->drive1()->setGeometry(10, 26, 190, 22);
    label3->setGeometry(10, 54, 190, 16);
    browser_->dir1()->setGeometry(10, 72, 190, 150);
    label4->setGeometry(215, 8, 195, 16);
    browser_->file1()->setGeometry(215, 26, 195, 196);
    label2->setGeometry(10, 226, 400, 16);
    text1_->setGeometry(10, 242, 400, 22);
    command1_->setGeometry(100, 270, 100, 26);
    command2_->setGeometry(220, 270, 100, 26);

    connect(browser_, &FileBrowser::filePathChanged, this, &SaveDialog::File1_PathChange);
    connect(browser_, &FileBrowser::fileDoubleClicked, this, &SaveDialog::File1_DblClick);
    connect(command1_, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(command2_, &QPushButton::clicked, this, &SaveDialog::Command2_Click);
    connect(text1_, &QLineEdit::returnPressed, this, [this] { Command1_Click(); });

    text1_->setText(shared_.cheminConfig);
    move(dialogPosition(mainWindow));
}

void SaveDialog::File1_PathChange()
{
    // The name goes with the newly chosen folder.
    const QString text = QDir::fromNativeSeparators(text1_->text());
    if (const qsizetype slash = text.lastIndexOf(QLatin1Char('/')); slash >= 0)
        text1_->setText(text.mid(slash + 1));
}

void SaveDialog::File1_DblClick(const QString& name)
{
    text1_->setText(name);
    Command1_Click();
}

bool SaveDialog::Command1_Click()
{
    setCursor(Qt::WaitCursor);
    const std::optional<QString> path = saveName(text1_->text(), browser_->dirPath());
    if (!path) {
        text1_->setText(trimBlanks(text1_->text()));
        unsetCursor();
        messages_.critical(kSaveNoNameTitle, kSaveNoNameText);
        return false;
    }
    text1_->setText(*path);
    shared_.cheminConfig = *path;
    QDir::setCurrent(browser_->filePath());
    if (QFileInfo::exists(*path) && !messages_.warningYesNo(kOverwriteTitle, kOverwriteText)) {
        unsetCursor();
        return false;
    }
    const bool saved = saveConfiguration(sim_, messages_, *path);
    unsetCursor();
    if (!saved)
        return false;  // the message said why; the user may choose another place
    if (setTitle_)
        setTitle_(configTitle(*path));
    accept();
    return true;
}

void SaveDialog::Command2_Click()
{
    reject();
}

}  // namespace tolvi
