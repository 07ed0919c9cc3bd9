#pragma once
// The painting of the three panels under the tab strip. Each routine writes
// the panel's texts with a running text position, as the program always
// did, and moves the entry boxes that sit inside its sentences.

#include <QColor>
#include <QFont>
#include <QRect>
#include <QStringList>

class QPainter;
class QPaintDevice;

namespace tolvi {

constexpr QColor panelColour() { return QColor(240, 235, 230); }

// The panels' font: Arial 8, upright, not bold.
QFont panelFont();

// Frame2_Paint. The amplitude and duration boxes are moved after their
// labels; the frequency box stays, its label is right-aligned on it.
struct Frame2Boxes {
    QRect amplitude;  // Textfreq(3)
    QRect duree;      // Textfreq(4)
    QRect frequence;  // Textfreq(0)
};
void paintFrame2(QPainter& painter, QSize panel, Frame2Boxes& boxes);
// Only the moving of the boxes, measured on `device`.
void layoutFrame2(QPaintDevice* device, Frame2Boxes& boxes);

// Picture3_Paint. Both boxes are moved after their labels.
struct Picture3Boxes {
    QRect masse;    // Textfreq(1)
    QRect tension;  // Textfreq(2)
};
void paintPicture3(QPainter& painter, QSize panel, Picture3Boxes& boxes);
void layoutPicture3(QPaintDevice* device, Picture3Boxes& boxes);

// The texts Picture3_Paint writes before the linear-mass box, in order (the
// raised exponents included): the box's left edge is 24 plus their widths.
QStringList picture3MassePieces();

// Picture1_Paint: headings and the "x1 =" / "x2 =" prefixes of the marker
// labels, in the labels' colours.
struct Picture1Labels {
    QRect labeli0;
    QRect labeli1;
    QColor colour0;
    QColor colour1;
};
void paintPicture1(QPainter& painter, QSize panel, const Picture1Labels& labels);

}  // namespace tolvi
