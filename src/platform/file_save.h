#pragma once
// Writing a whole file from the program: every save that is not a record
// file goes through here, so they all follow one rule (the file is complete
// or the previous one is kept).

#include <QByteArray>
#include <QImage>
#include <QString>

namespace tolvi {

// Writes `bytes` as the whole content of `path`. Returns an empty text when
// done, or the system's reason of the failure (the previous file is kept).
QString saveFileBytes(const QString& path, const QByteArray& bytes);

// The PNG encoding of `image`; empty for an empty image.
QByteArray pngBytes(const QImage& image);

}  // namespace tolvi
