#pragma once
// The main window's own drawing (Form_Paint): the vertical gradient, the
// shadow under the exercise-text area and the chronometer plate with its
// caption. Painted once into the window's persistent image.

#include <QColor>
#include <QImage>
#include <QRect>

class QPainter;

namespace tolvi {

// Colour of gradient row y (0 .. 600): white at the top, RGB(200, 200, 180)
// at row 600; each component rounded with ties to even.
QColor gradientColor(int y);

// What Form_Paint needs to know of the window's controls.
struct BackgroundLayout {
    QRect fich;       // title field of the exercise area
    QRect supertext;  // exercise text
    QRect label4;     // chronometer reading
};

// The layout of the designed window.
BackgroundLayout designedBackgroundLayout();

// Form_Paint: gradient, shadow, chronometer plate and its caption.
void paintBackground(QPainter& painter, const BackgroundLayout& layout);

// The window's persistent image: `size` filled with the window colour
// RGB(224, 224, 224), then Form_Paint over it.
// The background image of `size` units at `scale` device pixels per unit
// (its device pixel ratio).
QImage backgroundImage(QSize size, const BackgroundLayout& layout, double scale = 1.0);

// The colour a label takes to blend into the background: the image's colour
// two pixels left of the label's top-left corner.
QColor blendColour(const QImage& background, const QRect& label);

}  // namespace tolvi
