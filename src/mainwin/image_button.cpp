#include "mainwin/image_button.h"

#include "mainwin/tool_icons.h"
#include "mainwin/zoom.h"
#include "platform/pixel_painting.h"

#include <QKeyEvent>
#include <QPainter>
#include <algorithm>

namespace tolvi {

ImageButton::ImageButton(QWidget* parent) : QAbstractButton(parent)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
}

QSize ImageButton::sizeHint() const
{
    return pixmap_.isNull() ? QSize(16, 16) : pixmap_.deviceIndependentSize().toSize();
}

void ImageButton::setPixmap(const QPixmap& pixmap)
{
    draw_ = nullptr;
    pixmap_ = pixmap;
    update();
}

void ImageButton::setPicture(PictureMaker draw)
{
    draw_ = std::move(draw);
    pixmap_ = draw_ ? draw_(std::max<qreal>(1.0, devicePixelRatioF())) : QPixmap();
    update();
}

void ImageButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    zoom::scalePainter(p, this);
    const QSize design = zoom::designSize(this);
    p.save();
    // Placed larger than its picture (the projection layout): the picture
    // fills it, drawn at that size.
    const QSize picture = pixmap_.deviceIndependentSize().toSize();
    if (!picture.isEmpty() && picture != design) {
        const double k = std::min(double(design.width()) / picture.width(), double(design.height()) / picture.height());
        if (k > 1.0)
            p.scale(k, k);
    }
    if (draw_) {
        const qreal ratio = std::max(1.0, drawingScale(p));
        if (pixmap_.devicePixelRatio() != ratio)
            pixmap_ = draw_(ratio);
    }
    p.drawPixmap(0, 0, pixmap_);
    p.restore();
    if (hasFocus())
        focusMark(p, QRect(QPoint(0, 0), design).adjusted(2, 2, -2, -2));
}

void ImageButton::keyPressEvent(QKeyEvent* event)
{
    // Space is the button's own key; Enter presses a picture button too.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        click();
        event->accept();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

bool ImageButton::hitButton(const QPoint& pos) const
{
    return rect().contains(pos);
}

QPixmap exerciseButtonPixmap(QSize size, qreal ratio)
{
    QPixmap pixmap = icons::canvas(size, ratio);
    pixmap.fill(QColor(212, 208, 200));
    QPainter p(&pixmap);
    const int w = size.width();
    const int h = size.height();
    // The edges cover the same unit pixels at every resolution.
    pixelLine(p, 0, 0, w - 1, 0, Qt::white);
    pixelLine(p, 0, 0, 0, h - 1, Qt::white);
    pixelLine(p, w - 2, 1, w - 2, h - 1, QColor(128, 128, 128));
    pixelLine(p, w - 1, 0, w - 1, h - 1, Qt::black);
    pixelLine(p, 0, h - 1, w - 1, h - 1, Qt::black);

    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(0, 0, 128));
    p.drawText(QRect(4, 0, w - 18, h), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Exercices"));
    // A small arrow: the button opens a menu.
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 128));
    const double cx = w - 10;
    const double cy = h / 2.0;
    p.drawPolygon(QPolygonF({{cx - 3.5, cy - 2}, {cx + 3.5, cy - 2}, {cx, cy + 2.5}}));
    return pixmap;
}

}  // namespace tolvi
