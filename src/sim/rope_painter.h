#pragma once
// Drawing of the rope picture, shared by the window, snapshots and printing.

#include "platform/pixel_painting.h"
#include "sim/sim_state.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <array>
#include <utility>
#include <vector>

class QPainter;

namespace tolvi {
class RandomSource;

namespace ropecolors {
inline const QColor kRope{255, 255, 150};
inline const QColor kRulerHighlight{255, 200, 200};
inline const QColor kRulerShadow{155, 0, 0};
inline const QColor kRulerBody{235, 0, 0};
}  // namespace ropecolors

// The picture's persistent background as drawn once by fondi: the far-end
// device and where its speckles fell, so that it can be painted again at any
// resolution with the same speckles.
struct RopeBackdrop {
    struct Speckle {
        QPoint at;
        bool grey;  // the shadow pixel below and right of a white one
    };
    int typeBout = BoutAmortisseur;
    QSize size{rope::kPictureWidth, rope::kPictureHeight};
    std::vector<Speckle> speckles;  // in drawing order
};

// Throws the damper's speckles (for a damper end only).
RopeBackdrop ropeBackdrop(int typeBout, RandomSource& random,
                          QSize size = {rope::kPictureWidth, rope::kPictureHeight});

// Paints the background: the gradient and the far-end device (speckled
// damper, clamp, or nothing for a free end), laid out in drawing units and
// drawn at `scale` device pixels per unit (the image's device pixel ratio).
QImage paintBackdrop(const RopeBackdrop& backdrop, double scale = 1.0);

// ropeBackdrop and paintBackdrop at one device pixel per unit.
QImage fondi(int typeBout, RandomSource& random, QSize size = {rope::kPictureWidth, rope::kPictureHeight});

// Draws one frame: background, rope, marker dots, tilting red ruler. The
// rope is drawn at the background's device pixel ratio: its line follows the
// 1 cm columns joined straight, sampled at every device column. With an
// `exposed` rectangle (drawing units), for a painter clipped inside it (a
// partial repaint), the rope outside it is left out: the pixels inside are
// those of the whole frame.
void deppoint(QPainter& painter, const QImage& background, const SimState& s, const QRect& exposed = QRect());

// The device columns [first, end) the rope crosses at `scale`.
std::pair<int, int> ropeDeviceColumns(double scale);

// The rows of the rope's 1 cm columns in the picture, as the band is drawn
// from them: rows far off the picture are kept to a range whole numbers
// hold, and a place that is no number is drawn at rest.
using RopeRows = std::array<double, rope::kColumns>;
RopeRows ropeRows(const SimState& s);

// Where device column X takes the rope from: the two ends of its stretch
// (a 1 cm column and the weight of the next one) and the whole columns
// between them. `reaches` is false left of the source.
struct BandSampling {
    int loColumn = 0, hiColumn = 0;
    double loWeight = 0.0, hiWeight = 0.0;
    int innerFirst = 0, innerLast = -1;
    bool reaches = false;

    // The 1 cm columns [first, last] the band depends on.
    int firstColumn() const { return loColumn; }
    int lastColumn() const { return hiWeight == 0.0 ? hiColumn : hiColumn + 1; }
};
BandSampling bandSampling(double scale, int X);

// The rows [top, bottom) of the band in the device column sampled `at`;
// empty where the rope does not reach.
std::pair<int, int> bandRows(const RopeRows& rows, double scale, const BandSampling& at);

// The device pixels a repaint of `exposed` (drawing units) must redraw at
// `scale`, a pixel more on every side: of the rope, those it may reach.
QRect exposedDevicePixels(const QRect& exposed, double scale);

// What deppoint draws over the rope: the marker dots and the ruler, at
// `scale` device pixels per unit. A `markerSize` above 1 (a zoomed window,
// read from afar) draws the markers that many times larger, as discs with
// a dark outline that stands out on the yellow rope.
void paintRopeMarks(QPainter& painter, const SimState& s, double scale, double markerSize = 1.0);
// The part of the picture a marker at `column` covers, drawn `markerSize`
// times larger (drawing units).
QRect markerArea(const SimState& s, int column, double markerSize);
// The outline of the enlarged markers.
inline const QColor kMarkerOutline{0, 0, 0};

// The frame as an image of the background's size and device pixel ratio.
QImage ropeFrame(const QImage& background, const SimState& s);

}  // namespace tolvi
