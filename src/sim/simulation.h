#pragma once
// The experiment as the main window drives it: the rope model, the controls
// that hold its state, the animation tick and the measuring tools (markers,
// chronometer, time graph). Windows call these handlers and mirror the state
// after each signal; tests and batch mode call them directly.

#include "sim/folded_rope.h"
#include "sim/graph.h"
#include "sim/ringing_rope.h"
#include "sim/rope_painter.h"
#include "sim/rope_photos.h"
#include "sim/sim_state.h"
#include "sim/source_drive.h"

#include <QImage>
#include <QObject>
#include <functional>
#include <optional>

namespace tolvi {
class Messages;
class RandomSource;

class Simulation : public QObject {
    Q_OBJECT
public:
    Simulation(Messages& messages, RandomSource& random, QObject* parent = nullptr);

    SimState& state() { return state_; }
    const SimState& state() const { return state_; }
    const ControlsState& controls() const { return controls_; }
    Messages& messages() { return messages_; }

    // Rope picture: the persistent background painted by fondi, and the
    // current frame over it.
    const QImage& background() const { return background_; }
    // The same background at `scale` device pixels per unit (kept until
    // fondi runs again or another scale is asked for).
    const QImage& background(double scale) const;
    QImage ropeImage() const;
    QImage ropeImage(double scale) const;
    // The time graph's picture (frame by prepagraph, curves by the tick) and
    // the recorded points.
    const QImage& graphImage() const { return graph_.image(); }
    QImage graphImage(double scale) const;
    const GraphRecording& graph() const { return graph_; }

    // --- Animation ---------------------------------------------------------
    // One tick of Timer1: interval, corrections, chronometer, emission,
    // ageing, displacement, start-button rule, graph recording.
    void Timer1_Timer();
    // Ticks back to back until at least `seconds` of simulated time passed;
    // returns the simulated time that passed.
    double advance(double seconds);
    bool timerEnabled() const { return controls_.timerEnabled; }
    void setTimerEnabled(bool enabled);
    // The pause image: stops or restarts the timer.
    void command16_Click();

    // --- Wave controls -----------------------------------------------------
    void demar_Click();
    // Selecting an option runs its click handler, as a user's click does.
    void selectOptpert(int index);
    void selectOptbout(int index);
    void Optpert_Click();
    void Optbout_Click();
    // Sets Checksi; its click handler runs when the value changes.
    void setChecksi(bool checked);
    void Checksi_Click();
    void setCheck1(bool checked);
    void setCheck2(bool checked);

    // --- Parameter boxes ---------------------------------------------------
    // Key filter: returns false when the key is refused; may change the key
    // ("." becomes ","). Enter validates the box at once.
    bool Textfreq_KeyPress(int index, QChar& key);
    // The box's text as the user edits it (no validation).
    void setTextfreq(int index, const QString& text);
    void Textfreq_LostFocus(int index);
    // Re-reads the numeric parameters from the five texts (window activation),
    // each range-clamped and rounded as leaving its box would show it.
    void readParameters();
    // The text box `index` shows once it is left: clamped to its range, in
    // its display pattern.
    QString validatedText(int index) const;

    // --- Drawing -----------------------------------------------------------
    void fondi();
    // Redraws the rope now (marker changes while the animation is paused).
    void deppoint();

    // --- Markers -------------------------------------------------------------
    static constexpr int kNoMarker = -1;
    void setMarqueBleue(int column);  // "Marquer en bleu" / "Effacer le point bleu"
    void setMarqueRouge(int column);
    // The marker abscissa texts: "2,5 m", or empty when absent.
    void updateMarkerLabels();
    std::array<std::optional<int>, 2> labelledColumns_;  // the markers' columns labeli shows

    // --- Chronometer -------------------------------------------------------
    void Command3_Click();  // start from zero / stop
    void Command5_Click();  // reset
    bool command5Enabled() const { return !controls_.chronoRunning; }
    static QString chronoText(double hundredths);

    // --- Photographs of the rope ---------------------------------------------
    // Freezes the rope's shape now as a ghost under the live rope (the
    // oldest of three makes room).
    void photograph();
    void clearPhotos();
    const std::vector<RopePhoto>& photos() const { return photos_; }
    // Simulated seconds since the wave last started (« Démarrer »).
    double waveSeconds() const { return waveClockMs_ / 1000.0; }

    // --- Time graph ----------------------------------------------------------
    void Command6_Click();
    // UpDown1's value 1..10 (other values change nothing but restart the frame).
    void setDurationIndex(int index);
    int durationIndex() const { return durationIndex_; }
    static int durationSeconds(int index);    // 0 when out of range
    static QString durationLabel(int index);  // "10 s", "1 min", ...
    QString labelg() const { return durationLabel(durationIndex_); }
    void prepagraph();

    // --- Rope model (simulation_rope.cpp) --------------------------------
    // « Corde réelle : réflexions aux deux extrémités »: the rope whose two
    // ends reflect, with damping, instead of the default fold at the far end.
    bool cordeReelle() const { return cordeReelle_; }
    void setCordeReelle(bool on);
    // « Amortissement », percent of amplitude lost per metre run.
    double amortissement() const { return ringing_.damping(); }
    void setAmortissement(double percentPerMetre);
    // « Pincer la corde »: the real rope, both ends held, drawn aside by the
    // amplitude at `x` metres from the source and let go now.
    void pincer(double x);
    double pointPince() const { return pointPince_; }
    void setPointPince(double x);
    // « À la main »: the red ruler follows the hand, within ±40 cm.
    bool aLaMain() const { return drive_.hand(); }
    void setALaMain(bool on);
    double positionMain() const { return drive_.handTarget(); }
    void setPositionMain(double cm);
    // A motion given to the source (batch line): u(t) in cm, t in s from now.
    void setMouvementSource(std::function<double(double)> motion);
    const SourceDrive& sourceDrive() const { return drive_; }
    const RingingRope& ringingRope() const { return ringing_; }

signals:
    void controlsChanged();   // texts, captions, greying, labels, timer
    void frameChanged();      // the rope moved: repaint
    void backgroundChanged(); // fondi ran
    void graphChanged();      // the graph picture changed

private:
    void resume();
    void zeroChronometer();
    void startGraph();
    void startButtonRule();
    void chronometerStep(int interval);
    void graphStep(int interval);
    void beginRecording();
    void plotGraphPoint();
    void startEmission();
    void restartEmission();
    RopeModel& ropeModel();
    void ropeTick(int interval, double motif);
    void emptyRope();

    Messages& messages_;
    RandomSource& random_;
    SimState state_;
    ControlsState controls_;
    RopeBackdrop backdrop_;
    QImage background_;
    mutable QImage scaledBackground_;
    std::vector<RopePhoto> photos_;
    long long waveClockMs_ = 0;
    // The far-end device with the photographs over it.
    QImage composedBackground(double scale) const;
    void photosChanged();
    GraphRecording graph_;
    int durationIndex_ = 4;
    bool inTick_ = false;
    FoldedRope folded_;
    RingingRope ringing_;
    SourceDrive drive_;
    bool cordeReelle_ = false;
    double pointPince_ = 1.4;  // m: a fifth of the rope
};

}  // namespace tolvi
