#include "platform/file_save.h"

#include <QBuffer>
#include <QSaveFile>

namespace tolvi {

QString saveFileBytes(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    // Unbuffered, so that a short write (a full disk) is seen before the old
    // file is replaced.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || file.write(bytes) != bytes.size() ||
        !file.commit()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason.isEmpty() ? QStringLiteral("erreur d'écriture") : reason;
    }
    return QString();
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
