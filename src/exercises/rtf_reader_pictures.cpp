// Pictures of RTF text: PNG, JPEG, GIF and BMP data whatever the word that
// labels it, device-independent bitmaps (\dibitmap) and the bitmaps that
// metafiles (\wmetafile) carry, decoded at a bounded size; a picture that
// cannot be shown leaves « [image non affichée] » in its place. Each picture
// keeps the data it came with, so that it is written back as it came.
#include "exercises/rtf_reader.h"
#include "exercises/rtf_reader_state.h"

#include <QBuffer>
#include <QImageReader>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>
#include <QtEndian>

#include <algorithm>
#include <cmath>

namespace tolvi::rtf {

namespace {

// Shown pictures fit the text of an A4 page with margins of 2 cm (17 cm by
// 25,7 cm at 96 dots per inch).
constexpr double kMaxShownWidth = 643;
constexpr double kMaxShownHeight = 971;

quint32 le32(const QByteArray& d, qsizetype at)
{
    return at >= 0 && at + 4 <= d.size() ? qFromLittleEndian<quint32>(d.constData() + at) : 0;
}

quint16 le16(const QByteArray& d, qsizetype at)
{
    return at >= 0 && at + 2 <= d.size() ? qFromLittleEndian<quint16>(d.constData() + at) : 0;
}

}  // namespace

// A device-independent bitmap (a BITMAPINFOHEADER, its colours and its
// pixels) as a BMP file: the file header in front, which tells where the
// pixels start.
QByteArray bmpFromDib(const QByteArray& dib)
{
    const quint32 header = le32(dib, 0);
    if (header < 12 || header > 124 || qsizetype(header) > dib.size())
        return {};
    quint32 colors = 0;
    quint32 masks = 0;
    if (header == 12) {
        const quint16 bits = le16(dib, 10);
        colors = bits <= 8 ? (1u << bits) * 3 : 0;
    } else {
        const quint16 bits = le16(dib, 14);
        const quint32 compression = le32(dib, 16);
        quint32 used = le32(dib, 32);
        if (used == 0 && bits <= 8)
            used = 1u << bits;
        if (used > 256)
            return {};
        colors = used * 4;
        if (header == 40 && (compression == 3 || compression == 6))
            masks = compression == 3 ? 12 : 16;
    }
    const quint32 offset = 14 + header + masks + colors;
    if (qsizetype(offset) > dib.size() + 14)
        return {};
    QByteArray bmp(14, '\0');
    bmp[0] = 'B';
    bmp[1] = 'M';
    qToLittleEndian<quint32>(quint32(dib.size() + 14), bmp.data() + 2);
    qToLittleEndian<quint32>(offset, bmp.data() + 10);
    return bmp + dib;
}

// The largest bitmap a Windows metafile draws (a pasted picture, a Paint
// object), as a BMP file; empty when it draws none (a drawing of lines and
// text, as Word's equations).
QByteArray bmpFromWmf(const QByteArray& wmf)
{
    qsizetype at = 0;
    if (le32(wmf, 0) == 0x9AC6CDD7u)
        at = 22;  // the placeable header
    const quint16 headerWords = le16(wmf, at + 2);
    if (headerWords != 9)
        return {};
    at += 18;
    qsizetype bestAt = -1, bestSize = 0;
    while (at + 6 <= wmf.size()) {
        const quint32 words = le32(wmf, at);
        const quint16 function = le16(wmf, at + 4);
        if (words < 3 || qint64(words) * 2 > wmf.size() - at)
            break;
        const qsizetype size = qsizetype(words) * 2;
        qsizetype dib = -1;
        switch (function) {
        case 0x0F43: dib = 28; break;  // StretchDIB
        case 0x0B41: dib = 26; break;  // DIBStretchBlt
        case 0x0940: dib = 22; break;  // DIBBitBlt
        case 0x0D33: dib = 24; break;  // SetDIBitsToDevice
        case 0x0000: at = wmf.size(); continue;  // the end of the metafile
        default: break;
        }
        if (dib > 0 && size - dib > bestSize && le32(wmf, at + dib) >= 12) {
            bestAt = at + dib;
            bestSize = size - dib;
        }
        at += size;
    }
    if (bestAt < 0)
        return {};
    return bmpFromDib(wmf.mid(bestAt, bestSize));
}

void RtfReader::finishPicture()
{
    Picture p = std::move(picture_);
    picture_ = Picture{};
    // A shape gives its picture twice (as its picture and as its fill): the
    // first one is shown.
    if (const int shape = state().shapeDepth; shape > 0) {
        if (shapeWithPicture_ == shape)
            return;
        shapeWithPicture_ = shape;
    }
    if (p.data.isEmpty() && !p.tooLarge)
        return;
    if (p.tooLarge) {
        p.data.clear();
        addPictureNotShown(p);
        return;
    }

    // The data tells its format better than its label does.
    QByteArray data = p.data;
    QByteArray format;
    if (data.startsWith("\x89PNG"))
        format = "png";
    else if (data.startsWith("\xFF\xD8\xFF"))
        format = "jpeg";
    else if (data.startsWith("GIF8"))
        format = "gif";
    else if (data.startsWith("BM"))
        format = "bmp";
    else if (p.kind == "dibitmap")
        data = bmpFromDib(data), format = "bmp";
    else if (p.kind == "wmetafile")
        data = bmpFromWmf(data), format = "bmp";
    if (format.isEmpty() || data.isEmpty()) {
        addPictureNotShown(p);
        return;
    }

    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    const QSize size = reader.size();
    const qint64 pixels = size.isValid() ? qint64(size.width()) * size.height() : 0;
    if (pixels <= 0 || (pixels > kMaxSourcePixels && format != "jpeg")) {
        addPictureNotShown(p);
        return;
    }

    // Shown size: as the file asks, else the picture's own, within the text
    // of a page.
    double width = size.width();
    double height = size.height();
    if (p.goalWidth > 0 && p.goalHeight > 0) {
        width = p.goalWidth / kTwipsPerPixel;
        height = p.goalHeight / kTwipsPerPixel;
    }
    width *= std::clamp(p.scaleX, 1, 1000) / 100.0;
    height *= std::clamp(p.scaleY, 1, 1000) / 100.0;
    if (const double over = std::max(width / kMaxShownWidth, height / kMaxShownHeight); over > 1) {
        width /= over;
        height /= over;
    }
    width = std::max(1.0, width);
    height = std::max(1.0, height);

    // Decoded at twice the shown size at most (screens of high density),
    // within a bound: a photograph of 48 megapixels costs no more than one
    // of 4.
    const qint64 wanted = std::min<qint64>(kMaxPicturePixels, qint64(std::ceil(width * height * 4)));
    QSize decoded = size;
    if (pixels > wanted) {
        const double k = std::sqrt(double(wanted) / double(pixels));
        decoded = QSize(std::max(1, int(size.width() * k)), std::max(1, int(size.height() * k)));
        reader.setScaledSize(decoded);
    }
    const qint64 cost = qint64(decoded.width()) * decoded.height();
    if (picturePixels_ + cost > documentPixels_) {
        addPictureNotShown(p);
        return;
    }
    QImage image = reader.read();
    if (image.isNull()) {
        addPictureNotShown(p);
        return;
    }
    picturePixels_ += qint64(image.width()) * image.height();

    const QString name = QStringLiteral("rtfimage:%1").arg(++imageCount_);
    doc_.addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat f;
    f.setName(name);
    f.setWidth(width);
    f.setHeight(height);
    f.setProperty(kRtfPictureData, p.data);
    f.setProperty(kRtfPictureKind, p.words);
    flushText();
    para_.add(QString(QChar::ObjectReplacementCharacter), f);
}

void RtfReader::addPictureNotShown(const Picture& p)
{
    ++report_.picturesNotShown;
    QTextCharFormat f = charFormat();
    if (!p.data.isEmpty()) {
        f.setProperty(kRtfPictureData, p.data);
        f.setProperty(kRtfPictureKind, p.words);
    }
    flushText();
    const bool hidden = state().ch.hidden;
    if (hidden)
        return;
    para_.add(kPictureNotShown, f);
}

}  // namespace tolvi::rtf
