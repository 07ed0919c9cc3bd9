#include "sim/propagation.h"

#include "text/french_numbers.h"

#include <cmath>

namespace tolvi::propagation {

int timerInterval(int typeOnde, double frequence, double duree)
{
    const double x = typeOnde == OndeSinusoidale ? 1.0 / frequence : duree;
    double k = roundEven(x * 1000.0 / 10.0);
    if (typeOnde == OndeSinusoidale)
        k = roundEven(k / 2.0);
    if (!(k >= 1.0))  // also catches NaN
        k = 1.0;
    return k >= 100.0 ? 100 : int(k);
}

double dureeMotif(const SimState& s)
{
    return s.typeOnde == OndeSinusoidale ? 1.0 / double(s.frequence) : double(s.duree);
}

double vieMax(const SimState& s, double motif)
{
    const double once = motif + rope::kLength / s.celerite;
    return s.typeBout == BoutAmortisseur ? once : 2.0 * once;
}

double shape(int typeOnde, bool symetrique, double a, double t, double T)
{
    if (typeOnde == OndeSinusoidale)
        return 2.0 * a * std::sin(kTwoPi * t / T);
    if (symetrique)
        return a + a * std::cos(kPi + kTwoPi * t / T);
    if (t <= T / 3.0)
        return a + a * std::cos(kPi + kTwoPi * t / (kRiseFactor * T));
    return a + a * std::cos(kThreeHalfPi + kTwoPi * t / (kFallFactor * T));
}

void appendDeformation(SimState& s, double age)
{
    if (s.nbDef >= INT16_MAX)
        return;  // the count is a 16-bit number; far beyond any real rope
    ++s.nbDef;
    if (s.ageDef.size() < std::size_t(s.nbDef) + 1)
        s.ageDef.resize(std::size_t(s.nbDef) + 1, 0.0);
    s.ageDef[std::size_t(s.nbDef)] = age;
}

void emission(SimState& s, int interval, bool running)
{
    if (!running) {
        s.ecoule = 0;
        return;
    }
    s.ecoule += interval;
    const double period = 1000.0 / double(s.frequence);
    if (!std::isfinite(period))
        return;
    if (double(s.ecoule) >= period) {
        appendDeformation(s, (double(s.ecoule) - period - interval) / 1000.0);
        s.ecoule = std::int32_t(roundEven(double(s.ecoule) - period));
        if (double(s.ecoule) > period)
            s.ecoule = 0;  // at most one emission per tick, no backlog
    }
}

std::int32_t startingEcoule(float frequence)
{
    const double first = roundEven(1000.0 / double(frequence) - 50.0);
    // Out-of-range frequencies never reach here; an infinite one must not
    // become an undefined conversion.
    return std::isfinite(first) && first > 0.0 && first < 1e9 ? std::int32_t(first) : 0;
}

void ageAndRetire(SimState& s, int interval, double vie)
{
    for (int i = 1; i <= s.nbDef; ++i) {
        double& age = s.ageDef[std::size_t(i)];
        age += interval / 1000.0;
        if (age > vie)
            age = -1.0;
    }
    // Only the head is removed; a dead entry behind a living one waits.
    int dead = 0;
    while (dead < s.nbDef && s.ageDef[std::size_t(dead) + 1] == -1.0)
        ++dead;
    if (dead > 0) {
        auto first = s.ageDef.begin() + 1;
        std::move(first + dead, first + s.nbDef, first);
        s.nbDef = std::int16_t(s.nbDef - dead);
    }
}

namespace {
// The column of a deformation's first sample. Half-way positions go to the
// right: ties to even would move the heads of two deformations an odd number
// of centimetres apart (a sine one wavelength long) in opposite ways, so
// that they overlap on one column and leave the next one empty. The ages are
// sums of tick intervals: their rounding noise is snapped away first, so an
// exact half stays a half.
double headColumn(double position)
{
    constexpr double grid = 1048576.0;  // 2^20: exact steps, far finer than a column
    return std::floor(std::nearbyint(position * grid) / grid + 0.5);
}
}  // namespace

void computeDisplacement(SimState& s, double motif)
{
    s.deplacement.fill(0.0);
    const double lengthCm = s.celerite * motif * 100.0;
    if (!(lengthCm > 0.0) || !std::isfinite(lengthCm) || !(motif > 0.0))
        return;
    const double step = motif / lengthCm;  // time the wave takes to run 1 cm
    const double speed = rope::kPixelsPerMetre * s.celerite;
    const double a = s.demiAmplitude;
    for (int i = 1; i <= s.nbDef; ++i) {
        const double age = s.ageDef[std::size_t(i)];
        // Samples are one centimetre apart (speed x step = 1 cm): the first
        // one's column is rounded once and each next sample takes the next
        // column to the left. Rounding every sample on its own, ties to even,
        // would at speeds that put samples exactly half-way between columns
        // stack two samples on one column and leave the next one empty: a
        // comb with twice the amplitude.
        const double head = headColumn(rope::kSourceColumn + speed * age);
        if (!(head >= rope::kSourceColumn) || !(head < 4.0 * rope::kMirrorSum))
            continue;  // not on the rope yet, or long gone
        int k = 0;
        for (double t = 0.0; t <= motif; t += step, ++k) {
            int p = int(head) - k;
            if (p < rope::kSourceColumn)
                break;  // later samples are not emitted yet: further left still
            double y = shape(s.typeOnde, s.symetrique, a, t, motif);
            if (p > rope::kFarEndColumn) {
                if (s.typeBout == BoutAmortisseur)
                    continue;  // absorbed
                p = rope::kMirrorSum - p;
                if (s.typeBout == BoutFixe)
                    y = -y;
            }
            if (p >= rope::kSourceColumn && p <= rope::kFarEndColumn)
                s.deplacement[std::size_t(p)] += y;
        }
    }
}

}  // namespace tolvi::propagation
