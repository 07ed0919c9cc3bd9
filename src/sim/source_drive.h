#pragma once
// What moves the source besides the deformations of the wave controls: the
// pupil's hand on the red ruler, recorded tick by tick, or a motion given
// beforehand (a table of (t, u) pairs, a formula of t). It also keeps the
// clock the rope models time their signals with.

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace tolvi {

class SourceDrive {
public:
    // The hand's reach on the ruler, in cm either side of rest.
    static constexpr double kReach = 40.0;

    // Simulated seconds since the program started (advanced by the ticks).
    double clock() const { return double(clockMs_) / 1000.0; }
    // One tick: the clock moves on and the hand's position is recorded.
    void advance(int intervalMs);

    // « À la main »: the ruler follows the hand.
    bool hand() const { return hand_; }
    void setHand(bool on);
    // Where the hand holds the ruler now (cm, clamped to the reach).
    double handTarget() const { return target_; }
    void setHandTarget(double cm);

    // A motion u(t) in cm, t in seconds from the moment it is set.
    void setMotion(std::function<double(double)> motion);
    void clearMotion() { motion_ = nullptr; }
    bool hasMotion() const { return bool(motion_); }

    // True when the source moves by something else than the deformations.
    bool active() const { return hand_ || motion_; }
    // The source's motion from the hand and the given motion at time t
    // (the hand between its two last records, linearly).
    double at(double t) const;

private:
    std::int64_t clockMs_ = 0;
    bool hand_ = false;
    double target_ = 0.0;
    // The hand's two last records (time s, u cm).
    std::pair<double, double> previous_{0.0, 0.0};
    std::pair<double, double> latest_{0.0, 0.0};
    std::function<double(double)> motion_;
    double motionStart_ = 0.0;
};

// A source motion read from a table of (t, u) pairs, linear between them, 0
// before the first time and the last value after the last. Lines are
// "t;u", "t u" or "t<TAB>u", decimal comma or point; a line starting with a
// letter or '#' is a heading and is skipped. Returns nothing and a French
// reason when no pair can be read or times go back.
std::optional<std::function<double(double)>> tableMotion(const QString& text, QString* why);

// A source motion given as a formula of t (seconds) in the calculator's
// language, angles in radians: "10*SIN(2*3.1416*t)". Checked at t = 0.
std::optional<std::function<double(double)>> formulaMotion(const QString& formula, QString* why);

}  // namespace tolvi
