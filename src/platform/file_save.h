#pragma once
// The one way Tolvi writes a file it saves (configurations, texts, CSV,
// pictures, PDFs), from the window and from the batch line alike:
// - a regular file, or a new one, is replaced atomically: a temporary file in
//   the same folder is written whole, then renamed over it, so a failed save
//   (a full disk) never destroys the previous file. The temporary file is
//   named after the file saved, "cfg.P15.Xa3bQ9.tolvi-tmp", so that no
//   "*.P15" or "*.E33" list shows it; one that a save killed half-way left
//   behind (FAT keeps them) is removed by a later save into that folder once
//   it is an hour old, as another Tolvi may be saving there at that moment;
//   a name too long to take the added part gives "tolvi.Xa3bQ9.tolvi-tmp";
// - a file the user may not write, or one with no write permission at all
//   (marked read-only), is not replaced;
// - a symbolic link keeps being a link: its target is replaced that way;
// - a character device, FIFO or socket (/dev/null, a pipe) is written in
//   place, never replaced by a plain file; it is opened without blocking, so
//   a FIFO that nobody reads is refused at once instead of waiting for ever;
// - "-", and any name of the file the process's standard output or error
//   points to (/dev/stdout, /dev/stderr, the file the shell redirected to),
//   is written through that descriptor, after what is already there;
// - a relative name is refused when the current folder no longer exists.
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

// The end of the temporary files' names, and the age (seconds since their
// last change) from which a leftover one is removed.
inline const QString kSaveTempSuffix = QStringLiteral(".tolvi-tmp");
inline constexpr long kSaveLeftoverAge = 3600;

// Whether a file name is one of those temporary files: the saved file's name,
// a dot, six letters or digits, then ".tolvi-tmp".
bool isSaveLeftover(const QString& name);

// Writes `bytes` whole to `path`. Nothing on success, else the reason (the
// system's words).
std::optional<QString> saveFileWhole(const QString& path, const QByteArray& bytes);

// The same, the content written by `write` (false when it failed), for
// writers that need a device (a PDF writer).
std::optional<QString> saveFileWith(const QString& path, const std::function<bool(QIODevice& device)>& write);

// The same, an empty text when done, else the reason.
QString saveFileBytes(const QString& path, const QByteArray& bytes);

// The current folder, absolute; nothing when it no longer exists (deleted
// while the program ran in it).
std::optional<QString> currentFolder();

// The PNG encoding of `image`; empty for an empty image.
QByteArray pngBytes(const QImage& image);

// The file a save to `path` replaces: a symbolic link's final target (even
// when that target does not exist yet), else `path` itself.
QString saveTarget(const QString& path);

}  // namespace tolvi
