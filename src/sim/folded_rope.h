#pragma once
// The default rope: each deformation runs to the far end, is folded back
// there once (upright, inverted or absorbed) and is retired when it has left
// the rope; the source sends nothing back. The deformations are those of the
// wave controls; a hand or a given motion on the source travels the same way.

#include "sim/rope_model.h"
#include "sim/source_line.h"

namespace tolvi {

class FoldedRope : public RopeModel {
public:
    void tick(SimState& s, int interval, double motif, const SourceDrive& drive) override;
    void refresh(SimState& s, double motif, const SourceDrive& drive) override;
    void clear(SimState& s, const SourceDrive& drive) override;

private:
    SourceLine hand_;  // what the hand or a given motion sent
};

// Reflection factor of a far end: 0 damper, -1 fixed, +1 free.
double farEndFactor(int typeBout);

}  // namespace tolvi
