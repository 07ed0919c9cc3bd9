#pragma once
// The three lists the open and save dialogs browse with: the place list
// (Drive1: the file-system roots and the user's home folder, standing for
// the drives), the directory list (Dir1: the folders from the root down to
// the current one, then its subfolders) and the file list (File1: the
// "*.P15" files of that folder, the extension matched without regard to
// case).

#include <QObject>
#include <QString>
#include <QStringList>

class QComboBox;
class QListWidget;
class QWidget;

namespace tolvi {

class FileBrowser : public QObject {
    Q_OBJECT
public:
    // The lists are created as children of `parent`; they start at the
    // process's current directory.
    explicit FileBrowser(QWidget* parent);

    QComboBox* drive1() const { return drive1_; }
    QListWidget* dir1() const { return dir1_; }
    QListWidget* file1() const { return file1_; }

    // The directory list's path and the file list's path (always equal once
    // the lists have followed each other).
    QString dirPath() const { return dirPath_; }
    QString filePath() const { return filePath_; }
    // The file names the file list shows, sorted.
    QStringList files() const;

    // The directory list goes to `path` (an unreadable folder is ignored);
    // the file list follows (Dir1_Change).
    void setDirPath(const QString& path);

    // Drive1_Change: the directory list goes to the chosen place; the place
    // list is then set back to the place of the directory list.
    void Drive1_Change(int index);
    // Dir1_KeyPress with Enter, or a double click: opens the highlighted
    // entry.
    void Dir1_Open(int row);
    // The place (of the place list) that holds `path`.
    int placeOf(const QString& path) const;

    // Whether a file name matches "*.P15".
    static bool matchesPattern(const QString& name);

signals:
    // File1_PathChange: the file list shows another folder.
    void filePathChanged(const QString& path);
    void fileClicked(const QString& name);
    void fileDoubleClicked(const QString& name);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Dir1_Change();
    void fillDirList();
    void fillFileList();

    QComboBox* drive1_;
    QListWidget* dir1_;
    QListWidget* file1_;
    QStringList places_;
    QString dirPath_;
    QString filePath_;
    bool keyboardMove_ = false;  // a key is moving through the file list
};

}  // namespace tolvi
