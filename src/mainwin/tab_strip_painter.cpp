#include "mainwin/tab_strip_painter.h"

#include "sim/rope_painter.h"
#include "text/french_numbers.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <cmath>
#include <cstdint>

namespace tolvi {

QString tabText(int k)
{
    switch (k) {
    case 1: return QStringLiteral("Corde");
    case 2: return QStringLiteral("Onde");
    case 3: return QStringLiteral("Outils");
    default: return QString();
    }
}

QFont tabFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    font.setBold(false);
    return font;
}

TabGeometry tabGeometry(const QFont& font, QPaintDevice* device, int W, int current)
{
    TabGeometry t;
    t.current = current == 0 ? 1 : current;
    QFont bold = font;
    bold.setBold(true);
    const QFontMetrics normal(font, device);
    const QFontMetrics strong(bold, device);
    t.h = normal.height();  // the height of "W": the font's line height

    // Running total as a 16-bit whole number, rounded after each addition.
    std::int16_t total = 0;
    for (int k = 1; k <= 3; ++k) {
        t.textWidth[std::size_t(k)] =
            (k == t.current ? strong : normal).horizontalAdvance(tabText(k));
        total = std::int16_t(roundEven(double(total) + t.textWidth[std::size_t(k)]));
    }
    t.g = (W - total) / 6.0;
    t.bounds.fill(0);
    t.bounds[0] = -1;
    for (int k = 1; k <= 2; ++k)
        t.bounds[std::size_t(k)] =
            int(roundEven(t.bounds[std::size_t(k - 1)] + t.textWidth[std::size_t(k)] + 2.0 * t.g));
    t.bounds[3] = W;
    return t;
}

int tabAt(const TabGeometry& t, double x, double y)
{
    if (!(y >= 0.0 && y <= 15.0))
        return -1;
    int chosen = 0;
    for (int k = 1; k <= 5; ++k)
        if (t.bounds[std::size_t(k - 1)] < x && x <= t.bounds[std::size_t(k)])
            chosen = k;
    return chosen;
}

QRect panelRect(const TabGeometry& t, int W, int H)
{
    const int left = 4;
    const int top = t.h + 5;
    return QRect(left, top, W - 4 - left, H - 4 - top);
}


void paintTabStrip(QPainter& p, const TabGeometry& t, int W, int H)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor grey = qbColor(8);
    const QColor white = qbColor(15);
    const int h = t.h;
    const int c = t.current;
    const auto b = [&t](int k) { return t.bounds[std::size_t(k)]; };

    pixelOutline(p, 0, 0, W - 1, H - 1, grey);
    pixelLine(p, 0, 0, 0, H - 1, white);
    for (int k = 0; k <= 3; ++k) {
        pixelLine(p, b(k) - 1, 1, b(k) - 1, h + 1, grey);
        pixelLine(p, b(k), 0, b(k), h, white);
    }
    for (int k = 0; k <= 2; ++k)
        pixelLine(p, b(k) + 1, 0, b(k + 1) - 1, 0, white);
    pixelLine(p, 0, h + 1, b(c - 1) + 2, h + 1, white);
    pixelLine(p, b(c), h + 1, W, h + 1, white);

    QFont normal = tabFont();
    QFont bold = normal;
    bold.setBold(true);
    p.setPen(qbColor(0));
    p.setRenderHint(QPainter::TextAntialiasing, true);
    for (int k = 1; k <= 3; ++k) {
        const bool current = k == c;
        p.setFont(current ? bold : normal);
        const int top = current ? 2 : 1;
        const double x = b(k - 1) + t.g;
        p.drawText(QPointF(x, top + p.fontMetrics().ascent()), tabText(k));
    }

    const QColor strip = tabStripColour();
    pixelOutline(p, 1, h + 2, W - 2, H - 2, strip);
    pixelOutline(p, 2, h + 3, W - 3, H - 3, strip);
    pixelOutline(p, 3, h + 4, W - 4, H - 4, grey);
    pixelOutline(p, 4, h + 5, W - 4, H - 4, white);
    p.restore();
}

QRect tabFocusRect(const TabGeometry& t)
{
    const int c = t.current < 1 || t.current > 3 ? 1 : t.current;
    const int left = int(std::floor(t.bounds[std::size_t(c - 1)] + t.g)) - 2;
    return QRect(left, 1, t.textWidth[std::size_t(c)] + 5, t.h + 1);
}

}  // namespace tolvi
