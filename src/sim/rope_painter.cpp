#include "sim/rope_painter.h"

#include "platform/random_source.h"
#include "text/french_numbers.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace tolvi {


RopeBackdrop ropeBackdrop(int typeBout, RandomSource& random, QSize size)
{
    RopeBackdrop backdrop;
    backdrop.typeBout = typeBout;
    backdrop.size = size;
    if (typeBout == BoutAmortisseur) {
        backdrop.speckles.reserve(2400);
        for (int n = 0; n < 1200; ++n) {
            const int x = int(roundEven(30.0 * random.next() + 750.0));
            const int y = int(roundEven(105.0 * random.next()));
            backdrop.speckles.push_back({QPoint(x, y), false});
            backdrop.speckles.push_back({QPoint(x + 1, y + 1), true});
        }
    }
    return backdrop;
}

QImage paintBackdrop(const RopeBackdrop& backdrop, double scale)
{
    const QSize size = backdrop.size;
    QImage image(int(std::lround(size.width() * scale)), int(std::lround(size.height() * scale)), QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(qbColor(15));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);

    const double s = size.height();
    const int h = int(roundEven(s));
    const int w = size.width();
    for (int i = 0; i <= h; ++i) {
        const int r = int(roundEven(105.0 - 105.0 * i / s));
        const int g = int(roundEven(130.0 - 130.0 * i / s));
        const int b = int(roundEven(155.0 - 155.0 * i / s));
        pixelLine(p, 0, i, w, i, QColor(r, g, b));
    }

    const QRect inside(QPoint(0, 0), size);
    for (const RopeBackdrop::Speckle& speckle : backdrop.speckles)
        if (inside.contains(speckle.at))
            p.fillRect(QRect(speckle.at, QSize(1, 1)), qbColor(speckle.grey ? 7 : 15));

    if (backdrop.typeBout == BoutFixe) {
        pixelBox(p, 751, 52, 785, 54, qbColor(15));
        pixelLine(p, 751, 55, 785, 55, qbColor(7));
        pixelLine(p, 751, 56, 785, 56, qbColor(8));
        pixelOutline(p, 751, 51, 785, 57, qbColor(0));
    }
    return image;
}

QImage fondi(int typeBout, RandomSource& random, QSize size)
{
    return paintBackdrop(ropeBackdrop(typeBout, random, size));
}

namespace {
// Rows further than this from the picture are drawn as if they were this
// far: nothing of them shows, and whole numbers hold them at any scale.
constexpr double kRowLimit = 1e6;
}  // namespace

std::pair<int, int> ropeDeviceColumns(double scale)
{
    return {int(std::lround(rope::kSourceColumn * scale)), int(std::lround((rope::kFarEndColumn + 1) * scale))};
}

RopeRows ropeRows(const SimState& s)
{
    RopeRows rows;
    for (std::size_t c = 0; c < rows.size(); ++c) {
        const double r = rope::kRestRow - s.deplacement[c];
        rows[c] = std::isnan(r) ? double(rope::kRestRow) : std::clamp(r, -kRowLimit, kRowLimit);
    }
    return rows;
}

BandSampling bandSampling(double scale, int X)
{
    // Each device column is filled over the rows the rope crosses from 1.5
    // units left of its centre to 0.5 right of it (the straight joins
    // between the 1 cm columns), one unit more above and below: at one
    // device pixel per unit, the band of each pair of neighbouring columns,
    // exact for a pixel line and cheap even when a short wave makes every
    // segment steep (a stroked polyline is not); finer devices follow the
    // joins at their resolution.
    BandSampling at;
    const double centre = (X + 0.5) / scale;
    const double lo = std::max(double(rope::kSourceColumn), centre - 1.5);
    const double hi = std::min(double(rope::kFarEndColumn), centre + 0.5);
    if (lo > hi)
        return at;
    const auto end = [](double x, int& column, double& f) {
        column = int(std::floor(x));
        f = x - column;
        if (column >= rope::kFarEndColumn) {
            column = rope::kFarEndColumn;
            f = 0.0;
        }
    };
    end(lo, at.loColumn, at.loWeight);
    end(hi, at.hiColumn, at.hiWeight);
    at.innerFirst = int(std::ceil(lo));
    at.innerLast = int(std::floor(hi));
    at.reaches = true;
    return at;
}

std::pair<int, int> bandRows(const RopeRows& rows, double scale, const BandSampling& at)
{
    if (!at.reaches)
        return {0, 0};
    const auto rowAt = [&rows](int column, double f) {
        if (f == 0.0)
            return rows[std::size_t(column)];
        return rows[std::size_t(column)] * (1.0 - f) + rows[std::size_t(column) + 1] * f;
    };
    const double a = rowAt(at.loColumn, at.loWeight);
    const double b = rowAt(at.hiColumn, at.hiWeight);
    double least = std::min(a, b);
    double most = std::max(a, b);
    for (int c = at.innerFirst; c <= at.innerLast; ++c) {
        least = std::min(least, rows[std::size_t(c)]);
        most = std::max(most, rows[std::size_t(c)]);
    }
    // A band edge `d` units from row `v`, in device rows.
    const auto edge = [scale](double v, int d) {
        return scale == 1.0 ? int(std::lround(v)) + d : int(std::lround((v + d) * scale));
    };
    return {edge(least, -1), edge(most, 1)};
}

QRect exposedDevicePixels(const QRect& exposed, double scale)
{
    return QRect(QPoint(int(std::floor(exposed.left() * scale)) - 1, int(std::floor(exposed.top() * scale)) - 1),
                 QPoint(int(std::ceil((exposed.right() + 1) * scale)), int(std::ceil((exposed.bottom() + 1) * scale))));
}

QRect markerArea(const SimState& s, int column, double markerSize)
{
    if (column < 0 || column >= rope::kColumns)
        return {};
    const double d = s.deplacement[std::size_t(column)];
    const double row = rope::kRestRow - (std::isfinite(d) ? std::clamp(d, -1000.0, 1000.0) : 0.0);
    const int half = int(std::ceil(1.5 * markerSize)) + 3;
    return QRect(QPoint(column - half, int(std::floor(row)) - half), QPoint(column + half + 1, int(std::ceil(row)) + half + 1));
}

void paintRopeMarks(QPainter& p, const SimState& s, double scale, double markerSize)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    const auto row = [&s](int column) { return rope::kRestRow - s.deplacement[std::size_t(column)]; };

    // Marker dots ride on the rope.
    const auto dot = [&](int column, const QColor& color) {
        if (column < 0 || column >= rope::kColumns)
            return;
        // At one device pixel per unit on whole pixels; finer devices
        // keep the rope's exact height.
        const double y = scale == 1.0 ? double(std::lround(row(column))) : row(column);
        if (markerSize <= 1.0) {
            p.fillRect(QRectF(column - 1, y - 1, 3, 3), color);
            return;
        }
        const double half = 1.5 * markerSize;
        p.save();
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(kMarkerOutline, 1.5));
        p.setBrush(color);
        p.drawEllipse(QRectF(column + 0.5 - half, y + 0.5 - half, 2 * half, 2 * half));
        p.restore();
    };
    dot(s.marqueBleue, qbColor(9));
    dot(s.marqueRouge, qbColor(12));

    // The red ruler that drives the source, hinged at the left edge.
    const double u = s.deplacement[rope::kSourceColumn];
    const auto bar = [&](double y, const QColor& color) {
        p.setPen(QPen(color, 2, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(0, y), QPointF(rope::kSourceColumn, y - u));
    };
    bar(rope::kRestRow - 1, ropecolors::kRulerHighlight);
    bar(rope::kRestRow + 1, ropecolors::kRulerShadow);
    bar(rope::kRestRow, ropecolors::kRulerBody);
    p.restore();
}

void deppoint(QPainter& p, const QImage& background, const SimState& s, const QRect& exposed)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.drawImage(0, 0, background);
    const double scale = background.isNull() ? 1.0 : background.devicePixelRatio();

    // The rope, from the source to the far end, two units thick.
    {
        p.save();
        p.scale(1.0 / scale, 1.0 / scale);
        auto [first, end] = ropeDeviceColumns(scale);
        // Device rows [exposedTop, exposedBottom) hold what is seen.
        int exposedTop = std::numeric_limits<int>::min();
        int exposedBottom = std::numeric_limits<int>::max();
        if (!exposed.isNull()) {
            const QRect device = exposedDevicePixels(exposed, scale);
            first = std::max(first, device.left());
            end = std::min(end, device.right() + 1);
            exposedTop = device.top();
            exposedBottom = device.bottom() + 1;
        }
        const RopeRows rows = ropeRows(s);
        // Neighbouring device columns with the same rows make one box: a
        // flat stretch of rope is a single fill, however fine the device.
        std::vector<QRect> boxes;
        boxes.reserve(std::size_t(std::max(0, end - first)));
        for (int X = first; X < end; ++X) {
            const auto [top, bottom] = bandRows(rows, scale, bandSampling(scale, X));
            if (bottom <= exposedTop || top >= exposedBottom || bottom <= top)
                continue;
            if (!boxes.empty() && boxes.back().right() == X - 1 && boxes.back().top() == top &&
                boxes.back().bottom() == bottom - 1)
                boxes.back().setRight(X);
            else
                boxes.emplace_back(X, top, 1, bottom - top);
        }
        for (const QRect& box : boxes)
            p.fillRect(box, ropecolors::kRope);
        p.restore();
    }
    p.restore();
    paintRopeMarks(p, s, scale);
}

QImage ropeFrame(const QImage& background, const SimState& s)
{
    QImage frame(background.size(), QImage::Format_RGB32);
    frame.setDevicePixelRatio(background.devicePixelRatio());
    QPainter p(&frame);
    deppoint(p, background, s);
    return frame;
}

}  // namespace tolvi
