#include "config/record_file.h"

#include "platform/file_read.h"
#include "platform/file_save.h"
#include "text/cp1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace tolvi {

namespace {

// A text as the user sees it in a message: cut after 40 characters.
QString shown(const QString& text)
{
    constexpr qsizetype kShown = 40;
    if (text.size() <= kShown)
        return text;
    return text.left(kShown) + QChar(0x2026);
}

RecordStatus failure(RecordError error, int record, const QString& message)
{
    RecordStatus s;
    s.error = error;
    s.record = record;
    s.message = message;
    return s;
}

RecordStatus damaged(int record)
{
    return failure(RecordError::Damaged, record,
                   QStringLiteral("L'enregistrement %1 du fichier est endommagé.").arg(record));
}

// The 128 bytes of a record holding already-encoded text (at most 126 bytes).
QByteArray recordBytes(const QByteArray& encoded)
{
    QByteArray rec(kRecordSize, '\0');
    const auto n = static_cast<unsigned>(encoded.size());
    rec[0] = static_cast<char>(n & 0xFF);
    rec[1] = static_cast<char>((n >> 8) & 0xFF);
    std::copy(encoded.begin(), encoded.end(), rec.begin() + 2);
    return rec;
}

struct Encoded {
    QByteArray bytes;
    RecordStatus status;
};

Encoded encodeRecordText(const QString& text, int record)
{
    Encoded e;
    e.status = checkRecordText(text, record);
    if (e.status.ok())
        e.bytes = *encodeCp1252(text);
    return e;
}

qint64 recordOffset(int n)
{
    return qint64(n - 1) * kRecordSize;
}

QString readFailureMessage(const QString& path)
{
    return QStringLiteral("Le fichier %1 ne peut pas être lu.").arg(QDir::toNativeSeparators(path));
}

QString writeFailureMessage(const QString& path, bool kept)
{
    QString m = QStringLiteral("Le fichier %1 ne peut pas être écrit.").arg(QDir::toNativeSeparators(path));
    if (kept)
        m += QStringLiteral(" Le fichier existant n'a pas été modifié.");
    return m;
}

// Writes `rec` as record n of an open file, first filling with zeros (empty
// records) any gap between the end of the file and the record.
bool putRecord(QFile& f, int n, const QByteArray& rec)
{
    const qint64 offset = recordOffset(n);
    const qint64 size = f.size();
    if (size < offset) {
        if (!f.seek(size))
            return false;
        const QByteArray gap(offset - size, '\0');
        if (f.write(gap) != gap.size())
            return false;
    }
    if (!f.seek(offset))
        return false;
    if (f.write(rec) != rec.size())
        return false;
    return f.flush();
}

}  // namespace

QString trimBlanks(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

RecordStatus checkRecordText(const QString& text, int record)
{
    const qsizetype bad = firstNonCp1252(text);
    if (bad >= 0) {
        // Show the whole character, both halves of a surrogate pair.
        qsizetype len = 1;
        if (text.at(bad).isHighSurrogate() && bad + 1 < text.size() && text.at(bad + 1).isLowSurrogate())
            len = 2;
        return failure(RecordError::Unencodable, record,
                       QStringLiteral("Le texte « %1 » contient le caractère « %2 », qui ne peut pas être "
                                      "enregistré dans un fichier de Tolvi.")
                           .arg(shown(text), text.mid(bad, len)));
    }
    // Windows-1252 uses one byte per character.
    if (text.size() > kRecordTextMax) {
        return failure(RecordError::TooLong, record,
                       QStringLiteral("Le texte « %1 » est trop long pour être enregistré "
                                      "(%2 caractères au plus).")
                           .arg(shown(text))
                           .arg(kRecordTextMax));
    }
    return {};
}

int RecordImage::recordCount() const
{
    return int((bytes_.size() + kRecordSize - 1) / kRecordSize);
}

RecordText RecordImage::read(int n) const
{
    RecordText r;
    if (n < 1) {
        r.status = damaged(n);
        return r;
    }
    const qint64 offset = recordOffset(n);
    const qint64 size = bytes_.size();
    if (offset >= size)
        return r;  // past the end: empty
    if (offset + 2 > size) {
        r.status = damaged(n);  // the length itself is cut
        return r;
    }
    const auto lo = static_cast<unsigned char>(bytes_[offset]);
    const auto hi = static_cast<unsigned char>(bytes_[offset + 1]);
    const qint64 length = lo | (hi << 8);
    if (length > kRecordTextMax || offset + 2 + length > size) {
        r.status = damaged(n);
        return r;
    }
    r.text = decodeCp1252(QByteArrayView(bytes_.constData() + offset + 2, length));
    return r;
}

RecordStatus RecordImage::write(int n, const QString& text)
{
    if (n < 1)
        return failure(RecordError::Unwritable, n, QStringLiteral("Numéro d'enregistrement incorrect."));
    Encoded e = encodeRecordText(text, n);
    if (!e.status.ok())
        return e.status;
    const qint64 end = recordOffset(n + 1);
    if (bytes_.size() < end)
        bytes_.resize(end, '\0');
    const QByteArray rec = recordBytes(e.bytes);
    std::copy(rec.begin(), rec.end(), bytes_.begin() + recordOffset(n));
    return {};
}

RecordStatus buildRecordImage(const QStringList& texts, RecordImage& image)
{
    QByteArray bytes;
    bytes.reserve(texts.size() * kRecordSize);
    for (qsizetype i = 0; i < texts.size(); ++i) {
        Encoded e = encodeRecordText(texts.at(i), int(i + 1));
        if (!e.status.ok())
            return e.status;
        bytes += recordBytes(e.bytes);
    }
    image = RecordImage(std::move(bytes));
    return {};
}

RecordFileRead readRecordFile(const QString& path, int maxRecords)
{
    RecordFileRead r;
    const QFileInfo info(path);
    if (fileNature(path) == FileNature::Missing) {
        // A name that does not exist in a folder that does reads as empty
        // records; an unreachable folder is a read failure.
        if (!path.isEmpty() && info.dir().exists())
            r.status = failure(RecordError::Missing, 0, readFailureMessage(path));
        else
            r.status = failure(RecordError::Unreadable, 0, readFailureMessage(path));
        return r;
    }
    // A folder, a FIFO or a device is refused before it is opened.
    QFile f;
    if (!openRegularFile(f, path)) {
        r.status = failure(RecordError::Unreadable, 0, readFailureMessage(path));
        return r;
    }
    const qint64 wanted = qint64(std::max(maxRecords, 0)) * kRecordSize;
    QByteArray bytes = f.read(wanted);
    if (f.error() != QFileDevice::NoError) {
        r.status = failure(RecordError::Unreadable, 0, readFailureMessage(path));
        return r;
    }
    r.image = RecordImage(std::move(bytes));
    return r;
}

RecordText readRecord(const QString& path, int n)
{
    RecordFileRead file = readRecordFile(path, n);
    if (file.status.error == RecordError::Unreadable) {
        RecordText r;
        r.status = file.status;
        return r;
    }
    RecordText r = file.image.read(n);
    if (r.ok() && file.status.error == RecordError::Missing)
        r.status = file.status;
    return r;
}

RecordStatus saveRecordFile(const QString& path, const QStringList& texts)
{
    RecordImage image;
    RecordStatus built = buildRecordImage(texts, image);
    if (!built.ok())
        return built;
    const bool existed = QFileInfo::exists(path);
    if (saveFileWhole(path, image.bytes()))
        return failure(RecordError::Unwritable, 0, writeFailureMessage(path, existed));
    return {};
}

namespace {
// A record is written in place only into a regular file, or a new one: a
// folder, a FIFO or a device in the flag file's place is left alone.
bool inPlaceWritable(const QString& path)
{
    const FileNature nature = fileNature(path);
    return nature == FileNature::Regular || nature == FileNature::Missing;
}
}  // namespace

RecordStatus writeRecord(const QString& path, int n, const QString& text)
{
    if (n < 1)
        return failure(RecordError::Unwritable, n, QStringLiteral("Numéro d'enregistrement incorrect."));
    Encoded e = encodeRecordText(text, n);
    if (!e.status.ok())
        return e.status;
    QFile f(path);
    if (!inPlaceWritable(path) || !f.open(QIODevice::ReadWrite | QIODevice::Unbuffered) ||
        !putRecord(f, n, recordBytes(e.bytes)))
        return failure(RecordError::Unwritable, n, writeFailureMessage(path, false));
    return {};
}

RecordText takeRecord(const QString& path, int n)
{
    RecordText r;
    if (n < 1) {
        r.status = damaged(n);
        return r;
    }
    QFile f(path);
    if (!inPlaceWritable(path) || !f.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
        r.status = failure(RecordError::Unreadable, n, readFailureMessage(path));
        return r;
    }
    const qint64 offset = recordOffset(n);
    QByteArray rec;
    if (f.size() > offset) {
        if (!f.seek(offset)) {
            r.status = failure(RecordError::Unreadable, n, readFailureMessage(path));
            return r;
        }
        rec = f.read(kRecordSize);
    }
    // Record n read as the only record of an image.
    r = RecordImage(rec).read(1);
    if (!r.ok())
        r.status = damaged(n);
    if (!putRecord(f, n, recordBytes({})) && r.ok())
        r.status = failure(RecordError::Unwritable, n, writeFailureMessage(path, false));
    return r;
}

}  // namespace tolvi
