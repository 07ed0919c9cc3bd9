#pragma once
// The rope picture drawn into an image as the window draws it: at a device
// pixel ratio, or at one pixel per unit under a painter that enlarges (the
// full-screen view).
#include "sim/sim_state.h"

#include <QImage>
#include <QPainter>
#include <cmath>

namespace tolvi::testing {

// An image the size of the rope picture at `scale`, black, drawn by `draw`.
template <typename Draw>
QImage ropeImageAt(double scale, bool enlarged, Draw draw)
{
    QImage image(int(std::ceil(rope::kPictureWidth * scale)), int(std::ceil(rope::kPictureHeight * scale)),
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(enlarged ? 1.0 : scale);
    image.fill(Qt::black);
    QPainter p(&image);
    if (enlarged)
        p.scale(scale, scale);
    draw(p);
    return image;
}

}  // namespace tolvi::testing
