#pragma once
// Frame2, the perturbation panel under the tab "Onde": amplitude, duration,
// symmetry, kind of wave and frequency.

#include <QWidget>
#include <array>

class QCheckBox;
class QRadioButton;

class QLabel;

namespace tolvi {
class ParamBox;
class Simulation;

class PerturbationPanel : public QWidget {
    Q_OBJECT
public:
    explicit PerturbationPanel(Simulation& sim, QWidget* parent = nullptr);

    ParamBox* textfreq(int index) const;  // 0 (frequency), 3 (amplitude), 4 (duration)
    QCheckBox* checksi() const { return checksi_; }
    QRadioButton* optpert(int index) const { return optpert_.at(std::size_t(index)); }
    // « À la main »: the pupil's hand moves the source (the red ruler).
    QCheckBox* aLaMain() const { return aLaMain_; }

    // Mirrors the simulation's controls.
    void sync();
    // Moves the amplitude and duration boxes after their labels (what the
    // painting does), without waiting for a repaint.
    void placeBoxes();

signals:
    void hovered();  // the mouse moves over the panel itself

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void applyBoxes(const QRect& amplitude, const QRect& duree);

    Simulation& sim_;
    ParamBox* frequence_;
    ParamBox* amplitude_;
    ParamBox* duree_;
    QCheckBox* checksi_;
    QCheckBox* aLaMain_;
    std::array<QRadioButton*, 3> optpert_{};
    bool syncing_ = false;
};

// The panels' children share the panel's background colour.
void usePanelColour(QWidget* widget);

// A label's text colour, and its background when one is given (filled).
void setLabelColours(QLabel* label, const QColor& text, const QColor* background);

}  // namespace tolvi
