#pragma once
// "Pas à pas" and "Ralenti", beside the pause image: one tick per press
// while the animation is paused, and the animation at 1, 1/2, 1/5 or 1/10
// of real time. They change only how long the window's timer waits between
// ticks; each tick still advances simulated time by one interval. Saved in
// nothing: every start is at real time.

#include "sim/pacing.h"

#include <QObject>
#include <QString>

class QShortcut;
class QWidget;

namespace tolvi {
class ImageButton;
class Simulation;

class PacingControls : public QObject {
    Q_OBJECT
public:
    // The buttons are children of `window`, the shortcuts work anywhere in it.
    PacingControls(Simulation& sim, QWidget* window);

    const Pacing& pacing() const { return pacing_; }
    // As a press of each button (or of its key).
    void pasAPas_Click();
    void ralenti_Click();
    // Batch use: a speed by its divisor (1, 2, 5, 10); false for another.
    bool setDivisor(int divisor);

    ImageButton* pasAPas() const { return pasAPas_; }
    ImageButton* ralenti() const { return ralenti_; }
    QShortcut* pasAPasShortcut() const { return pasAPasKey_; }
    QShortcut* ralentiShortcut() const { return ralentiKey_; }

    // The hint-line texts of the two buttons.
    static QString pasAPasHint();
    static QString ralentiHint();

signals:
    // The speed changed: the timer's interval must follow.
    void speedChanged();
    // The mouse is over a button: its hint for the window's hint line.
    void hovered(const QString& hint);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showSpeed();

    Simulation& sim_;
    Pacing pacing_;
    ImageButton* pasAPas_ = nullptr;
    ImageButton* ralenti_ = nullptr;
    QShortcut* pasAPasKey_ = nullptr;
    QShortcut* ralentiKey_ = nullptr;
};

}  // namespace tolvi
