#pragma once
// The calculator's own number texts, the same on every machine: "." as the
// decimal point, at most 15 significant digits, ".5" without a leading zero,
// exponent form "1E+20" / "1.5E-07", a leading blank on non-negative numbers.

#include <QString>
#include <QStringView>
#include <optional>

namespace tolvi {

// Number to text: at most 15 significant digits, trailing zeros dropped, no
// zero before the point below 1 (".5", "-.5"), exponent form when the decimal
// exponent is below -4 or above 14 ("1E+20", "1.5E-07"), one leading blank
// when the number is not negative (" 14"). -0 is written " 0". The value must
// be finite.
QString texteNombre(double value);

// The same text without its leading blank: what the evaluator writes back.
QString texteNombreNu(double value);

// The text without the blanks at its ends (only spaces: the calculator
// writes no other blank).
QString sansBlancsAuxBords(const QString& s);

// Outcome of reading a number from a text.
struct LectureNombre {
    double valeur = 0.0;
    bool depassement = false;  // the number is beyond the double range
    bool complet = false;      // the whole text (blanks aside) is one number
};

// Text to number: blanks are skipped wherever they are; an optional sign,
// digits with "." as the only decimal point, an optional exponent introduced
// by "E" or "D" (either case) with an optional sign; reading stops at the
// first other character; a text with no leading number reads as 0.
// `complet` tells whether the text held nothing else and had at least one
// mantissa digit (and digits after an exponent letter).
LectureNombre lireNombre(QStringView text);

// The Scientifique display, pattern "#.#######E+00": one digit before the
// point, at most seven after it (trailing zeros dropped, the point always
// shown), "E", the exponent's sign and at least two digits (1.2345E+04).
// Zero is shown "0.E+00".
QString formatScientifique(double value);

}  // namespace tolvi
