#include "config/file_browser.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QListWidget>
#include <QSignalBlocker>

namespace tolvi {

namespace {
QString cleanPath(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

bool readableFolder(const QString& path)
{
    const QFileInfo info(path);
    return info.isDir() && info.isReadable() && info.isExecutable();
}
}  // namespace

FileBrowser::FileBrowser(QWidget* parent) : QObject(parent)
{
    drive1_ = new QComboBox(parent);
    dir1_ = new QListWidget(parent);
    file1_ = new QListWidget(parent);
    drive1_->setObjectName(QStringLiteral("Drive1"));
    dir1_->setObjectName(QStringLiteral("Dir1"));
    file1_->setObjectName(QStringLiteral("File1"));

    for (const QFileInfo& root : QDir::drives())
        places_ << cleanPath(root.absoluteFilePath());
    const QString home = cleanPath(QDir::homePath());
    if (!places_.contains(home))
        places_ << home;
    for (const QString& p : places_)
        drive1_->addItem(p);

    connect(drive1_, &QComboBox::activated, this, &FileBrowser::Drive1_Change);
    connect(dir1_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { Dir1_Open(dir1_->row(item)); });
    connect(file1_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { emit fileClicked(item->text()); });
    connect(file1_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { emit fileDoubleClicked(item->text()); });
    dir1_->installEventFilter(this);
    // By keyboard the file list reads as clicks: arrows and typed letters
    // (type-ahead) choose a file, Enter opens it as a double click does.
    file1_->installEventFilter(this);
    connect(file1_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item && keyboardMove_)
            emit fileClicked(item->text());
    });

    QString start = cleanPath(QDir::currentPath());
    if (!readableFolder(start))
        start = home;
    dirPath_ = start;
    fillDirList();
    Dir1_Change();
}

QStringList FileBrowser::files() const
{
    QStringList names;
    for (int i = 0; i < file1_->count(); ++i)
        names << file1_->item(i)->text();
    return names;
}

bool FileBrowser::matchesPattern(const QString& name)
{
    return name.endsWith(QStringLiteral(".P15"), Qt::CaseInsensitive);
}

int FileBrowser::placeOf(const QString& path) const
{
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < places_.size(); ++i) {
        const QString& p = places_[i];
        const bool holds = path == p || p == QLatin1String("/") ||
                           path.startsWith(p.endsWith(QLatin1Char('/')) ? p : p + QLatin1Char('/'));
        if (holds && p.size() > bestLength) {
            best = i;
            bestLength = p.size();
        }
    }
    return best;
}

void FileBrowser::setDirPath(const QString& path)
{
    const QString clean = cleanPath(path);
    if (!readableFolder(clean) || clean == dirPath_)
        return;
    dirPath_ = clean;
    fillDirList();
    Dir1_Change();
}

void FileBrowser::Drive1_Change(int index)
{
    if (index >= 0 && index < places_.size())
        setDirPath(places_[index]);
    const QSignalBlocker block(drive1_);
    drive1_->setCurrentIndex(placeOf(dirPath_));
}

void FileBrowser::Dir1_Open(int row)
{
    const QListWidgetItem* item = dir1_->item(row);
    if (item)
        setDirPath(item->data(Qt::UserRole).toString());
}

void FileBrowser::Dir1_Change()
{
    {
        const QSignalBlocker block(drive1_);
        drive1_->setCurrentIndex(placeOf(dirPath_));
    }
    if (filePath_ == dirPath_) {
        fillFileList();
        return;
    }
    filePath_ = dirPath_;
    fillFileList();
    emit filePathChanged(filePath_);
}

bool FileBrowser::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == dir1_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Dir1_Open(dir1_->currentRow());
            return true;
        }
    }
    if (watched == file1_ && event->type() == QEvent::KeyPress && !keyboardMove_) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (QListWidgetItem* item = file1_->currentItem())
                emit fileDoubleClicked(item->text());
            return true;
        }
        keyboardMove_ = true;
        QCoreApplication::sendEvent(file1_, event);
        keyboardMove_ = false;
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void FileBrowser::fillDirList()
{
    dir1_->clear();
    // The folders from the root down to the current one, indented like a tree.
    QStringList chain;
    for (QDir d(dirPath_);; ) {
        chain.prepend(d.absolutePath());
        if (d.isRoot() || !d.cdUp())
            break;
    }
    int depth = 0;
    for (const QString& folder : chain) {
        const QString name = depth == 0 ? folder : QFileInfo(folder).fileName();
        auto* item = new QListWidgetItem(QString(depth * 2, QLatin1Char(' ')) + name, dir1_);
        item->setData(Qt::UserRole, folder);
        ++depth;
    }
    dir1_->setCurrentRow(dir1_->count() - 1);
    const QStringList subfolders =
        QDir(dirPath_).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& sub : subfolders) {
        auto* item = new QListWidgetItem(QString(depth * 2, QLatin1Char(' ')) + sub, dir1_);
        item->setData(Qt::UserRole, QDir(dirPath_).filePath(sub));
    }
}

void FileBrowser::fillFileList()
{
    file1_->clear();
    const QStringList names = QDir(filePath_).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names)
        if (matchesPattern(name))
            file1_->addItem(name);
}

}  // namespace tolvi
