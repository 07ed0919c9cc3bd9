#include "sim/source_line.h"

#include <algorithm>
#include <cmath>

namespace tolvi {

namespace {
// Sample index of time t: the last sample at or before t (a hair of
// rounding noise is forgiven, so that a time on the grid stays on it).
std::int64_t indexAt(double t, double step)
{
    return std::int64_t(std::floor(t / step + 1e-9));
}

double kept(double value)
{
    if (!std::isfinite(value))
        return 0.0;
    return std::clamp(value, -SourceLine::kLargest, SourceLine::kLargest);
}
}  // namespace

void SourceLine::reset(double celerite, double clock)
{
    celerite_ = celerite;
    step_ = celerite > 0.0 && std::isfinite(celerite) ? 0.01 / kPerCm / celerite : 0.0;
    clock_ = clock;
    last_ = step_ > 0.0 ? indexAt(clock, step_) : -1;
    first_ = last_ + 1;
    std::fill(ring_.begin(), ring_.end(), 0.0);
}

double SourceLine::sample(std::int64_t j) const
{
    if (j < first_ || j > last_ || j <= last_ - kRing)
        return 0.0;
    return ring_[std::size_t(j & (kRing - 1))];
}

void SourceLine::advance(double clock, const std::function<double(double)>& source, double echo)
{
    if (!(step_ > 0.0) || !(clock >= clock_))
        return;
    clock_ = clock;
    const std::int64_t end = indexAt(clock, step_);
    for (std::int64_t j = last_ + 1; j <= end; ++j) {
        double back = echo == 0.0 ? 0.0 : echo * sample(j - kRoundTrip);
        if (std::fabs(back) < kRetired)
            back = 0.0;  // died out
        const double value = kept((source ? source(double(j) * step_) : 0.0) + back);
        last_ = j;
        slot(j) = value;
    }
}

double SourceLine::at(double t) const
{
    if (!(step_ > 0.0))
        return 0.0;
    const double position = t / step_;
    const double below = std::floor(position + 1e-9);
    const double frac = std::max(0.0, position - below);
    const auto j = std::int64_t(below);
    const double a = sample(j);
    return frac == 0.0 ? a : a + frac * (sample(j + 1) - a);
}

void SourceLine::addTo(std::array<double, rope::kColumns>& u, double far, double perMetre) const
{
    if (!(step_ > 0.0))
        return;
    const double position = clock_ / step_;
    const double below = std::floor(position + 1e-9);
    const double frac = std::max(0.0, position - below);
    const auto now = std::int64_t(below);
    const auto read = [&](std::int64_t back) {
        const double a = sample(now - back);
        return frac == 0.0 ? a : a + frac * (sample(now - back + 1) - a);
    };
    const bool damped = perMetre < 1.0;
    const double logKept = damped && perMetre > 0.0 ? std::log(perMetre) : 0.0;
    for (int c = rope::kSourceColumn; c <= rope::kFarEndColumn; ++c) {
        const int cm = c - rope::kSourceColumn;  // x in centimetres
        double out = read(std::int64_t(cm) * kPerCm);
        double back = far == 0.0 ? 0.0 : far * read(std::int64_t(1400 - cm) * kPerCm);
        if (damped) {
            if (perMetre <= 0.0) {
                back = 0.0;
                out = cm == 0 ? out : 0.0;
            } else {
                out *= std::exp(logKept * cm / 100.0);
                back *= std::exp(logKept * (1400 - cm) / 100.0);
            }
        }
        u[std::size_t(c)] += out + back;
    }
}

void SourceLine::setPast(const std::function<double(double delay)>& shape)
{
    if (!(step_ > 0.0))
        return;
    first_ = last_ - kRoundTrip + 1;
    for (std::int64_t j = first_; j <= last_; ++j) {
        const double value = kept(shape(clock_ - double(j) * step_));
        slot(j) = value;
    }
}

}  // namespace tolvi
