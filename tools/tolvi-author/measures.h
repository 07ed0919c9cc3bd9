#pragma once
// The figures an activity states, kept beside its texts in a measure sheet
// ("nom.mesures") so that the texts and the simulator cannot disagree
// silently:
//
//   [aller]                                   an experiment
//   tolvi = --config CELERITE.P15 --advance 4 the batch options that run it
//   t1 = 0,35 ± 0,03 : debut bleu             a figure: stated text, tolerance, method
//   tau = 1,35 ± 0,05 : t2 - t1               a figure computed from others
//   t2 = 1,92 ± 0,03 : sommet rouge | depart + montee + x_rouge / celerite
//                                             ... and its physical value
//
// Methods: debut COULEUR (the date the curve leaves the axis: its last point
// at rest before it moves), sommet COULEUR [N] (the
// N-th peak of |u|), maximum / minimum / fin COULEUR (cm), periode COULEUR, retard
// (red on blue, peak to peak), phase (+1 in phase, -1 in opposition), pas
// (the graph's sampling step), valeur COULEUR DATE (cm, the values
// table's line nearest the date), corde_sommet / corde_front (m, on the rope at
// the end of the run; the front is the farthest point that moved), corde_longueur_onde, chrono (s); any other text is a
// computation over figures above, done by the calculator's evaluator.
//
// After "|", a figure's physical value: an expression over the quantities of
// the run's rope (physics.h: celerite, periode, x_bleu, depart...; they come
// first when a figure has the same name) and the physical values of the
// figures above, then optionally "± bound" (what the
// sampling explains; by default the method's own, see samplingBound). A
// computed figure without "|" takes the same computation over the physical
// values, within the propagated bound.
//
// tolvi-author writes the stated text wherever a statement or a correction
// says {=t1}; "tolvi-author mesurer" (and the tests) run each experiment
// with the program's batch line and compare every figure with what the
// program really gives.

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace tolvi::author {

struct StatedFigure {
    int line = 0;
    QString name;       // "t1"
    QString stated;     // "0,35", as the texts print it
    double value = 0;   // 0.35
    double tolerance = 0;
    QString method;     // "debut bleu", "t2 - t1"
    QString physics;       // "depart + montee + x_bleu / celerite", or empty
    QString physicsBound;  // "pas / 2", or empty for the method's own
};

struct Experiment {
    QString name;            // "aller"
    QStringList arguments;   // the batch options, in order
    std::vector<StatedFigure> figures;
};

struct MeasureSheet {
    std::vector<Experiment> experiments;
    const StatedFigure* find(const QString& name) const;
};

// nullopt with a French message naming the line when the sheet is wrong
// (unknown method, figure outside an experiment, name given twice...).
std::optional<MeasureSheet> parseMeasures(const QString& text, QString* error);

// Each {=nom} of `text` replaced by the stated figure; nullopt with a
// message for a name the sheet does not give.
std::optional<QString> substituteFigures(const QString& text, const MeasureSheet& sheet, QString* error);

// What one batch run of an experiment leaves behind.
struct RunOutputs {
    QString graphCsv;    // --graph-csv: "t (s);u1 (cm);u2 (cm)"
    QString ropeCsv;     // --rope-csv: "x (m);u (cm)"
    QString chronoText;  // --chrono-text: "1,35 s"
};

// One figure from a run's outputs, `known` giving the figures measured so
// far (for the computed ones). nullopt with a message when the outputs do
// not contain what the method needs (no curve, no peak...).
std::optional<double> measureFigure(const QString& method, const RunOutputs& outputs,
                                    const std::vector<std::pair<QString, double>>& known, QString* error);

// A computation over named values, done by the calculator's own evaluator;
// nullopt with a message for a name not among `known`.
std::optional<double> evaluateFigures(const QString& expression, const std::vector<std::pair<QString, double>>& known,
                                      QString* error);

struct MeasuredFigure {
    QString experiment;
    StatedFigure figure;
    std::optional<double> measured;
    QString problem;  // why it could not be measured
    std::optional<double> physical;  // what the physics of the rope gives
    double bound = 0;                // the difference the sampling explains
    QString physicsProblem;          // why there is no physical value
    bool agrees() const;             // the stated figure is what the program measures
    // The stated figure is the physical value within the sampling's bound
    // and the rounding of its own text.
    bool agreesWithPhysics() const;
};

// Runs every experiment with `program` (the tolvi executable) in the folder
// `workingDir` (where the configurations named by the options lie) and
// measures every figure. False with a message when a run fails.
bool measureSheet(const MeasureSheet& sheet, const QString& program, const QString& workingDir,
                  std::vector<MeasuredFigure>* results, QString* error);

// "t1 [aller] : annoncé 0,35 ± 0,03 (sommet bleu) | mesuré 0,3500 | physique 0,3333 ± 0,0275 : d'accord"
QString describe(const MeasuredFigure& result);

}  // namespace tolvi::author
