#pragma once
// The rope's profile as a pupil's spreadsheet reads it: x in metres, u in
// centimetres, one line per centimetre of rope from the source to the far end.

#include "sim/sim_state.h"

#include <QString>

namespace tolvi {

// Header "x (m);u (cm)", then one line per column 50..750, decimal comma.
// `separator` is ';' for a CSV file, a tab for the clipboard.
QString ropeCsv(const SimState& s, QChar separator = QLatin1Char(';'));

}  // namespace tolvi
