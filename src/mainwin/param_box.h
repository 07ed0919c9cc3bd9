#pragma once
// One parameter box Textfreq(index): typed keys pass the simulation's key
// filter, edits are handed to the simulation as they happen, leaving the box
// validates it. The box shows the simulation's text and greying.

#include <QLineEdit>

namespace tolvi {
class Simulation;

class ParamBox : public QLineEdit {
    Q_OBJECT
public:
    ParamBox(Simulation& sim, int index, QWidget* parent = nullptr);

    int index() const { return index_; }
    // Mirrors the simulation: text (when it differs), enabled state and the
    // background (white, or grey QBColor 7 when disabled).
    void sync();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    Simulation& sim_;
    int index_;
    int paletteFor_ = -1;  // the enabled state the palette was set for, -1 none
};

}  // namespace tolvi
