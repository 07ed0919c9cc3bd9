#include "mainwin/tool_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <functional>

namespace tolvi::icons {

namespace {

constexpr int kSize = 20;

// Drawn at one, two and three device pixels per unit: the icon stays sharp
// on enlarged screens.
QIcon drawn(const std::function<void(QPainter&)>& draw)
{
    QIcon icon;
    for (int ratio : {1, 2, 3}) {
        QPixmap pixmap(kSize * ratio, kSize * ratio);
        pixmap.setDevicePixelRatio(ratio);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing, true);
        draw(p);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QPen pen(const QColor& colour, double width = 1.2)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

}  // namespace

QIcon open()
{
    return drawn([](QPainter& p) {
        p.setPen(pen(QColor(120, 80, 0)));
        p.setBrush(QColor(240, 200, 90));
        p.drawPolygon(QPolygonF({{2, 5}, {7, 5}, {9, 7}, {17, 7}, {17, 16}, {2, 16}}));
        p.setBrush(QColor(255, 225, 130));
        p.drawPolygon(QPolygonF({{2, 16}, {5, 10}, {19, 10}, {17, 16}}));
    });
}

QIcon save()
{
    return drawn([](QPainter& p) {
        p.setPen(pen(QColor(20, 30, 90)));
        p.setBrush(QColor(60, 90, 180));
        p.drawPolygon(QPolygonF({{3, 3}, {15, 3}, {17, 5}, {17, 17}, {3, 17}}));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6, 3, 8, 5));
        p.setBrush(QColor(220, 220, 220));
        p.drawRect(QRectF(5.5, 11, 9, 6));
    });
}

QIcon copy()
{
    return drawn([](QPainter& p) {
        p.setPen(pen(QColor(60, 60, 60)));
        p.setBrush(QColor(235, 235, 235));
        p.drawRect(QRectF(3, 2, 10, 12));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7, 6, 10, 12));
        p.setPen(pen(QColor(0, 90, 180), 1.0));
        for (int y = 9; y <= 15; y += 3)
            p.drawLine(QPointF(9, y), QPointF(15, y));
    });
}

QIcon print()
{
    return drawn([](QPainter& p) {
        p.setPen(pen(QColor(50, 50, 50)));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6, 2, 8, 6));
        p.setBrush(QColor(150, 150, 160));
        p.drawRoundedRect(QRectF(2, 8, 16, 7), 1.5, 1.5);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6, 12, 8, 6));
        p.setPen(pen(QColor(0, 170, 0), 1.5));
        p.drawPoint(QPointF(15.5, 10.5));
    });
}

QIcon calculator()
{
    return drawn([](QPainter& p) {
        p.setPen(pen(QColor(40, 40, 40)));
        p.setBrush(QColor(90, 90, 100));
        p.drawRoundedRect(QRectF(4, 1.5, 12, 17), 1.5, 1.5);
        p.setBrush(QColor(190, 230, 190));
        p.drawRect(QRectF(6, 3.5, 8, 3.5));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 3; ++col)
                p.drawRect(QRectF(6 + col * 3, 9 + row * 3, 2, 2));
    });
}

QIcon help()
{
    return drawn([](QPainter& p) {
        p.setPen(pen(QColor(0, 60, 150)));
        p.setBrush(QColor(70, 130, 220));
        p.drawEllipse(QRectF(2, 2, 16, 16));
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(13);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRectF(2, 2, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
    });
}

QIcon close()
{
    return drawn([](QPainter& p) {
        p.setPen(pen(QColor(90, 50, 20)));
        p.setBrush(QColor(170, 110, 60));
        p.drawRect(QRectF(3, 2, 9, 16));
        p.setBrush(QColor(250, 220, 120));
        p.drawEllipse(QRectF(9, 9.5, 1.5, 1.5));
        p.setPen(pen(QColor(200, 0, 0), 2.0));
        p.drawLine(QPointF(12, 10), QPointF(18.5, 10));
        p.drawLine(QPointF(15.5, 7), QPointF(18.5, 10));
        p.drawLine(QPointF(15.5, 13), QPointF(18.5, 10));
    });
}

QPixmap canvas(QSize size, qreal ratio)
{
    QPixmap pixmap(int(std::ceil(size.width() * ratio)), int(std::ceil(size.height() * ratio)));
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void keyFace(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(QColor(235, 235, 235));
    p.drawRoundedRect(QRectF(0.5, 0.5, 23, 23), 3, 3);
}

QPixmap pause(bool running, qreal ratio)
{
    QPixmap pixmap = canvas(QSize(24, 24), ratio);
    QPainter p(&pixmap);
    keyFace(p);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 60, 150));
    if (running) {
        p.drawRect(QRectF(7, 6, 3.5, 12));
        p.drawRect(QRectF(13.5, 6, 3.5, 12));
    } else {
        p.drawPolygon(QPolygonF({{8, 5.5}, {18, 12}, {8, 18.5}}));
    }
    return pixmap;
}

}  // namespace tolvi::icons
