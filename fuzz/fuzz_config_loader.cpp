// Fuzzing the configuration loader: any file, loaded into a fresh simulation
// through its handlers, never crashes nor hangs, leaves a consistent state,
// and the animation runs on from it.

#include "config/config_loader.h"
#include "platform/messages.h"
#include "platform/random_source.h"
#include "sim/simulation.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>
#include <memory>

using namespace tolvi;

namespace {
class SilentMessages : public Messages {
public:
    Answer ask(MessageKind kind, const QString&, const QString&) override { return defaultAnswer(kind); }
};

QString scratchPath()
{
    const QString shm = QStringLiteral("/dev/shm");
    const QString folder = QDir(shm).exists() ? shm : QDir::tempPath();
    return folder + QStringLiteral("/tolvi-fuzz-config-%1.P15").arg(QCoreApplication::applicationPid());
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QString path = scratchPath();
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    SilentMessages messages;
    SeededRandom random;
    Simulation sim(messages, random);
    QString title;
    ConfigLoadHooks hooks;
    hooks.setTitle = [&title](const QString& t) { title = t; };
    const ConfigLoadResult result = chargeConfig(sim, messages, path, hooks);

    if ((result == ConfigLoadResult::Loaded) != !title.isEmpty())
        std::abort();
    const SimState& s = sim.state();
    for (int m : {int(s.marqueRouge), int(s.marqueBleue)})
        if (m != -1 && (m < 50 || m > 750))
            std::abort();
    if (s.typeOnde < 0 || s.typeOnde > 2 || s.typeBout < 0 || s.typeBout > 2)
        std::abort();
    if (sim.durationIndex() < 1 || sim.durationIndex() > 10)
        std::abort();
    // Whatever the texts held, the validated parameters are in their ranges.
    if (!(s.frequence >= 0.1f && s.frequence <= 5.0f) || !(s.duree > 0.0f) || !(s.celerite > 0.0))
        std::abort();
    // The state saves again (the entry texts may be refused, never crash).
    RecordImage image;
    encodeConfig(configFromState(sim), image);
    for (int i = 0; i < 5; ++i)
        sim.Timer1_Timer();
    return 0;
}
