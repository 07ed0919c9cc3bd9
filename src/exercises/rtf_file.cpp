#include "exercises/rtf_file.h"

#include "platform/file_read.h"
#include "text/french_numbers.h"

namespace tolvi {

namespace {

constexpr qint64 kMo = qint64(1) << 20;

QString megabytes(qint64 bytes)
{
    const qint64 whole = bytes / kMo + (bytes % kMo != 0 ? 1 : 0);
    return formatPattern(double(whole), QStringLiteral("# ##0"));
}

}  // namespace

bool startsAsRtf(const QByteArray& head)
{
    qsizetype i = 0;
    while (i < head.size() && (head[i] == ' ' || head[i] == '\t' || head[i] == '\r' || head[i] == '\n'))
        ++i;
    return QByteArrayView(head).sliced(i).startsWith(QByteArrayView("{\\rtf"));
}

RtfFileRead readRtfFile(const QString& path, qint64 limit)
{
    RtfFileRead r;
    const FileBytes head = readFileHead(path, kRtfHeadSize);
    r.size = head.size;
    if (!head.ok()) {
        r.status = RtfFileStatus::Unreadable;
        return r;
    }
    if (!startsAsRtf(head.bytes)) {
        r.status = RtfFileStatus::NotRtf;
        return r;
    }
    FileBytes whole = readWholeFile(path, limit);
    r.size = whole.size;
    switch (whole.status) {
    case FileBytes::Status::Ok:
        // Replaced by something else between the two reads: checked again.
        r.status = startsAsRtf(whole.bytes.left(kRtfHeadSize)) ? RtfFileStatus::Ok : RtfFileStatus::NotRtf;
        if (r.status == RtfFileStatus::Ok)
            r.bytes = std::move(whole.bytes);
        break;
    case FileBytes::Status::TooLarge: r.status = RtfFileStatus::TooLarge; break;
    default: r.status = RtfFileStatus::Unreadable; break;
    }
    return r;
}

QString rtffile::tooLargeText(const QString& path, qint64 size, qint64 limit)
{
    return QStringLiteral("Le fichier ") + path + QStringLiteral(" est trop grand (") + megabytes(size) +
           QStringLiteral(" Mo) : Tolvi lit les textes jusqu'à ") + megabytes(limit) + QStringLiteral(" Mo.");
}

}  // namespace tolvi
