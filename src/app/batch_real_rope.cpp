// Batch options of the real rope, the plucked rope and the hand on the source.
#include "app/batch.h"
#include "app/program.h"
#include "platform/file_read.h"
#include "sim/simulation.h"
#include "sim/spectrum.h"

namespace tolvi {

namespace {
std::optional<QString> checkRange(const QString& v, double low, double high, const QString& what)
{
    if (checkNumber(v) || !(batchNumber(v) >= low && batchNumber(v) <= high))
        return what;
    return std::nullopt;
}
}  // namespace

void addRealRopeOptions(BatchOptions& options)
{
    options.push_back({QStringLiteral("--real-rope"), QStringLiteral("0|1"),
                       QStringLiteral("coche (1) ou décoche (0) « Corde réelle : réflexions aux deux extrémités » "
                                      "comme un clic : la source tient la corde et renvoie renversé ce qui lui "
                                      "revient, les ondes s'amortissent ; la corde est vidée"),
                       QStringLiteral("--real-rope 1 --end 1 --wave 2"), checkZeroOne,
                       [](BatchContext& ctx, const QString& v) {
                           ctx.program.simulation().setCordeReelle(batchInteger(v) == 1);
                           return true;
                       }});
    options.push_back({QStringLiteral("--damping"), QStringLiteral("P"),
                       QStringLiteral("« Amortissement » de la corde réelle : P pour cent de l'amplitude perdus par "
                                      "mètre parcouru, de 0 à 50 (1 au départ)"),
                       QStringLiteral("--damping 2,5 --real-rope 1 --end 1"),
                       [](const QString& v) {
                           return checkRange(v, 0.0, 50.0, QStringLiteral("un pourcentage de 0 à 50 est attendu"));
                       },
                       [](BatchContext& ctx, const QString& v) {
                           ctx.program.simulation().setAmortissement(batchNumber(v));
                           return true;
                       }});
    options.push_back({QStringLiteral("--pluck"), QStringLiteral("X"),
                       QStringLiteral("« Pincer la corde » à X mètres de la source (0,05 à 6,95) : corde réelle, "
                                      "extrémité fixe, la corde écartée de l'amplitude puis lâchée"),
                       QStringLiteral("--pluck 1,4 --advance 7 --rope-csv corde.csv"),
                       [](const QString& v) {
                           return checkRange(v, 0.05, 6.95, QStringLiteral("une abscisse de 0,05 à 6,95 m est attendue"));
                       },
                       [](BatchContext& ctx, const QString& v) {
                           ctx.program.simulation().pincer(batchNumber(v));
                           return true;
                       }});
    options.push_back({QStringLiteral("--hand"), QStringLiteral("0|1"),
                       QStringLiteral("coche (1) ou décoche (0) « À la main » : la règle rouge suit la main ; la "
                                      "corde est vidée"),
                       QStringLiteral("--hand 1 --hand-to 30 --advance 0,2 --hand-to 0 --advance 3"), checkZeroOne,
                       [](BatchContext& ctx, const QString& v) {
                           ctx.program.simulation().setALaMain(batchInteger(v) == 1);
                           return true;
                       }});
    options.push_back({QStringLiteral("--hand-to"), QStringLiteral("CM"),
                       QStringLiteral("la main porte la règle à CM centimètres (-40 à 40), « À la main » coché "
                                      "d'abord s'il ne l'est pas ; la source y est au tic suivant"),
                       QStringLiteral("--hand-to 30 --advance 0,2 --hand-to 0 --advance 3"),
                       [](const QString& v) {
                           return checkRange(v, -40.0, 40.0, QStringLiteral("une hauteur de -40 à 40 cm est attendue"));
                       },
                       [](BatchContext& ctx, const QString& v) {
                           Simulation& sim = ctx.program.simulation();
                           sim.setALaMain(true);
                           sim.setPositionMain(batchNumber(v));
                           return true;
                       }});
    options.push_back(
        {QStringLiteral("--source-file"), QStringLiteral("FICHIER"),
         QStringLiteral("fait suivre à la source, à partir de maintenant, le mouvement lu dans FICHIER : une ligne "
                        "« t;u » par point (t en s, u en cm, virgule ou point décimal), interpolé entre les "
                        "points, 0 avant le premier, la dernière valeur après ; la corde est vidée"),
         QStringLiteral("--source-file main.csv --advance 5 --graph-csv graphe.csv"), checkNotEmpty,
         [](BatchContext& ctx, const QString& v) {
             const FileBytes file = readWholeFile(v, 16 * 1024 * 1024);
             if (!file.ok()) {
                 ctx.error = QStringLiteral("Lecture impossible du mouvement de la source %1").arg(v);
                 return false;
             }
             QString why;
             auto motion = tableMotion(QString::fromUtf8(file.bytes), &why);
             if (!motion) {
                 ctx.error = QStringLiteral("Mouvement de la source %1 : %2").arg(v, why);
                 return false;
             }
             ctx.program.simulation().setMouvementSource(std::move(*motion));
             return true;
         }});
    options.push_back(
        {QStringLiteral("--source-formula"), QStringLiteral("FORMULE"),
         QStringLiteral("fait suivre à la source, à partir de maintenant, u = FORMULE en cm, fonction du temps t "
                        "en s, écrite comme pour la calculatrice (angles en radians) ; la corde est vidée"),
         QStringLiteral("--source-formula \"1*SIN(2*3.14159265*t)\" --real-rope 1 --end 1 --advance 30"),
         checkNotEmpty,
         [](BatchContext& ctx, const QString& v) {
             QString why;
             auto motion = formulaMotion(v, &why);
             if (!motion) {
                 ctx.error = QStringLiteral("Formule du mouvement de la source « %1 » : %2").arg(v, why);
                 return false;
             }
             ctx.program.simulation().setMouvementSource(std::move(*motion));
             return true;
         }});
    options.push_back({QStringLiteral("--graph-spectrum"), QStringLiteral("FICHIER"),
                       QStringLiteral("écrit le spectre de l'enregistrement du graphe (f en Hz ; amplitudes A1 et "
                                      "A2 en cm aux marqueurs bleu et rouge, aux fréquences k ÷ durée enregistrée) "
                                      "au format CSV français, par exemple après --pluck 1,4 --record --advance 21"),
                       QStringLiteral("--graph-spectrum spectre.csv"), checkNotEmpty,
                       [](BatchContext& ctx, const QString& v) {
                           return writeTextFile(ctx, v, spectrumCsv(ctx.program.simulation().graph().points()));
                       }});
}

}  // namespace tolvi
