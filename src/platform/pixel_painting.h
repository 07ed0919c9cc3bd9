#pragma once
// Drawing in whole pixels as the program's pictures are specified: lines
// that include both end points, box outlines and filled boxes through two
// corners, and the classic 16-colour palette.

#include <QColor>
#include <QPainter>
#include <QRect>

namespace tolvi {

// The classic 16-colour palette, by index.
QColor qbColor(int index);

// A 1-pixel line from (x1, y1) to (x2, y2), both ends included.
inline void pixelLine(QPainter& p, int x1, int y1, int x2, int y2, const QColor& colour)
{
    p.setPen(QPen(colour, 1));
    p.drawLine(x1, y1, x2, y2);
}

// A box outline through both corners, corners included.
inline void pixelOutline(QPainter& p, int x1, int y1, int x2, int y2, const QColor& colour)
{
    pixelLine(p, x1, y1, x2, y1, colour);
    pixelLine(p, x2, y1, x2, y2, colour);
    pixelLine(p, x2, y2, x1, y2, colour);
    pixelLine(p, x1, y2, x1, y1, colour);
}

// A filled box through both corners, corners included.
inline void pixelBox(QPainter& p, int x1, int y1, int x2, int y2, const QColor& colour)
{
    p.fillRect(QRect(QPoint(x1, y1), QPoint(x2, y2)).normalized(), colour);
}

// The keyboard-focus mark of the painted controls: a dotted rectangle, one
// pixel on and one off, just inside `r`, in `colour`.
void focusMark(QPainter& p, const QRect& r, const QColor& colour = QColor(0, 0, 0));

}  // namespace tolvi
