#include "sim/corrections.h"

#include "platform/messages.h"
#include "text/french_numbers.h"

#include <cmath>

namespace tolvi {

namespace {
// A value set by a correction sits on its bound up to single-precision
// rounding; anything within this relative margin is inside the bound.
constexpr double kTolerance = 1e-5;

bool above(double value, double bound)
{
    return value > bound * (1.0 + kTolerance);
}

// Rule 1, periodic wave: the deformations must not overlap.
bool ruleFrequencyOverlap(SimState& s, ControlsState& c, Messages& m)
{
    if (s.typeOnde != OndePeriodique || !above(s.frequence, 1.0 / double(s.duree)))
        return false;
    s.frequence = 1.0f / s.duree;
    c.textfreq[TfFrequence] = formatPattern(s.frequence, QStringLiteral("#0.00"));
    m.information(QStringLiteral("Fréquence modifiée"),
                  QStringLiteral("La fréquence a été modifiée pour que les déformations ne se superposent pas."));
    return true;
}

// Rule 2, pulses: a deformation no longer than the rope.
bool ruleDurationLength(SimState& s, ControlsState& c, Messages& m)
{
    if (s.typeOnde == OndeSinusoidale || !above(double(s.duree) * s.celerite, rope::kLength))
        return false;
    s.duree = float(rope::kLength / s.celerite);
    // Whole part of the duration in ms, computed in the duration's own
    // single precision, so that 7 / 10 m/s shows as 700.
    const float ms = 1000.0f * s.duree;
    c.textfreq[TfDuree] = formatPattern(std::floor(double(ms)), QStringLiteral("# ##0"));
    m.information(QStringLiteral("Perturbation modifiée"),
                  QStringLiteral("La durée de la déformation a été modifiée pour qu'elle soit observable."));
    return true;
}

// Rule 3, sine: a wavelength no longer than twice the rope.
bool ruleWavelength(SimState& s, ControlsState& c, Messages& m)
{
    if (s.typeOnde != OndeSinusoidale || !above(s.celerite / double(s.frequence), 2.0 * rope::kLength))
        return false;
    s.frequence = float(s.celerite / (2.0 * rope::kLength));
    // The text shows the frequency rounded up to the next tenth; the value
    // keeps celerite / 14 until the text is read back.
    const double shown = std::floor(double(s.frequence) * 10.0 + 1.0) / 10.0;
    c.textfreq[TfFrequence] = formatPattern(shown, QStringLiteral("#0.00"));
    m.information(QStringLiteral("Fréquence modifiée"),
                  QStringLiteral("La fréquence a été modifiée pour que les déformations soient observables."));
    return true;
}
}  // namespace

int applyCorrections(SimState& s, ControlsState& c, Messages& messages)
{
    int made = 0;
    // Each rule can fire at most once in a row; the bound keeps even
    // nonsense values (NaN, infinities) from looping.
    for (int pass = 0; pass < 8; ++pass) {
        if (ruleFrequencyOverlap(s, c, messages))
            ++made;
        bool again = ruleDurationLength(s, c, messages);
        if (!again)
            again = ruleWavelength(s, c, messages);
        if (!again)
            break;
        ++made;
    }
    return made;
}

}  // namespace tolvi
