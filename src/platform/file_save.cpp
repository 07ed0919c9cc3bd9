#include "platform/file_save.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tolvi {

namespace {

// Something that is written, not replaced: a device, a FIFO, a socket.
// stat() follows links, so /dev/stdout (a link to the process's pipe or
// terminal) counts as what it points to.
bool writtenInPlace(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return false;  // a new file
    return !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
}

std::optional<QString> failure(const QFileDevice& file)
{
    return file.errorString().isEmpty() ? QStringLiteral("erreur d'écriture") : file.errorString();
}

std::optional<QString> writeInPlace(QFile& file, const std::function<bool(QIODevice&)>& write)
{
    const bool written = write(file);
    if (!written || file.error() != QFileDevice::NoError)
        return failure(file);
    file.close();
    if (file.error() != QFileDevice::NoError)
        return failure(file);
    return std::nullopt;
}

QByteArray encoded(const QString& path)
{
    return QFile::encodeName(path);
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

// A new temporary file beside `target`, open for writing; -1 when none can
// be made (errno says why).
int createTemporary(const QString& target, mode_t mode, QString& name)
{
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        QString tag;
        for (int i = 0; i < 6; ++i)
            tag += QLatin1Char(kLetters[QRandomGenerator::global()->bounded(62)]);
        name = target + QLatin1Char('.') + tag + kSaveTempSuffix;
        const int fd = ::open(encoded(name).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Writes a regular file (new or replaced) through a temporary file beside
// it, renamed over it only once complete and on the disk.
std::optional<QString> replaceAtomically(const QString& target, const std::function<bool(QIODevice&)>& write)
{
    struct stat old {};
    const bool existed = ::stat(encoded(target).constData(), &old) == 0;
    if (existed && S_ISDIR(old.st_mode))
        return qt_error_string(EISDIR);
    removeStaleLeftovers(QFileInfo(target).absolutePath());

    QString temporary;
    const int fd = createTemporary(target, existed ? (old.st_mode & 07777) : 0666, temporary);
    if (fd < 0)
        return qt_error_string(errno);
    auto giveUp = [&temporary](const QString& why) -> std::optional<QString> {
        ::unlink(encoded(temporary).constData());
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
    if (::rename(encoded(temporary).constData(), encoded(target).constData()) != 0)
        return giveUp(qt_error_string(errno));
    return std::nullopt;
}

}  // namespace

bool isSaveLeftover(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^.+\\.[A-Za-z0-9]{6}") +
                                            QRegularExpression::escape(kSaveTempSuffix) + QLatin1Char('$'));
    return pattern.match(name).hasMatch();
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
        QFile out;
        if (!out.open(1, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle))
            return failure(out);
        return writeInPlace(out, write);
    }
    if (writtenInPlace(path)) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return failure(file);
        return writeInPlace(file, write);
    }
    // Unbuffered: a short write (a full disk, a size limit) shows in write()'s
    // count; through QFileDevice's buffer, a short write would be flushed
    // without notice and the old file replaced with a cut one.
    return replaceAtomically(saveTarget(path), write);
}

std::optional<QString> saveFileWhole(const QString& path, const QByteArray& bytes)
{
    return saveFileWith(path, [&bytes](QIODevice& device) { return device.write(bytes) == bytes.size(); });
}

QString saveFileBytes(const QString& path, const QByteArray& bytes)
{
    return saveFileWhole(path, bytes).value_or(QString());
}

QByteArray pngBytes(const QImage& image)
{
    QByteArray png;
    if (image.isNull())
        return png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        png.clear();
    return png;
}

}  // namespace tolvi
