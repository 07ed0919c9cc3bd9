#pragma once
// The calculator window's painted background: a teal gradient from light on
// the left to dark on the right, a bevelled border and the frame of the key
// block. Sizes in pixels.

class QPainter;

namespace tolvi {

constexpr int largeurMachine = 302;
constexpr int hauteurMachine = 431;

// For column x, the gradient colour is RGB(c, c + 50, c + 50) with
// c = 200 - x / 2 rounded to a whole number (ties to even).
int teinteFondMachine(int x);

void peindreFondMachine(QPainter& painter);

}  // namespace tolvi
