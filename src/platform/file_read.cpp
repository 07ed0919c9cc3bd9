#include "platform/file_read.h"

#include <QFile>
#include <QStringDecoder>

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

}  // namespace tolvi
