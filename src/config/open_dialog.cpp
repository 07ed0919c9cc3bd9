#include "config/open_dialog.h"

#include "config/config_loader.h"
#include "config/file_browser.h"
#include "mainwin/shared_state.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>

namespace tolvi {

QPoint dialogPosition(const QWidget* mainWindow)
{
    return mainWindow ? mainWindow->frameGeometry().topLeft() + QPoint(20, 20) : QPoint(20, 20);
}

OpenDialog::OpenDialog(Simulation& sim, SharedState& shared, Messages& messages,
                       std::function<void(const QString&)> setTitle, QWidget* mainWindow)
    : QDialog(mainWindow), sim_(sim), shared_(shared), messages_(messages), setTitle_(std::move(setTitle))
{
    setWindowTitle(QStringLiteral("Ouvrir une configuration"));
    setModal(true);
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setFixedSize(420, 300);

    auto* label1 = new QLabel(QStringLiteral("Lecteur:"), this);
    auto* label2 = new QLabel(QStringLiteral("Répertoire"), this);
    auto* label3 = new QLabel(QStringLiteral("Fichiers"), this);
    browser_ = new FileBrowser(this);
    ficharge_ = new QLineEdit(this);
    ficharge_->setObjectName(QStringLiteral("ficharge"));
    command1_ = new QPushButton(QStringLiteral("OUVRIR"), this);
    command2_ = new QPushButton(QStringLiteral("ANNULER"), this);
    command1_->setAutoDefault(false);
    command1_->setDefault(true);  // Enter in the dialog is OK; Escape cancels
    command2_->setAutoDefault(false);

    // Each list and the field named for screen readers, and their labels
    // tied to them.
    label1->setBuddy(browser_->drive1());
    label2->setBuddy(browser_->dir1());
    label3->setBuddy(browser_->file1());
    browser_->drive1()->setAccessibleName(QStringLiteral("Lecteur"));
    browser_->dir1()->setAccessibleName(QStringLiteral("Répertoire"));
    browser_->file1()->setAccessibleName(QStringLiteral("Fichiers"));
    ficharge_->setAccessibleName(QStringLiteral("Fichier à ouvrir"));

    label1->setGeometry(10, 8, 190, 16);
    browser_->drive1()->setGeometry(10, 26, 190, 22);
    label2->setGeometry(10, 54, 190, 16);
    browser_->dir1()->setGeometry(10, 72, 190, 150);
    label3->setGeometry(215, 8, 195, 16);
    browser_->file1()->setGeometry(215, 26, 195, 196);
    ficharge_->setGeometry(10, 232, 400, 22);
    command1_->setGeometry(100, 264, 100, 26);
    command2_->setGeometry(220, 264, 100, 26);

    // The waiting notice covers the whole dialog while a file loads.
    frame1_ = new QFrame(this);
    frame1_->setObjectName(QStringLiteral("Frame1"));
    frame1_->setAutoFillBackground(true);
    frame1_->setFrameShape(QFrame::Box);
    auto* icon = new QLabel(frame1_);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    icon->setGeometry(40, 130, 32, 32);
    auto* label4 = new QLabel(QStringLiteral("Patience : chargement du fichier"), frame1_);
    label4->setGeometry(90, 130, 300, 32);
    frame1_->hide();

    connect(browser_, &FileBrowser::fileClicked, this, &OpenDialog::File1_Click);
    connect(browser_, &FileBrowser::fileDoubleClicked, this, &OpenDialog::File1_DblClick);
    connect(command1_, &QPushButton::clicked, this, &OpenDialog::Command1_Click);
    connect(command2_, &QPushButton::clicked, this, &OpenDialog::Command2_Click);
    connect(ficharge_, &QLineEdit::returnPressed, this, &OpenDialog::Command1_Click);

    move(dialogPosition(mainWindow));
}

void OpenDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    frame1_->setGeometry(rect());
}

void OpenDialog::File1_Click(const QString& name)
{
    QString path = browser_->filePath();
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    ficharge_->setText(path + name);
    QDir::setCurrent(browser_->filePath());
}

void OpenDialog::File1_DblClick(const QString& name)
{
    File1_Click(name);
    Command1_Click();
}

void OpenDialog::Command1_Click()
{
    ConfigLoadHooks hooks;
    hooks.showWaiting = [this] {
        frame1_->setGeometry(rect());
        frame1_->show();
        frame1_->raise();
        repaint();
    };
    hooks.closeDialog = [this] { accept(); };
    hooks.setTitle = setTitle_;
    hooks.processEvents = [] { QCoreApplication::processEvents(); };
    if (openConfiguration(sim_, messages_, shared_.cheminConfig, ficharge_->text(), hooks).has_value())
        accept();
}

void OpenDialog::Command2_Click()
{
    reject();
}

}  // namespace tolvi
