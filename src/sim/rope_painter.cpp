#include "sim/rope_painter.h"

#include "platform/random_source.h"
#include "text/french_numbers.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tolvi {


QImage fondi(int typeBout, RandomSource& random, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(qbColor(15));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);

    const double s = size.height();
    const int h = int(roundEven(s));
    const int w = size.width();
    for (int i = 0; i <= h; ++i) {
        const int r = int(roundEven(105.0 - 105.0 * i / s));
        const int g = int(roundEven(130.0 - 130.0 * i / s));
        const int b = int(roundEven(155.0 - 155.0 * i / s));
        pixelLine(p, 0, i, w, i, QColor(r, g, b));
    }
    p.end();

    if (typeBout == BoutAmortisseur) {
        const QRgb white = qbColor(15).rgb();
        const QRgb grey = qbColor(7).rgb();
        for (int n = 0; n < 1200; ++n) {
            const int x = int(roundEven(30.0 * random.next() + 750.0));
            const int y = int(roundEven(105.0 * random.next()));
            if (image.valid(x, y))
                image.setPixel(x, y, white);
            if (image.valid(x + 1, y + 1))
                image.setPixel(x + 1, y + 1, grey);
        }
    } else if (typeBout == BoutFixe) {
        QPainter q(&image);
        q.setRenderHint(QPainter::Antialiasing, false);
        pixelBox(q, 751, 52, 785, 54, qbColor(15));
        pixelLine(q, 751, 55, 785, 55, qbColor(7));
        pixelLine(q, 751, 56, 785, 56, qbColor(8));
        pixelOutline(q, 751, 51, 785, 57, qbColor(0));
    }
    return image;
}

void deppoint(QPainter& p, const QImage& background, const SimState& s)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.drawImage(0, 0, background);

    const auto row = [&s](int column) { return rope::kRestRow - s.deplacement[std::size_t(column)]; };

    // The rope, from the source to the far end, as a 2-pixel-wide line. Each
    // segment joins two neighbouring columns, so it is drawn as the band of
    // rows it crosses: exact for a pixel line and cheap even when a short
    // wave makes every segment steep (a stroked polyline is not).
    int previous = int(std::lround(row(rope::kSourceColumn)));
    for (int i = rope::kSourceColumn + 1; i <= rope::kFarEndColumn; ++i) {
        const int y = int(std::lround(row(i)));
        const int top = std::min(previous, y) - 1;
        const int bottom = std::max(previous, y);
        p.fillRect(QRect(i - 1, top, 2, bottom - top + 1), ropecolors::kRope);
        previous = y;
    }

    // Marker dots ride on the rope.
    const auto dot = [&](int column, const QColor& color) {
        if (column < 0 || column >= rope::kColumns)
            return;
        const int y = int(std::lround(row(column)));
        p.fillRect(QRect(column - 1, y - 1, 3, 3), color);
    };
    dot(s.marqueBleue, qbColor(9));
    dot(s.marqueRouge, qbColor(12));

    // The red ruler that drives the source, hinged at the left edge.
    const double u = s.deplacement[rope::kSourceColumn];
    const auto bar = [&](double y, const QColor& color) {
        p.setPen(QPen(color, 2, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(0, y), QPointF(rope::kSourceColumn, y - u));
    };
    bar(rope::kRestRow - 1, ropecolors::kRulerHighlight);
    bar(rope::kRestRow + 1, ropecolors::kRulerShadow);
    bar(rope::kRestRow, ropecolors::kRulerBody);
    p.restore();
}

QImage ropeFrame(const QImage& background, const SimState& s)
{
    QImage frame(background.size(), QImage::Format_RGB32);
    QPainter p(&frame);
    deppoint(p, background, s);
    return frame;
}

}  // namespace tolvi
