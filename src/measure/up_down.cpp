#include "measure/up_down.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimerEvent>

#include <algorithm>

namespace tolvi {

UpDown::UpDown(int minimum, int maximum, QWidget* parent)
    : QWidget(parent), minimum_(minimum), maximum_(std::max(minimum, maximum)), value_(minimum)
{
    setObjectName(QStringLiteral("UpDown1"));
}

void UpDown::setValue(int value)
{
    value = std::clamp(value, minimum_, maximum_);
    if (value == value_)
        return;
    value_ = value;
    emit valueChanged(value_);
}

void UpDown::showValue(int value)
{
    value_ = std::clamp(value, minimum_, maximum_);
}

void UpDown::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const int w = width();
    const int half = height() / 2;
    const auto button = [&](QRect r, bool up, bool sunken) {
        p.fillRect(r, QColor(212, 208, 200));
        p.setPen(sunken ? QColor(128, 128, 128) : QColor(255, 255, 255));
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(sunken ? QColor(255, 255, 255) : QColor(64, 64, 64));
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
        const bool enabled = up ? value_ < maximum_ : value_ > minimum_;
        p.setPen(Qt::NoPen);
        p.setBrush(enabled ? QColor(0, 0, 0) : QColor(128, 128, 128));
        const double cx = r.left() + r.width() / 2.0;
        const double cy = r.top() + r.height() / 2.0;
        if (up)
            p.drawPolygon(QPolygonF({{cx - 3, cy + 1.5}, {cx + 3, cy + 1.5}, {cx, cy - 1.5}}));
        else
            p.drawPolygon(QPolygonF({{cx - 3, cy - 1.5}, {cx + 3, cy - 1.5}, {cx, cy + 1.5}}));
    };
    button(QRect(0, 0, w, half), true, pressed_ == 1);
    button(QRect(0, half, w, height() - half), false, pressed_ == -1);
}

void UpDown::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    pressed_ = event->position().y() < height() / 2 ? 1 : -1;
    setValue(value_ + pressed_);
    repeatTimer_ = startTimer(400);
    update();
}

void UpDown::mouseReleaseEvent(QMouseEvent*)
{
    pressed_ = 0;
    if (repeatTimer_)
        killTimer(repeatTimer_);
    repeatTimer_ = 0;
    update();
}

void UpDown::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != repeatTimer_ || pressed_ == 0)
        return;
    killTimer(repeatTimer_);
    repeatTimer_ = startTimer(120);
    setValue(value_ + pressed_);
    update();
}

}  // namespace tolvi
