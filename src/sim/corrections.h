#pragma once
// Automatic corrections that keep the chosen perturbation observable. Each
// changes the value and its text, then tells the user why.

#include "sim/sim_state.h"

namespace tolvi {
class Messages;

// Applies the three rules until neither rule 2 nor rule 3 finds anything to
// correct. A value set by a rule counts as satisfying that rule, so the
// sequence always ends. Returns the number of corrections made.
int applyCorrections(SimState& s, ControlsState& c, Messages& messages);

}  // namespace tolvi
