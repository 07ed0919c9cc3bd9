#include "sim/simulation.h"

#include "platform/messages.h"
#include "platform/random_source.h"
#include "sim/corrections.h"
#include "sim/propagation.h"
#include "sim/rope_painter.h"
#include "text/french_numbers.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace tolvi {

namespace {
constexpr int kDurations[] = {1, 2, 5, 10, 20, 30, 60, 120, 300, 600};

bool validColumn(int column)
{
    return column >= 0 && column < rope::kColumns;
}

// Pixel coordinates of the graph are 16-bit; a wild displacement must not
// overflow them.
std::int16_t pixel16(double v)
{
    const double r = roundEven(v);
    if (!(r > -32768.0))
        return -32768;
    return r > 32767.0 ? std::int16_t(32767) : std::int16_t(r);
}
}  // namespace

Simulation::Simulation(Messages& messages, RandomSource& random, QObject* parent)
    : QObject(parent), messages_(messages), random_(random)
{
    backdrop_ = ropeBackdrop(state_.typeBout, random_);
    background_ = composedBackground(1.0);
    state_.dureeGraphe = std::int16_t(durationSeconds(durationIndex_));
    graph_.prepare(state_.dureeGraphe);
}

QImage Simulation::ropeImage() const
{
    return ropeFrame(background_, state_);
}

const QImage& Simulation::background(double scale) const
{
    if (scale == 1.0)
        return background_;
    if (scaledBackground_.isNull() || scaledBackground_.devicePixelRatio() != scale)
        scaledBackground_ = composedBackground(scale);
    return scaledBackground_;
}

QImage Simulation::ropeImage(double scale) const
{
    return ropeFrame(background(scale), state_);
}

QImage Simulation::graphImage(double scale) const
{
    return scale == 1.0 ? graph_.image() : graph_.render(scale);
}

// ---------------------------------------------------------------------------
// The tick

void Simulation::Timer1_Timer()
{
    // A correction's message box runs an event loop; ticks that fire while
    // it waits for the user are skipped, so the rope waits with it.
    if (inTick_)
        return;
    inTick_ = true;
    // The windows mirror the controls: told when a tick changed them (most
    // ticks change none, and each panel would be looked over for nothing).
    const ControlsState before = controls_;

    const int interval = propagation::timerInterval(state_.typeOnde, state_.frequence, state_.duree);
    controls_.timerInterval = interval;

    if (state_.marqueRouge == kNoMarker && state_.marqueBleue == kNoMarker)
        controls_.recording = false;
    updateMarkerLabels();

    // A correction changes its value and text before its message shows: let
    // the windows show the corrected text behind the box.
    struct ShowFirst : Messages {
        Simulation& sim;
        explicit ShowFirst(Simulation& s) : sim(s) {}
        Answer ask(MessageKind kind, const QString& title, const QString& text) override
        {
            emit sim.controlsChanged();
            return sim.messages_.ask(kind, title, text);
        }
    } showFirst(*this);
    const float frequencyBefore = state_.frequence;
    if (applyCorrections(state_, controls_, showFirst) > 0)
        emit controlsChanged();
    // A correction comes at the first tick after the change that called for
    // it, when the wave has just started again: its first deformation leaves
    // 50 ms after that start at the corrected frequency.
    if (state_.frequence != frequencyBefore && controls_.demarRunning)
        startEmission();

    const double motif = propagation::dureeMotif(state_);
    chronometerStep(interval);
    propagation::emission(state_, interval, controls_.demarRunning);
    ropeTick(interval, motif);
    startButtonRule();
    graphStep(interval);
    waveClockMs_ += interval;

    inTick_ = false;
    emit frameChanged();
    if (!(controls_ == before))
        emit controlsChanged();
}

double Simulation::advance(double seconds)
{
    double passed = 0.0;
    // Bounded: at least 1 ms per tick.
    const double limit = std::min(std::max(seconds, 0.0), 86400.0);
    while (passed < limit - 1e-9) {
        Timer1_Timer();
        passed += controls_.timerInterval / 1000.0;
    }
    return passed;
}

void Simulation::setTimerEnabled(bool enabled)
{
    if (controls_.timerEnabled == enabled)
        return;
    controls_.timerEnabled = enabled;
    emit controlsChanged();
}

void Simulation::command16_Click()
{
    setTimerEnabled(!controls_.timerEnabled);
}

void Simulation::resume()
{
    setTimerEnabled(true);
}

void Simulation::startButtonRule()
{
    controls_.demarEnabled =
        !(state_.typeOnde == OndeSolitaire && std::fabs(state_.deplacement[rope::kSourceColumn]) > 55.0);
}

void Simulation::startEmission()
{
    state_.ecoule = propagation::startingEcoule(state_.frequence);
}

void Simulation::restartEmission()
{
    // The rope was just emptied: a running periodic or sinusoidal wave starts
    // again from the source, its first deformation 50 ms from now at the
    // parameters now in force, and with Check1 the chronometer (already
    // zeroed) and the graph start with it.
    if (!controls_.demarRunning)
        return;
    startEmission();
    if (controls_.check1)
        startGraph();
}

// ---------------------------------------------------------------------------
// Wave controls

void Simulation::demar_Click()
{
    resume();
    const bool solitary = state_.typeOnde == OndeSolitaire;
    if (solitary || !controls_.demarRunning)
        waveClockMs_ = 0;
    if (solitary) {
        propagation::appendDeformation(state_);
        if (controls_.check1) {
            zeroChronometer();
            startGraph();
        }
    }
    if (!solitary && !controls_.demarRunning) {
        startEmission();
        controls_.demarRunning = true;
        if (controls_.check1) {
            zeroChronometer();
            startGraph();
        }
    } else if (controls_.demarRunning) {
        controls_.demarRunning = false;
    }
    emit controlsChanged();
}

void Simulation::selectOptpert(int index)
{
    if (index < 0 || index > 2)
        return;
    state_.typeOnde = index;
    Optpert_Click();
}

void Simulation::selectOptbout(int index)
{
    if (index < 0 || index > 2)
        return;
    state_.typeBout = index;
    Optbout_Click();
}

void Simulation::Optpert_Click()
{
    emptyRope();
    resume();
    const bool solitary = state_.typeOnde == OndeSolitaire;
    if (solitary) {
        controls_.demarRunning = false;
        controls_.textfreqEnabled[TfFrequence] = false;
    } else {
        startEmission();
        controls_.demarRunning = true;
        controls_.textfreqEnabled[TfFrequence] = true;
    }
    // Choosing a periodic or sinusoidal wave starts it: with Check1 the
    // chronometer and the graph start with it.
    if (controls_.check1 && !solitary) {
        zeroChronometer();
        startGraph();
    }
    const bool sine = state_.typeOnde == OndeSinusoidale;
    controls_.checksiEnabled = !sine;
    controls_.textfreqEnabled[TfDuree] = !sine;
    // The button's greying follows the wave now, not at the next tick: a
    // periodic wave's « Arrêter » is never greyed.
    startButtonRule();
    emit controlsChanged();
}

void Simulation::Optbout_Click()
{
    resume();
    if (controls_.check1 && state_.typeOnde != OndeSolitaire)
        zeroChronometer();
    emptyRope();
    restartEmission();
    fondi();
    emit controlsChanged();
}

void Simulation::setChecksi(bool checked)
{
    if (state_.symetrique == checked)
        return;
    state_.symetrique = checked;
    Checksi_Click();
}

void Simulation::Checksi_Click()
{
    resume();
    const bool empties = state_.typeOnde != OndeSinusoidale;
    if (empties)
        emptyRope();
    if (controls_.check1 && state_.typeOnde != OndeSolitaire)
        zeroChronometer();
    if (empties)
        restartEmission();
    emit controlsChanged();
}

void Simulation::setCheck1(bool checked)
{
    controls_.check1 = checked;
    emit controlsChanged();
}

void Simulation::setCheck2(bool checked)
{
    controls_.check2 = checked;
    emit controlsChanged();
}

// ---------------------------------------------------------------------------
// Parameter boxes

bool Simulation::Textfreq_KeyPress(int index, QChar& key)
{
    if (key == QLatin1Char('.'))
        key = QLatin1Char(',');
    const ushort code = key.unicode();
    const bool accepted = (code >= '0' && code <= '9') || code == ',' || code == 8 || code == 13;
    if (!accepted) {
        key = QChar(0);
        return false;
    }
    if (code == 13)
        Textfreq_LostFocus(index);
    return true;
}

void Simulation::setTextfreq(int index, const QString& text)
{
    if (index < 0 || index > 4)
        return;
    controls_.textfreq[std::size_t(index)] = text;
}

void Simulation::Textfreq_LostFocus(int index)
{
    if (index < 0 || index > 4)
        return;
    resume();
    controls_.textfreq[std::size_t(index)] = validatedText(index);
    readParameters();
    resume();
    if (controls_.check1 && state_.typeOnde != OndeSolitaire)
        zeroChronometer();
    emptyRope();
    restartEmission();
    fondi();
    emit controlsChanged();
}

QString Simulation::validatedText(int index) const
{
    const ParameterRange& range = parameterRange(index);
    // Read in single precision, as typed; unreadable text counts as 0.
    float value = float(readFrench(controls_.textfreq[std::size_t(index)]).value_or(0.0));
    if (!(value >= float(range.minimum)))
        value = float(range.minimum);
    if (value > float(range.maximum))
        value = float(range.maximum);
    return formatPattern(value, QString::fromLatin1(range.pattern));
}

void Simulation::readParameters()
{
    // A box still being edited (the window left and activated again before
    // the box was) is read as leaving it would show it: the simulation only
    // ever sees values inside their ranges. Unreadable text keeps the value.
    const auto number = [this](int index) -> std::optional<double> {
        if (!readFrench(controls_.textfreq[std::size_t(index)]))
            return std::nullopt;
        return readFrench(validatedText(index));
    };
    if (const auto f = number(TfFrequence))
        state_.frequence = float(*f);
    if (const auto a = number(TfAmplitude))
        state_.demiAmplitude = float(*a) / 2.0f;
    if (const auto d = number(TfDuree))
        state_.duree = float(*d) / 1000.0f;
    const auto tension = number(TfTension);
    const auto masse = number(TfMasse);
    if (tension && masse) {
        const double c = std::sqrt(*tension / (*masse / 1000.0));
        if (std::isfinite(c) && c > 0.0)
            state_.celerite = c;
    }
}

// ---------------------------------------------------------------------------
// Drawing

void Simulation::fondi()
{
    backdrop_ = ropeBackdrop(state_.typeBout, random_);
    background_ = composedBackground(1.0);
    scaledBackground_ = QImage();
    emit backgroundChanged();
    emit frameChanged();
}

QImage Simulation::composedBackground(double scale) const
{
    QImage image = paintBackdrop(backdrop_, scale);
    if (!photos_.empty()) {
        QPainter p(&image);
        paintPhotos(p, photos_);
    }
    return image;
}

void Simulation::photograph()
{
    RopePhoto photo;
    photo.deplacement = state_.deplacement;
    photo.seconds = waveSeconds();
    // A style no photograph kept uses: the oldest one's when three are kept.
    if (int(photos_.size()) >= kMostPhotos) {
        photo.style = photos_.front().style;
        photos_.erase(photos_.begin());
    } else {
        for (int style = 0; style < kMostPhotos; ++style)
            if (std::none_of(photos_.begin(), photos_.end(), [style](const RopePhoto& p) { return p.style == style; })) {
                photo.style = style;
                break;
            }
    }
    photos_.push_back(photo);
    photosChanged();
}

void Simulation::clearPhotos()
{
    if (photos_.empty())
        return;
    photos_.clear();
    photosChanged();
}

void Simulation::photosChanged()
{
    background_ = composedBackground(1.0);
    scaledBackground_ = QImage();
    emit backgroundChanged();
    emit frameChanged();
}

void Simulation::deppoint()
{
    startButtonRule();
    updateMarkerLabels();
    emit frameChanged();
    emit controlsChanged();
}

// ---------------------------------------------------------------------------
// Markers

void Simulation::setMarqueBleue(int column)
{
    state_.marqueBleue = std::int16_t(validColumn(column) ? column : kNoMarker);
    if (!controls_.timerEnabled)
        deppoint();
}

void Simulation::setMarqueRouge(int column)
{
    state_.marqueRouge = std::int16_t(validColumn(column) ? column : kNoMarker);
    if (!controls_.timerEnabled)
        deppoint();
}

void Simulation::updateMarkerLabels()
{
    const auto label = [](int column) {
        return column == kNoMarker ? QString() : formatGeneral(rope::abscissa(column)) + QStringLiteral(" m");
    };
    // Every tick asks: the texts are made again only when a marker moved.
    const std::array<int, 2> columns{state_.marqueBleue, state_.marqueRouge};
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (labelledColumns_[i] != columns[i]) {
            controls_.labeli[i] = label(columns[i]);
            labelledColumns_[i] = columns[i];
        }
}

// ---------------------------------------------------------------------------
// Chronometer

QString Simulation::chronoText(double hundredths)
{
    double s = hundredths / 100.0;
    const double h = std::floor(s / 3600.0);
    s -= 3600.0 * h;
    const double m = std::floor(s / 60.0);
    s -= 60.0 * m;
    QString text;
    if (h != 0)
        text = formatGeneral(h) + QStringLiteral(" h ");
    if (h != 0 || m != 0)
        text += formatGeneral(m) + QStringLiteral(" min ");
    return text + formatPattern(s, QStringLiteral("#0.00")) + QStringLiteral(" s");
}

void Simulation::Command3_Click()
{
    if (!controls_.chronoRunning) {
        controls_.chronoRunning = true;
        state_.chrono = 0.0;
        controls_.label4 = QStringLiteral("0");
    } else {
        controls_.chronoRunning = false;
    }
    emit controlsChanged();
}

void Simulation::Command5_Click()
{
    state_.chrono = 0.0;
    controls_.label4 = QStringLiteral("0");
    emit controlsChanged();
}

void Simulation::zeroChronometer()
{
    if (!controls_.chronoRunning)
        Command3_Click();
    else
        state_.chrono = 0.0;
}

void Simulation::chronometerStep(int interval)
{
    if (!controls_.chronoRunning)
        return;
    state_.chrono += interval / 10.0;
    controls_.label4 = chronoText(state_.chrono);
}

// ---------------------------------------------------------------------------
// Time graph

int Simulation::durationSeconds(int index)
{
    return index >= 1 && index <= 10 ? kDurations[index - 1] : 0;
}

QString Simulation::durationLabel(int index)
{
    const int s = durationSeconds(index);
    if (s == 0)
        return QString();
    return s < 60 ? QString::number(s) + QStringLiteral(" s") : QString::number(s / 60) + QStringLiteral(" min");
}

void Simulation::setDurationIndex(int index)
{
    state_.tempsGraphe = 0.0;
    if (durationSeconds(index) != 0) {
        durationIndex_ = index;
        state_.dureeGraphe = std::int16_t(durationSeconds(index));
    }
    // A recording under way starts again on the new frame, from the rope as
    // it is now.
    if (controls_.recording)
        beginRecording();
    else
        prepagraph();
    emit controlsChanged();
}

void Simulation::prepagraph()
{
    graph_.prepare(state_.dureeGraphe);
    emit graphChanged();
}

void Simulation::startGraph()
{
    if (state_.marqueBleue != kNoMarker || state_.marqueRouge != kNoMarker) {
        beginRecording();
    } else {
        controls_.recording = false;
    }
}

void Simulation::Command6_Click()
{
    if (!controls_.recording) {
        if (state_.marqueBleue == kNoMarker && state_.marqueRouge == kNoMarker) {
            messages_.critical(QStringLiteral("Commande impossible"),
                               QStringLiteral("Placer un marqueur sur la corde pour obtenir un graphe."));
            return;
        }
        beginRecording();
    } else {
        controls_.recording = false;
    }
    emit controlsChanged();
}

void Simulation::beginRecording()
{
    controls_.recording = true;
    prepagraph();
    state_.tempsGraphe = 0.0;
    // The first point is the rope as it is now, at the chronometer's time:
    // the displacement is made again from the deformations, which the
    // control that started the recording may just have emptied or added to.
    ropeModel().refresh(state_, propagation::dureeMotif(state_), drive_);
    plotGraphPoint();
}

// Each point is the rope at the graph's time tempsGraphe, the time the
// chronometer shows at the same tick: the tick moves the rope, then the
// graph's clock, then plots.
void Simulation::graphStep(int interval)
{
    if (!controls_.recording)
        return;
    state_.tempsGraphe += interval / 1000.0;
    plotGraphPoint();

    // The recording ends with its last point at or just past the duration
    // (column 730): when the next one would fall beyond it.
    if (state_.tempsGraphe + interval / 1000.0 > state_.dureeGraphe + 0.01) {
        if (controls_.check1)
            state_.chrono = 0.0;
        Command6_Click();
        if (controls_.check2)
            Command6_Click();
        else if (controls_.chronoRunning && controls_.check1)
            Command3_Click();
    }
}

void Simulation::plotGraphPoint()
{
    const bool blue = validColumn(state_.marqueBleue);
    const bool red = validColumn(state_.marqueRouge);
    const double yB = blue ? state_.deplacement[std::size_t(state_.marqueBleue)] : 0.0;
    const double yR = red ? state_.deplacement[std::size_t(state_.marqueRouge)] : 0.0;
    const double x = GraphRecording::kOriginX + GraphRecording::kSpanX * state_.tempsGraphe / state_.dureeGraphe;
    const double rowB = GraphRecording::kZeroRow - yB;
    const double rowR = GraphRecording::kZeroRow + 1 - yR;

    if (state_.tempsGraphe == 0.0) {
        if (blue)
            graph_.plotDot(GraphRecording::kOriginX, rowB, false);
        if (red)
            graph_.plotDot(GraphRecording::kOriginX, rowR, true);
    } else {
        if (blue)
            graph_.plotLine(state_.dernierX, state_.dernierYBleu, x, rowB, false);
        if (red)
            graph_.plotLine(state_.dernierX, state_.dernierYRouge, x, rowR, true);
    }
    graph_.record({state_.tempsGraphe, blue ? std::optional<double>(yB) : std::nullopt,
                   red ? std::optional<double>(yR) : std::nullopt});
    state_.dernierX = pixel16(x);
    if (blue)
        state_.dernierYBleu = pixel16(rowB);
    if (red)
        state_.dernierYRouge = pixel16(rowR);
    emit graphChanged();
}

}  // namespace tolvi
