#pragma once
// A model of the rope: what the tick asks of it. Each tick it ages the
// deformations the wave controls emitted, moves what travels on the rope by
// the tick's interval and rebuilds deplacement, which the drawing, the
// markers and the graph read. Two models stand side by side: the rope whose
// far end folds each deformation back once (FoldedRope, the default) and the
// real rope whose two ends reflect, with damping (RingingRope).

#include "sim/sim_state.h"

namespace tolvi {
class SourceDrive;

class RopeModel {
public:
    virtual ~RopeModel() = default;
    // One tick of `interval` ms; `motif` is the duration of one deformation
    // (s); `drive` holds the clock (already moved on by the interval) and
    // what moves the source besides the deformations.
    virtual void tick(SimState& s, int interval, double motif, const SourceDrive& drive) = 0;
    // Makes deplacement again from what travels now, without moving it (a
    // control has just emptied the rope or added a deformation).
    virtual void refresh(SimState& s, double motif, const SourceDrive& drive) = 0;
    // Nothing travels any more (the deformations are forgotten too).
    virtual void clear(SimState& s, const SourceDrive& drive) = 0;
};

}  // namespace tolvi
