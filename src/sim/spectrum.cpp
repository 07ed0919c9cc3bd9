#include "sim/spectrum.h"

#include "text/french_numbers.h"

#include <cmath>

namespace tolvi {

std::vector<SpectrumLine> spectrum(const std::vector<GraphPoint>& points)
{
    std::vector<SpectrumLine> lines;
    const std::size_t n = points.size();
    if (n < 4)
        return lines;
    // The points are a tick apart: the span is n ticks.
    const double step = (points.back().t - points.front().t) / double(n - 1);
    const double span = step * double(n);
    if (!(span > 0.0) || !std::isfinite(span))
        return lines;
    const bool blue = points.front().bleu.has_value();
    const bool red = points.front().rouge.has_value();
    double meanB = 0.0, meanR = 0.0;
    for (const GraphPoint& p : points) {
        meanB += p.bleu.value_or(0.0) / double(n);
        meanR += p.rouge.value_or(0.0) / double(n);
    }
    const double twoPi = 2.0 * std::acos(-1.0);
    for (std::size_t k = 1; k <= n / 2; ++k) {
        const double f = double(k) / span;
        double cb = 0.0, sb = 0.0, cr = 0.0, sr = 0.0;
        for (const GraphPoint& p : points) {
            const double phase = twoPi * f * (p.t - points.front().t);
            const double c = std::cos(phase), s = std::sin(phase);
            cb += (p.bleu.value_or(0.0) - meanB) * c;
            sb += (p.bleu.value_or(0.0) - meanB) * s;
            cr += (p.rouge.value_or(0.0) - meanR) * c;
            sr += (p.rouge.value_or(0.0) - meanR) * s;
        }
        SpectrumLine line{f, std::nullopt, std::nullopt};
        if (blue)
            line.bleu = 2.0 * std::hypot(cb, sb) / double(n);
        if (red)
            line.rouge = 2.0 * std::hypot(cr, sr) / double(n);
        lines.push_back(line);
    }
    return lines;
}

QString spectrumCsv(const std::vector<GraphPoint>& points, QChar separator)
{
    QString text = QStringLiteral("f (Hz)") + separator + QStringLiteral("A1 (cm)") + separator +
                   QStringLiteral("A2 (cm)\n");
    const auto number = [](const std::optional<double>& v) {
        return v ? formatPattern(*v, QStringLiteral("0.0000")) : QString();
    };
    for (const SpectrumLine& line : spectrum(points)) {
        text += formatPattern(line.f, QStringLiteral("0.0000")) + separator + number(line.bleu) + separator +
                number(line.rouge) + QLatin1Char('\n');
    }
    return text;
}

}  // namespace tolvi
