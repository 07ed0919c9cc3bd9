#include "platform/pixel_painting.h"

namespace tolvi {

QColor qbColor(int index)
{
    static const QColor palette[16] = {
        {0, 0, 0},     {0, 0, 128},   {0, 128, 0},   {0, 128, 128}, {128, 0, 0},   {128, 0, 128},
        {128, 128, 0}, {192, 192, 192}, {128, 128, 128}, {0, 0, 255}, {0, 255, 0},   {0, 255, 255},
        {255, 0, 0},   {255, 0, 255}, {255, 255, 0}, {255, 255, 255},
    };
    return palette[index & 15];
}

}  // namespace tolvi

namespace tolvi {

void focusMark(QPainter& p, const QRect& r, const QColor& colour)
{
    if (r.width() < 1 || r.height() < 1)
        return;
    p.save();
    QPen pen(colour, 1);
    pen.setCosmetic(true);
    pen.setDashPattern({1, 1});
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.restore();
}

}  // namespace tolvi
