#include "platform/file_read.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tolvi {

namespace {

FileNature natureOf(mode_t mode)
{
    if (S_ISREG(mode))
        return FileNature::Regular;
    if (S_ISDIR(mode))
        return FileNature::Folder;
    return FileNature::Special;
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

bool exists(const QByteArray& name)
{
    struct stat st {};
    return ::lstat(name.constData(), &st) == 0;
}

}  // namespace

QByteArray localFileName(const QString& path)
{
    const QByteArray utf8 = QFile::encodeName(path);
    if (exists(utf8))
        return utf8;
    // Latin-1 only when every character has a Latin-1 byte, and that name
    // is there.
    for (const QChar c : path)
        if (c.unicode() > 0xff)
            return utf8;
    const QByteArray latin1 = path.toLatin1();
    return latin1 != utf8 && exists(latin1) ? latin1 : utf8;
}

QString argumentText(const char* argument)
{
    const QByteArray bytes(argument);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

FileNature fileNature(const QString& path)
{
    struct stat st {};
    if (path.isEmpty() || ::stat(localFileName(path).constData(), &st) != 0)
        return FileNature::Missing;
    return natureOf(st.st_mode);
}

bool isRegularFile(const QString& path)
{
    return fileNature(path) == FileNature::Regular;
}

bool openRegularFile(QFile& file, const QString& path)
{
    if (!isRegularFile(path))
        return false;
    // Without blocking: a FIFO put in the file's place since the check above
    // would otherwise wait here for a writer.
    const int fd = ::open(localFileName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    const int flags = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || flags == -1 ||
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == -1 ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
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
        // It grew while it was read.
        r.size = r.bytes.size();
        r.status = FileBytes::Status::TooLarge;
        r.bytes.clear();
    }
    return r;
}

}  // namespace tolvi
