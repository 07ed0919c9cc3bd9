#include "platform/file_save.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>
#include <sys/stat.h>

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

}  // namespace

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
    // count; through QFileDevice's buffer, commit() would flush a short write
    // without noticing and replace the old file with a cut one.
    QSaveFile file(saveTarget(path));
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failure(file);
    if (!write(file) || file.error() != QFileDevice::NoError) {
        const std::optional<QString> why = failure(file);
        file.cancelWriting();
        return why;
    }
    if (!file.commit())
        return failure(file);
    return std::nullopt;
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
