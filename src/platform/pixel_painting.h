#pragma once
// Drawing in whole pixels as the program's pictures are specified: lines
// that include both end points, box outlines and filled boxes through two
// corners, and the classic 16-colour palette.

#include <QColor>
#include <QPainter>
#include <QRect>
#include <algorithm>
#include <cmath>

namespace tolvi {

// The classic 16-colour palette, by index.
QColor qbColor(int index);

// Device pixels per unit of the painter's device: the device pixel ratio of
// the screen, image or printer page it draws on.
inline double deviceScale(const QPainter& p)
{
    return p.device() ? p.device()->devicePixelRatio() : 1.0;
}

// Device pixels per unit where the painter draws now: the device's pixel
// ratio and every enlargement on the way to it (a window rendered into a
// finer image, a view that shows the window scaled up).
inline double drawingScale(const QPainter& p)
{
    const QTransform t = p.deviceTransform();
    const double k = std::hypot(t.m11(), t.m12());
    return k > 0.0 ? k : 1.0;
}

// A 1-pixel line from (x1, y1) to (x2, y2), both ends included. Rows and
// columns are filled as boxes, so that on a finer device (a device pixel
// ratio above 1) they cover exactly the same unit pixels; slanted lines are
// stroked through the pixel centres there. Leaves the pen in `colour`.
inline void pixelLine(QPainter& p, int x1, int y1, int x2, int y2, const QColor& colour)
{
    p.setPen(QPen(colour, 1));
    if (x1 == x2 || y1 == y2) {
        p.fillRect(QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2), std::max(y1, y2))),
                   colour);
    } else if (drawingScale(p) != 1.0) {
        p.drawLine(QPointF(x1 + 0.5, y1 + 0.5), QPointF(x2 + 0.5, y2 + 0.5));
    } else {
        p.drawLine(x1, y1, x2, y2);
    }
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
