#include "platform/file_save.h"

#include "platform/file_save_shared.h"
#include "platform/file_read.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tolvi {

using savefile::failure;
using savefile::writeInPlace;

namespace {

QByteArray encoded(const QString& path)
{
    return localFileName(path);
}

// Something that is written, not replaced: a device, a FIFO, a socket.
bool writtenInPlace(const struct stat& st)
{
    return !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
}

// The process's standard output (1) or error (2) when `st` is the file it
// points to, else -1. stat() follows links, so /dev/stdout, /proc/self/fd/1
// and the name of the file the shell redirected to all count.
int standardDescriptorOf(const struct stat& st)
{
    for (const int fd : {1, 2}) {
        struct stat open {};
        if (::fstat(fd, &open) == 0 && open.st_dev == st.st_dev && open.st_ino == st.st_ino)
            return fd;
    }
    return -1;
}

// Removes, in `folder`, the temporary files that saves killed half-way left
// there (a USB stick pulled out, a FAT file system), once they are clearly
// abandoned: another Tolvi may be saving into a shared folder right now.
void removeStaleLeftovers(const QString& folder)
{
    const std::time_t now = std::time(nullptr);
    const QStringList names = QDir(folder).entryList({QStringLiteral("*") + kSaveTempSuffix},
                                                     QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QString& name : names) {
        if (!isSaveLeftover(name))
            continue;
        const QByteArray path = encoded(QDir(folder).filePath(name));
        struct stat st {};
        if (::lstat(path.constData(), &st) == 0 && S_ISREG(st.st_mode) && st.st_mtime <= now - kSaveLeftoverAge)
            ::unlink(path.constData());
    }
}

// The longest file name the folder of `target` takes.
long longestName(const QByteArray& target)
{
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : target.left(slash);
    const long longest = ::pathconf(folder.constData(), _PC_NAME_MAX);
    return longest > 0 ? longest : 255;
}

// A new temporary file beside `target`, open for writing; -1 when none can
// be made (errno says why). It is named after the file ("cfg.P15.Xa3bQ9"
// and the suffix) unless that name would be longer than the folder takes:
// then it is "tolvi.Xa3bQ9" and the suffix, so that every name the file
// system accepts can be saved.
int createTemporary(const QByteArray& target, mode_t mode, QByteArray& name)
{
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    const QByteArray suffix = kSaveTempSuffix.toLatin1();
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = target.left(slash + 1);
    QByteArray base = target.mid(slash + 1);
    if (base.size() + 1 + 6 + suffix.size() > longestName(target))
        base = "tolvi";
    for (int attempt = 0; attempt < 100; ++attempt) {
        QByteArray tag;
        for (int i = 0; i < 6; ++i)
            tag += kLetters[QRandomGenerator::global()->bounded(62)];
        name = folder + base + '.' + tag + suffix;
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// A file this user may not change, or one marked read-only (no write
// permission for anybody: root too is kept from replacing it by mistake).
bool writeProtected(const QByteArray& target, const struct stat& st)
{
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(target.constData(), W_OK) != 0;
}

// Writes a regular file (new or replaced) through a temporary file beside
// it, renamed over it only once complete and on the disk.
std::optional<QString> replaceAtomically(const QString& targetName, const std::function<bool(QIODevice&)>& write)
{
    const QByteArray target = encoded(targetName);
    struct stat old {};
    const bool existed = ::stat(target.constData(), &old) == 0;
    if (existed && S_ISDIR(old.st_mode))
        return qt_error_string(EISDIR);
    if (existed && writeProtected(target, old))
        return QStringLiteral("le fichier est protégé en écriture");
    removeStaleLeftovers(QFileInfo(targetName).absolutePath());

    QByteArray temporary;
    const int fd = createTemporary(target, existed ? (old.st_mode & 07777) : 0666, temporary);
    if (fd < 0)
        return qt_error_string(errno);
    auto giveUp = [&temporary](const QString& why) -> std::optional<QString> {
        ::unlink(temporary.constData());
        return why.isEmpty() ? QStringLiteral("erreur d'écriture") : why;
    };
    // The old file's permissions, whatever the umask.
    if (existed && ::fchmod(fd, old.st_mode & 07777) != 0) {
        const QString why = qt_error_string(errno);
        ::close(fd);
        return giveUp(why);
    }
    QFile file;
    if (!file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return giveUp(file.errorString());
    }
    if (!write(file) || file.error() != QFileDevice::NoError)
        return giveUp(file.errorString());
    if (::fsync(fd) != 0) {
        const QString why = qt_error_string(errno);
        file.close();
        return giveUp(why);
    }
    file.close();
    if (file.error() != QFileDevice::NoError)
        return giveUp(file.errorString());
    if (::rename(temporary.constData(), target.constData()) != 0)
        return giveUp(qt_error_string(errno));
    return std::nullopt;
}

// Writes through an open descriptor, in place; `close` when it is ours.
std::optional<QString> writeThrough(int fd, bool close, const std::function<bool(QIODevice&)>& write)
{
    QFile file;
    if (!file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered,
                   close ? QFileDevice::AutoCloseHandle : QFileDevice::DontCloseHandle)) {
        if (close)
            ::close(fd);
        return failure(file);
    }
    return writeInPlace(file, write);
}

// A device, a FIFO or a socket, opened without blocking: a FIFO nobody
// reads would otherwise keep the program waiting for ever.
std::optional<QString> writeSpecial(const QString& path, const std::function<bool(QIODevice&)>& write)
{
    const int fd = ::open(encoded(path).constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENXIO)
            return QStringLiteral("aucun programme ne lit ce tube");
        return qt_error_string(errno);
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags == -1 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == -1) {
        const QString why = qt_error_string(errno);
        ::close(fd);
        return why;
    }
    return writeThrough(fd, true, write);
}

}  // namespace

std::optional<QString> currentFolder()
{
    QByteArray buffer(4096, '\0');
    while (::getcwd(buffer.data(), size_t(buffer.size())) == nullptr) {
        if (errno != ERANGE || buffer.size() > (1 << 20))
            return std::nullopt;
        buffer.resize(buffer.size() * 2);
    }
    return QFile::decodeName(buffer.constData());
}

QString saveTarget(const QString& path)
{
    QFileInfo info(path);
    int links = 0;
    // Each step gives an absolute path; a loop of links ends here too.
    while (info.isSymLink() && links < 40) {
        info.setFile(info.symLinkTarget());
        ++links;
    }
    return links > 0 ? info.filePath() : path;
}

std::optional<QString> saveFileWith(const QString& path, const std::function<bool(QIODevice&)>& write)
{
    if (path == kStandardOutputName) {
        std::fflush(stdout);
        return writeThrough(1, false, write);
    }
    // A relative name in a folder deleted meanwhile: nowhere to go.
    if (QFileInfo(path).isRelative() && !currentFolder())
        return QStringLiteral("le dossier courant n'existe plus");
    struct stat st {};
    if (::stat(encoded(path).constData(), &st) == 0) {
        // The process's own output, whatever it points to (a pipe, a file
        // the shell opened for it): written through it, after what is
        // already there, never replaced.
        if (const int fd = standardDescriptorOf(st); fd >= 0) {
            std::fflush(fd == 1 ? stdout : stderr);
            return writeThrough(fd, false, write);
        }
        if (writtenInPlace(st))
            return writeSpecial(path, write);
    }
    // Unbuffered: a short write (a full disk, a size limit) shows in write()'s
    // count; through QFileDevice's buffer, a short write would be flushed
    // without notice and the old file replaced with a cut one.
    return replaceAtomically(saveTarget(path), write);
}

}  // namespace tolvi
