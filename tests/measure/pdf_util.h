#pragma once
// Reading back the PDFs the program writes: pages, page size, pictures and,
// when poppler's pdftotext is installed, the text.

#include <QByteArray>
#include <QProcess>
#include <QRegularExpression>
#include <QSizeF>
#include <QStandardPaths>
#include <QString>
#include <optional>

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

// The text of a PDF file, or nothing when pdftotext is not installed.
inline std::optional<QString> pdfText(const QString& path)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return std::nullopt;
    QProcess p;
    p.start(tool, {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace tolvi::testing
