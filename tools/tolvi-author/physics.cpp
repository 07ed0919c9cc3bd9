#include "physics.h"

#include "measures.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace tolvi::author {

namespace {

double entry(const ConfigRecords& config, int index, double fallback)
{
    QString text = config.entries[std::size_t(index)].trimmed();
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    text.remove(QLatin1Char(' '));
    text.remove(QChar(0x00A0));
    bool ok = false;
    const double v = text.toDouble(&ok);
    return ok && std::isfinite(v) ? v : fallback;
}

double abscissa(qint16 column)
{
    return column < 0 ? -1.0 : (column - 50) / 100.0;
}

}  // namespace

bool asymmetricPulse(const ConfigRecords& config)
{
    return selectedOption(config.wave) != 2 && !config.symmetric;
}

NamedValues physicalQuantities(const ConfigRecords& config)
{
    const int wave = selectedOption(config.wave);
    const double frequency = entry(config, 0, 2);
    const double mu = entry(config, 1, 100) / 1000;
    const double tension = entry(config, 2, 0.4);
    const double amplitude = entry(config, 3, 20);
    const double duration = entry(config, 4, 500) / 1000;
    const double speed = std::sqrt(tension / mu);
    const double period = 1 / frequency;

    // The calculation step, as the tick sets its interval: a tenth of the
    // pulse, a twentieth of the sine's period, whole milliseconds, 1 to 100.
    double k = std::nearbyint((wave == 2 ? period : duration) * 1000 / 10);
    if (wave == 2)
        k = std::nearbyint(k / 2);
    const double step = std::clamp(k, 1.0, 100.0) / 1000;

    double rise = duration / 2;
    if (wave == 2)
        rise = period / 4;
    else if (asymmetricPulse(config))
        rise = duration / 3;

    return {
        {QStringLiteral("tension"), tension},
        {QStringLiteral("masse_lineique"), mu},
        {QStringLiteral("celerite"), speed},
        {QStringLiteral("frequence"), frequency},
        {QStringLiteral("periode"), period},
        {QStringLiteral("longueur_onde"), speed / frequency},
        {QStringLiteral("duree"), duration},
        {QStringLiteral("amplitude"), amplitude},
        {QStringLiteral("longueur"), 7.0},
        {QStringLiteral("x_bleu"), abscissa(config.blueMarker)},
        {QStringLiteral("x_rouge"), abscissa(config.redMarker)},
        {QStringLiteral("depart"), wave == 0 ? kSolitaryStart : kRepeatedStart},
        {QStringLiteral("montee"), rise},
        {QStringLiteral("pas"), step},
        {QStringLiteral("dissymetrique"), asymmetricPulse(config) ? 1.0 : 0.0},
    };
}

std::optional<double> samplingBound(const QString& method, const NamedValues& quantities)
{
    auto get = [&](const char* name) {
        const auto it = std::find_if(quantities.begin(), quantities.end(),
                                     [name](const auto& q) { return q.first == QLatin1String(name); });
        return it == quantities.end() ? 0.0 : it->second;
    };
    const QString kind = method.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
    const double step = get("pas");
    // A marker reads the sample that falls in its 1 cm column: up to half a
    // column, 0,5 cm / v, away from the point itself.
    const double column = 0.005 / std::max(get("celerite"), 1e-9);
    // The highest sample of a symmetric top is the nearest one, at most half
    // a step away; the asymmetric pulse falls four times less steeply than it
    // rises, so its highest sample may be the later one, two thirds of a step
    // away.
    const bool uneven = get("dissymetrique") != 0;
    const double peak = (uneven ? 2.0 / 3.0 : 0.5) * step + column;
    if (kind == QLatin1String("sommet") || kind == QLatin1String("periode"))
        return peak;
    if (kind == QLatin1String("retard"))
        return 2 * peak;
    if (kind == QLatin1String("debut"))
        return step + column;
    if (kind == QLatin1String("pas"))
        return 0.0005;  // the CSV's dates are in milliseconds
    if (kind == QLatin1String("chrono"))
        return 0.005;  // the chronometer shows hundredths
    if (kind.startsWith(QLatin1String("corde_")))
        return 0.015;  // a column, and the sample nearest the top half a column away
    return std::nullopt;
}

std::optional<double> propagatedBound(const QString& expression, const NamedValues& values,
                                      const NamedValues& bounds, QString* error)
{
    const auto centre = evaluateFigures(expression, values, error);
    if (!centre)
        return std::nullopt;
    static const QRegularExpression identifier(QStringLiteral("[A-Za-z_][A-Za-z0-9_]*"));
    QStringList seen;
    double total = 0;
    auto it = identifier.globalMatch(expression);
    while (it.hasNext()) {
        const QString name = it.next().captured();
        if (seen.contains(name))
            continue;
        seen << name;
        const auto bound = std::find_if(bounds.begin(), bounds.end(), [&](const auto& b) { return b.first == name; });
        if (bound == bounds.end() || bound->second == 0)
            continue;
        double largest = 0;
        for (const double sign : {-1.0, 1.0}) {
            NamedValues moved = values;
            for (auto& v : moved)
                if (v.first == name)
                    v.second += sign * bound->second;
            const auto shifted = evaluateFigures(expression, moved, error);
            if (!shifted)
                return std::nullopt;
            largest = std::max(largest, std::abs(*shifted - *centre));
        }
        total += largest;
    }
    return total;
}

double statedRounding(const QString& stated)
{
    const qsizetype comma = stated.indexOf(QLatin1Char(','));
    if (comma < 0)
        return 0.5;
    qsizetype decimals = 0;
    for (qsizetype i = comma + 1; i < stated.size() && stated[i].isDigit(); ++i)
        ++decimals;
    return 0.5 * std::pow(10.0, -double(decimals));
}

}  // namespace tolvi::author
