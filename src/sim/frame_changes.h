#pragma once
// What a tick changes in the rope and graph pictures, so that a window
// repaints those parts alone (the rest of its picture stays as drawn). The
// parts are rectangles in the pictures' drawing units, generous by a unit or
// two so that every device pixel a change touches, at any resolution, lies
// inside them.

#include "sim/graph.h"
#include "sim/sim_state.h"

#include <QRect>
#include <array>
#include <vector>

namespace tolvi {

// What the rope picture's frame is drawn from, apart from its background.
struct RopeFrameKey {
    std::array<double, rope::kColumns> deplacement{};
    int marqueBleue = -1;
    int marqueRouge = -1;

    static RopeFrameKey of(const SimState& s);
};

// The parts of the rope picture where the frame of `now` can differ from
// that of `before`: the moved stretches of rope (in short spans, each as
// high as its own movement), the markers and the ruler. Empty when nothing
// moved.
std::vector<QRect> ropeChanges(const RopeFrameKey& before, const SimState& now);

// The part of the graph picture that strokes [from, to) cover.
QRect strokesBounds(const GraphRecording& graph, std::size_t from, std::size_t to);

// Follows a graph recording as a picture of it is repainted: the part the
// new strokes cover, or the whole picture when the recording started over.
class GraphFollower {
public:
    // The part to repaint since the last call; `all` set when everything must be.
    QRect changes(const GraphRecording& graph, bool& all);

private:
    int generation_ = -1;
    std::size_t strokes_ = 0;
};

}  // namespace tolvi
