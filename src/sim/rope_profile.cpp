#include "sim/rope_profile.h"

#include "text/french_numbers.h"

namespace tolvi {

QString ropeCsv(const SimState& s, QChar separator)
{
    QString text = QStringLiteral("x (m)") + separator + QStringLiteral("u (cm)\n");
    for (int column = rope::kSourceColumn; column <= rope::kFarEndColumn; ++column) {
        text += formatPattern(rope::abscissa(column), QStringLiteral("0.00"));
        text += separator;
        text += formatPattern(s.deplacement[std::size_t(column)], QStringLiteral("0.0000"));
        text += QLatin1Char('\n');
    }
    return text;
}

}  // namespace tolvi
