#pragma once
// Reading back the PDFs the program writes: pages, page size, pictures and,
// when poppler's pdftotext is installed, the text.

#include <QByteArray>
#include <QImage>
#include <QProcess>
#include <gtest/gtest.h>
#include <QRegularExpression>
#include <QSizeF>
#include <QStandardPaths>
#include <QString>
#include <optional>
#include <vector>

namespace tolvi::testing {

// Page objects ("/Type /Page", not "/Type /Pages").
inline int pdfPageCount(const QByteArray& pdf)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
    int n = 0;
    auto it = page.globalMatch(QString::fromLatin1(pdf));
    while (it.hasNext()) {
        it.next();
        ++n;
    }
    return n;
}

inline int pdfImageCount(const QByteArray& pdf)
{
    return int(pdf.count("/Subtype /Image"));
}

// Width and height of the first page's MediaBox, in points.
inline QSizeF pdfFirstPageSize(const QByteArray& pdf)
{
    static const QRegularExpression box(
        QStringLiteral("/MediaBox\\s*\\[\\s*0\\s+0\\s+([0-9.]+)\\s+([0-9.]+)\\s*\\]"));
    const auto m = box.match(QString::fromLatin1(pdf));
    return m.hasMatch() ? QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QSizeF();
}

// One picture embedded in a PDF: its compression filter and, for the
// lossless ones the program writes (8-bit RGB or grey, Flate), its pixels.
struct PdfImage {
    QByteArray filter;  // "FlateDecode", "DCTDecode", ... or empty
    QImage image;       // null when the filter is not Flate or the form unknown
};

// The image objects of a PDF in file order.
inline std::vector<PdfImage> pdfImages(const QByteArray& pdf)
{
    static const QRegularExpression number(QStringLiteral("/(Width|Height|BitsPerComponent)\\s+(\\d+)"));
    static const QRegularExpression name(QStringLiteral("/(ColorSpace|Filter)\\s*/(\\w+)"));
    std::vector<PdfImage> images;
    qsizetype at = 0;
    while ((at = pdf.indexOf("/Subtype /Image", at)) >= 0) {
        const qsizetype open = pdf.lastIndexOf("<<", at);
        const qsizetype streamAt = pdf.indexOf("stream", at);
        if (open < 0 || streamAt < 0)
            break;
        const QString dict = QString::fromLatin1(pdf.mid(open, streamAt - open));
        int width = 0, height = 0, bits = 0;
        for (auto it = number.globalMatch(dict); it.hasNext();) {
            const auto m = it.next();
            const int v = m.captured(2).toInt();
            (m.captured(1) == QLatin1String("Width") ? width : m.captured(1) == QLatin1String("Height") ? height : bits) = v;
        }
        QString space, filter;
        for (auto it = name.globalMatch(dict); it.hasNext();) {
            const auto m = it.next();
            (m.captured(1) == QLatin1String("ColorSpace") ? space : filter) = m.captured(2);
        }
        qsizetype data = streamAt + 6;
        if (pdf.mid(data, 2) == "\r\n")
            data += 2;
        else if (pdf.at(data) == '\n' || pdf.at(data) == '\r')
            ++data;
        const qsizetype end = pdf.indexOf("endstream", data);
        PdfImage image{filter.toLatin1(), QImage()};
        const int channels = space == QLatin1String("DeviceRGB") ? 3 : space == QLatin1String("DeviceGray") ? 1 : 0;
        if (end > data && filter == QLatin1String("FlateDecode") && bits == 8 && channels > 0 && width > 0 && height > 0) {
            const qsizetype expected = qsizetype(width) * height * channels;
            QByteArray packed(4, '\0');
            packed[0] = char((expected >> 24) & 0xff);
            packed[1] = char((expected >> 16) & 0xff);
            packed[2] = char((expected >> 8) & 0xff);
            packed[3] = char(expected & 0xff);
            packed += pdf.mid(data, end - data);
            const QByteArray raw = qUncompress(packed);
            if (raw.size() >= expected) {
                QImage pixels(width, height, QImage::Format_RGB32);
                const auto* bytes = reinterpret_cast<const uchar*>(raw.constData());
                for (int y = 0; y < height; ++y)
                    for (int x = 0; x < width; ++x) {
                        const uchar* p = bytes + (qsizetype(y) * width + x) * channels;
                        pixels.setPixel(x, y, channels == 3 ? qRgb(p[0], p[1], p[2]) : qRgb(p[0], p[0], p[0]));
                    }
                image.image = pixels;
            }
        }
        images.push_back(image);
        at = streamAt;
    }
    return images;
}

// pdftotext run on a PDF file with `options` before its name: its output,
// or nothing (the test failing, never passing unchecked) when it cannot run.
inline std::optional<QByteArray> runPdftotext(const QStringList& options, const QString& path)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty()) {
        ADD_FAILURE() << "pdftotext (poppler-utils) is needed to read the text of " << path.toStdString();
        return std::nullopt;
    }
    QProcess p;
    p.start(tool, options + QStringList{path, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext could not read " << path.toStdString() << ": "
                      << p.readAllStandardError().toStdString();
        return std::nullopt;
    }
    return p.readAllStandardOutput();
}

// The text of a PDF file, or nothing when pdftotext is not installed.
inline std::optional<QString> pdfText(const QString& path)
{
    const std::optional<QByteArray> out = runPdftotext({QStringLiteral("-enc"), QStringLiteral("UTF-8")}, path);
    if (!out)
        return std::nullopt;
    return QString::fromUtf8(*out);
}

}  // namespace tolvi::testing
