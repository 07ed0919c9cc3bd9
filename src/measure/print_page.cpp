#include "measure/print_page.h"

#include "platform/file_save.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

namespace tolvi {

namespace {
QFont titleFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(12);
    font.setBold(true);
    return font;
}

QFont bodyFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(10);
    font.setBold(true);  // only the size changes after the title
    return font;
}

// Line height of a font of `points` on a device of `dpi`.
int lineHeight(const QFont& font, int dpi)
{
    // Point sizes scale with the device resolution; 72 points to the inch.
    QFont scaled(font);
    scaled.setPixelSize(std::max(1, int(font.pointSizeF() * dpi / 72.0 + 0.5)));
    return QFontMetrics(scaled).lineSpacing();
}

// A picture of `pixels` at 96 per inch, in device units; narrowed to the
// page width (keeping its proportions) when wider than the page.
QSize printedSize(const QSize& pixels, int dpi, int pageWidth)
{
    QSize size(int(pixels.width() * double(dpi) / 96.0 + 0.5), int(pixels.height() * double(dpi) / 96.0 + 0.5));
    if (size.width() > pageWidth && size.width() > 0)
        size = QSize(pageWidth, int(double(size.height()) * pageWidth / size.width() + 0.5));
    return size;
}
// Size of a picture in screen pixels.
QSize screenSize(const QImage& image)
{
    return image.deviceIndependentSize().toSize();
}

// Why a PDF file cannot be written: the folder is missing or closed, or the
// file itself is.
QString unwritableFile(const QString& path, const QString& systemReason)
{
    const QFileInfo file(path);
    // Named as given when it has no folder to be looked for in.
    if (file.isRelative() && !currentFolder())
        return QStringLiteral("Le fichier « %1 » ne peut pas être écrit : %2.")
            .arg(QDir::toNativeSeparators(path), systemReason);
    const QString folder = QDir::toNativeSeparators(file.absolutePath());
    const QFileInfo dir(file.absolutePath());
    QString reason;
    if (!dir.exists())
        reason = QStringLiteral("le dossier « %1 » n'existe pas").arg(folder);
    else if (!dir.isDir())
        reason = QStringLiteral("« %1 » n'est pas un dossier").arg(folder);
    else if (file.isDir())
        reason = QStringLiteral("c'est un dossier du même nom");
    else if (file.exists() && !file.isWritable())
        reason = QStringLiteral("le fichier est protégé en écriture");
    else if (!dir.isWritable())
        reason = QStringLiteral("le dossier « %1 » est protégé en écriture").arg(folder);
    else
        reason = systemReason.isEmpty() ? QStringLiteral("le disque le refuse") : systemReason;
    return QStringLiteral("Le fichier « %1 » ne peut pas être écrit : %2.")
        .arg(QDir::toNativeSeparators(file.absoluteFilePath()), reason);
}

QString refusal(const QString& pdfFile)
{
    if (!pdfFile.isEmpty())
        return unwritableFile(pdfFile, QString());
    return QStringLiteral("L'imprimante n'accepte pas le document : vérifiez qu'elle est "
                          "allumée et disponible, ou choisissez-en une autre avec « Imprimantes ».");
}
}  // namespace

double printScale(int dpi)
{
    return std::clamp(dpi / 96.0, 1.0, 4.0);
}

PageLayout pageLayout(const QSize& pageSize, int dpi, const QSize& rope, const QSize& graph,
                      const PrintOptions& options)
{
    PageLayout layout;
    const int titleLine = lineHeight(titleFont(), dpi);
    const int bodyLine = lineHeight(bodyFont(), dpi);
    layout.title = QRect(0, 0, pageSize.width(), titleLine);
    // The pictures start a twentieth of the page down, never over the title.
    int y = std::max(pageSize.height() / 20, titleLine);
    if (options.rope) {
        const QSize size = printedSize(rope, dpi, pageSize.width());
        layout.rope = QRect((pageSize.width() - size.width()) / 2, y, size.width(), size.height());
        y += size.height() + 2 * bodyLine;
    }
    if (options.graph) {
        const QSize size = printedSize(graph, dpi, pageSize.width());
        layout.graph = QRect((pageSize.width() - size.width()) / 2, y, size.width(), size.height());
    }
    return layout;
}

PageLayout paintPage(QPainter& painter, const QSize& pageSize, int dpi, const QImage& rope,
                     const QImage& graph, const PrintOptions& options)
{
    const PageLayout layout = pageLayout(pageSize, dpi, screenSize(rope), screenSize(graph), options);
    QFont font = titleFont();
    font.setPixelSize(std::max(1, int(12.0 * dpi / 72.0 + 0.5)));
    painter.save();
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(layout.title, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, options.title);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    // Pictures go to paper as they are, never through lossy compression.
    painter.setRenderHint(QPainter::LosslessImageRendering, true);
    if (options.rope && !rope.isNull())
        painter.drawImage(layout.rope, rope);
    if (options.graph && !graph.isNull())
        painter.drawImage(layout.graph, graph);
    painter.restore();
    return layout;
}

QString printPages(QPagedPaintDevice& device, const QImage& rope, const QImage& graph,
                   const PrintOptions& options)
{
    return printPages(device, PrintPictures{[&rope](double) { return rope; }, [&graph](double) { return graph; }},
                      options);
}

QString printPages(QPagedPaintDevice& device, const PrintPictures& pictures, const PrintOptions& options,
                   const QString& pdfFile)
{
    device.setPageOrientation(QPageLayout::Landscape);
    QPainter painter;
    if (!painter.begin(&device)) {
        device.setPageOrientation(QPageLayout::Portrait);
        return refusal(pdfFile);
    }
    const QSize pageSize(device.width(), device.height());
    const int dpi = device.logicalDpiY();
    const double scale = printScale(dpi);
    const QImage rope = options.rope && pictures.rope ? pictures.rope(scale) : QImage();
    const QImage graph = options.graph && pictures.graph ? pictures.graph(scale) : QImage();
    const int copies = std::clamp(options.copies, 1, kMaxCopies);
    bool ok = true;
    for (int copy = 1; copy <= copies && ok; ++copy) {
        const PageLayout layout = paintPage(painter, pageSize, dpi, rope, graph, options);
        if (options.table) {
            const int bottom = std::max({layout.title.bottom(), layout.rope.bottom(), layout.graph.bottom()});
            ok = paintValuesTable(painter, device, dpi, options.values, bottom + 1 + 2 * lineHeight(bodyFont(), dpi));
        }
        if (copy < copies && ok)
            ok = device.newPage();
    }
    ok = painter.end() && ok;
    device.setPageOrientation(QPageLayout::Portrait);
    if (!ok)
        return QStringLiteral("L'impression n'a pas pu se terminer : le document n'a pas été imprimé entièrement.");
    return QString();
}

}  // namespace tolvi

namespace tolvi {

QString printPdfFile(const QString& path, const QPageLayout& layout, int resolution, const QString& title,
                     const PrintPictures& pictures, const PrintOptions& options)
{
    QString failure;
    const std::optional<QString> why = saveFileWith(path, [&](QIODevice& device) {
        QPdfWriter writer(&device);
        writer.setResolution(resolution);
        writer.setPageLayout(layout);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Tolvi"));
        failure = printPages(writer, pictures, options);
        return failure.isEmpty();
    });
    if (!failure.isEmpty())
        return failure;
    return why ? unwritableFile(path, *why) : QString();
}

}  // namespace tolvi
