#pragma once
// The chronometer of the main window: the reading Label4, the reset button
// Command5 ("0") and the start/stop button Command3, placed on the window's
// painted plate.

#include <QObject>

class QLabel;
class QPushButton;
class QWidget;

namespace tolvi {
class Simulation;

class ChronometerControls : public QObject {
    Q_OBJECT
public:
    // The three controls are created on `window` at their places.
    ChronometerControls(Simulation& sim, QWidget* window);

    QLabel* label4() const { return label4_; }
    QPushButton* command5() const { return command5_; }
    QPushButton* command3() const { return command3_; }

    void sync();

private:
    Simulation& sim_;
    QLabel* label4_;
    QPushButton* command5_;
    QPushButton* command3_;
};

}  // namespace tolvi
