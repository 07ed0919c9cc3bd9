#include "measure/readouts.h"

#include "sim/sim_state.h"
#include "text/french_numbers.h"

#include <cmath>

namespace tolvi {

std::optional<int> posMarque(double x)
{
    if (!(x >= rope::kSourceColumn && x <= rope::kFarEndColumn))
        return std::nullopt;
    return int(roundEven(x));
}

std::optional<QString> ropeReadout(double x, double y)
{
    if (!(x >= rope::kSourceColumn && x < rope::kFarEndColumn + 1))
        return std::nullopt;
    return QStringLiteral("Position du curseur : x = ") +
           formatPattern((x - rope::kSourceColumn) / 100.0, QStringLiteral("0.00")) + QStringLiteral(" m") +
           QStringLiteral(" ; u = ") + formatPattern(-(y - rope::kRestRow) / 100.0, QStringLiteral("0.00")) +
           QStringLiteral(" m");
}

std::optional<QString> graphReadout(double x, double y, int dureeGraphe)
{
    if (!(x >= 30 && x < 731))
        return std::nullopt;
    return QStringLiteral("Position du curseur : t = ") +
           formatPattern((x - 30) * dureeGraphe / 700.0, QStringLiteral("##0.00")) + QStringLiteral(" s") +
           QStringLiteral(" ; u = ") + formatPattern(-(y - 54) / 100.0, QStringLiteral("0.00")) +
           QStringLiteral(" m");
}

}  // namespace tolvi
