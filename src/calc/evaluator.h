#pragma once
// The calculator's evaluator. It builds no syntax tree: it rewrites the text
// of the expression, one reducible piece at a time (a function of a number, a
// group of numbers and operators, one operation between two numbers), until a
// single number is left.
//
// Priorities are those the calculator has always had: "^" tightest and left
// to right; then every "/" before any "*", every "-" before any "+", each
// leftmost first. A sign at the start, after an operator or after "(" belongs
// to the number: -2^2 is 4.

#include <QString>

namespace tolvi {

// Error codes of a calculation.
enum : qint16 {
    calculReussi = 0,
    calculImpossible = 1,      // a run-time error, nothing left to reduce, malformed number
    erreurParentheses = 2,     // unbalanced parentheses
    erreurOperateurs = 3,      // "*", "/" or "^" followed by an operator or ending the text
};

// Angle modes: 1 = radians, anything else = degrees.
enum : qint16 { modeDegres = 0, modeRadians = 1 };

// Longest expression the evaluator accepts; a longer one fails with
// calculImpossible before any work is done, so that no input can make the
// calculator hang.
constexpr qsizetype longueurMaximale = 5000;

// The entry point. On return `expression` holds the result (trimmed of
// blanks), or a partly reduced text when `erreurCalcul` is not 0. An empty
// expression gives an empty text and code 0.
void evaluer(QString& expression, qint16& erreurCalcul, qint16 modeAngle);

// Normalisation: upper case, no blanks, signs folded ("--" is "+"), no leading
// "+", parentheses around a lone number removed ((-3.5) is -3.5), then espacer.
void simplifier(QString& expression);

// Tokenisation: upper case, one blank around the whole text and around every
// binary operator, one blank after every function name; "ù" is read as "SQR",
// "LN" as "LON", "INVSIN"/"INVCOS"/"INVTAN" as "ISI"/"ICO"/"ITA".
void espacer(QString& expression);

// The syntax check made once on the first normalised text: sets erreurCalcul
// to 3 when "*", "/" or "^" is followed by another operator or ends the text,
// then to 2 when "(" and ")" are not as many.
void verifier(const QString& expression, qint16& erreurCalcul);

// What is left to reduce in a normalised text.
struct Compteurs {
    int nbParentheses = 0;  // "(" in the text
    int nbFonctions = 0;    // function names
    int nbOperations = 0;   // padded binary operators
};
Compteurs compter(const QString& expression);

}  // namespace tolvi
