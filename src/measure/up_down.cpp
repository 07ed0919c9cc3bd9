#include "measure/up_down.h"

#include "mainwin/zoom.h"
#include "platform/pixel_painting.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimerEvent>

#include <algorithm>
#include <cmath>

namespace tolvi {

namespace {

// What a screen reader sees: a spin box whose value is the control's.
class UpDownAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit UpDownAccessible(UpDown* upDown) : QAccessibleWidget(upDown, QAccessible::SpinBox) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return upDown()->valueText();
        return QAccessibleWidget::text(t);
    }
    QVariant currentValue() const override { return upDown()->spokenQuantity(upDown()->value()); }
    void setCurrentValue(const QVariant& value) override
    {
        upDown()->setValue(upDown()->valueForQuantity(value.toDouble()));
    }
    QVariant maximumValue() const override { return upDown()->spokenQuantity(upDown()->maximum()); }
    QVariant minimumValue() const override { return upDown()->spokenQuantity(upDown()->minimum()); }
    QVariant minimumStepSize() const override { return 0; }  // the steps are uneven

private:
    UpDown* upDown() const { return static_cast<UpDown*>(widget()); }
};

QAccessibleInterface* upDownAccessibleFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("tolvi::UpDown") && object && object->isWidgetType())
        return new UpDownAccessible(static_cast<UpDown*>(object));
    return nullptr;
}

}  // namespace

UpDown::UpDown(int minimum, int maximum, QWidget* parent)
    : QWidget(parent), minimum_(minimum), maximum_(std::max(minimum, maximum)), value_(minimum)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(upDownAccessibleFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setObjectName(QStringLiteral("UpDown1"));
    setFocusPolicy(Qt::TabFocus);
}

void UpDown::setValue(int value)
{
    value = std::clamp(value, minimum_, maximum_);
    if (value == value_)
        return;
    value_ = value;
    update();
    emit valueChanged(value_);
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent change(this, spokenQuantity(value_));
        QAccessible::updateAccessibility(&change);
    }
}

int UpDown::valueForQuantity(double quantity) const
{
    int best = minimum_;
    for (int v = minimum_; v <= maximum_; ++v)
        if (std::abs(spokenQuantity(v) - quantity) < std::abs(spokenQuantity(best) - quantity))
            best = v;
    return best;
}

void UpDown::showValue(int value)
{
    value = std::clamp(value, minimum_, maximum_);
    if (value != value_) {
        value_ = value;
        update();
    }
}

void UpDown::keyPressEvent(QKeyEvent* event)
{
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    int target = value_;
    switch (event->key()) {
    case Qt::Key_Up: target = value_ + 1; break;
    case Qt::Key_Down: target = value_ - 1; break;
    case Qt::Key_PageUp: target = value_ + 10; break;
    case Qt::Key_PageDown: target = value_ - 10; break;
    case Qt::Key_Home: target = minimum_; break;
    case Qt::Key_End: target = maximum_; break;
    default: QWidget::keyPressEvent(event); return;
    }
    if (!plain) {
        QWidget::keyPressEvent(event);
        return;
    }
    setValue(target);
    event->accept();
}

void UpDown::focusInEvent(QFocusEvent* event)
{
    update();
    QWidget::focusInEvent(event);
}

void UpDown::focusOutEvent(QFocusEvent* event)
{
    update();
    QWidget::focusOutEvent(event);
}

void UpDown::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    zoom::scalePainter(p, this);
    const QSize design = zoom::designSize(this);
    const int w = design.width();
    const int half = design.height() / 2;
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
    button(QRect(0, half, w, design.height() - half), false, pressed_ == -1);
    if (hasFocus())
        focusMark(p, QRect(QPoint(0, 0), design).adjusted(2, 2, -2, -2));
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
