#pragma once
// Reading an RTF text file (a statement, a correction, a text the pupil
// saved) before it goes into the exercise window: a regular file only, its
// "{\rtf" mark checked from its first bytes, and its size bounded, so that a
// huge file is refused at once instead of being read whole.

#include <QByteArray>
#include <QString>

namespace tolvi {

// The largest text read: 64 Mo (64 × 1 048 576 bytes).
inline constexpr qint64 kTextSizeLimit = qint64(64) << 20;
// How many first bytes the "{\rtf" mark is looked for in (blanks before it
// are allowed, as the RTF reader allows them).
inline constexpr qint64 kRtfHeadSize = 4096;

enum class RtfFileStatus {
    Ok,
    Unreadable,  // missing, not a regular file, or could not be read
    NotRtf,      // no "{\rtf" after the leading blanks
    TooLarge,    // an RTF file beyond kTextSizeLimit: nothing read
};

struct RtfFileRead {
    RtfFileStatus status = RtfFileStatus::Ok;
    QByteArray bytes;  // the whole file when Ok
    qint64 size = 0;   // the file's size, when it could be told
};

// Whether `head` begins, after blanks (space, tab, CR, LF), with "{\rtf".
bool startsAsRtf(const QByteArray& head);

// Reads the RTF file at `path` within `limit` bytes.
RtfFileRead readRtfFile(const QString& path, qint64 limit = kTextSizeLimit);

// The message about a text beyond the limit.
namespace rtffile {
inline const QString kTooLargeTitle = QStringLiteral("Fichier trop grand");
// "Le fichier " + path + " est trop grand (N Mo) : Tolvi lit les textes
// jusqu'à 64 Mo." N is the size in Mo rounded up, its digits grouped.
QString tooLargeText(const QString& path, qint64 size, qint64 limit = kTextSizeLimit);
}  // namespace rtffile

}  // namespace tolvi
