// The saving of files that is the same on every system, on top of each
// system's saveFileWith().
#include "platform/file_save.h"

#include "platform/file_save_shared.h"

#include <QBuffer>
#include <QRegularExpression>

namespace tolvi {

namespace savefile {

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

}  // namespace savefile

bool isSaveLeftover(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^.+\\.[A-Za-z0-9]{6}") +
                                            QRegularExpression::escape(kSaveTempSuffix) + QLatin1Char('$'));
    return pattern.match(name).hasMatch();
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
