#include "sim/frame_changes.h"

#include <algorithm>
#include <cmath>

namespace tolvi {

namespace {
// The columns of one span: short enough that a wave's slope makes it only
// a little taller than the rope is thick.
constexpr int kSpan = 8;
// Every row a change can reach, and then some: values far off the picture
// are kept to a range whole numbers hold.
constexpr double kRowLimit = 4.0 * rope::kPictureHeight;

double rowOf(double d)
{
    const double row = rope::kRestRow - d;
    if (std::isnan(row))
        return row;  // no place: the whole height
    return std::clamp(row, -kRowLimit, kRowLimit);
}

// Rows [top, bottom) covering a point of the rope at `row` drawn `margin`
// units thick on either side.
void coverRow(double row, double margin, double& top, double& bottom)
{
    if (std::isnan(row)) {
        top = -kRowLimit;
        bottom = kRowLimit;
        return;
    }
    top = std::min(top, row - margin);
    bottom = std::max(bottom, row + margin);
}

QRect rowsRect(int left, int right, double top, double bottom)
{
    // A row that is not a number spans the whole picture.
    if (std::isnan(top) || std::isnan(bottom)) {
        top = -kRowLimit;
        bottom = kRowLimit;
    }
    return QRect(QPoint(left, int(std::floor(top))), QPoint(right - 1, int(std::ceil(bottom)) - 1));
}
}  // namespace

RopeFrameKey RopeFrameKey::of(const SimState& s)
{
    RopeFrameKey key;
    key.deplacement = s.deplacement;
    key.marqueBleue = s.marqueBleue;
    key.marqueRouge = s.marqueRouge;
    return key;
}

std::vector<QRect> ropeChanges(const RopeFrameKey& before, const SimState& now)
{
    std::vector<QRect> parts;
    const auto& a = before.deplacement;
    const auto& b = now.deplacement;
    // Bitwise equal values draw alike; a NaN never compares equal, so it is
    // always repainted.
    const auto moved = [&](int c) { return !(a[std::size_t(c)] == b[std::size_t(c)]); };
    const auto lastColumn = rope::kFarEndColumn;

    // The rope: a device column's band joins the rows of the columns from
    // 1.5 units left of it to 0.5 right, one unit thicker above and below,
    // so a moved column changes the pixels of its neighbours too.
    for (int first = rope::kSourceColumn; first <= lastColumn; first += kSpan) {
        const int last = std::min(first + kSpan - 1, lastColumn);
        int lo = -1, hi = -1;
        for (int c = first; c <= last; ++c)
            if (moved(c)) {
                if (lo < 0)
                    lo = c;
                hi = c;
            }
        if (lo < 0)
            continue;
        double top = kRowLimit, bottom = -kRowLimit;
        for (int c = std::max(0, lo - 2); c <= std::min(lastColumn, hi + 2); ++c) {
            coverRow(rowOf(a[std::size_t(c)]), 2.0, top, bottom);
            coverRow(rowOf(b[std::size_t(c)]), 2.0, top, bottom);
        }
        parts.push_back(rowsRect(lo - 2, hi + 4, top, bottom + 1.0));
    }

    // The marker dots (3 × 3 units around the rope's row at their column).
    const auto marker = [&](int was, int is) {
        const auto dot = [&](int column, const std::array<double, rope::kColumns>& d) {
            if (column < 0 || column >= rope::kColumns)
                return;
            const double row = rowOf(d[std::size_t(column)]);
            parts.push_back(rowsRect(column - 2, column + 3, row - 2.0, row + 3.0));
        };
        if (was == is && (is < 0 || is >= rope::kColumns || !moved(is)))
            return;
        dot(was, a);
        dot(is, b);
    };
    marker(before.marqueBleue, now.marqueBleue);
    marker(before.marqueRouge, now.marqueRouge);

    // The ruler, two units thick, from the left edge to the source's row.
    if (moved(rope::kSourceColumn)) {
        double top = rope::kRestRow - 1.0, bottom = rope::kRestRow + 2.0;
        for (const double d : {a[rope::kSourceColumn], b[rope::kSourceColumn]}) {
            coverRow(rowOf(d) - 1.0, 3.0, top, bottom);
            coverRow(rowOf(d) + 1.0, 3.0, top, bottom);
        }
        parts.push_back(rowsRect(-2, rope::kSourceColumn + 3, top - 3.0, bottom + 3.0));
    }
    return parts;
}

QRect strokesBounds(const GraphRecording& graph, std::size_t from, std::size_t to)
{
    const auto& strokes = graph.strokes();
    QRect bounds;
    for (std::size_t i = from; i < to && i < strokes.size(); ++i) {
        const GraphStroke& s = strokes[i];
        const auto part = [](double x1, double y1, double x2, double y2) {
            // A 2-unit pen with round caps, or a 2 × 2 dot at the rounded
            // point: at most a unit and a half off the points; two for
            // rounding at any resolution.
            const auto limit = [](double v) {
                return std::isfinite(v) ? std::clamp(v, -1e6, 1e6) : (v > 0 ? 1e6 : -1e6);
            };
            x1 = limit(x1), y1 = limit(y1), x2 = limit(x2), y2 = limit(y2);
            return QRect(QPoint(int(std::floor(std::min(x1, x2))) - 3, int(std::floor(std::min(y1, y2))) - 3),
                         QPoint(int(std::ceil(std::max(x1, x2))) + 3, int(std::ceil(std::max(y1, y2))) + 3));
        };
        bounds |= s.dot ? part(s.to.x(), s.to.y(), s.to.x(), s.to.y()) : part(s.from.x(), s.from.y(), s.to.x(), s.to.y());
    }
    return bounds;
}

QRect GraphFollower::changes(const GraphRecording& graph, bool& all)
{
    const std::size_t count = graph.strokes().size();
    all = graph.generation() != generation_ || count < strokes_;
    const QRect part = all ? QRect() : strokesBounds(graph, strokes_, count);
    generation_ = graph.generation();
    strokes_ = count;
    return part;
}

}  // namespace tolvi
