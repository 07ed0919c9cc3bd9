#include "mainwin/text_zoom.h"

#include "mainwin/zoom.h"

#include <QAbstractTextDocumentLayout>
#include <QTextDocument>
#include <QTextEdit>
#include <cmath>

namespace tolvi {

TextZoom::TextZoom(QTextEdit& edit) : edit_(edit), device_(1, 1, QImage::Format_RGB32)
{
    // The text's own sizes grow through the layout; its box's font stays
    // the design's, or the text without a size would grow twice.
    zoom::keepDesignFont(&edit_);
}

void TextZoom::apply(double z)
{
    if (z == zoom_)
        return;
    zoom_ = z;
    QTextDocument* document = edit_.document();
    QAbstractTextDocumentLayout* layout = document->documentLayout();
    if (z == 1.0) {
        layout->setPaintDevice(edit_.viewport());
    } else {
        // Resolution in dots per metre: the box's, times the zoom.
        const double dpi = edit_.viewport()->logicalDpiY() * z;
        const int perMetre = int(std::lround(dpi / 0.0254));
        device_.setDotsPerMeterX(perMetre);
        device_.setDotsPerMeterY(perMetre);
        layout->setPaintDevice(&device_);
    }
    document->markContentsDirty(0, document->characterCount());
    edit_.viewport()->update();
}

}  // namespace tolvi
