#pragma once
// The one way Tolvi writes a file it saves (configurations, texts, CSV,
// pictures, PDFs), from the window and from the batch line alike:
// - a regular file, or a new one, is replaced atomically: a temporary file in
//   the same folder is written whole, then renamed over it, so a failed save
//   (a full disk) never destroys the previous file;
// - a symbolic link keeps being a link: its target is replaced that way;
// - a character device, FIFO or socket (/dev/null, /dev/stdout, a pipe) is
//   written in place, never replaced by a plain file;
// - "-" is the standard output.
// Writes are unbuffered, so that a short write shows in the byte count.

#include <QByteArray>
#include <QImage>
#include <QString>
#include <functional>
#include <optional>

class QIODevice;

namespace tolvi {

// The name that means the standard output.
inline const QString kStandardOutputName = QStringLiteral("-");

// Writes `bytes` whole to `path`. Nothing on success, else the reason (the
// system's words).
std::optional<QString> saveFileWhole(const QString& path, const QByteArray& bytes);

// The same, the content written by `write` (false when it failed), for
// writers that need a device (a PDF writer).
std::optional<QString> saveFileWith(const QString& path, const std::function<bool(QIODevice& device)>& write);

// The same, an empty text when done, else the reason.
QString saveFileBytes(const QString& path, const QByteArray& bytes);

// The PNG encoding of `image`; empty for an empty image.
QByteArray pngBytes(const QImage& image);

// The file a save to `path` replaces: a symbolic link's final target (even
// when that target does not exist yet), else `path` itself.
QString saveTarget(const QString& path);

}  // namespace tolvi
