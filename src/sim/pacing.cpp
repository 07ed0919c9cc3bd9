#include "sim/pacing.h"

#include "sim/simulation.h"

#include <algorithm>

namespace tolvi {

void Pacing::setSpeedIndex(int index)
{
    index_ = std::clamp(index, 0, int(kDivisors.size()) - 1);
}

void Pacing::nextSpeed()
{
    index_ = (index_ + 1) % int(kDivisors.size());
}

QString Pacing::speedLabel(int divisor)
{
    return divisor == 1 ? QStringLiteral("1") : QStringLiteral("1/%1").arg(divisor);
}

std::optional<int> Pacing::parseSpeed(const QString& text)
{
    const QString t = text.trimmed();
    for (int d : kDivisors)
        if (t == speedLabel(d))
            return d;
    return std::nullopt;
}

int Pacing::wallInterval(int interval) const
{
    return std::max(1, interval) * divisor();
}

int pasAPas(Simulation& sim)
{
    if (sim.timerEnabled()) {
        sim.setTimerEnabled(false);
        return 0;
    }
    sim.Timer1_Timer();
    return sim.controls().timerInterval;
}

}  // namespace tolvi
