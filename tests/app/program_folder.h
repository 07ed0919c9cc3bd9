#pragma once
// A program folder of its own for an in-process test: a temporary copy of
// the shipped data (the getting-started activity, the exercises, the help),
// so that whatever the program writes beside itself (the flag file, a saved
// file in its default folder) never lands beside the built binaries.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

namespace tolvi::testing {

class ProgramFolder {
public:
    ProgramFolder()
    {
        const QDir shipped(QStringLiteral(TOLVI_SOURCE_DIR "/data"));
        copied_ = dir_.isValid();
        for (QDirIterator it(shipped.path(), QDir::Files, QDirIterator::Subdirectories); copied_ && it.hasNext();) {
            const QString from = it.next();
            const QString to = dir_.filePath(shipped.relativeFilePath(from));
            copied_ = QDir().mkpath(QFileInfo(to).path()) && QFile::copy(from, to);
        }
    }
    // False when the copy could not be made.
    bool isValid() const { return copied_; }
    // The folder, without a final "/".
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    bool copied_ = false;
};

}  // namespace tolvi::testing
