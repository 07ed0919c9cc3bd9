#include "measures.h"

#include "physics.h"

#include "calc/calc_numbers.h"
#include "calc/evaluator.h"
#include "text/french_numbers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>

namespace tolvi::author {

namespace {

// The methods read from a run's outputs; anything else is a computation.
const QStringList kMethods{QStringLiteral("debut"),         QStringLiteral("sommet"),
                           QStringLiteral("maximum"),       QStringLiteral("minimum"),
                           QStringLiteral("periode"),       QStringLiteral("phase"),
                           QStringLiteral("pas"),           QStringLiteral("corde_sommet"),
                           QStringLiteral("corde_front"),   QStringLiteral("corde_longueur_onde"),
                           QStringLiteral("chrono"),        QStringLiteral("retard"),
                           QStringLiteral("fin"),           QStringLiteral("valeur")};
// Whether a method reads the run's outputs rather than computes: its first
// word is a method's name and it holds no operation ("pas / 2" computes).
bool measuring(const QString& method)
{
    static const QRegularExpression operation(QStringLiteral("[-+*/^()]"));
    return kMethods.contains(method.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty)) &&
           !method.contains(operation);
}

// Functions the calculator knows, allowed in computations.
const QStringList kFunctions{QStringLiteral("sqr"), QStringLiteral("ln"),  QStringLiteral("log"),
                             QStringLiteral("exp"), QStringLiteral("sin"), QStringLiteral("cos"),
                             QStringLiteral("tan")};

// Below this displacement (cm) the rope is taken as at rest: half a pixel.
constexpr double kRest = 0.5;
// Below this one a point has not moved at all: less than the CSV's last digit.
constexpr double kStill = 0.005;

const QRegularExpression& identifier()
{
    static const QRegularExpression re(QStringLiteral("[A-Za-z_][A-Za-z0-9_]*"));
    return re;
}

std::optional<double> number(QString text)
{
    text = text.trimmed();
    text.replace(QChar(0x2212), QLatin1Char('-'));  // a typographic minus
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    text.remove(QChar(0x00A0));
    text.remove(QChar(0x202F));
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

// Batch options as a shell would split them: blanks separate, double
// quotes group.
QStringList splitArguments(const QString& line)
{
    QStringList out;
    QString current;
    bool quoted = false;
    bool any = false;
    for (const QChar c : line) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            any = true;
        } else if (c.isSpace() && !quoted) {
            if (any || !current.isEmpty())
                out << current;
            current.clear();
            any = false;
        } else {
            current += c;
        }
    }
    if (any || !current.isEmpty())
        out << current;
    return out;
}

struct Sample {
    double at = 0;  // t (s) or x (m)
    std::optional<double> u[2];
};

// A French CSV of the program: first column the abscissa, then one or two
// displacements; an empty field is an absent marker.
std::vector<Sample> readCsv(const QString& csv)
{
    std::vector<Sample> out;
    const QStringList lines = csv.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList fields = lines[i].split(QLatin1Char(';'));
        const auto at = number(fields.value(0));
        if (!at)
            continue;
        Sample s;
        s.at = *at;
        for (int k = 0; k < 2; ++k)
            if (fields.size() > k + 1 && !fields[k + 1].trimmed().isEmpty())
                s.u[k] = number(fields[k + 1]);
        out.push_back(s);
    }
    return out;
}

// Abscissas of the peaks of `sign`·u (or of |u| when sign is 0): one per run
// of samples above half the largest value, at the largest sample of the run.
std::vector<double> peaks(const std::vector<Sample>& samples, int k, int sign)
{
    auto value = [&](const Sample& s) {
        const double u = s.u[k].value_or(0.0);
        return sign == 0 ? std::abs(u) : sign * u;
    };
    double top = 0;
    for (const Sample& s : samples)
        top = std::max(top, value(s));
    std::vector<double> out;
    if (top < kRest)
        return out;
    bool inside = false;
    double best = 0;
    double bestAt = 0;
    for (const Sample& s : samples) {
        const double v = value(s);
        if (v >= top / 2) {
            if (!inside || v > best) {
                best = v;
                bestAt = s.at;
            }
            inside = true;
        } else if (inside) {
            out.push_back(bestAt);
            inside = false;
        }
    }
    if (inside)
        out.push_back(bestAt);
    return out;
}

std::optional<int> markerIndex(const QString& word)
{
    if (word == QLatin1String("bleu"))
        return 0;
    if (word == QLatin1String("rouge"))
        return 1;
    return std::nullopt;
}

bool hasCurve(const std::vector<Sample>& samples, int k)
{
    return std::any_of(samples.begin(), samples.end(), [k](const Sample& s) { return s.u[k].has_value(); });
}

// "1 h 2 min 5,12 s" in seconds.
std::optional<double> chronoSeconds(const QString& text)
{
    static const QRegularExpression re(
        QStringLiteral("^\\s*(?:(\\d+) h )?(?:(\\d+) min )?(\\d+(?:,\\d+)?) s\\s*$"));
    const QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch())
        return text.trimmed() == QLatin1String("0") ? std::optional<double>(0.0) : std::nullopt;
    return m.captured(1).toDouble() * 3600 + m.captured(2).toDouble() * 60 + number(m.captured(3)).value_or(0);
}

// "0,55 ± 0,03" -> "0,55", returning "0,03"; "" when there is no "±".
QString splitBound(QString& value)
{
    for (const QString& pm : {QStringLiteral("±"), QStringLiteral("+-")}) {
        if (const qsizetype at = value.indexOf(pm); at >= 0) {
            const QString bound = value.mid(at + pm.size()).trimmed();
            value = value.left(at).trimmed();
            return bound;
        }
    }
    return QString();
}

const QStringList& quantityNames()
{
    static const QStringList names = [] {
        QStringList out;
        for (const auto& q : physicalQuantities(ConfigRecords{}))
            out << q.first;
        return out;
    }();
    return names;
}

std::optional<double> fail(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return std::nullopt;
}

}  // namespace

std::optional<double> evaluateFigures(const QString& expression, const std::vector<std::pair<QString, double>>& known,
                              QString* error)
{
    QString text;
    qsizetype from = 0;
    auto it = identifier().globalMatch(expression);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        text += expression.mid(from, m.capturedStart() - from);
        const QString name = m.captured();
        const auto found = std::find_if(known.begin(), known.end(), [&](const auto& k) { return k.first == name; });
        if (found != known.end())
            text += QLatin1Char('(') + texteNombreNu(found->second) + QLatin1Char(')');
        else if (kFunctions.contains(name.toLower()))
            text += name + QLatin1Char(' ');
        else
            return fail(error, QStringLiteral("« %1 » n'est pas une valeur donnée avant").arg(name));
        from = m.capturedEnd();
    }
    text += expression.mid(from);
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    text.replace(QChar(0x2212), QLatin1Char('-'));
    qint16 code = 0;
    evaluer(text, code, 1);
    if (code != 0)
        return fail(error, QStringLiteral("calcul impossible : %1").arg(expression));
    return lireNombre(text).valeur;
}

const StatedFigure* MeasureSheet::find(const QString& name) const
{
    for (const Experiment& e : experiments)
        for (const StatedFigure& f : e.figures)
            if (f.name == name)
                return &f;
    return nullptr;
}

std::optional<MeasureSheet> parseMeasures(const QString& text, QString* error)
{
    MeasureSheet sheet;
    auto failAt = [&](int line, const QString& what) {
        if (error)
            *error = QStringLiteral("ligne %1 : %2").arg(line).arg(what);
        return std::nullopt;
    };
    std::vector<QString> names;
    const QStringList lines = QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")).split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int lineNo = static_cast<int>(i + 1);
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            sheet.experiments.push_back({line.mid(1, line.size() - 2).trimmed(), {}, {}});
            continue;
        }
        if (sheet.experiments.empty())
            return failAt(lineNo, QStringLiteral("une expérience « [nom] » doit venir d'abord"));
        Experiment& experiment = sheet.experiments.back();
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            return failAt(lineNo, QStringLiteral("« nom = valeur ± tolérance : méthode » attendu"));
        const QString key = line.left(eq).trimmed();
        const QString rest = line.mid(eq + 1).trimmed();
        if (key == QLatin1String("tolvi")) {
            experiment.arguments += splitArguments(rest);
            continue;
        }
        if (!identifier().match(key).hasMatch() || identifier().match(key).captured() != key)
            return failAt(lineNo, QStringLiteral("nom de valeur incorrect « %1 »").arg(key));
        if (std::find(names.begin(), names.end(), key) != names.end())
            return failAt(lineNo, QStringLiteral("la valeur « %1 » est déjà donnée").arg(key));
        const qsizetype colon = rest.indexOf(QLatin1Char(':'));
        if (colon < 0)
            return failAt(lineNo, QStringLiteral("« : méthode » manque après la valeur de %1").arg(key));
        QString value = rest.left(colon).trimmed();
        QString method = rest.mid(colon + 1).trimmed();
        QString physics;
        if (const qsizetype bar = method.indexOf(QLatin1Char('|')); bar >= 0) {
            physics = method.mid(bar + 1).trimmed();
            method = method.left(bar).trimmed();
            if (physics.isEmpty())
                return failAt(lineNo, QStringLiteral("valeur physique manquante après « | » pour %1").arg(key));
        }
        const QString tolerance = splitBound(value);
        const QString physicsBound = splitBound(physics);
        const auto stated = number(value);
        const auto within = number(tolerance);
        if (!stated)
            return failAt(lineNo, QStringLiteral("nombre attendu pour %1").arg(key));
        if (!within || *within < 0)
            return failAt(lineNo, QStringLiteral("tolérance « ± nombre » attendue pour %1").arg(key));
        if (method.isEmpty())
            return failAt(lineNo, QStringLiteral("méthode de mesure manquante pour %1").arg(key));
        const QStringList words = method.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (!measuring(method)) {
            // A computation: every name in it is a figure given above.
            auto it = identifier().globalMatch(method);
            while (it.hasNext()) {
                const QString name = it.next().captured();
                if (std::find(names.begin(), names.end(), name) == names.end() && !kFunctions.contains(name.toLower()))
                    return failAt(lineNo, QStringLiteral("méthode ou valeur inconnue « %1 »").arg(name));
            }
        } else if (QStringList{QStringLiteral("debut"), QStringLiteral("sommet"), QStringLiteral("maximum"),
                               QStringLiteral("minimum"), QStringLiteral("periode"),
                               QStringLiteral("fin"), QStringLiteral("valeur")}
                       .contains(words[0]) &&
                   (words.size() < 2 || !markerIndex(words[1]))) {
            return failAt(lineNo, QStringLiteral("%1 : « bleu » ou « rouge » attendu").arg(words[0]));
        } else if (words[0] == QLatin1String("valeur") && (words.size() != 3 || !number(words[2]))) {
            return failAt(lineNo, QStringLiteral("valeur : « valeur COULEUR DATE » attendu"));
        }
        // The physical value: quantities of the rope and figures given above.
        for (const QString& expression : {physics, physicsBound}) {
            auto it = identifier().globalMatch(expression);
            while (it.hasNext()) {
                const QString name = it.next().captured();
                if (std::find(names.begin(), names.end(), name) == names.end() && !kFunctions.contains(name.toLower()) &&
                    !quantityNames().contains(name))
                    return failAt(lineNo, QStringLiteral("grandeur inconnue « %1 » dans la valeur physique de %2")
                                              .arg(name, key));
            }
        }
        if (!physics.isEmpty() && physicsBound.isEmpty() && measuring(method) &&
            !samplingBound(method, {}))
            return failAt(lineNo, QStringLiteral("%1 : « ± écart » attendu après la valeur physique (méthode %2)")
                                      .arg(key, words[0]));
        names.push_back(key);
        experiment.figures.push_back({lineNo, key, value, *stated, *within, method, physics, physicsBound});
    }
    return sheet;
}

std::optional<QString> substituteFigures(const QString& text, const MeasureSheet& sheet, QString* error)
{
    static const QRegularExpression re(QStringLiteral("\\{=([A-Za-z_][A-Za-z0-9_]*)\\}"));
    QString out;
    qsizetype from = 0;
    auto it = re.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const StatedFigure* figure = sheet.find(m.captured(1));
        if (!figure) {
            if (error)
                *error = QStringLiteral("{=%1} : valeur absente de la feuille de mesures").arg(m.captured(1));
            return std::nullopt;
        }
        out += text.mid(from, m.capturedStart() - from) + figure->stated;
        from = m.capturedEnd();
    }
    return out + text.mid(from);
}

std::optional<double> measureFigure(const QString& method, const RunOutputs& outputs,
                                    const std::vector<std::pair<QString, double>>& known, QString* error)
{
    const QStringList words = method.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QString kind = words.value(0);
    if (!measuring(method))
        return evaluateFigures(method, known, error);

    if (kind == QLatin1String("chrono")) {
        const auto seconds = chronoSeconds(outputs.chronoText);
        return seconds ? seconds : fail(error, QStringLiteral("chronomètre illisible « %1 »").arg(outputs.chronoText));
    }
    if (kind.startsWith(QLatin1String("corde_"))) {
        const std::vector<Sample> rope = readCsv(outputs.ropeCsv);
        if (rope.empty())
            return fail(error, QStringLiteral("pas de corde enregistrée"));
        if (kind == QLatin1String("corde_front")) {
            // The farthest point that has moved at all.
            for (auto s = rope.rbegin(); s != rope.rend(); ++s)
                if (std::abs(s->u[0].value_or(0)) >= kStill)
                    return s->at;
            return fail(error, QStringLiteral("la corde est au repos"));
        }
        const std::vector<double> crests = peaks(rope, 0, 1);
        if (kind == QLatin1String("corde_sommet"))
            return crests.empty() ? fail(error, QStringLiteral("aucune bosse sur la corde")) : std::optional(crests.back());
        if (crests.size() < 2)
            return fail(error, QStringLiteral("moins de deux crêtes sur la corde"));
        return (crests.back() - crests.front()) / double(crests.size() - 1);
    }

    const std::vector<Sample> graph = readCsv(outputs.graphCsv);
    if (graph.size() < 2)
        return fail(error, QStringLiteral("pas de graphe enregistré"));
    if (kind == QLatin1String("pas")) {
        std::vector<double> steps;
        for (std::size_t i = 1; i < graph.size(); ++i)
            steps.push_back(graph[i].at - graph[i - 1].at);
        std::nth_element(steps.begin(), steps.begin() + steps.size() / 2, steps.end());
        return steps[steps.size() / 2];
    }
    if (kind == QLatin1String("phase")) {
        // Correlation of the two curves over the second half of the record:
        // +1 in phase, -1 in opposition.
        if (!hasCurve(graph, 0) || !hasCurve(graph, 1))
            return fail(error, QStringLiteral("il faut les deux courbes"));
        double s1 = 0, s2 = 0, s11 = 0, s22 = 0, s12 = 0;
        int n = 0;
        for (std::size_t i = graph.size() / 2; i < graph.size(); ++i) {
            const double a = graph[i].u[0].value_or(0), b = graph[i].u[1].value_or(0);
            s1 += a, s2 += b, s11 += a * a, s22 += b * b, s12 += a * b, ++n;
        }
        const double va = s11 - s1 * s1 / n, vb = s22 - s2 * s2 / n;
        if (va <= 0 || vb <= 0)
            return fail(error, QStringLiteral("une des courbes ne bouge pas"));
        return (s12 - s1 * s2 / n) / std::sqrt(va * vb);
    }
    if (kind == QLatin1String("retard")) {
        // The delay of the red marker on the blue one, peak to peak.
        const std::vector<double> blue = peaks(graph, 0, 0), red = peaks(graph, 1, 0);
        if (blue.empty() || red.empty())
            return fail(error, QStringLiteral("il faut un passage de la déformation aux deux marqueurs"));
        return red.front() - blue.front();
    }
    const auto k = markerIndex(words.value(1));
    if (!k || !hasCurve(graph, *k))
        return fail(error, QStringLiteral("pas de courbe %1 sur le graphe").arg(words.value(1)));
    if (kind == QLatin1String("debut")) {
        // Where the drawn curve leaves the axis: the last point still at
        // rest before the curve moves by half a pixel.
        for (std::size_t i = 0; i < graph.size(); ++i) {
            if (std::abs(graph[i].u[*k].value_or(0)) < kRest)
                continue;
            std::size_t j = i;
            while (j > 0 && std::abs(graph[j].u[*k].value_or(0)) >= kStill)
                --j;
            return graph[j].at;
        }
        return fail(error, QStringLiteral("la courbe %1 ne quitte pas le repos").arg(words[1]));
    }
    if (kind == QLatin1String("fin"))
        return graph.back().u[*k].value_or(0);
    if (kind == QLatin1String("valeur")) {
        // The line of the values table nearest the date.
        const double at = number(words.value(2)).value_or(0);
        const auto nearest = std::min_element(graph.begin(), graph.end(), [at](const Sample& a, const Sample& b) {
            return std::abs(a.at - at) < std::abs(b.at - at);
        });
        return nearest->u[*k].value_or(0);
    }
    if (kind == QLatin1String("maximum") || kind == QLatin1String("minimum")) {
        const bool top = kind == QLatin1String("maximum");
        double best = top ? -1e300 : 1e300;
        for (const Sample& s : graph)
            best = top ? std::max(best, s.u[*k].value_or(0)) : std::min(best, s.u[*k].value_or(0));
        return best;
    }
    if (kind == QLatin1String("sommet")) {
        const std::vector<double> found = peaks(graph, *k, 0);
        const int n = words.size() > 2 ? words[2].toInt() : 1;
        if (n < 1 || std::size_t(n) > found.size())
            return fail(error, QStringLiteral("passage n° %1 absent de la courbe %2").arg(n).arg(words[1]));
        return found[std::size_t(n - 1)];
    }
    // periode: mean interval between the crests, the first one left out
    // (the wave may still be settling there).
    std::vector<double> crests = peaks(graph, *k, 1);
    if (crests.size() >= 4)
        crests.erase(crests.begin());
    if (crests.size() < 2)
        return fail(error, QStringLiteral("moins de deux crêtes sur la courbe %1").arg(words[1]));
    return (crests.back() - crests.front()) / double(crests.size() - 1);
}

bool MeasuredFigure::agrees() const
{
    return measured && std::abs(*measured - figure.value) <= figure.tolerance + 1e-9;
}

bool MeasuredFigure::agreesWithPhysics() const
{
    return physical && std::abs(*physical - figure.value) <= bound + statedRounding(figure.stated) + 1e-9;
}

namespace {

// The figure's physical value and the difference its sampling explains:
// its own expression over the rope's quantities and the figures above, or,
// for a computed figure, the same computation over their physical values.
void physicalValue(const StatedFigure& figure, const NamedValues& quantities, const NamedValues& physical,
                   const NamedValues& bounds, MeasuredFigure& result)
{
    // The run's own quantities first: "pas" is this run's step even when an
    // earlier figure is called "pas" too.
    NamedValues names = quantities;
    names.insert(names.end(), physical.begin(), physical.end());
    const bool computed = !measuring(figure.method);
    if (figure.physics.isEmpty() && !computed) {
        result.physicsProblem = QStringLiteral("valeur physique non donnée");
        return;
    }
    QString problem;
    const std::optional<double> value =
        evaluateFigures(figure.physics.isEmpty() ? figure.method : figure.physics, figure.physics.isEmpty() ? physical : names, &problem);
    std::optional<double> bound;
    if (!figure.physicsBound.isEmpty())
        bound = evaluateFigures(figure.physicsBound, names, &problem);
    else if (computed)
        bound = propagatedBound(figure.method, physical, bounds, &problem);
    else
        bound = samplingBound(figure.method, quantities);
    if (!value || !bound) {
        result.physicsProblem = problem.isEmpty() ? QStringLiteral("écart d'échantillonnage inconnu") : problem;
        return;
    }
    result.physical = value;
    result.bound = std::abs(*bound);
}

}  // namespace

bool measureSheet(const MeasureSheet& sheet, const QString& program, const QString& workingDir,
                  std::vector<MeasuredFigure>* results, QString* error)
{
    std::vector<std::pair<QString, double>> known;
    NamedValues physical;  // the figures' physical values, the latest first
    NamedValues bounds;
    for (const Experiment& experiment : sheet.experiments) {
        QTemporaryDir scratch;
        if (!scratch.isValid()) {
            if (error)
                *error = QStringLiteral("dossier temporaire impossible");
            return false;
        }
        const QString graph = scratch.filePath(QStringLiteral("graphe.csv"));
        const QString rope = scratch.filePath(QStringLiteral("corde.csv"));
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(workingDir);
        // The configuration the run ends with gives the rope's physics.
        const QString config = scratch.filePath(QStringLiteral("fin.P15"));
        process.start(QFileInfo(program).absoluteFilePath(), experiment.arguments + QStringList{QStringLiteral("--save-config"), config,
                                                                  QStringLiteral("--graph-csv"), graph,
                                                                  QStringLiteral("--rope-csv"), rope,
                                                                  QStringLiteral("--chrono-text")});
        if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
            process.exitCode() != 0) {
            const QString said = QString::fromUtf8(process.readAllStandardError()).trimmed();
            if (error)
                *error = QStringLiteral("[%1] : tolvi %2 a échoué : %3")
                             .arg(experiment.name, experiment.arguments.join(QLatin1Char(' ')),
                                  said.isEmpty() ? process.errorString() : said);
            return false;
        }
        RunOutputs outputs;
        const QStringList said =
            QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        outputs.chronoText = said.isEmpty() ? QString() : said.back().trimmed();
        for (auto [path, text] : {std::pair{graph, &outputs.graphCsv}, std::pair{rope, &outputs.ropeCsv}}) {
            QFile file(path);
            if (file.open(QIODevice::ReadOnly))
                *text = QString::fromUtf8(file.readAll());
        }
        const ConfigReading ended = readConfig(config);
        const NamedValues quantities = physicalQuantities(ended.values);
        for (const StatedFigure& figure : experiment.figures) {
            MeasuredFigure result;
            result.experiment = experiment.name;
            result.figure = figure;
            result.measured = measureFigure(figure.method, outputs, known, &result.problem);
            if (result.measured)
                known.emplace_back(figure.name, *result.measured);
            if (ended.status != ConfigReadStatus::Ok)
                result.physicsProblem = QStringLiteral("configuration de fin illisible");
            else
                physicalValue(figure, quantities, physical, bounds, result);
            if (result.physical) {
                physical.insert(physical.begin(), {figure.name, *result.physical});
                bounds.emplace_back(figure.name, result.bound);
            }
            if (results)
                results->push_back(result);
        }
    }
    return true;
}

QString describe(const MeasuredFigure& r)
{
    const QString physics =
        r.physical ? QStringLiteral("physique %1 ± %2 (%3)")
                         .arg(formatPattern(*r.physical, QStringLiteral("0.0000")),
                              formatPattern(r.bound + statedRounding(r.figure.stated), QStringLiteral("0.0000")),
                              r.figure.physics.isEmpty() ? r.figure.method : r.figure.physics)
                   : QStringLiteral("sans valeur physique : ") + r.physicsProblem;
    QString text = QStringLiteral("%1 [%2] : annoncé %3 ± %4 (%5) | ")
                       .arg(r.figure.name, r.experiment, r.figure.stated,
                            formatGeneral(r.figure.tolerance), r.figure.method);
    if (!r.measured)
        text += QStringLiteral("non mesuré : ") + r.problem;
    else
        text += QStringLiteral("mesuré %1").arg(formatPattern(*r.measured, QStringLiteral("0.0000")));
    text += QStringLiteral(" | ") + physics;
    if (!r.agrees())
        return text + QStringLiteral(" : DÉSACCORD avec la mesure");
    if (!r.agreesWithPhysics())
        return text + QStringLiteral(" : DÉSACCORD avec la physique");
    return text + QStringLiteral(" : d'accord");
}

}  // namespace tolvi::author
