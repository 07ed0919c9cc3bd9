#pragma once
// The printed page of "&Imprimer": the title in Arial 12 bold at the top
// left, two blank lines, then the rope picture and the time graph, each at
// its natural size (a screen pixel is 1/96 inch) and centred across the page.
// One page per copy, in landscape; the values table, when asked for, follows
// the pictures and goes on over as many pages as it needs.

#include "measure/values_table.h"

#include <QImage>
#include <QRect>
#include <QString>
#include <functional>

class QPageLayout;
class QPainter;
class QPagedPaintDevice;

namespace tolvi {

// What the print dialog hands to printing; the opening values by default.
struct PrintOptions {
    bool rope = true;    // "L'animation"
    bool graph = true;   // "Le graphe"
    bool table = false;  // "Le tableau de valeur": `values`, after the pictures
    ValuesTable values;
    QString title = QStringLiteral("Kestrane - Tolvi");
    int copies = 1;
};

// The pictures to print, made when printing starts (the moment "&OK" is
// pressed, after any printer choice), at `scale` image pixels per screen
// pixel. An empty function prints nothing in its place.
struct PrintPictures {
    std::function<QImage(double scale)> rope;
    std::function<QImage(double scale)> graph;
};

// Image pixels per screen pixel for a page at `dpi`: the printer's
// resolution, at most 4 (384 pixels to the inch, finer than paper shows).
double printScale(int dpi);

// Where one page puts its parts, in device units of the painter.
struct PageLayout {
    QRect title;      // the title's line
    QRect rope;       // empty when not printed
    QRect graph;      // empty when not printed
};

// The most copies the dialog offers.
constexpr int kMaxCopies = 99;

// Lays out one page of `pageSize` device units at `dpi` dots per inch.
PageLayout pageLayout(const QSize& pageSize, int dpi, const QSize& rope, const QSize& graph,
                      const PrintOptions& options);

// Paints one page on a painter whose device is `pageSize` units at `dpi`.
// The pictures keep their size in screen pixels whatever their device pixel
// ratio, and are drawn lossless. Returns the layout used.
PageLayout paintPage(QPainter& painter, const QSize& pageSize, int dpi, const QImage& rope,
                     const QImage& graph, const PrintOptions& options);

// Prints every copy on `device` (its orientation set to landscape first, back
// to portrait after), one page each. Returns an empty text when done, or the
// French reason of a failure.
QString printPages(QPagedPaintDevice& device, const QImage& rope, const QImage& graph,
                   const PrintOptions& options);
// The same, the pictures made at the device's resolution once the device is
// ready to print. `pdfFile` is the file a PDF device writes, if any: when it
// cannot be opened, the reason names it and its folder.
QString printPages(QPagedPaintDevice& device, const PrintPictures& pictures, const PrintOptions& options,
                   const QString& pdfFile = QString());

// Prints as printPages() does into the PDF file `path`, pages laid out as
// `layout` at `resolution` dots per inch, written as every saved file is:
// whole or not at all, the previous file kept when printing fails, a FIFO
// nobody reads refused at once. Empty when done, else the French reason,
// naming the file.
QString printPdfFile(const QString& path, const QPageLayout& layout, int resolution, const QString& title,
                     const PrintPictures& pictures, const PrintOptions& options);

}  // namespace tolvi
