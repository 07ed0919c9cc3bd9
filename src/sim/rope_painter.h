#pragma once
// Drawing of the rope picture, shared by the window, snapshots and printing.

#include "platform/pixel_painting.h"
#include "sim/sim_state.h"

#include <QColor>
#include <QImage>

class QPainter;

namespace tolvi {
class RandomSource;

namespace ropecolors {
inline const QColor kRope{255, 255, 150};
inline const QColor kRulerHighlight{255, 200, 200};
inline const QColor kRulerShadow{155, 0, 0};
inline const QColor kRulerBody{235, 0, 0};
}  // namespace ropecolors

// Paints the picture's persistent background: the gradient and the far-end
// device (speckled damper, clamp, or nothing for a free end).
QImage fondi(int typeBout, RandomSource& random, QSize size = {rope::kPictureWidth, rope::kPictureHeight});

// Draws one frame: background, rope, marker dots, tilting red ruler.
void deppoint(QPainter& painter, const QImage& background, const SimState& s);

// The frame as an image of the background's size.
QImage ropeFrame(const QImage& background, const SimState& s);

}  // namespace tolvi
