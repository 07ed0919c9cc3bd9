#pragma once
// The physics a stated figure must agree with, besides the program's own
// measurement: the rope of the run (read back from the configuration the
// run leaves) gives v = √(T / µ), the period 1 / f, the wavelength v / f, the
// markers' abscissas and the time the source starts; a figure's physical
// value is an expression over these names, and the sampling of the graph and
// of the rope explains a bounded difference (half a step for a date read at
// a peak, the propagated bound for a quotient).

#include "config/config_codec.h"

#include <QString>
#include <optional>
#include <utility>
#include <vector>

namespace tolvi::author {

using NamedValues = std::vector<std::pair<QString, double>>;

// The time the source starts, counted from the start of the wave (when the
// chronometer and the graph start with it): a solitary deformation leaves at
// once, the first of a periodic or sinusoidal wave 50 ms later.
inline constexpr double kSolitaryStart = 0.0;
inline constexpr double kRepeatedStart = 0.05;

// The physical quantities of a configuration, by the names a sheet uses:
//   tension (N), masse_lineique (kg/m), celerite = √(tension / masse_lineique)
//   (m/s), frequence (Hz), periode = 1 / frequence (s), longueur_onde =
//   celerite / frequence (m), duree (s), amplitude (cm), longueur = 7 (m),
//   x_bleu, x_rouge (m, from the source; -1 without marker), depart (s, the
//   source starts), montee (s, from the start of a deformation to its top:
//   duree / 2 symmetric, duree / 3 not, periode / 4 for the sine), pas (s, the
//   calculation step: a tenth of the duration, a twentieth of the period for
//   the sine, 1 to 100 ms), dissymetrique (1 for the pulse that rises in a
//   third of its duration, else 0).
NamedValues physicalQuantities(const ConfigRecords& config);

// Whether the deformation of `config` is a pulse rising in a third of its
// duration (its top is then not half-way between two samples).
bool asymmetricPulse(const ConfigRecords& config);

// What sampling explains for a figure measured by `method` (a measuring
// method of the sheets, not a computation): half a step for a peak's date
// (two thirds for the asymmetric pulse, whose sides are unequal), a step for
// the start of a curve, the sum for a delay, half a hundredth for the
// chronometer, 1,5 cm on the rope. nullopt for the methods whose bound
// depends on the shape (maximum, minimum, fin, phase): the sheet gives it.
std::optional<double> samplingBound(const QString& method, const NamedValues& quantities);

// The bound of `expression` over figures each known within its bound: the
// sum, over the figures it names, of the largest change one of them makes
// when it moves by its bound.
std::optional<double> propagatedBound(const QString& expression, const NamedValues& values,
                                      const NamedValues& bounds, QString* error);

// Half a unit of the last digit of a stated text: "0,58" -> 0.005, "20" -> 0.5.
double statedRounding(const QString& stated);

}  // namespace tolvi::author
