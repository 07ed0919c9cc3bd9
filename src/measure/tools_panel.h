#pragma once
// Picture1, the tools panel under the tab "Outils": starting the chronometer
// and the graph with the wave, the recording duration, continuous recording
// and the abscissas of the two markers.

#include <QWidget>
#include <array>

class QCheckBox;
class QLabel;

namespace tolvi {
class Simulation;
class UpDown;

class ToolsPanel : public QWidget {
    Q_OBJECT
public:
    explicit ToolsPanel(Simulation& sim, QWidget* parent = nullptr);

    QCheckBox* check1() const { return check1_; }
    QCheckBox* check2() const { return check2_; }
    QLabel* labelg() const { return labelg_; }
    UpDown* upDown1() const { return upDown_; }
    QLabel* labeli(int i) const { return labeli_.at(std::size_t(i)); }

    void sync();

signals:
    void hovered();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    Simulation& sim_;
    QCheckBox* check1_;
    QCheckBox* check2_;
    QLabel* label2_;
    QLabel* labelg_;
    UpDown* upDown_;
    std::array<QLabel*, 2> labeli_{};
    bool syncing_ = false;
};

}  // namespace tolvi
