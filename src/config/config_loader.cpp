#include "config/config_loader.h"

#include "platform/file_read.h"
#include "platform/messages.h"
#include "sim/simulation.h"

#include <QDir>
#include <QFileInfo>

namespace tolvi {

namespace {

void run(const std::function<void()>& hook)
{
    if (hook)
        hook();
}

// Applies the records the reading allows, in record order, each as the
// user's click on its control would.
void applyRecords(Simulation& sim, const ConfigReading& reading)
{
    using namespace configrec;
    const ConfigRecords& v = reading.values;
    for (int i = 0; i < 5; ++i)
        if (reading.applies(kFirstEntry + i))
            sim.setTextfreq(i, reading.texts[std::size_t(kFirstEntry - 1 + i)]);
    // An option whose record is "1" is selected (its handler runs); the
    // others are only cleared, which runs nothing.
    for (int i = 0; i < 3; ++i)
        if (reading.applies(kFirstWave + i) && v.wave[std::size_t(i)])
            sim.selectOptpert(i);
    for (int i = 0; i < 3; ++i)
        if (reading.applies(kFirstEnd + i) && v.farEnd[std::size_t(i)])
            sim.selectOptbout(i);
    if (reading.applies(kStartTogether))
        sim.setCheck1(v.startTogether);
    if (reading.applies(kContinuous))
        sim.setCheck2(v.continuous);
    if (reading.applies(kSymmetric))
        sim.setChecksi(v.symmetric);
    if (reading.applies(kDuration) && v.durationIndex != sim.durationIndex())
        sim.setDurationIndex(v.durationIndex);
    if (reading.applies(kRedMarker))
        sim.setMarqueRouge(v.redMarker);
    if (reading.applies(kBlueMarker))
        sim.setMarqueBleue(v.blueMarker);
}

// The restored texts become the parameters. Besides the frequency box (the
// validation a user's leaving the first box runs), every box is brought into
// its range: a file edited by hand must not give a negative duration or a
// zero linear mass that no typing could give.
void validateEntries(Simulation& sim)
{
    for (int i = TfFrequence; i <= TfDuree; ++i)
        sim.Textfreq_LostFocus(i);
}

}  // namespace

QString configTitle(const QString& path)
{
    return kConfigTitlePrefix + QDir::toNativeSeparators(path);
}

ConfigLoadResult chargeConfig(Simulation& sim, Messages& messages, const QString& cheminConfig,
                              const ConfigLoadHooks& hooks)
{
    run(hooks.showWaiting);
    // A FIFO or a device named by an exercise is refused as the open dialog
    // refuses it, before anything is opened.
    if (fileNature(cheminConfig) == FileNature::Special) {
        messages.critical(kOpenRefusedTitle, kOpenRefusedText);
        return ConfigLoadResult::Unreadable;
    }
    const ConfigReading reading = readConfig(cheminConfig);
    switch (reading.status) {
    case ConfigReadStatus::WrongMagic:
        messages.critical(kConfigWrongMagicTitle, kConfigWrongMagicText);
        return ConfigLoadResult::WrongMagic;
    case ConfigReadStatus::Unreadable:
        messages.critical(kConfigReadErrorTitle, kConfigReadErrorText);
        return ConfigLoadResult::Unreadable;
    case ConfigReadStatus::Damaged:
        // What came before the damaged record is kept, and the entry texts
        // it restored become the parameters; the file is not named as loaded
        // and nothing is started.
        applyRecords(sim, reading);
        messages.critical(kConfigReadErrorTitle, kConfigReadErrorText);
        run(hooks.closeDialog);
        validateEntries(sim);
        return ConfigLoadResult::Damaged;
    case ConfigReadStatus::Ok:
        break;
    }
    applyRecords(sim, reading);
    run(hooks.closeDialog);
    validateEntries(sim);
    if (hooks.setTitle)
        hooks.setTitle(configTitle(cheminConfig));
    run(hooks.processEvents);
    // A configuration saved without markers has no graph to record: the
    // graph command would only answer "Placer un marqueur…" to the file
    // Tolvi itself wrote.
    const bool hasMarker = sim.state().marqueBleue != Simulation::kNoMarker || sim.state().marqueRouge != Simulation::kNoMarker;
    if (!sim.controls().recording && hasMarker)
        sim.Command6_Click();
    if (!sim.controls().demarRunning)
        sim.demar_Click();
    return ConfigLoadResult::Loaded;
}

ConfigRecords configFromState(const Simulation& sim)
{
    const SimState& s = sim.state();
    const ControlsState& c = sim.controls();
    ConfigRecords r;
    r.entries = c.textfreq;
    for (int i = 0; i < 3; ++i) {
        r.wave[std::size_t(i)] = s.typeOnde == i;
        r.farEnd[std::size_t(i)] = s.typeBout == i;
    }
    r.startTogether = c.check1;
    r.continuous = c.check2;
    r.symmetric = s.symetrique;
    r.durationIndex = sim.durationIndex();
    r.redMarker = s.marqueRouge;
    r.blueMarker = s.marqueBleue;
    return r;
}

bool saveConfiguration(const Simulation& sim, Messages& messages, const QString& path)
{
    const RecordStatus status = saveConfig(path, configFromState(sim));
    if (status.ok())
        return true;
    // A text no record can hold is named; anything else is the disk's fault.
    const bool refusedText = status.error == RecordError::Unencodable || status.error == RecordError::TooLong;
    messages.critical(kConfigWriteErrorTitle, refusedText && !status.message.isEmpty() ? status.message
                                                                                     : kConfigWriteErrorText);
    return false;
}

std::optional<ConfigLoadResult> openConfiguration(Simulation& sim, Messages& messages, QString& cheminConfig,
                                                  const QString& ficharge, const ConfigLoadHooks& hooks)
{
    if (trimBlanks(ficharge).isEmpty())
        return std::nullopt;
    cheminConfig = ficharge;
    if (!isRegularFile(cheminConfig)) {
        messages.critical(kOpenRefusedTitle, kOpenRefusedText);
        return std::nullopt;
    }
    return chargeConfig(sim, messages, cheminConfig, hooks);
}

std::optional<QString> saveName(const QString& text, const QString& directory)
{
    // Windows' separators ("Z:\classe\onde") are folders there too.
    QString name = QDir::fromNativeSeparators(trimBlanks(text));
    // The extension rule concerns the name only: a dot in a folder's name
    // stays where it is.
    const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
    QString folder = slash >= 0 ? name.left(slash + 1) : QString();
    name = name.mid(slash + 1);
    if (const qsizetype dot = name.indexOf(QLatin1Char('.')); dot >= 0) {
        name.truncate(dot);
        while (name.endsWith(QLatin1Char(' ')))
            name.chop(1);
    }
    if (trimBlanks(name).isEmpty())
        return std::nullopt;
    // No folder (the current one was deleted): the name stays relative, and
    // the save refuses it instead of writing at the root.
    if (slash < 0 && !directory.isEmpty()) {
        folder = directory;
        if (!folder.endsWith(QLatin1Char('/')))
            folder += QLatin1Char('/');
    }
    const QString path = folder + name + QStringLiteral(".P15");
    if (QFileInfo::exists(path))
        return path;
    // A configuration written on Windows may be "name.p15" or "NAME.P15":
    // that file is the one saved over (after the overwrite question), never
    // a second one beside it that only the letter case tells apart.
    const QString wanted = name + QStringLiteral(".P15");
    const QStringList entries = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& entry : entries)
        if (entry.compare(wanted, Qt::CaseInsensitive) == 0)
            return folder + entry;
    return path;
}

}  // namespace tolvi
