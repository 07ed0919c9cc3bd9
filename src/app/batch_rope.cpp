// Batch options of the rope, its wave and the main window.
#include "app/batch.h"
#include "app/program.h"
#include "mainwin/feuille_p.h"
#include "sim/rope_photos.h"
#include "sim/rope_profile.h"

#include <QImage>

namespace tolvi {

namespace {
const QString kStartGreyedText =
    QStringLiteral("« Démarrer » n'est pas disponible : la fenêtre grise le bouton (onde solitaire de plus de "
                   "55 cm à la source).");
}  // namespace

void addRopeOptions(BatchOptions& options)
{
    options.push_back({QStringLiteral("--wave"), QStringLiteral("N"),
                       QStringLiteral("choisit l'onde comme un clic : 0 solitaire, 1 périodique, 2 sinusoïdale"),
                       QStringLiteral("--wave 2"), [](const QString& v) { return checkInteger(v, 0, 2); },
                       [](BatchContext& ctx, const QString& v) {
                           ctx.program.simulation().selectOptpert(batchInteger(v));
                           return true;
                       }});
    options.push_back({QStringLiteral("--end"), QStringLiteral("N"),
                       QStringLiteral("choisit l'extrémité comme un clic : 0 amortisseur, 1 fixe, 2 libre"),
                       QStringLiteral("--end 1"), [](const QString& v) { return checkInteger(v, 0, 2); },
                       [](BatchContext& ctx, const QString& v) {
                           ctx.program.simulation().selectOptbout(batchInteger(v));
                           return true;
                       }});
    options.push_back({QStringLiteral("--symmetric"), QStringLiteral("0|1"),
                       QStringLiteral("coche (1) ou décoche (0) « Déformation symétrique » comme un clic"),
                       QStringLiteral("--symmetric 1"), checkZeroOne,
                       [](BatchContext& ctx, const QString& v) {
                           ctx.program.simulation().setChecksi(batchInteger(v) == 1);
                           return true;
                       }});
    options.push_back(
        {QStringLiteral("--text"), QStringLiteral("I=TEXTE"),
         QStringLiteral("écrit TEXTE dans la case de paramètre I (0 fréquence, 1 masse linéique, 2 tension, "
                        "3 amplitude, 4 durée) puis la valide comme en quittant la case : la corde se vide, et "
                        "une onde périodique ou sinusoïdale en cours repart de la source 50 ms plus tard"),
         QStringLiteral("--text 2=2,5"),
         [](const QString& v) -> std::optional<QString> {
             const qsizetype eq = v.indexOf(QLatin1Char('='));
             if (eq <= 0 || checkInteger(v.left(eq), 0, 4))
                 return QStringLiteral("la forme I=TEXTE est attendue, avec I de 0 à 4");
             return std::nullopt;
         },
         [](BatchContext& ctx, const QString& v) {
             const qsizetype eq = v.indexOf(QLatin1Char('='));
             const int index = batchInteger(v.left(eq));
             ctx.program.simulation().setTextfreq(index, v.mid(eq + 1));
             ctx.program.simulation().Textfreq_LostFocus(index);
             return true;
         }});
    // A script says what it wants, not which caption the button shows:
    // choosing a periodic or sinusoidal wave (--wave, a configuration)
    // already starts it, and a press then would stop it. A press the window
    // would not let a user make (the button greyed) is not made either.
    options.push_back({QStringLiteral("--start"), QString(),
                       QStringLiteral("fait partir l'onde : l'onde solitaire envoie une déformation, comme un clic "
                                      "sur « Démarrer » ; l'onde périodique ou sinusoïdale démarre si elle est "
                                      "arrêtée et continue si elle tourne déjà ; l'animation reprend si elle était "
                                      "en pause. Quand la fenêtre grise « Démarrer » (onde solitaire de plus de "
                                      "55 cm à la source), le bouton n'est pas pressé et l'exécution s'arrête "
                                      "(code 1)"),
                       QStringLiteral("--start --advance 3"), nullptr,
                       [](BatchContext& ctx, const QString&) {
                           Simulation& sim = ctx.program.simulation();
                           if (sim.state().typeOnde != OndeSolitaire && sim.controls().demarRunning) {
                               sim.setTimerEnabled(true);
                               return true;
                           }
                           if (!sim.controls().demarEnabled) {
                               ctx.error = kStartGreyedText;
                               return false;
                           }
                           sim.demar_Click();
                           return true;
                       }});
    options.push_back({QStringLiteral("--stop"), QString(),
                       QStringLiteral("arrête l'onde périodique ou sinusoïdale qui tourne, comme un clic sur "
                                      "« Arrêter » : les déformations déjà parties finissent leur trajet "
                                      "(sans effet sinon)"),
                       QStringLiteral("--stop --advance 4"), nullptr,
                       [](BatchContext& ctx, const QString&) {
                           Simulation& sim = ctx.program.simulation();
                           if (sim.state().typeOnde != OndeSolitaire && sim.controls().demarRunning)
                               sim.demar_Click();
                           return true;
                       }});
    options.push_back(
        {QStringLiteral("--advance"), QStringLiteral("SECONDES"),
         QStringLiteral("fait avancer l'animation, sans attendre, d'au moins SECONDES de temps simulé"),
         QStringLiteral("--advance 2,5"),
         [](const QString& v) -> std::optional<QString> {
             if (checkNumber(v) || batchNumber(v) < 0 || batchNumber(v) > 86400)
                 return QStringLiteral("une durée de 0 à 86 400 secondes est attendue");
             return std::nullopt;
         },
         [](BatchContext& ctx, const QString& v) {
             ctx.program.simulation().advance(batchNumber(v));
             return true;
         }});
    options.push_back({QStringLiteral("--rope-csv"), QStringLiteral("FICHIER"),
                       QStringLiteral("écrit la corde (x en m ; u en cm, colonnes 50 à 750) au format CSV français, "
                                      "puis u de chaque photographie de la corde dans une colonne de plus"),
                       QStringLiteral("--rope-csv corde.csv"), checkNotEmpty,
                       [](BatchContext& ctx, const QString& v) {
                           const Simulation& sim = ctx.program.simulation();
                           return writeTextFile(ctx, v, ropeCsvWithPhotos(sim.state(), sim.photos()));
                       }});
    options.push_back({QStringLiteral("--rope-image"), QStringLiteral("FICHIER"),
                       QStringLiteral("enregistre l'image de la corde au format PNG"),
                       QStringLiteral("--rope-image corde.png"), checkNotEmpty,
                       [](BatchContext& ctx, const QString& v) {
                           return writeImageFile(ctx, v, ctx.program.simulation().ropeImage(ctx.scale));
                       }});
    options.push_back({QStringLiteral("--snapshot"), QStringLiteral("FICHIER"),
                       QStringLiteral("enregistre toute la fenêtre principale au format PNG"),
                       QStringLiteral("--snapshot fenetre.png"), checkNotEmpty,
                       [](BatchContext& ctx, const QString& v) {
                           return writeImageFile(ctx, v, ctx.program.window().snapshot(ctx.scale));
                       }});
    options.push_back(
        {QStringLiteral("--scale"), QStringLiteral("F"),
         QStringLiteral("images et captures suivantes à F pixels par pixel d'écran (de 1 à 4, 1 par défaut), "
                        "comme sur un écran à F × 100 %"),
         QStringLiteral("--scale 2 --rope-image corde@2x.png"),
         [](const QString& v) -> std::optional<QString> {
             if (checkNumber(v) || !(batchNumber(v) >= 1.0 && batchNumber(v) <= 4.0))
                 return QStringLiteral("un nombre de 1 à 4 est attendu");
             return std::nullopt;
         },
         [](BatchContext& ctx, const QString& v) {
             ctx.scale = batchNumber(v);
             return true;
         }});
    options.push_back({QStringLiteral("--tab"), QStringLiteral("N"),
                       QStringLiteral("choisit l'onglet N comme un clic : 1 Corde, 2 Onde, 3 Outils"),
                       QStringLiteral("--tab 3"), [](const QString& v) { return checkInteger(v, 1, 3); },
                       [](BatchContext& ctx, const QString& v) {
                           ctx.program.window().selectTab(batchInteger(v));
                           return true;
                       }});
}

}  // namespace tolvi
