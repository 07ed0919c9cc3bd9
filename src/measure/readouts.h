#pragma once
// What the pointer over the rope and the graph pictures reads, and where a
// marker goes when the mouse is released over the rope.

#include <QString>
#include <optional>

namespace tolvi {

// The column a release at x (pixels of the rope picture) proposes for a
// marker: x rounded with ties to even, or nothing off the rope (x < 50 or
// x > 750).
std::optional<int> posMarque(double x);

// "Position du curseur : x = 2,50 m ; u = 0,12 m" over the rope (50 <= x <
// 751), nothing elsewhere.
std::optional<QString> ropeReadout(double x, double y);

// "Position du curseur : t = 10,00 s ; u = 0,40 m" over the graph (30 <= x <
// 731) for a recording duration in seconds, nothing elsewhere.
std::optional<QString> graphReadout(double x, double y, int dureeGraphe);

}  // namespace tolvi
