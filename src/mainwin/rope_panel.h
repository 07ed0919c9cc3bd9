#pragma once
// Picture3, the rope-characteristics panel under the tab "Corde": the kind of
// far end, the linear mass and the tension.

#include <QWidget>
#include <array>

class QRadioButton;

namespace tolvi {
class ParamBox;
class RealRopeControls;
class Simulation;

class RopePanel : public QWidget {
    Q_OBJECT
public:
    explicit RopePanel(Simulation& sim, QWidget* parent = nullptr);

    ParamBox* textfreq(int index) const;  // 1 (linear mass), 2 (tension)
    QRadioButton* optbout(int index) const { return optbout_.at(std::size_t(index)); }
    RealRopeControls* realRope() const { return realRope_; }

    void sync();
    // Moves both boxes after their labels, as the painting does.
    void placeBoxes();

signals:
    void hovered();
    // Over the real rope's controls: their own hint.
    void hoveredHint(const QString& hint);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void applyBoxes(const QRect& masse, const QRect& tension);

    Simulation& sim_;
    ParamBox* masse_;
    ParamBox* tension_;
    std::array<QRadioButton*, 3> optbout_{};
    RealRopeControls* realRope_ = nullptr;
    bool syncing_ = false;
};

}  // namespace tolvi
