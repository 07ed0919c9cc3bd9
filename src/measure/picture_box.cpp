#include "measure/picture_box.h"

#include "mainwin/layout.h"

#include <QPainter>

namespace tolvi {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QPoint PictureBox::origin()
{
    return QPoint(layout::kPictureBorder, layout::kPictureBorder);
}

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const int w = width();
    const int h = height();
    // Sunken border: grey and black outside-in at the top and left, white and
    // light grey at the bottom and right.
    p.setPen(QColor(128, 128, 128));
    p.drawLine(0, 0, w - 1, 0);
    p.drawLine(0, 0, 0, h - 1);
    p.setPen(QColor(0, 0, 0));
    p.drawLine(1, 1, w - 2, 1);
    p.drawLine(1, 1, 1, h - 2);
    p.setPen(QColor(255, 255, 255));
    p.drawLine(0, h - 1, w - 1, h - 1);
    p.drawLine(w - 1, 0, w - 1, h - 1);
    p.setPen(QColor(212, 208, 200));
    p.drawLine(1, h - 2, w - 2, h - 2);
    p.drawLine(w - 2, 1, w - 2, h - 2);

    const QRect inner(origin(), QSize(w - 4, h - 4));
    p.fillRect(inner, QColor(192, 192, 192));
    p.setClipRect(inner);
    p.drawImage(origin(), picture());
}

}  // namespace tolvi
