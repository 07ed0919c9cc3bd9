// The rope model the tick uses, and the controls of the real rope and of the
// hand on the source.
#include "sim/simulation.h"

#include <algorithm>
#include <cmath>

namespace tolvi {

RopeModel& Simulation::ropeModel()
{
    if (cordeReelle_)
        return ringing_;
    return folded_;
}

void Simulation::ropeTick(int interval, double motif)
{
    drive_.advance(interval);
    ropeModel().tick(state_, interval, motif, drive_);
}

void Simulation::emptyRope()
{
    ropeModel().clear(state_, drive_);
}

void Simulation::setCordeReelle(bool on)
{
    if (cordeReelle_ == on)
        return;
    emptyRope();
    cordeReelle_ = on;
    emptyRope();
    resume();
    if (controls_.check1 && state_.typeOnde != OndeSolitaire)
        zeroChronometer();
    emit frameChanged();
    emit controlsChanged();
}

void Simulation::setAmortissement(double percentPerMetre)
{
    ringing_.setDamping(percentPerMetre);
    emit controlsChanged();
}

void Simulation::setPointPince(double x)
{
    if (std::isfinite(x))
        pointPince_ = std::clamp(x, 0.01, rope::kLength - 0.01);
    emit controlsChanged();
}

void Simulation::pincer(double x)
{
    setPointPince(x);
    setCordeReelle(true);
    if (state_.typeBout != BoutFixe)
        selectOptbout(BoutFixe);  // both ends held
    // The source holds still: a running wave stops.
    controls_.demarRunning = false;
    state_.ecoule = 0;
    ringing_.pluck(state_, drive_, pointPince_, 2.0 * double(state_.demiAmplitude));
    resume();
    if (controls_.check1) {
        zeroChronometer();
        startGraph();
    }
    startButtonRule();
    emit frameChanged();
    emit controlsChanged();
}

void Simulation::setALaMain(bool on)
{
    if (drive_.hand() == on)
        return;
    drive_.setHand(on);
    // The hand takes the source: the wave controls' running wave stops.
    if (on)
        controls_.demarRunning = false;
    emptyRope();
    resume();
    emit frameChanged();
    emit controlsChanged();
}

void Simulation::setPositionMain(double cm)
{
    drive_.setHandTarget(cm);
}

void Simulation::setMouvementSource(std::function<double(double)> motion)
{
    emptyRope();
    if (motion)
        drive_.setMotion(std::move(motion));
    else
        drive_.clearMotion();
    resume();
    emit controlsChanged();
}

}  // namespace tolvi
