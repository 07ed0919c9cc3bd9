#pragma once
// Photographs of the rope: its shape frozen at an instant, drawn as a faint
// ghost under the live rope with the instant's time, so that a pupil can
// measure on the picture how far the wave travelled between two instants.
// Up to three, each in its own style; they belong to the rope picture, so
// they are printed, copied and saved with it.

#include "sim/sim_state.h"

#include <QColor>
#include <QString>
#include <array>
#include <vector>

class QPainter;

namespace tolvi {

struct RopePhoto {
    std::array<double, rope::kColumns> deplacement{};
    double seconds = 0.0;  // simulated time since the wave last started
    int style = 0;         // 0 .. kMostPhotos - 1
};

constexpr int kMostPhotos = 3;

// "t = 1,50 s"
QString photoLabel(double seconds);
// The ghost's colour (faint) and its label's (the same colour, solid).
QColor photoColour(int style);

// Draws the ghosts and their labels in drawing units over a rope background.
void paintPhotos(QPainter& painter, const std::vector<RopePhoto>& photos);

// The rope as CSV: x and u, then u of each photograph in a column of its own
// ("u à t = 1,50 s (cm)"); without photographs, exactly ropeCsv's text.
QString ropeCsvWithPhotos(const SimState& s, const std::vector<RopePhoto>& photos,
                          QChar separator = QLatin1Char(';'));

}  // namespace tolvi
