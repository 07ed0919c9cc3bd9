// Batch options of the measuring tools: markers, chronometer, time graph.
#include "app/batch.h"
#include "app/program.h"

#include <QImage>

namespace tolvi {

void addMeasureOptions(BatchOptions& options)
{
    options.push_back(
        {QStringLiteral("--marker"), QStringLiteral("blue|red=COLONNE"),
         QStringLiteral("place le marqueur bleu ou rouge sur la colonne 50 à 750 de la corde, -1 l'enlève"),
         QStringLiteral("--marker red=550"),
         [](const QString& v) -> std::optional<QString> {
             const qsizetype eq = v.indexOf(QLatin1Char('='));
             const QString colour = v.left(eq);
             if (eq <= 0 || (colour != QLatin1String("blue") && colour != QLatin1String("red")))
                 return QStringLiteral("la forme blue=COLONNE ou red=COLONNE est attendue");
             bool ok = false;
             const int column = v.mid(eq + 1).trimmed().toInt(&ok);
             if (!ok || (column != -1 && (column < 50 || column > 750)))
                 return QStringLiteral("une colonne de 50 à 750, ou -1, est attendue");
             return std::nullopt;
         },
         [](BatchContext& ctx, const QString& v) {
             const qsizetype eq = v.indexOf(QLatin1Char('='));
             const int column = batchInteger(v.mid(eq + 1));
             if (v.left(eq) == QLatin1String("blue"))
                 ctx.program.simulation().setMarqueBleue(column);
             else
                 ctx.program.simulation().setMarqueRouge(column);
             return true;
         }});
    options.push_back({QStringLiteral("--record"), QString(),
                       QStringLiteral("appuie sur le bouton du graphe (« Enregistrer » / « Arrêter »)"),
                       QStringLiteral("--record"), nullptr,
                       [](BatchContext& ctx, const QString&) {
                           ctx.program.simulation().Command6_Click();
                           return true;
                       }});
    options.push_back({QStringLiteral("--chrono"), QString(),
                       QStringLiteral("appuie sur le bouton du chronomètre (« Marche » / « Arrêt »)"),
                       QStringLiteral("--chrono"), nullptr,
                       [](BatchContext& ctx, const QString&) {
                           ctx.program.simulation().Command3_Click();
                           return true;
                       }});
    options.push_back({QStringLiteral("--duration-index"), QStringLiteral("N"),
                       QStringLiteral("choisit la durée d'enregistrement n° N (1 = 1 s ... 4 = 10 s ... 10 = 10 min)"),
                       QStringLiteral("--duration-index 3"), [](const QString& v) { return checkInteger(v, 1, 10); },
                       [](BatchContext& ctx, const QString& v) {
                           ctx.program.simulation().setDurationIndex(batchInteger(v));
                           return true;
                       }});
    options.push_back({QStringLiteral("--check1"), QStringLiteral("0|1"),
                       QStringLiteral("« Démarrer simultanément l'onde, le chronomètre et le graphe » : cochée, "
                                      "tout ce qui fait partir ou repartir l'onde (« Démarrer », le choix d'une onde "
                                      "périodique ou sinusoïdale, une case validée ou une extrémité choisie pendant "
                                      "qu'elle tourne) remet le chronomètre à zéro et commence un graphe"),
                       QStringLiteral("--check1 1"), checkZeroOne,
                       [](BatchContext& ctx, const QString& v) {
                           ctx.program.simulation().setCheck1(batchInteger(v) == 1);
                           return true;
                       }});
    options.push_back({QStringLiteral("--check2"), QStringLiteral("0|1"), QStringLiteral("« Enregistrement continu »"),
                       QStringLiteral("--check2 1"), checkZeroOne,
                       [](BatchContext& ctx, const QString& v) {
                           ctx.program.simulation().setCheck2(batchInteger(v) == 1);
                           return true;
                       }});
    options.push_back({QStringLiteral("--graph-image"), QStringLiteral("FICHIER"),
                       QStringLiteral("enregistre l'image du graphe au format PNG"),
                       QStringLiteral("--graph-image graphe.png"), checkNotEmpty,
                       [](BatchContext& ctx, const QString& v) {
                           return writeImageFile(ctx, v, ctx.program.simulation().graphImage(ctx.scale));
                       }});
    options.push_back({QStringLiteral("--graph-csv"), QStringLiteral("FICHIER"),
                       QStringLiteral("écrit l'enregistrement du graphe au format CSV français : t en s, la date que le "
                                      "chronomètre montre au même instant (0 au début de l'enregistrement, qui est la "
                                      "corde à ce moment) ; u1 et u2 en cm, la corde aux marqueurs à cette date"),
                       QStringLiteral("--graph-csv graphe.csv"), checkNotEmpty,
                       [](BatchContext& ctx, const QString& v) {
                           return writeTextFile(ctx, v, ctx.program.simulation().graph().csv());
                       }});
    options.push_back({QStringLiteral("--chrono-text"), QString(),
                       QStringLiteral("écrit sur la sortie standard le texte affiché par le chronomètre"),
                       QStringLiteral("--chrono-text"), nullptr,
                       [](BatchContext& ctx, const QString&) {
                           ctx.out << ctx.program.simulation().controls().label4 << '\n';
                           return true;
                       }});
}

}  // namespace tolvi
