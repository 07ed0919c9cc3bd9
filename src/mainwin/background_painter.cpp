#include "mainwin/background_painter.h"

#include "mainwin/layout.h"
#include "sim/rope_painter.h"
#include "text/french_numbers.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <cmath>

namespace tolvi {


QColor gradientColor(int y)
{
    const double f = y / 600.0;
    const int a = int(roundEven(255.0 - f * 55.0));
    const int b = int(roundEven(255.0 - f * 75.0));
    return QColor(a, a, b);
}

BackgroundLayout designedBackgroundLayout()
{
    return {layout::kFich, layout::kSupertext, layout::kLabel4};
}

void paintBackground(QPainter& p, const BackgroundLayout& l)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);

    // Gradient, one line per row, 0 to 800 inclusive.
    for (int y = 0; y <= 600; ++y)
        pixelLine(p, 0, y, 800, y, gradientColor(y));

    // Shadow of the exercise area, three pixels right of and below it.
    pixelBox(p, l.supertext.left() + 3, l.fich.top() + 3, l.supertext.left() + l.supertext.width() + 3,
           l.supertext.top() + l.supertext.height() + 3, qbColor(8));

    // Chronometer plate around the reading.
    const int L = l.label4.left();
    const int T = l.label4.top();
    const int W = l.label4.width();
    const int H = l.label4.height();
    pixelOutline(p, L - 99, T - 4, L + W + 90, T + H + 5, qbColor(15));
    pixelOutline(p, L - 98, T - 3, L + W + 89, T + H + 4, qbColor(1));
    pixelBox(p, L - 98, T - 3, L + W + 88, T + H + 3, QColor(0, 100, 180));
    pixelOutline(p, L - 100, T - 5, L + W + 90, T + H + 5, qbColor(0));

    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    font.setBold(true);
    p.setFont(font);
    p.setPen(qbColor(15));
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.drawText(QPoint(L - 89, T + 2 + p.fontMetrics().ascent()), QStringLiteral("Chronomètre :"));
    p.restore();
}

QImage backgroundImage(QSize size, const BackgroundLayout& layout, double scale)
{
    QImage image(int(std::lround(size.width() * scale)), int(std::lround(size.height() * scale)), QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(QColor(224, 224, 224));
    QPainter p(&image);
    paintBackground(p, layout);
    return image;
}

QColor blendColour(const QImage& background, const QRect& label)
{
    const QPoint at(label.left() - 2, label.top());
    if (!background.valid(at))
        return QColor(224, 224, 224);
    return background.pixelColor(at);
}

}  // namespace tolvi
