#pragma once
// Numbers read from the texts of record files (configuration markers and
// duration, exercise difficulty and expected time). The number is read from
// the start of the text, blanks ignored wherever they are, up to the first
// character that cannot belong to a number; the full stop is the only
// decimal point, whatever the user's locale: "1.5" is 1.5, "1,5" is 1,
// " 425" is 425, "abc" and "" are 0.

#include <QString>
#include <QtGlobal>
#include <optional>

namespace tolvi {

// The leading number of a text, 0 when there is none; nothing when it is too
// large for a double ("1E400").
std::optional<double> leadingNumber(const QString& text);

// The leading number rounded to a whole number (ties to even: "2.5" gives 2,
// "3.5" gives 4), as a signed 16-bit integer; nothing when it does not fit.
std::optional<qint16> leadingWhole16(const QString& text);

}  // namespace tolvi
