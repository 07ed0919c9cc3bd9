#include "sim/folded_rope.h"

#include "sim/propagation.h"
#include "sim/source_drive.h"

namespace tolvi {

double farEndFactor(int typeBout)
{
    return typeBout == BoutFixe ? -1.0 : typeBout == BoutLibre ? 1.0 : 0.0;
}

void FoldedRope::tick(SimState& s, int interval, double motif, const SourceDrive& drive)
{
    propagation::ageAndRetire(s, interval, propagation::vieMax(s, motif));
    propagation::computeDisplacement(s, motif);
    if (!drive.active())
        return;
    // The source does not hold the rope here: what comes back is not sent on.
    if (hand_.celerite() != s.celerite)
        hand_.reset(s.celerite, drive.clock() - interval / 1000.0);
    hand_.advance(drive.clock(), [&drive](double t) { return drive.at(t); }, 0.0);
    hand_.addTo(s.deplacement, farEndFactor(s.typeBout), 1.0);
}

void FoldedRope::refresh(SimState& s, double motif, const SourceDrive& drive)
{
    propagation::computeDisplacement(s, motif);
    if (drive.active())
        hand_.addTo(s.deplacement, farEndFactor(s.typeBout), 1.0);
}

void FoldedRope::clear(SimState& s, const SourceDrive& drive)
{
    s.nbDef = 0;
    hand_.reset(s.celerite, drive.clock());
}

}  // namespace tolvi
