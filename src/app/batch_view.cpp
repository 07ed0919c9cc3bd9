// Batch options of the window's zoom, its full screen and projection layout,
// and the photographs of the rope.
#include "app/batch.h"
#include "app/program.h"
#include "mainwin/feuille_p.h"
#include "mainwin/zoom.h"
#include "mainwin/zoom_commands.h"
#include "sim/simulation.h"

#include <QRegularExpression>

namespace tolvi {

namespace {
std::optional<QSize> screenSize(const QString& value)
{
    static const QRegularExpression form(QStringLiteral("^\\s*(\\d{3,5})\\s*[xX×]\\s*(\\d{3,5})\\s*$"));
    const QRegularExpressionMatch m = form.match(value);
    if (!m.hasMatch())
        return std::nullopt;
    const QSize size(m.captured(1).toInt(), m.captured(2).toInt());
    if (size.width() < 640 || size.height() < 480 || size.width() > 7680 || size.height() > 4320)
        return std::nullopt;
    return size;
}
}  // namespace

void addViewOptions(BatchOptions& options)
{
    options.push_back(
        {QStringLiteral("--zoom"), QStringLiteral("F"),
         QStringLiteral("dispose toute la fenêtre à F fois sa taille (de 0,5 à 4), comme « Agrandir » et "
                        "« Réduire » ; --snapshot l'enregistre à cette taille"),
         QStringLiteral("--zoom 2 --snapshot fenetre-x2.png"),
         [](const QString& v) -> std::optional<QString> {
             if (checkNumber(v) || !(batchNumber(v) >= zoom::kSmallest && batchNumber(v) <= zoom::kLargest))
                 return QStringLiteral("un nombre de 0,5 à 4 est attendu");
             return std::nullopt;
         },
         [](BatchContext& ctx, const QString& v) {
             ctx.program.window().setZoom(batchNumber(v));
             return true;
         }});
    options.push_back(
        {QStringLiteral("--full-screen"), QStringLiteral("LxH"),
         QStringLiteral("dispose la fenêtre comme « Plein écran » (F11) sur un écran de L × H pixels : toute la "
                        "fenêtre agrandie, ou la disposition pour projeter si --projection 1 précède"),
         QStringLiteral("--projection 1 --full-screen 1920x1080 --snapshot projection.png"),
         [](const QString& v) -> std::optional<QString> {
             if (!screenSize(v))
                 return QStringLiteral("une taille d'écran comme 1920x1080 est attendue (de 640x480 à 7680x4320)");
             return std::nullopt;
         },
         [](BatchContext& ctx, const QString& v) {
             ZoomCommands& zoom = ctx.program.zoomCommands();
             zoom.leaveFullScreen();
             zoom.enterFullScreen(QRect(QPoint(0, 0), *screenSize(v)), false);
             return true;
         }});
    options.push_back(
        {QStringLiteral("--projection"), QStringLiteral("0|1"),
         QStringLiteral("choisit en plein écran sur un écran large la disposition pour projeter (1 : la corde et "
                        "le graphe sur toute la largeur, les commandes en grand) ou toute la fenêtre (0)"),
         QStringLiteral("--projection 1 --full-screen 1920x1080 --snapshot projection.png"), checkZeroOne,
         [](BatchContext& ctx, const QString& v) {
             ctx.program.zoomCommands().setProjectionPreferred(batchInteger(v) == 1);
             return true;
         }});
    options.push_back({QStringLiteral("--photo"), QString(),
                       QStringLiteral("photographie la corde comme « Photographier la corde » (P) : son aspect à "
                                      "cet instant reste en pâle sous la corde, avec son temps (trois au plus)"),
                       QStringLiteral("--start --advance 1 --photo --advance 1 --photo --rope-image corde.png"),
                       nullptr,
                       [](BatchContext& ctx, const QString&) {
                           ctx.program.simulation().photograph();
                           return true;
                       }});
    options.push_back({QStringLiteral("--clear-photos"), QString(),
                       QStringLiteral("efface les photographies de la corde comme « Effacer les photographies »"),
                       QStringLiteral("--photo --clear-photos --rope-image corde.png"), nullptr,
                       [](BatchContext& ctx, const QString&) {
                           ctx.program.simulation().clearPhotos();
                           return true;
                       }});
}

}  // namespace tolvi
