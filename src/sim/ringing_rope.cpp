#include "sim/ringing_rope.h"

#include "sim/folded_rope.h"
#include "sim/propagation.h"
#include "sim/source_drive.h"

#include <algorithm>
#include <cmath>

namespace tolvi {

void RingingRope::setDamping(double percentPerMetre)
{
    if (std::isfinite(percentPerMetre))
        damping_ = std::clamp(percentPerMetre, 0.0, kDampingMax);
}

void RingingRope::clear(SimState& s, const SourceDrive& drive)
{
    s.nbDef = 0;
    line_.reset(s.celerite, drive.clock());
}

void RingingRope::refresh(SimState& s, double, const SourceDrive&)
{
    s.deplacement.fill(0.0);
    line_.addTo(s.deplacement, farEndFactor(s.typeBout), keptPerMetre());
}

void RingingRope::tick(SimState& s, int interval, double motif, const SourceDrive& drive)
{
    const double clock = drive.clock();
    if (line_.celerite() != s.celerite)
        line_.reset(s.celerite, clock - interval / 1000.0);

    // The deformations age as in the other model; while they are at the
    // source, their shape is what the source imposes.
    const double dt = interval / 1000.0;
    for (int i = 1; i <= s.nbDef; ++i)
        s.ageDef[std::size_t(i)] += dt;
    const bool drives = drive.active();
    const auto source = [&](double t) {
        double u = drives ? drive.at(t) : 0.0;
        for (int i = 1; i <= s.nbDef; ++i) {
            const double age = s.ageDef[std::size_t(i)] - (clock - t);
            if (age >= 0.0 && age <= motif)
                u += propagation::shape(s.typeOnde, s.symetrique, s.demiAmplitude, age, motif);
        }
        return u;
    };
    const double far = farEndFactor(s.typeBout);
    const double kept = keptPerMetre();
    // Held source (-1) times far end, over a round trip of 14 m.
    const double echo = -far * std::pow(kept, 2.0 * rope::kLength);
    line_.advance(clock, source, echo);

    // A deformation the source has finished emitting lives on in the line.
    int alive = 0;
    for (int i = 1; i <= s.nbDef; ++i)
        if (s.ageDef[std::size_t(i)] <= motif)
            s.ageDef[std::size_t(++alive)] = s.ageDef[std::size_t(i)];
    s.nbDef = std::int16_t(alive);

    s.deplacement.fill(0.0);
    line_.addTo(s.deplacement, far, kept);
}

void RingingRope::pluck(SimState& s, const SourceDrive& drive, double x, double height)
{
    clear(s, drive);
    const double length = rope::kLength;
    x = std::clamp(x, 0.01, length - 0.01);
    const auto triangle = [=](double d) { return d <= x ? height * d / x : height * (length - d) / (length - x); };
    const double kept = keptPerMetre();
    const double v = s.celerite;
    // Let go at rest: half the shape runs each way. The half running towards
    // the far end at d left the source d / v ago (undo the damping on the
    // way); the half running back at d was sent back by the fixed far end
    // (inverted) after 2L - d.
    line_.setPast([=](double delay) {
        const double run = delay * v;
        if (run <= length)
            return triangle(run) / 2.0 / std::pow(kept, run);
        const double d = 2.0 * length - run;
        return -triangle(std::max(d, 0.0)) / 2.0 / std::pow(kept, run);
    });
    s.deplacement.fill(0.0);
    line_.addTo(s.deplacement, farEndFactor(s.typeBout), kept);
}

}  // namespace tolvi
