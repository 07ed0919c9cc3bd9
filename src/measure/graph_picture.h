#pragma once
// Picture2: the time graph as the simulation draws it, with the pointer
// readout of time and displacement; a right click offers its export commands.

#include "measure/picture_box.h"

namespace tolvi {
class Simulation;

class GraphPicture : public PictureBox {
    Q_OBJECT
public:
    explicit GraphPicture(Simulation& sim, QWidget* parent = nullptr);

    QImage picture() const override;
    void Picture2_MouseMove(double x, double y);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    Simulation& sim_;
};

}  // namespace tolvi
