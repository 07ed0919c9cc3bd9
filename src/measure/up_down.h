#pragma once
// UpDown1: a pair of arrow buttons stepping a value between a minimum and a
// maximum, with no number of its own (the label beside it shows the choice).
// By keyboard it is a spin box: Up/Down step by one, PageUp/PageDown by ten,
// Home/End go to the ends; screen readers see a spin box with its value.

#include <QWidget>
#include <functional>

namespace tolvi {

class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(int minimum, int maximum, QWidget* parent = nullptr);

    int value() const { return value_; }
    // Sets the value (clamped); emits valueChanged when it changes.
    void setValue(int value);
    // Mirrors a value without emitting anything.
    void showValue(int value);
    void stepUp() { setValue(value_ + 1); }
    void stepDown() { setValue(value_ - 1); }
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }

    // What a screen reader reads as the value (the number when unset).
    void setValueText(std::function<QString(int value)> text) { valueText_ = std::move(text); }
    QString valueText() const { return valueText_ ? valueText_(value_) : QString::number(value_); }
    // The quantity a screen reader sees for each step (the step itself when
    // unset): a duration list gives its seconds, not its place in the list.
    // It must grow with the step.
    void setSpokenQuantity(std::function<double(int value)> quantity) { quantity_ = std::move(quantity); }
    double spokenQuantity(int value) const { return quantity_ ? quantity_(value) : double(value); }
    // The step whose quantity is nearest `quantity`.
    int valueForQuantity(double quantity) const;

signals:
    void valueChanged(int value);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int minimum_;
    int maximum_;
    int value_;
    int pressed_ = 0;  // +1 upper arrow held, -1 lower arrow held
    int repeatTimer_ = 0;
    std::function<QString(int)> valueText_;
    std::function<double(int)> quantity_;
};

}  // namespace tolvi
