// The reading of files that is the same on every system, on top of each
// system's fileNature() and openRegularFile().
#include "platform/file_read.h"

#include <QFile>

#include <algorithm>

namespace tolvi {

namespace {

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

// Reads from `file` until its end or until more than `limit` bytes came.
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

// Opens `file` on `path` and tells its size in `r`; false, with the reason
// in `r`, when it is not a regular file that opens.
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

bool isRegularFile(const QString& path)
{
    return fileNature(path) == FileNature::Regular;
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
        // It grew while it was read.
        r.size = r.bytes.size();
        r.status = FileBytes::Status::TooLarge;
        r.bytes.clear();
    }
    return r;
}

}  // namespace tolvi
