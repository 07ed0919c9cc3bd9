// Windows side of the reading of files: the same guarantees as on other
// systems, through the wide calls, every file read in binary mode.
#include "platform/file_read.h"

#include "platform/win_paths.h"

#include <QFile>

#include <algorithm>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace tolvi {

namespace {

// What an open handle is.
FileNature natureOf(HANDLE h)
{
    if (GetFileType(h) != FILE_TYPE_DISK)
        return FileNature::Special;  // a device (NUL, CON, COM1) or a pipe
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(h, &info))
        return FileNature::Special;
    return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? FileNature::Folder : FileNature::Regular;
}

FileBytes::Status refusal(const QString& path)
{
    switch (fileNature(path)) {
    case FileNature::Missing: return FileBytes::Status::Missing;
    case FileNature::Regular: return FileBytes::Status::Unreadable;
    case FileNature::Folder:
    case FileNature::Special: break;
    }
    return FileBytes::Status::NotRegular;
}

bool readUpTo(QFile& file, qint64 limit, QByteArray& bytes)
{
    constexpr qint64 kChunk = 1 << 16;
    while (bytes.size() <= limit) {
        const qint64 wanted = std::min(kChunk, limit + 1 - qint64(bytes.size()));
        const QByteArray chunk = file.read(wanted);
        if (file.error() != QFileDevice::NoError)
            return false;
        if (chunk.isEmpty())
            break;
        bytes += chunk;
    }
    return true;
}

bool openTellingSize(QFile& file, const QString& path, FileBytes& r)
{
    if (!openRegularFile(file, path)) {
        r.status = refusal(path);
        return false;
    }
    r.size = file.size();
    return true;
}

}  // namespace

FileNature fileNature(const QString& path)
{
    switch (win::nameKind(path)) {
    case win::NameKind::Missing: return FileNature::Missing;
    case win::NameKind::File: return FileNature::Regular;
    case win::NameKind::Folder: return FileNature::Folder;
    case win::NameKind::Device: break;
    }
    return FileNature::Special;
}

bool isRegularFile(const QString& path)
{
    return fileNature(path) == FileNature::Regular;
}

bool openRegularFile(QFile& file, const QString& path)
{
    if (!isRegularFile(path))
        return false;
    const std::wstring name = win::widePath(path);
    const HANDLE h = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    // Checked once more on what was opened; binary: a 0x1A byte is data,
    // not the end of the file.
    if (natureOf(h) != FileNature::Regular) {
        CloseHandle(h);
        return false;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(h);
        return false;
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        _close(fd);
        return false;
    }
    return true;
}

FileBytes readFileHead(const QString& path, qint64 count)
{
    FileBytes r;
    QFile file;
    if (!openTellingSize(file, path, r))
        return r;
    if (!readUpTo(file, std::max<qint64>(count, 1) - 1, r.bytes))
        r.status = FileBytes::Status::Unreadable;
    if (r.bytes.size() > count)
        r.bytes.truncate(count);
    return r;
}

FileBytes readWholeFile(const QString& path, qint64 limit)
{
    FileBytes r;
    QFile file;
    if (!openTellingSize(file, path, r))
        return r;
    if (r.size > limit) {
        r.status = FileBytes::Status::TooLarge;
        return r;
    }
    if (!readUpTo(file, limit, r.bytes)) {
        r.status = FileBytes::Status::Unreadable;
        r.bytes.clear();
    } else if (r.bytes.size() > limit) {
        r.size = r.bytes.size();
        r.status = FileBytes::Status::TooLarge;
        r.bytes.clear();
    }
    return r;
}

}  // namespace tolvi
