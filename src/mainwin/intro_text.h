#pragma once
// The introduction shown in the exercise area when no exercise is open
// (ecritIntro): 24 pieces, each with its own style.

#include <QString>
#include <vector>

class QTextDocument;

namespace tolvi {

// Style codes of the pieces.
enum class IntroStyle {
    Base = 0,       // Arial 10, black, left-aligned
    Blue = 1,       // base style in blue RGB(0, 0, 200)
    Lowered = 3,    // base style lowered by 2.5 points (M1, M2)
    Emphasis = 6,   // base style in blue RGB(0, 0, 200)
    Title = 9,      // Arial 18, centred, blue RGB(0, 0, 200)
};

struct IntroPiece {
    QString text;  // a line break is "\n"
    IntroStyle style;
};

// Pieces 1 to 24, in order.
const std::vector<IntroPiece>& introPieces();

// Lowering of the marker digits, in points.
constexpr double kIntroLowering = 2.5;

// Replaces the document's content by the introduction, styled piece by piece.
// The caller makes the text box read-only and puts the caret at the start.
void ecritIntro(QTextDocument& document);

}  // namespace tolvi
