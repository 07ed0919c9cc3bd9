#pragma once
// The rope picture as the window shows it tick after tick: the frame is kept
// at device resolution and only the pixels the rope left or reached since
// the last frame are written again, straight into it; a repaint then copies
// the part asked for. Filling the rope's band column by column through a
// painter costs a call per device column and a span per row, four times
// more at a display scale of 2, where the rope's steep stretches of a short
// wave cover thousands of rows.
//
// The pixels are those deppoint draws.

#include "sim/rope_painter.h"

#include <QImage>
#include <array>
#include <utility>
#include <vector>

class QPainter;

namespace tolvi {

class RopeCanvas {
public:
    // Draws the frame of `s` over `background` (at its device pixel ratio)
    // as deppoint does, inside `exposed` (drawing units; all when null).
    // `markerSize` as paintRopeMarks takes it.
    void paint(QPainter& painter, const QImage& background, const SimState& s, const QRect& exposed = QRect(),
               double markerSize = 1.0);

    // The background, rope and all, as last drawn, at one pixel per device
    // pixel (without the marker dots and the ruler).
    const QImage& frame() const { return frame_; }

private:
    // Brings the frame to `s`.
    void follow(const QImage& background, const SimState& s);

    QImage background_;  // as 32-bit pixels
    qint64 backgroundKey_ = 0;
    double scale_ = 1.0;
    QImage frame_;
    // What the frame shows: the places it was drawn from, and the rows of
    // the band in each device column from the source's.
    std::array<double, rope::kColumns> drawn_{};
    std::vector<std::pair<int, int>> band_;
    bool bandShown_ = false;
    std::vector<int> moved_;  // moved 1 cm columns before each column
    // Where each device column from the source's takes the rope from, at
    // the frame's resolution.
    std::vector<BandSampling> sampling_;
};

}  // namespace tolvi
