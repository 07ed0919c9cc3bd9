#pragma once
// The signal that leaves the source, kept over one round trip of the rope.
//
// With no dispersion, everything on the rope is the signal f that left the
// source: a point at x metres sees it x / v later, attenuated by the damping
// over x, plus what the far end sent back, 2L - x metres after leaving.
// What returns to the source is sent on again by it: when the source holds
// the rope while imposing its own motion s, f(t) = s(t) + echo * f(t - 2L/v).
// So one round trip of f describes both travelling waves on the whole rope,
// whatever the number of reflections: the memory and the work per tick are
// bounded by the rope's length, not by how long the waves live.

#include "sim/sim_state.h"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace tolvi {

class SourceLine {
public:
    // Samples per centimetre of travel, and one round trip (14 m) in samples.
    static constexpr int kPerCm = 4;
    static constexpr std::int64_t kRoundTrip = 2 * 700 * kPerCm;
    // Capacity of the ring: one round trip and more than a tick's advance
    // (at most 1,42 m at 14,2 m/s in 100 ms).
    static constexpr std::int64_t kRing = 8192;
    // An echo smaller than this (cm) has died out: it is dropped.
    static constexpr double kRetired = 0.001;
    // Largest displacement kept (cm): an undamped rope at resonance grows
    // without end; a thousand metres is far past anything drawn.
    static constexpr double kLargest = 1.0e5;

    // Empty line for the speed v (m/s), its clock at `clock` seconds.
    void reset(double celerite, double clock);
    double celerite() const { return celerite_; }
    // Seconds per sample: the time the wave takes to run a quarter centimetre.
    double step() const { return step_; }

    // Extends the signal up to `clock`: each new sample at time t is
    // source(t) + echo * (the sample one round trip earlier).
    void advance(double clock, const std::function<double(double)>& source, double echo);

    // The signal at time t (linear between samples; 0 where nothing left).
    double at(double t) const;

    // Adds the rope's displacement at every column: the outgoing wave,
    // attenuated by `perMetre` (amplitude kept over one metre, 0 to 1) along
    // x, and the far end's reflection (factor `far`: 0 absorbed, -1 fixed,
    // +1 free) along 2L - x.
    void addTo(std::array<double, rope::kColumns>& u, double far, double perMetre) const;

    // Fills the last round trip before the clock with shape(delay), where
    // delay is how long before the clock the sample left the source.
    void setPast(const std::function<double(double delay)>& shape);

private:
    double sample(std::int64_t j) const;
    double& slot(std::int64_t j) { return ring_[std::size_t(j & (kRing - 1))]; }

    double celerite_ = 0.0;
    double step_ = 0.0;
    double clock_ = 0.0;
    std::int64_t first_ = 0;  // first sample that exists
    std::int64_t last_ = -1;  // last sample computed
    std::vector<double> ring_ = std::vector<double>(std::size_t(kRing), 0.0);
};

}  // namespace tolvi
