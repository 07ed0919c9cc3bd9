#pragma once
// The real rope: both ends reflect. The source holds the rope while it
// imposes its motion, so what comes back to it leaves again inverted, as
// from a held end; the far end reflects as chosen (fixed, free, or absorbs
// in the damper). Every travelling part loses a fraction of its amplitude per
// metre run (« Amortissement »), and an echo smaller than a thousandth of a
// centimetre is retired. A sine at n v / 2L on a fixed rope builds up a
// standing wave; a plucked rope rings with all its modes.
//
// Cost: the deformations of the wave controls live only while the source
// emits them (at most two at a time for the periodic and sinusoidal waves);
// what they sent is one round trip of samples (SourceLine: 8192 numbers,
// whatever the damping, even none); a tick computes at most 566 new samples
// (1,42 m run at 14,2 m/s in 100 ms, four per centimetre) and reads two per
// column of the rope (1402).

#include "sim/rope_model.h"
#include "sim/source_line.h"

namespace tolvi {

class RingingRope : public RopeModel {
public:
    // « Amortissement »: percent of amplitude lost per metre run.
    static constexpr double kDampingMax = 50.0;
    static constexpr double kDampingDefault = 1.0;

    void tick(SimState& s, int interval, double motif, const SourceDrive& drive) override;
    void refresh(SimState& s, double motif, const SourceDrive& drive) override;
    void clear(SimState& s, const SourceDrive& drive) override;

    double damping() const { return damping_; }
    // Clamped to 0 .. kDampingMax; the rope keeps what travels on it.
    void setDamping(double percentPerMetre);
    // Amplitude kept after one metre: 1 - damping / 100.
    double keptPerMetre() const { return 1.0 - damping_ / 100.0; }

    // « Pincer la corde »: the rope is drawn aside `height` cm at `x` metres
    // from the source into a triangle between its two held ends, and let go
    // at rest now. The far end must be fixed (the caller selects it).
    void pluck(SimState& s, const SourceDrive& drive, double x, double height);

    // The signal that left the source (for the tests' and the bench's eyes).
    const SourceLine& line() const { return line_; }

private:
    double damping_ = kDampingDefault;
    SourceLine line_;
};

}  // namespace tolvi
