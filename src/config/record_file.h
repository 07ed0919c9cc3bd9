#pragma once
// Record files: the configuration files (.P15), the exercise files (.E33,
// TOLVI.PEM) and the flag file TEMPQA.TMP share one organisation.
//
// - Fixed records of 128 bytes; record n (counted from 1) starts at byte
//   (n - 1) * 128.
// - A record holds one text: an unsigned 16-bit little-endian length L, then
//   L bytes of Windows-1252 text, no terminator; the rest of the record is
//   padding without meaning. L is at most 126.
// - A record that lies past the end of the file reads as an empty text; the
//   last record may stop right after its text.
// - A record whose length exceeds 126, or whose text runs past the end of the
//   file, is damaged: the caller reports "Lecture impossible sur disque".
//
// Texts that Windows-1252 cannot hold, or longer than 126 bytes, are refused
// with a French message; nothing is ever truncated silently.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tolvi {

inline constexpr int kRecordSize = 128;
inline constexpr int kRecordTextMax = kRecordSize - 2;  // 126 bytes of text

enum class RecordError {
    None,
    Missing,      // no such file (its folder exists): reads as a file of empty records
    Unreadable,   // the file or its folder cannot be opened or read
    Damaged,      // a length field above 126, or a text cut by the end of the file
    Unencodable,  // a character that Windows-1252 cannot hold
    TooLong,      // more than 126 bytes of text
    Unwritable,   // the file cannot be created or written; an old file is kept intact
};

struct RecordStatus {
    RecordError error = RecordError::None;
    int record = 0;   // the record concerned (counted from 1), 0 when none
    QString message;  // French explanation of the failure, empty when none

    bool ok() const { return error == RecordError::None; }
};

// One record's text as read, or why it could not be read.
struct RecordText {
    QString text;
    RecordStatus status;

    bool ok() const { return status.ok(); }
};

// The bytes of a record file held in memory.
class RecordImage {
public:
    RecordImage() = default;
    explicit RecordImage(QByteArray bytes) : bytes_(std::move(bytes)) {}

    const QByteArray& bytes() const { return bytes_; }

    // Records begun in the image (a last record cut short counts).
    int recordCount() const;

    // Record n's text (n >= 1): empty past the end; Damaged when its length
    // field exceeds 126 or its text runs past the end of the image.
    RecordText read(int n) const;

    // Writes a text into record n as a whole 128-byte record (text then zero
    // padding), extending the image with empty records as needed. Refuses
    // (and leaves the image as it was) a text that cannot be encoded or is
    // too long.
    RecordStatus write(int n, const QString& text);

private:
    QByteArray bytes_;
};

// The texts as a file image of whole records, record 1 first. Refuses the
// whole image when any text cannot be encoded or is too long.
RecordStatus buildRecordImage(const QStringList& texts, RecordImage& image);

// Checks that a text fits a record: Unencodable or TooLong with a French
// message naming the text, else ok. `record` is copied into the status.
RecordStatus checkRecordText(const QString& text, int record = 0);

// Reads the first `maxRecords` records of a file (no more is read, however
// large the file). A missing file in an existing folder gives Missing and an
// empty image; a folder or file that cannot be read gives Unreadable, and so
// does anything but a regular file (a FIFO, a device), which is never opened.
// The file is never created.
struct RecordFileRead {
    RecordImage image;
    RecordStatus status;
};
RecordFileRead readRecordFile(const QString& path, int maxRecords);

// Reads one record of a file; a missing file reads as empty (status Missing).
RecordText readRecord(const QString& path, int n);

// Writes a whole file of records atomically: the texts are checked first,
// then written to a temporary file in the same folder which replaces the old
// file only once complete. Any failure leaves the previous file as it was.
RecordStatus saveRecordFile(const QString& path, const QStringList& texts);

// Writes one record in place, creating the file when it does not exist and
// leaving every other record as it was (the flag file shared with the
// launcher).
RecordStatus writeRecord(const QString& path, int n, const QString& text);

// Reads record n and then clears it (writes an empty text), in one opening
// of the file, which is created when missing. The record is cleared even when
// what it held could not be read (the status then says Damaged).
RecordText takeRecord(const QString& path, int n);

// Removes blanks (spaces only, as the program's files were written) at both
// ends of a text.
QString trimBlanks(const QString& text);

}  // namespace tolvi
