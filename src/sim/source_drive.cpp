#include "sim/source_drive.h"

#include "calc/evaluator.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <memory>

namespace tolvi {

void SourceDrive::advance(int intervalMs)
{
    clockMs_ += intervalMs;
    if (hand_) {
        previous_ = latest_;
        latest_ = {clock(), target_};
    }
}

void SourceDrive::setHand(bool on)
{
    hand_ = on;
    target_ = 0.0;
    previous_ = latest_ = {clock(), 0.0};
}

void SourceDrive::setHandTarget(double cm)
{
    if (std::isfinite(cm))
        target_ = std::clamp(cm, -kReach, kReach);
}

void SourceDrive::setMotion(std::function<double(double)> motion)
{
    motion_ = std::move(motion);
    motionStart_ = clock();
}

double SourceDrive::at(double t) const
{
    double u = 0.0;
    if (hand_) {
        const auto [t0, u0] = previous_;
        const auto [t1, u1] = latest_;
        if (t >= t1 || t1 <= t0)
            u += u1;
        else if (t <= t0)
            u += u0;
        else
            u += u0 + (u1 - u0) * (t - t0) / (t1 - t0);
    }
    if (motion_) {
        const double m = motion_(t - motionStart_);
        if (std::isfinite(m))
            u += m;
    }
    return u;
}

namespace {
// A number written with a decimal comma or point; false when it is none.
bool readNumber(QString text, double& value)
{
    text = text.trimmed();
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    value = text.toDouble(&ok);
    return ok && std::isfinite(value);
}
}  // namespace

std::optional<std::function<double(double)>> tableMotion(const QString& text, QString* why)
{
    auto points = std::make_shared<std::vector<std::pair<double, double>>>();
    const QStringList lines = text.split(QLatin1Char('\n'));
    static const QRegularExpression separator(QStringLiteral("[;\\t ]+"));
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QString line = lines[n].trimmed();
        if (line.isEmpty() || line.front().isLetter() || line.front() == QLatin1Char('#'))
            continue;
        const QStringList parts = line.split(separator, Qt::SkipEmptyParts);
        double t = 0.0, u = 0.0;
        if (parts.size() != 2 || !readNumber(parts[0], t) || !readNumber(parts[1], u)) {
            if (why)
                *why = QStringLiteral("ligne %1 illisible : deux nombres t et u sont attendus").arg(n + 1);
            return std::nullopt;
        }
        if (!points->empty() && t < points->back().first) {
            if (why)
                *why = QStringLiteral("ligne %1 : les temps doivent aller croissant").arg(n + 1);
            return std::nullopt;
        }
        points->push_back({t, u});
    }
    if (points->empty()) {
        if (why)
            *why = QStringLiteral("aucun couple (t ; u) dans le fichier");
        return std::nullopt;
    }
    return [points](double t) {
        const auto& p = *points;
        if (t < p.front().first)
            return 0.0;
        if (t >= p.back().first)
            return p.back().second;
        const auto after = std::upper_bound(p.begin(), p.end(), t,
                                            [](double v, const std::pair<double, double>& q) { return v < q.first; });
        const auto before = after - 1;
        const double span = after->first - before->first;
        if (!(span > 0.0))
            return after->second;
        return before->second + (after->second - before->second) * (t - before->first) / span;
    };
}

std::optional<std::function<double(double)>> formulaMotion(const QString& formula, QString* why)
{
    // t stands alone: not a letter of a function's name (TAN, SQR ...).
    static const QRegularExpression variable(QStringLiteral("(?<![A-Za-z])[tT](?![A-Za-z])"));
    const QString source = formula;
    auto evaluate = [source](double t, bool* ok) {
        QString text = source;
        text.replace(variable, QStringLiteral("(") + QString::number(t, 'f', 9) + QStringLiteral(")"));
        text.replace(QLatin1Char(','), QLatin1Char('.'));
        qint16 error = calculReussi;
        evaluer(text, error, modeRadians);
        double value = 0.0;
        *ok = error == calculReussi && readNumber(text, value);
        return *ok ? value : 0.0;
    };
    bool ok = false;
    evaluate(0.0, &ok);
    if (formula.trimmed().isEmpty() || !ok) {
        if (why)
            *why = QStringLiteral("formule de t illisible par la calculatrice");
        return std::nullopt;
    }
    return [evaluate](double t) {
        bool fine = false;
        const double v = evaluate(t, &fine);
        return fine ? v : 0.0;
    };
}

}  // namespace tolvi
