#pragma once
// Slow motion and step-by-step: how the animation is paced against the wall
// clock. Simulated time still advances by exactly one interval per tick, so
// the chronometer and the graph count the same simulated time at any speed;
// only the timer waits longer between ticks.

#include <QString>
#include <array>
#include <optional>

namespace tolvi {
class Simulation;

class Pacing {
public:
    // Real time is divided by one of these: 1, 1/2, 1/5 or 1/10 of real time.
    static constexpr std::array<int, 4> kDivisors{1, 2, 5, 10};

    int divisor() const { return kDivisors[std::size_t(index_)]; }
    int speedIndex() const { return index_; }
    void setSpeedIndex(int index);
    // The next slower speed, back to real time after 1/10.
    void nextSpeed();
    bool slowed() const { return index_ != 0; }

    // "1", "1/2", "1/5", "1/10".
    static QString speedLabel(int divisor);
    QString speedLabel() const { return speedLabel(divisor()); }
    // The divisor a text names ("1", "1/2", "1/5", "1/10"; blanks around
    // are allowed), or nothing.
    static std::optional<int> parseSpeed(const QString& text);

    // The timer's wall-clock wait for a tick of `interval` ms of simulated
    // time (at least 1 ms of simulated time, as the timer takes it).
    int wallInterval(int interval) const;

private:
    int index_ = 0;
};

// One press of "Pas à pas". A running animation stops first (the press only
// pauses it); a paused one moves on by exactly one tick. Returns the
// simulated milliseconds the press advanced: 0 when it paused.
int pasAPas(Simulation& sim);

}  // namespace tolvi
