#pragma once
// The small pictures of the main window's buttons, drawn by the program.

#include <QIcon>
#include <QPixmap>

class QPainter;

namespace tolvi::icons {

QIcon open();        // folder
QIcon save();        // diskette
QIcon copy();        // two sheets
QIcon print();       // printer
QIcon calculator();  // calculator keys
QIcon help();        // question mark
QIcon close();       // door with an arrow

// The pause image (24 x 24 units at `ratio` device pixels per unit): two
// bars while the animation runs, a play triangle while it is paused.
QPixmap pause(bool running, qreal ratio = 1.0);

// A transparent pixmap of `size` units at `ratio` device pixels per unit
// (its device pixel ratio), whole device pixels covering the size.
QPixmap canvas(QSize size, qreal ratio);

// The face of a 24 x 24 picture key beside the rope (pause, step, speed):
// a light rounded square with a dark grey edge, antialiased.
void keyFace(QPainter& p);

}  // namespace tolvi::icons
