#pragma once
// Picture2: the time graph as the simulation draws it, with the pointer
// readout of time and displacement; a right click offers its export commands.
// By keyboard the arrows move a cursor over the graph (1 pixel, 10 with
// Shift; Home and End go to the ends of the time axis) and Label1 reads
// "t = ... ; u = ..." there as for the mouse.

#include "measure/picture_box.h"
#include "sim/frame_changes.h"

namespace tolvi {
class Simulation;

class GraphPicture : public PictureBox {
    Q_OBJECT
public:
    explicit GraphPicture(Simulation& sim, QWidget* parent = nullptr);

    QImage picture() const override;
    void Picture2_MouseMove(double x, double y);

protected:
    // At one device pixel per unit, the simulation's picture; finer, a copy
    // at the widget's resolution that gains each new stroke as it comes.
    // A new stroke repaints the part it covers alone.
    void paintPicture(QPainter& painter, const QRect& exposed) override;
    // The part the strokes since the last ask cover, or all of it for a new
    // recording.
    void askChanges() override;
    QSize coveredSize() const override { return QSize(GraphRecording::kWidth, GraphRecording::kHeight); }
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QPoint clampCursor(QPoint at) const override;
    void cursorReadout() override;
    // "t = 1,20 s ; u₁ = 3,1 cm ; u₂ = 0,0 cm": the date under the cursor
    // and the recorded curves there, as their segments join the points.
    QString readingAtCursor() const override;

private:
    // Label1's readout at a point of the picture.
    void readoutAt(double x, double y);

    Simulation& sim_;
    GraphFollower follower_;
    QImage fine_;
    int fineGeneration_ = -1;
    std::size_t fineStrokes_ = 0;
};

}  // namespace tolvi
