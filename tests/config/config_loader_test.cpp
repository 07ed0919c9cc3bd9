// Saving and loading configurations through the simulation's handlers: the
// file a fresh start-up saves, every field kept through a save and a load,
// what loading starts, and the files it refuses.
#include "../mainwin/window_fixture.h"
#include "config/config_loader.h"
#include "same_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cmath>

using namespace tolvi;
using tolvi::testing::shownPath;

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// One 128-byte record as the program writes it.
QByteArray record(const QByteArray& text)
{
    QByteArray r(kRecordSize, '\0');
    r[0] = char(text.size() & 0xff);
    r[1] = char(text.size() >> 8);
    r.replace(2, text.size(), text);
    return r;
}

// The texts of a configuration file as given, whole records.
QByteArray image(const QList<QByteArray>& texts)
{
    QByteArray bytes;
    for (const QByteArray& t : texts)
        bytes += record(t);
    return bytes;
}

QList<QByteArray> defaultTexts()
{
    return {"TOLVI", "2,00", "100", "0,4", "20", "500", "1", "0", "0", "1", "0", "0", "0", "0", "0", " 4", " 425", " 300"};
}

class ConfigLoaderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    // Loads into `s`, counting the titles set.
    ConfigLoadResult load(Simulation& s, const QString& file)
    {
        ConfigLoadHooks hooks;
        hooks.setTitle = [this](const QString& t) { titles << t; };
        hooks.closeDialog = [this] { ++closed; };
        return chargeConfig(s, messages, file, hooks);
    }

    QTemporaryDir dir;
    ScriptedMessages messages;
    SeededRandom random;
    QStringList titles;
    int closed = 0;
};

}  // namespace

TEST_F(ConfigLoaderTest, SavedRightAfterStartUpIsTheStartUpImage)
{
    SharedState shared;
    Simulation sim(messages, random);
    FeuilleP window(sim, shared, messages);
    window.setProgramDirectory(dir.path());
    window.Form_Load();
    window.timer1().stop();

    const QString file = path("depart.P15");
    ASSERT_TRUE(saveConfiguration(sim, messages, file));
    const QByteArray bytes = fileBytes(file);
    EXPECT_EQ(bytes.size(), 18 * 128);
    EXPECT_EQ(bytes, image(defaultTexts()));
    EXPECT_TRUE(messages.asked().empty());
}

TEST_F(ConfigLoaderTest, EveryFieldSurvivesASaveAndALoad)
{
    struct Setup {
        std::array<const char*, 5> texts;
        int wave, end;
        bool check1, check2, symmetric;
        int duration, red, blue;
    } setups[] = {
        {{"3,5", "250", "2,5", "35", "1200"}, OndeSinusoidale, BoutFixe, true, true, true, 7, 600, Simulation::kNoMarker},
        {{"0,1", "50", "10", "1", "100"}, OndePeriodique, BoutLibre, false, true, false, 1, Simulation::kNoMarker, 750},
        {{"5", "500", "0,1", "40", "1000"}, OndeSolitaire, BoutAmortisseur, true, false, true, 10, 50, 51},
    };
    int n = 0;
    for (const Setup& u : setups) {
        SCOPED_TRACE(n);
        Simulation a(messages, random);
        a.selectOptpert(u.wave);
        for (int i = 0; i < 5; ++i) {
            a.setTextfreq(i, QString::fromUtf8(u.texts[std::size_t(i)]));
            a.Textfreq_LostFocus(i);
        }
        a.selectOptbout(u.end);
        a.setCheck1(u.check1);
        a.setCheck2(u.check2);
        a.setChecksi(u.symmetric);
        a.setDurationIndex(u.duration);
        a.setMarqueRouge(u.red);
        a.setMarqueBleue(u.blue);
        const ConfigRecords saved = configFromState(a);

        const QString file = path("essai") + QString::number(n++) + QStringLiteral(".P15");
        ASSERT_TRUE(saveConfiguration(a, messages, file));
        Simulation b(messages, random);
        EXPECT_EQ(load(b, file), ConfigLoadResult::Loaded);
        EXPECT_EQ(configFromState(b), saved);
        EXPECT_EQ(b.controls().textfreq, a.controls().textfreq);
        EXPECT_EQ(b.state().frequence, a.state().frequence);
        EXPECT_EQ(b.state().demiAmplitude, a.state().demiAmplitude);
        EXPECT_EQ(b.state().duree, a.state().duree);
        EXPECT_DOUBLE_EQ(b.state().celerite, a.state().celerite);
        EXPECT_EQ(b.state().dureeGraphe, a.state().dureeGraphe);
        EXPECT_EQ(titles.value(titles.size() - 1), QStringLiteral("Tolvi - ") + shownPath(file));
        EXPECT_TRUE(messages.asked().empty());
        EXPECT_TRUE(b.controls().recording);
    }
    EXPECT_EQ(closed, 3);
}

TEST_F(ConfigLoaderTest, LoadingStartsWhatIsStoppedAndLeavesRunningWhatRuns)
{
    QList<QByteArray> periodic = defaultTexts();
    periodic[6] = "0";
    periodic[7] = "1";
    const QString periodicFile = path("periodique.P15");
    writeBytes(periodicFile, image(periodic));
    const QString solitaryFile = path("solitaire.P15");
    writeBytes(solitaryFile, image(defaultTexts()));

    // Wave running, graph recording: both keep running.
    Simulation running(messages, random);
    running.selectOptpert(OndePeriodique);
    running.Command6_Click();
    ASSERT_TRUE(running.controls().demarRunning);
    ASSERT_TRUE(running.controls().recording);
    EXPECT_EQ(load(running, periodicFile), ConfigLoadResult::Loaded);
    EXPECT_TRUE(running.controls().demarRunning);
    EXPECT_TRUE(running.controls().recording);

    // Everything stopped: the graph records and the wave starts.
    Simulation stopped(messages, random);
    stopped.selectOptpert(OndePeriodique);
    stopped.demar_Click();
    ASSERT_FALSE(stopped.controls().demarRunning);
    ASSERT_FALSE(stopped.controls().recording);
    EXPECT_EQ(load(stopped, periodicFile), ConfigLoadResult::Loaded);
    EXPECT_TRUE(stopped.controls().demarRunning);
    EXPECT_TRUE(stopped.controls().recording);

    // A solitary wave starts by sending one pulse.
    Simulation solitary(messages, random);
    EXPECT_EQ(load(solitary, solitaryFile), ConfigLoadResult::Loaded);
    EXPECT_EQ(solitary.state().typeOnde, OndeSolitaire);
    EXPECT_EQ(solitary.state().nbDef, 1);
    EXPECT_TRUE(solitary.controls().recording);
    EXPECT_TRUE(messages.asked().empty());

    // No marker on the rope: nothing to record, so no graph and no message
    // about it (the file is Tolvi's own); the wave still starts.
    QList<QByteArray> noMarker = periodic;
    noMarker[16] = "-1";
    noMarker[17] = "-1";
    const QString noMarkerFile = path("sans.P15");
    writeBytes(noMarkerFile, image(noMarker));
    Simulation bare(messages, random);
    bare.selectOptpert(OndePeriodique);
    bare.demar_Click();
    EXPECT_EQ(load(bare, noMarkerFile), ConfigLoadResult::Loaded);
    EXPECT_TRUE(messages.asked().empty());
    EXPECT_FALSE(bare.controls().recording);
    EXPECT_TRUE(bare.controls().demarRunning);
    EXPECT_EQ(bare.state().marqueRouge, Simulation::kNoMarker);
    EXPECT_EQ(bare.state().marqueBleue, Simulation::kNoMarker);
}

// A configuration's wave starts from the source 50 ms after it is opened, at
// the configuration's own frequency, whatever frequency was in force before;
// its graph starts at the same moment as the chronometer.
TEST_F(ConfigLoaderTest, AnOpenedWaveLeavesFiftyMillisecondsAfterTheOpeningAtItsOwnFrequency)
{
    struct Case {
        const char* frequence;
        int wave;
        int step;  // ms, the ticks that frequency gives
    } cases[] = {{"4,00", 2, 12}, {"0,50", 2, 100}, {"1,00", 1, 50}, {"0,50", 1, 50}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frequence);
        QList<QByteArray> texts = defaultTexts();
        texts[1] = c.frequence;
        texts[6] = "0";
        texts[6 + c.wave] = "1";
        texts[12] = "1";  // start the three together
        texts[17] = " 50";  // blue marker on the source
        const QString file = path("onde.P15");
        writeBytes(file, image(texts));

        Simulation sim(messages, random);  // 2 Hz, as at start-up
        sim.readParameters();
        ASSERT_EQ(load(sim, file), ConfigLoadResult::Loaded);
        ASSERT_TRUE(sim.controls().recording);
        ASSERT_TRUE(sim.controls().chronoRunning);
        // Ticks until the source moves.
        double moved = -1;
        for (int i = 0; i < 400 && moved < 0; ++i) {
            sim.Timer1_Timer();
            if (std::fabs(sim.state().deplacement[50]) > 1e-3)
                moved = sim.state().chrono / 100.0;
        }
        EXPECT_GT(moved, 0.05);
        EXPECT_LE(moved, 0.05 + c.step / 1000.0 + 1e-9);
        // The graph saw it at the same date.
        const auto& points = sim.graph().points();
        ASSERT_FALSE(points.empty());
        EXPECT_NEAR(points.back().t, moved, 1e-9);
        EXPECT_NE(*points.back().bleu, 0.0);
        EXPECT_NEAR(*points[points.size() - 2].bleu, 0.0, 1e-3);
    }
}

TEST_F(ConfigLoaderTest, RecordsAreReadByTheLoadersRules)
{
    QList<QByteArray> t = defaultTexts();
    t[1] = "3,25";        // verbatim, then validated
    t[2] = "9999";        // out of range: brought into it as typing would
    t[5] = "-1";
    t[6] = "1";           // two waves selected: the later one wins
    t[8] = "1";
    t[9] = "0";           // no far end selected: the current one stays
    t[12] = " 1";         // not exactly "1": clear
    t[13] = "01";
    t[14] = "";
    t[15] = "12";         // no such duration: UpDown1 stays
    t[16] = "425";
    t[17] = "-1";
    const QString file = path("regles.P15");
    writeBytes(file, image(t));

    Simulation s(messages, random);
    s.selectOptbout(BoutFixe);
    s.setCheck1(true);
    s.setCheck2(true);
    s.setChecksi(true);
    s.setDurationIndex(6);
    EXPECT_EQ(load(s, file), ConfigLoadResult::Loaded);
    EXPECT_EQ(s.state().typeOnde, OndeSinusoidale);
    EXPECT_EQ(s.state().typeBout, BoutFixe);
    EXPECT_FALSE(s.controls().check1);
    EXPECT_FALSE(s.controls().check2);
    EXPECT_FALSE(s.state().symetrique);
    EXPECT_EQ(s.durationIndex(), 6);
    EXPECT_EQ(s.state().marqueRouge, 425);
    EXPECT_EQ(s.state().marqueBleue, Simulation::kNoMarker);
    EXPECT_EQ(s.controls().textfreq[0], QStringLiteral("3,25"));
    EXPECT_FLOAT_EQ(s.state().frequence, 3.25f);
    EXPECT_EQ(s.controls().textfreq[1], QStringLiteral("500"));
    EXPECT_EQ(s.controls().textfreq[4], QStringLiteral("100"));
    EXPECT_FLOAT_EQ(s.state().duree, 0.1f);
    EXPECT_DOUBLE_EQ(s.state().celerite, std::sqrt(0.4 / 0.5));
}

TEST_F(ConfigLoaderTest, RefusedFilesChangeNothingAndLeaveNoFileBehind)
{
    QList<QByteArray> lower = defaultTexts();
    lower[0] = "tolvi";
    QList<QByteArray> blank = defaultTexts();
    blank[0] = "TOLVI ";
    QList<QByteArray> other = defaultTexts();
    other[1] = "4,00";
    other[7] = "1";
    writeBytes(path("minuscules.P15"), image(lower) );
    writeBytes(path("blanc.P15"), image(blank));
    writeBytes(path("vide.P15"), QByteArray());

    struct Case {
        QString file;
        ConfigLoadResult result;
        QString title;
        QString text;
    } cases[] = {
        {path("minuscules.P15"), ConfigLoadResult::WrongMagic, kConfigWrongMagicTitle, kConfigWrongMagicText},
        {path("blanc.P15"), ConfigLoadResult::WrongMagic, kConfigWrongMagicTitle, kConfigWrongMagicText},
        {path("vide.P15"), ConfigLoadResult::WrongMagic, kConfigWrongMagicTitle, kConfigWrongMagicText},
        {path("absent.P15"), ConfigLoadResult::WrongMagic, kConfigWrongMagicTitle, kConfigWrongMagicText},
        {path("nulle/part/absent.P15"), ConfigLoadResult::Unreadable, kConfigReadErrorTitle, kConfigReadErrorText},
        {dir.path(), ConfigLoadResult::Unreadable, kConfigReadErrorTitle, kConfigReadErrorText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        messages.clear();
        Simulation s(messages, random);
        s.selectOptpert(OndePeriodique);
        const ConfigRecords before = configFromState(s);
        const bool running = s.controls().demarRunning;
        EXPECT_EQ(load(s, c.file), c.result);
        ASSERT_EQ(messages.asked().size(), 1u);
        EXPECT_EQ(messages.asked()[0].kind, MessageKind::Critical);
        EXPECT_EQ(messages.asked()[0].title, c.title);
        EXPECT_EQ(messages.asked()[0].text, c.text);
        EXPECT_EQ(configFromState(s), before);
        EXPECT_EQ(s.controls().demarRunning, running);
        EXPECT_FALSE(s.controls().recording);
    }
    EXPECT_TRUE(titles.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(path("absent.P15")));
    EXPECT_FALSE(QFileInfo::exists(path("nulle")));
}

TEST_F(ConfigLoaderTest, ADamagedRecordStopsTheLoadAndAShortFileLoadsAsFarAsItGoes)
{
    // Record 8 claims 200 bytes: the texts and Optpert(0) are applied, nothing after.
    QList<QByteArray> t = defaultTexts();
    t[1] = "4,50";
    t[9] = "0";
    t[11] = "1";
    QByteArray bytes = image(t);
    bytes[7 * 128] = char(200);
    const QString damaged = path("abime.P15");
    writeBytes(damaged, bytes);

    Simulation s(messages, random);
    s.selectOptpert(OndeSinusoidale);
    s.selectOptbout(BoutFixe);
    s.setMarqueRouge(700);
    EXPECT_EQ(load(s, damaged), ConfigLoadResult::Damaged);
    ASSERT_EQ(messages.asked().size(), 1u);
    EXPECT_EQ(messages.asked()[0].title, kConfigReadErrorTitle);
    EXPECT_EQ(messages.asked()[0].text, kConfigReadErrorText);
    EXPECT_EQ(messages.asked()[0].kind, MessageKind::Critical);
    EXPECT_EQ(s.controls().textfreq[0], QStringLiteral("4,50"));
    EXPECT_FLOAT_EQ(s.state().frequence, 4.5f);
    EXPECT_EQ(s.state().typeOnde, OndeSolitaire);
    EXPECT_EQ(s.state().typeBout, BoutFixe);
    EXPECT_EQ(s.state().marqueRouge, 700);
    EXPECT_FALSE(s.controls().recording);
    EXPECT_EQ(s.state().nbDef, 0);
    EXPECT_TRUE(titles.isEmpty());

    // Six records, the last cut right after its text: the missing records
    // read as empty (no option selected, boxes clear, no marker).
    messages.clear();
    QByteArray shortFile = image(t.mid(0, 5));
    shortFile += record("800").left(2 + 3);
    const QString cut = path("court.P15");
    writeBytes(cut, shortFile);
    Simulation c(messages, random);
    c.selectOptbout(BoutLibre);
    c.setCheck2(true);
    EXPECT_EQ(load(c, cut), ConfigLoadResult::Loaded);
    EXPECT_EQ(c.controls().textfreq[0], QStringLiteral("4,50"));
    EXPECT_EQ(c.controls().textfreq[4], QStringLiteral("800"));
    EXPECT_EQ(c.state().typeBout, BoutLibre);
    EXPECT_FALSE(c.controls().check2);
    EXPECT_EQ(c.state().marqueRouge, Simulation::kNoMarker);
    EXPECT_EQ(c.state().marqueBleue, Simulation::kNoMarker);
    EXPECT_EQ(titles, QStringList{QStringLiteral("Tolvi - ") + shownPath(cut)});
    EXPECT_TRUE(messages.asked().empty());
    EXPECT_FALSE(c.controls().recording);
    EXPECT_TRUE(c.controls().demarRunning);
}

TEST_F(ConfigLoaderTest, AFailedSaveSaysSoAndKeepsThePreviousFile)
{
    Simulation s(messages, random);
    const QString file = path("garde.P15");
    ASSERT_TRUE(saveConfiguration(s, messages, file));
    const QByteArray old = fileBytes(file);

    s.setTextfreq(0, QStringLiteral("2,00 \u4e00"));  // no Windows-1252 byte for it
    EXPECT_FALSE(saveConfiguration(s, messages, file));
    s.setTextfreq(0, QStringLiteral("2,00"));
    EXPECT_FALSE(saveConfiguration(s, messages, path("nulle/part/x.P15")));
    ASSERT_EQ(messages.asked().size(), 2u);
    for (const auto& a : messages.asked()) {
        EXPECT_EQ(a.kind, MessageKind::Critical);
        EXPECT_EQ(a.title, kConfigWriteErrorTitle);
    }
    EXPECT_TRUE(messages.asked()[0].text.contains(QStringLiteral("\u4e00")));
    EXPECT_EQ(messages.asked()[1].text, kConfigWriteErrorText);
    EXPECT_EQ(fileBytes(file), old);
    EXPECT_FALSE(QFileInfo::exists(path("nulle")));
}
