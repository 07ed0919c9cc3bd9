// Batch options of slow motion and step-by-step: the presses of "Pas à pas",
// the choice of "Ralenti", and the animation left to run in real time.
#include "app/batch.h"
#include "app/program.h"
#include "mainwin/feuille_p.h"
#include "mainwin/pacing_controls.h"
#include "sim/pacing.h"
#include "text/french_numbers.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace tolvi {

namespace {

// "12 pas ; 0,600 s de temps simulé"
QString pacingLine(long long ticks, long long simulatedMs)
{
    return QStringLiteral("%1 pas ; %2 s de temps simulé")
        .arg(ticks)
        .arg(formatPattern(double(simulatedMs) / 1000.0, QStringLiteral("0.000")));
}

}  // namespace

void addPacingOptions(BatchOptions& options)
{
    options.push_back(
        {QStringLiteral("--slow"), QStringLiteral("F"),
         QStringLiteral("choisit le ralenti comme le bouton « Ralenti » : 1, 1/2, 1/5 ou 1/10 du temps réel "
                        "(pour --run ; le temps simulé par pas ne change pas)"),
         QStringLiteral("--slow 1/5"),
         [](const QString& v) -> std::optional<QString> {
             if (!Pacing::parseSpeed(v))
                 return QStringLiteral("1, 1/2, 1/5 ou 1/10 est attendu");
             return std::nullopt;
         },
         [](BatchContext& ctx, const QString& v) {
             ctx.program.window().pacing()->setDivisor(*Pacing::parseSpeed(v));
             return true;
         }});
    options.push_back(
        {QStringLiteral("--step"), QStringLiteral("N"),
         QStringLiteral("met l'animation en pause puis appuie N fois sur « Pas à pas » (un intervalle de temps "
                        "par appui) et écrit le nombre de pas et le temps simulé"),
         QStringLiteral("--step 10"), [](const QString& v) { return checkInteger(v, 0, 1000000); },
         [](BatchContext& ctx, const QString& v) {
             Simulation& sim = ctx.program.simulation();
             sim.setTimerEnabled(false);
             long long simulated = 0;
             const int presses = batchInteger(v);
             for (int i = 0; i < presses; ++i)
                 simulated += pasAPas(sim);
             ctx.out << pacingLine(presses, simulated) << '\n';
             return true;
         }});
    options.push_back(
        {QStringLiteral("--run"), QStringLiteral("SECONDES"),
         QStringLiteral("laisse tourner l'animation SECONDES de temps réel au rythme de son minuteur et du "
                        "ralenti choisi, puis écrit le nombre de pas et le temps simulé"),
         QStringLiteral("--slow 1/2 --run 2"),
         [](const QString& v) -> std::optional<QString> {
             if (checkNumber(v) || batchNumber(v) < 0 || batchNumber(v) > 3600)
                 return QStringLiteral("une durée de 0 à 3 600 secondes est attendue");
             return std::nullopt;
         },
         [](BatchContext& ctx, const QString& v) {
             Simulation& sim = ctx.program.simulation();
             long long ticks = 0;
             long long simulated = 0;
             // After the tick: the interval it advanced.
             const QMetaObject::Connection counting =
                 QObject::connect(&ctx.program.window().timer1(), &QTimer::timeout, &sim, [&] {
                     ++ticks;
                     simulated += sim.controls().timerInterval;
                 });
             QEventLoop loop;
             QTimer::singleShot(int(batchNumber(v) * 1000.0), Qt::PreciseTimer, &loop, &QEventLoop::quit);
             loop.exec();
             QObject::disconnect(counting);
             ctx.out << pacingLine(ticks, simulated) << '\n';
             return true;
         }});
}

}  // namespace tolvi
