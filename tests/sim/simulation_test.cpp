// The wave controls and parameter boxes: captions, greying, the rope emptied
// when the experiment changes, validation and clamping.
#include "platform/messages.h"
#include "platform/random_source.h"
#include "sim/simulation.h"

#include <gtest/gtest.h>
#include <cmath>

using namespace tolvi;

namespace {
struct Fixture : ::testing::Test {
    ScriptedMessages messages;
    SeededRandom random;
    Simulation sim{messages, random};
    void SetUp() override
    {
        sim.readParameters();
        sim.selectOptpert(OndeSolitaire);
    }
};
}  // namespace

using WaveControls = Fixture;
using ParameterBoxes = Fixture;

TEST_F(WaveControls, SolitaryWaveSendsOnePulsePerPress)
{
    EXPECT_EQ(sim.controls().demarCaption(), QStringLiteral("Démarrer"));
    EXPECT_FALSE(sim.controls().textfreqEnabled[TfFrequence]);
    EXPECT_TRUE(sim.controls().textfreqEnabled[TfDuree]);
    EXPECT_TRUE(sim.controls().checksiEnabled);
    for (int i = 0; i < 3; ++i)
        sim.demar_Click();
    EXPECT_EQ(sim.state().nbDef, 3);
    EXPECT_EQ(sim.controls().demarCaption(), QStringLiteral("Démarrer"));
    // Three 40 cm pulses pressed at once add up to 120 cm at the source:
    // the button greys until the sum falls back.
    sim.setTextfreq(TfAmplitude, "40");
    sim.Textfreq_LostFocus(TfAmplitude);
    EXPECT_EQ(sim.state().nbDef, 0);  // a validated box empties the rope
    sim.demar_Click();
    bool greyed = false;
    for (int i = 0; i < 10; ++i) {
        sim.Timer1_Timer();
        greyed = greyed || !sim.controls().demarEnabled;
    }
    EXPECT_FALSE(greyed) << "a single 40 cm pulse never disables the button";
    sim.selectOptpert(OndeSolitaire);
    sim.demar_Click();
    sim.demar_Click();
    for (int i = 0; i < 10 && !greyed; ++i) {
        sim.Timer1_Timer();
        greyed = !sim.controls().demarEnabled;
    }
    EXPECT_TRUE(greyed);
    for (int i = 0; i < 100; ++i)
        sim.Timer1_Timer();
    EXPECT_TRUE(sim.controls().demarEnabled);
}

TEST_F(WaveControls, ChoosingAPeriodicWaveUngreysTheButtonAtOnce)
{
    sim.setTextfreq(TfAmplitude, "40");
    sim.Textfreq_LostFocus(TfAmplitude);
    for (int i = 0; i < 3; ++i)
        sim.demar_Click();
    for (int i = 0; i < 10 && sim.controls().demarEnabled; ++i)
        sim.Timer1_Timer();
    ASSERT_FALSE(sim.controls().demarEnabled);
    sim.selectOptpert(OndePeriodique);
    EXPECT_EQ(sim.controls().demarCaption(), QStringLiteral("Arrêter"));
    EXPECT_TRUE(sim.controls().demarEnabled) << "before any tick";
}

TEST_F(WaveControls, ATickTellsTheWindowsOfTheControlsOnlyWhenItChangedThem)
{
    int told = 0;
    QObject::connect(&sim, &Simulation::controlsChanged, [&] { ++told; });
    sim.demar_Click();  // a pulse on its way: the rope moves, no control does
    sim.Timer1_Timer();  // the first tick writes the markers' abscissas
    told = 0;
    for (int i = 0; i < 5; ++i)
        sim.Timer1_Timer();
    EXPECT_EQ(told, 0);
    // The chronometer's text changes at every tick while it runs.
    sim.Command3_Click();
    told = 0;
    for (int i = 0; i < 5; ++i)
        sim.Timer1_Timer();
    EXPECT_EQ(told, 5);
    EXPECT_NE(sim.controls().label4, QStringLiteral("0"));
}

TEST_F(WaveControls, PeriodicAndSineStartAtOnceAndToggle)
{
    sim.demar_Click();
    sim.selectOptpert(OndePeriodique);
    EXPECT_EQ(sim.state().nbDef, 0);
    EXPECT_EQ(sim.controls().demarCaption(), QStringLiteral("Arrêter"));
    EXPECT_TRUE(sim.controls().textfreqEnabled[TfFrequence]);
    EXPECT_EQ(sim.state().ecoule, 450);  // 2 Hz: 500 ms - 50
    sim.demar_Click();
    EXPECT_EQ(sim.controls().demarCaption(), QStringLiteral("Démarrer"));
    sim.demar_Click();
    EXPECT_EQ(sim.controls().demarCaption(), QStringLiteral("Arrêter"));

    sim.selectOptpert(OndeSinusoidale);
    EXPECT_FALSE(sim.controls().checksiEnabled);
    EXPECT_FALSE(sim.controls().textfreqEnabled[TfDuree]);
    EXPECT_TRUE(sim.controls().textfreqEnabled[TfFrequence]);
    sim.selectOptpert(OndePeriodique);
    EXPECT_TRUE(sim.controls().checksiEnabled);
    EXPECT_TRUE(sim.controls().textfreqEnabled[TfDuree]);
}

TEST_F(WaveControls, LeftOverStopCaptionOnSolitaryBecomesStart)
{
    sim.selectOptpert(OndePeriodique);
    sim.state().typeOnde = OndeSolitaire;  // as a loader might leave it
    sim.demar_Click();
    EXPECT_EQ(sim.state().nbDef, 1);
    EXPECT_EQ(sim.controls().demarCaption(), QStringLiteral("Démarrer"));
}

TEST_F(WaveControls, FarEndAndSymmetryEmptyTheRopeAndResumeThePausedTimer)
{
    sim.selectOptpert(OndePeriodique);
    sim.advance(2.0);
    ASSERT_GT(sim.state().nbDef, 0);
    sim.command16_Click();
    EXPECT_FALSE(sim.timerEnabled());
    sim.selectOptbout(BoutFixe);
    EXPECT_TRUE(sim.timerEnabled());
    EXPECT_EQ(sim.state().nbDef, 0);
    EXPECT_EQ(sim.controls().demarCaption(), QStringLiteral("Arrêter"));  // keeps running
    EXPECT_EQ(sim.background().pixelColor(770, 51), QColor(Qt::black));  // clamp drawn

    sim.advance(1.0);
    ASSERT_GT(sim.state().nbDef, 0);
    sim.setChecksi(true);
    EXPECT_EQ(sim.state().nbDef, 0);
    EXPECT_TRUE(sim.state().symetrique);
    // For a sine the symmetry does not matter: the rope is kept.
    sim.selectOptpert(OndeSinusoidale);
    sim.advance(1.0);
    const int before = sim.state().nbDef;
    ASSERT_GT(before, 0);
    sim.Checksi_Click();
    EXPECT_EQ(sim.state().nbDef, before);
}

TEST_F(ParameterBoxes, KeyFilterLetsDigitsCommaBackspaceEnterOnly)
{
    for (char c : QByteArray("0123456789,\b")) {
        if (c == 0)
            continue;
        QChar key(c);
        EXPECT_TRUE(sim.Textfreq_KeyPress(TfAmplitude, key)) << int(c);
        EXPECT_EQ(key, QChar(c));
    }
    QChar dot('.');
    EXPECT_TRUE(sim.Textfreq_KeyPress(TfFrequence, dot));
    EXPECT_EQ(dot, QChar(','));
    for (char c : QByteArray("-+ aE;e")) {
        QChar key(c);
        EXPECT_FALSE(sim.Textfreq_KeyPress(TfAmplitude, key)) << c;
        EXPECT_EQ(key, QChar(0));
    }
    // Enter validates at once.
    sim.setTextfreq(TfAmplitude, "75");
    QChar enter(13);
    EXPECT_TRUE(sim.Textfreq_KeyPress(TfAmplitude, enter));
    EXPECT_EQ(sim.controls().textfreq[TfAmplitude], QStringLiteral("40"));
}

TEST_F(ParameterBoxes, ValidationClampsFormatsAndRereadsEverything)
{
    struct Case {
        int index;
        const char* typed;
        const char* shown;
    } cases[] = {
        {TfAmplitude, "75", "40"},   {TfAmplitude, "", "1"},         {TfAmplitude, "0", "1"},
        {TfDuree, "1000", "1 000"},  {TfDuree, "1 000", "1 000"},    {TfDuree, "50", "100"},
        {TfFrequence, "3,5", "3,50"}, {TfFrequence, "2,345", "2,35"}, {TfFrequence, "9", "5,00"},
        {TfTension, "0,04", "0,1"},  {TfMasse, "1000", "500"},        {TfMasse, "abc", "50"},
        {TfFrequence, "1,2,3", "0,10"},
    };
    for (const Case& c : cases) {
        sim.setTextfreq(c.index, QString::fromUtf8(c.typed));
        sim.Textfreq_LostFocus(c.index);
        EXPECT_EQ(sim.controls().textfreq[c.index], QString::fromUtf8(c.shown)) << c.typed;
    }
    // The values come from the texts as shown.
    EXPECT_FLOAT_EQ(sim.state().frequence, 0.1f);
    EXPECT_FLOAT_EQ(sim.state().duree, 0.1f);
    EXPECT_FLOAT_EQ(sim.state().demiAmplitude, 0.5f);
    EXPECT_NEAR(sim.state().celerite, std::sqrt(0.1 / 0.05), 1e-9);
    sim.setTextfreq(TfTension, "10");
    sim.Textfreq_LostFocus(TfTension);
    sim.setTextfreq(TfMasse, "50");
    sim.Textfreq_LostFocus(TfMasse);
    EXPECT_NEAR(sim.state().celerite, 14.142, 1e-3);
}

TEST_F(ParameterBoxes, LeavingABoxEmptiesTheRopeEvenUnchanged)
{
    sim.demar_Click();
    ASSERT_EQ(sim.state().nbDef, 1);
    sim.command16_Click();  // paused
    sim.Textfreq_LostFocus(TfMasse);
    EXPECT_EQ(sim.state().nbDef, 0);
    EXPECT_TRUE(sim.timerEnabled());
    EXPECT_EQ(sim.controls().textfreq[TfMasse], QStringLiteral("100"));
}

TEST_F(ParameterBoxes, StartingTextsGiveTheStartingValues)
{
    EXPECT_FLOAT_EQ(sim.state().frequence, 2.0f);
    EXPECT_FLOAT_EQ(sim.state().demiAmplitude, 10.0f);
    EXPECT_FLOAT_EQ(sim.state().duree, 0.5f);
    EXPECT_DOUBLE_EQ(sim.state().celerite, 2.0);
    EXPECT_TRUE(messages.asked().empty());
}

TEST_F(WaveControls, CorrectionInTheTickFixesTheTextOnce)
{
    sim.setTextfreq(TfFrequence, "3");
    sim.Textfreq_LostFocus(TfFrequence);
    sim.selectOptpert(OndePeriodique);
    sim.Timer1_Timer();
    sim.Timer1_Timer();
    ASSERT_EQ(messages.asked().size(), 1u);
    EXPECT_EQ(messages.asked()[0].title, QStringLiteral("Fréquence modifiée"));
    EXPECT_EQ(sim.controls().textfreq[TfFrequence], QStringLiteral("2,00"));
}

TEST_F(WaveControls, CorrectedTextIsShownBeforeItsMessage)
{
    // A window mirrors the controls on each signal; what it shows when the
    // message box appears must already be the corrected text.
    struct Recorder : Messages {
        const Simulation* sim = nullptr;
        QString shownWhenAsked;
        QString mirrored;
        Answer ask(MessageKind, const QString&, const QString&) override
        {
            shownWhenAsked = mirrored;
            return Answer::Ok;
        }
    } recorder;
    SeededRandom seeded;
    Simulation s(recorder, seeded);
    QObject::connect(&s, &Simulation::controlsChanged,
                     [&] { recorder.mirrored = s.controls().textfreq[TfFrequence]; });
    s.readParameters();
    s.selectOptpert(OndePeriodique);
    s.setTextfreq(TfFrequence, "3,5");
    s.Textfreq_LostFocus(TfFrequence);
    ASSERT_EQ(recorder.mirrored, QStringLiteral("3,50"));
    s.Timer1_Timer();
    EXPECT_EQ(recorder.shownWhenAsked, QStringLiteral("2,00"));
}

TEST_F(ParameterBoxes, ActivationReadsAnEditedBoxAsLeavingItWould)
{
    // Typed but not validated (the user went to another program and came
    // back): the simulation takes the clamped value, the box keeps its text
    // until it is left.
    const struct {
        int index;
        const char* typed;
    } edits[] = {{TfAmplitude, "75"}, {TfDuree, "5000"}, {TfFrequence, "2,345"}, {TfTension, "50"}, {TfMasse, "5"}};
    for (const auto& e : edits)
        sim.setTextfreq(e.index, QString::fromUtf8(e.typed));
    sim.readParameters();
    EXPECT_FLOAT_EQ(sim.state().demiAmplitude, 20.0f);
    EXPECT_FLOAT_EQ(sim.state().duree, 1.0f);
    EXPECT_FLOAT_EQ(sim.state().frequence, 2.35f);
    EXPECT_NEAR(sim.state().celerite, std::sqrt(10.0 / 0.05), 1e-9);
    EXPECT_EQ(sim.controls().textfreq[TfAmplitude], QStringLiteral("75"));
    // Leaving the box then shows what the simulation already uses.
    sim.Textfreq_LostFocus(TfAmplitude);
    EXPECT_EQ(sim.controls().textfreq[TfAmplitude], QStringLiteral("40"));
    EXPECT_FLOAT_EQ(sim.state().demiAmplitude, 20.0f);
    // Unreadable text leaves the value as it was.
    sim.setTextfreq(TfAmplitude, "abc");
    sim.readParameters();
    EXPECT_FLOAT_EQ(sim.state().demiAmplitude, 20.0f);
}
