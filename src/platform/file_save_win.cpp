// Windows side of the saving of files: the same guarantees as on other
// systems. A regular file is replaced atomically by MoveFileExW over a
// complete temporary file beside it; a device (NUL, CON, COM1) or a pipe is
// written in place; every name goes through the wide calls, every file is
// written in binary mode.
#include "platform/file_save.h"

#include "platform/file_save_shared.h"

#include "platform/win_paths.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cstdio>
#include <string>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace tolvi {

using savefile::failure;
using savefile::writeInPlace;

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Something that is written, not replaced: a device or a pipe.
bool writtenInPlace(const QString& path)
{
    return win::nameKind(path) == win::NameKind::Device;
}

// `file` opened, unbuffered, on a system handle (which it then owns), as a
// binary C descriptor.
bool openOnHandle(QFile& file, HANDLE h)
{
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_WRONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(h);
        return false;
    }
    if (!file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        _close(fd);
        return false;
    }
    return true;
}

// Removes, in `folder`, the temporary files that saves killed half-way left
// there, once they are clearly abandoned.
void removeStaleLeftovers(const QString& folder)
{
    const QDateTime limit = QDateTime::currentDateTimeUtc().addSecs(-kSaveLeftoverAge);
    const QDir dir(folder);
    const QStringList names = dir.entryList({QStringLiteral("*") + kSaveTempSuffix},
                                            QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QString& name : names) {
        if (!isSaveLeftover(name))
            continue;
        const QFileInfo info(dir.filePath(name));
        if (info.isFile() && !info.isSymbolicLink() && info.lastModified().toUTC() <= limit)
            DeleteFileW(win::widePath(info.filePath()).c_str());
    }
}

// A new temporary file beside `target`, open for writing; INVALID_HANDLE_VALUE
// when none can be made (GetLastError() says why).
HANDLE createTemporary(const QString& target, QString& name)
{
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        QString tag;
        for (int i = 0; i < 6; ++i)
            tag += QLatin1Char(kLetters[QRandomGenerator::global()->bounded(62)]);
        name = target + QLatin1Char('.') + tag + kSaveTempSuffix;
        const HANDLE h = CreateFileW(win::widePath(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS)
            return h;
    }
    return INVALID_HANDLE_VALUE;
}

// Writes a regular file (new or replaced) through a temporary file beside
// it, moved over it only once complete and on the disk. A read-only file is
// not replaced: the move is refused, as Windows refuses to overwrite it.
std::optional<QString> replaceAtomically(const QString& target, const std::function<bool(QIODevice&)>& write)
{
    const std::wstring wideTarget = win::widePath(target);
    const DWORD attributes = GetFileAttributesW(wideTarget.c_str());
    // A folder, or a read-only file: what Windows says when either is
    // opened for writing.
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
        return win::systemMessage(ERROR_ACCESS_DENIED);
    removeStaleLeftovers(QFileInfo(target).absolutePath());

    QString temporary;
    const HANDLE h = createTemporary(target, temporary);
    if (h == INVALID_HANDLE_VALUE)
        return win::systemMessage(GetLastError());
    auto giveUp = [&temporary](const QString& why) -> std::optional<QString> {
        DeleteFileW(win::widePath(temporary).c_str());
        return why.isEmpty() ? QStringLiteral("erreur d'écriture") : why;
    };
    QFile file;
    if (!openOnHandle(file, h))
        return giveUp(QStringLiteral("erreur d'écriture"));
    if (!write(file) || file.error() != QFileDevice::NoError) {
        const QString why = file.errorString();
        file.close();
        return giveUp(why);
    }
    // The handle is still the file's until it is closed.
    if (!FlushFileBuffers(h)) {
        const QString why = win::systemMessage(GetLastError());
        file.close();
        return giveUp(why);
    }
    file.close();
    if (file.error() != QFileDevice::NoError)
        return giveUp(file.errorString());
    if (!MoveFileExW(win::widePath(temporary).c_str(), wideTarget.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return giveUp(win::systemMessage(GetLastError()));
    return std::nullopt;
}

}  // namespace

std::optional<QString> currentFolder()
{
    // Windows keeps a process's current folder from being removed; a
    // folder on a drive taken away (a USB stick) is gone all the same.
    DWORD size = GetCurrentDirectoryW(0, nullptr);
    if (size == 0)
        return std::nullopt;
    std::wstring buffer(size, L'\0');
    size = GetCurrentDirectoryW(size, buffer.data());
    if (size == 0 || size >= buffer.size())
        return std::nullopt;
    buffer.resize(size);
    const QString folder = QDir::fromNativeSeparators(QString::fromStdWString(buffer));
    if (GetFileAttributesW(buffer.c_str()) == INVALID_FILE_ATTRIBUTES)
        return std::nullopt;
    return folder;
}

QString saveTarget(const QString& path)
{
    // Symbolic links only: a shortcut (.lnk) is a file of its own.
    QFileInfo info(path);
    int links = 0;
    while (info.isSymbolicLink() && links < 40) {
        info.setFile(info.symLinkTarget());
        ++links;
    }
    return links > 0 ? info.filePath() : path;
}

std::optional<QString> saveFileWith(const QString& path, const std::function<bool(QIODevice&)>& write)
{
    if (path == kStandardOutputName) {
        std::fflush(stdout);
        // Bytes as they are: no CR added before each LF.
        _setmode(_fileno(stdout), _O_BINARY);
        QFile out;
        if (!out.open(_fileno(stdout), QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle))
            return failure(out);
        return writeInPlace(out, write);
    }
    if (writtenInPlace(path)) {
        const HANDLE h = CreateFileW(win::widePath(path).c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return win::systemMessage(GetLastError());
        QFile file;
        if (!openOnHandle(file, h))
            return QStringLiteral("erreur d'écriture");
        return writeInPlace(file, write);
    }
    return replaceAtomically(saveTarget(path), write);
}

}  // namespace tolvi
