#pragma once
// The spectrum of a graph recording: how much of each frequency the motion at
// each marker holds. A rope that rings shows its modes there: the lines stand
// at f1 = v / 2L and its multiples.

#include "sim/graph.h"

#include <QString>
#include <optional>
#include <vector>

namespace tolvi {

struct SpectrumLine {
    double f;                     // Hz
    std::optional<double> bleu;   // amplitude in cm at that frequency
    std::optional<double> rouge;
};

// One line per frequency k / D (D the recording's span, k = 1 up to half the
// number of points), the amplitude of the sine at that frequency in the
// recording (mean removed). Fewer than 4 points: nothing.
std::vector<SpectrumLine> spectrum(const std::vector<GraphPoint>& points);

// Header "f (Hz);A1 (cm);A2 (cm)", then one line per frequency, decimal comma.
QString spectrumCsv(const std::vector<GraphPoint>& points, QChar separator = QLatin1Char(';'));

}  // namespace tolvi
