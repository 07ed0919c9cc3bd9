#pragma once
// Numbers as the French interface shows and reads them, whatever the system
// locale: decimal comma, digit groups separated by a blank.

#include <QString>
#include <optional>

namespace tolvi {

// Formats a number with a display pattern of the program: "#0.00", "##0",
// "#0.0", "#0", "# ##0", "0.00", "##0.00". The digits after the point give the
// number of decimals; a blank in the pattern asks for digit groups of three.
// Rounds half away from zero. An unknown pattern formats as formatGeneral.
QString formatPattern(double value, const QString& pattern);

// The general number format: shortest text, up to `significant` digits,
// decimal comma, no grouping, no trailing zeros ("2,5", "3", "0,1").
QString formatGeneral(double value, int significant = 7);

// Reads a number typed the French way: optional blanks around, an optional
// sign, digits that may be grouped by blanks (ASCII space, U+00A0, U+202F),
// one decimal comma (a full stop is taken as the decimal mark too). Returns
// nothing for empty text, letters, several decimal marks.
std::optional<double> readFrench(const QString& text);

// Whole number written into a file: a leading blank when not negative (" 4",
// "-1").
QString formatRecordInteger(long long value);

// Rounding to a whole number in the program's rules: ties to even.
double roundEven(double value);

}  // namespace tolvi
