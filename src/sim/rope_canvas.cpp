#include "sim/rope_canvas.h"

#include <QPainter>

#include <algorithm>

namespace tolvi {

void RopeCanvas::follow(const QImage& background, const SimState& s)
{
    if (background.isNull()) {
        frame_ = QImage();
        bandShown_ = false;
        return;
    }
    if (background.cacheKey() != backgroundKey_ || frame_.isNull()) {
        // A new background (a new far end, another resolution): the frame
        // starts again from it.
        backgroundKey_ = background.cacheKey();
        scale_ = background.devicePixelRatio();
        background_ = background.format() == QImage::Format_RGB32 ? background
                                                                  : background.convertToFormat(QImage::Format_RGB32);
        frame_ = background_.copy();
        frame_.setDevicePixelRatio(1.0);
        bandShown_ = false;
        const auto [first, end] = ropeDeviceColumns(scale_);
        sampling_.clear();
        for (int X = first; X < end; ++X)
            sampling_.push_back(bandSampling(scale_, X));
    }

    // The 1 cm columns that moved since the last frame (bitwise: a value
    // that is no number is always drawn again), counted for quick lookups.
    moved_.resize(std::size_t(rope::kColumns) + 1);
    moved_[0] = 0;
    for (int c = 0; c < rope::kColumns; ++c) {
        const double was = drawn_[std::size_t(c)];
        const double is = s.deplacement[std::size_t(c)];
        moved_[std::size_t(c) + 1] = moved_[std::size_t(c)] + (bandShown_ && was == is ? 0 : 1);
    }
    drawn_ = s.deplacement;
    if (moved_.back() == 0)
        return;

    const RopeRows ropeRows = tolvi::ropeRows(s);
    const auto [first, end] = ropeDeviceColumns(scale_);
    if (!bandShown_)
        band_.assign(std::size_t(std::max(0, end - first)), {0, 0});
    const int width = frame_.width();
    const int height = frame_.height();
    const qsizetype stride = frame_.bytesPerLine() / qsizetype(sizeof(QRgb));
    QRgb* const pixels = reinterpret_cast<QRgb*>(frame_.bits());
    const QRgb* const under = reinterpret_cast<const QRgb*>(background_.constBits());
    const QRgb rope = ropecolors::kRope.rgb();
    const auto rows = [height](std::pair<int, int> r) {
        const int top = std::clamp(r.first, 0, height);
        return std::pair<int, int>(top, std::clamp(r.second, top, height));
    };
    // Rows [from, to) of device column X: back to the background, or rope.
    const auto restore = [&](int X, int from, int to) {
        for (qsizetype i = from * stride + X; from < to; ++from, i += stride)
            pixels[i] = under[i];
    };
    const auto fill = [&](int X, int from, int to) {
        for (qsizetype i = from * stride + X; from < to; ++from, i += stride)
            pixels[i] = rope;
    };

    for (int X = std::max(first, 0); X < std::min(end, width); ++X) {
        const BandSampling& at = sampling_[std::size_t(X - first)];
        if (moved_[std::size_t(at.lastColumn()) + 1] == moved_[std::size_t(at.firstColumn())])
            continue;
        std::pair<int, int>& shown = band_[std::size_t(X - first)];
        const std::pair<int, int> next = rows(bandRows(ropeRows, scale_, at));
        const auto [oldTop, oldBottom] = shown;
        const auto [newTop, newBottom] = next;
        // The rows the rope left get their background back; the rows it
        // reached are filled; the rows it still covers stay.
        restore(X, oldTop, std::min(oldBottom, newTop));
        restore(X, std::max(oldTop, newBottom), oldBottom);
        fill(X, newTop, std::min(newBottom, oldTop));
        fill(X, std::max(newTop, oldBottom), newBottom);
        shown = next;
    }
    bandShown_ = true;
}

void RopeCanvas::paint(QPainter& p, const QImage& background, const SimState& s, const QRect& exposed,
                       double markerSize)
{
    follow(background, s);
    if (frame_.isNull())
        return;
    const double scale = scale_;
    QRect part = frame_.rect();
    if (!exposed.isNull())
        part &= exposedDevicePixels(exposed, scale);
    if (!part.isEmpty()) {
        p.save();
        p.scale(1.0 / scale, 1.0 / scale);
        p.drawImage(part.topLeft(), frame_, part);
        p.restore();
    }
    paintRopeMarks(p, s, scale, markerSize);
}

}  // namespace tolvi
