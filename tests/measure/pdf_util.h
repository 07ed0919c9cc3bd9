#pragma once
// Reading back the PDFs the program writes: pages, page size, pictures and,
// when poppler's pdftotext is installed, the text.

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
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

#ifdef _WIN32
// Under Wine, Linux's pdftotext can be started too, but Wine starts a Linux
// program detached, with its standard streams lost: it writes into a file
// beside the PDF instead, and its exit code into another once it is done.
inline bool linuxPdftotextUnderWine()
{
    return !qEnvironmentVariableIsEmpty("WINEPREFIX") && QFileInfo::exists(QStringLiteral("Z:/bin/sh"))
        && QFileInfo::exists(QStringLiteral("Z:/usr/bin/pdftotext"));
}

inline std::optional<QByteArray> runPdftotextUnderWine(const QStringList& options, const QString& path)
{
    const QString prefix = qEnvironmentVariable("WINEPREFIX");
    // The Linux name of a Windows one: Z: is the Linux root, the other
    // drives are the prefix's drive_ folders.
    const auto linuxName = [&](const QString& windowsName) {
        const QString absolute = QDir::fromNativeSeparators(QFileInfo(windowsName).absoluteFilePath());
        if (absolute.startsWith(QLatin1String("Z:/"), Qt::CaseInsensitive))
            return absolute.mid(2);
        return prefix + QStringLiteral("/drive_") + absolute.at(0).toLower() + absolute.mid(2);
    };
    // The command goes through a script file: Wine splits a command line
    // by Windows rules, which a shell's quoting does not survive.
    const QString text = path + QStringLiteral(".pdftotext.txt");
    const QString code = path + QStringLiteral(".pdftotext.rc");
    const QString script = path + QStringLiteral(".pdftotext.sh");
    QFile::remove(text);
    QFile::remove(code);
    const auto quoted = [](QString s) {
        return QLatin1Char('\'') + s.replace(QLatin1Char('\''), QLatin1String("'\\''")) + QLatin1Char('\'');
    };
    QString command = QStringLiteral("/usr/bin/pdftotext");
    for (const QString& option : options)
        command += QLatin1Char(' ') + quoted(option);
    command += QLatin1Char(' ') + quoted(linuxName(path)) + QLatin1Char(' ') + quoted(linuxName(text));
    command += QStringLiteral(" 2>/dev/null\necho $? > ") + quoted(linuxName(code) + QStringLiteral(".part"))
        + QStringLiteral("\nmv ") + quoted(linuxName(code) + QStringLiteral(".part")) + QLatin1Char(' ')
        + quoted(linuxName(code)) + QLatin1Char('\n');
    QFile scriptFile(script);
    if (!scriptFile.open(QIODevice::WriteOnly) || scriptFile.write(command.toUtf8()) < 0) {
        ADD_FAILURE() << "cannot write " << script.toStdString();
        return std::nullopt;
    }
    scriptFile.close();
    if (!QProcess::startDetached(QStringLiteral("/bin/sh"), {linuxName(script)})) {
        ADD_FAILURE() << "Linux's pdftotext could not be started under Wine for " << path.toStdString();
        return std::nullopt;
    }
    QElapsedTimer waited;
    waited.start();
    while (!QFileInfo::exists(code) && waited.elapsed() < 60000)
        QThread::msleep(20);
    QFile rc(code);
    QFile out(text);
    if (!rc.open(QIODevice::ReadOnly) || rc.readAll().trimmed() != "0" || !out.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "pdftotext could not read " << path.toStdString() << " under Wine";
        return std::nullopt;
    }
    QByteArray result = out.readAll();
    rc.close();
    out.close();
    QFile::remove(text);
    QFile::remove(code);
    QFile::remove(script);
    return result;
}
#endif

// pdftotext run on a PDF file with `options` before its name: its output,
// or nothing (the test failing, never passing unchecked) when it cannot run.
inline std::optional<QByteArray> runPdftotext(const QStringList& options, const QString& path)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
#ifdef _WIN32
    if (tool.isEmpty() && linuxPdftotextUnderWine())
        return runPdftotextUnderWine(options, path);
#endif
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
