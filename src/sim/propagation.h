#pragma once
// The analytic model of the rope: each deformation is the signal the source
// emitted during dureeMotif; a point at distance d repeats it d / celerite
// later; what runs past the far end is folded back (upright at a free end,
// inverted at a fixed end, lost in the damper).

#include "sim/sim_state.h"

namespace tolvi::propagation {

// Constants of the model, used exactly as the model states them.
constexpr double kTwoPi = 6.28;
constexpr double kPi = 3.14;
constexpr double kThreeHalfPi = 4.71;
constexpr double kRiseFactor = 0.67;
constexpr double kFallFactor = 1.33;

// Timer interval in ms for the next tick: a tenth of the pulse duration or a
// twentieth of the sine's period, 1 to 100 ms.
int timerInterval(int typeOnde, double frequence, double duree);

// Duration of the emitted signal: one period for the sine, else the pulse.
double dureeMotif(const SimState& s);

// Lifetime of a deformation: until its end has left the rope (twice as long
// when the far end sends it back).
double vieMax(const SimState& s, double motif);

// Displacement in cm of the sample emitted at time t of a signal of duration T.
double shape(int typeOnde, bool symetrique, double demiAmplitude, double t, double T);

// Periodic and sinusoidal emission while the wave runs (at most one per tick).
// A deformation's age is the time since it left the source: one emitted in
// this tick is given its lateness less the interval, which the ageing that
// follows in the same tick adds back.
void emission(SimState& s, int interval, bool running);

// The counter a wave starts (or starts again) with: the first deformation
// leaves the source 50 ms later, at the frequency in force.
std::int32_t startingEcoule(float frequence);

// Ages every deformation by the interval and retires the dead ones at the head.
void ageAndRetire(SimState& s, int interval, double vie);

// Rebuilds deplacement from every deformation and its reflection.
void computeDisplacement(SimState& s, double motif);

// Adds one deformation of age 0 (a press of the start button, solitary wave).
void appendDeformation(SimState& s, double age = 0.0);

}  // namespace tolvi::propagation
