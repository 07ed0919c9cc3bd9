// Batch options of configuration files: loading as "OUVRIR" does, saving as
// "ENREGISTRER" does (an existing file is replaced without a question).
#include "app/batch.h"
#include "app/program.h"
#include "config/config_loader.h"
#include "mainwin/feuille_p.h"
#include "platform/file_save.h"

#include <QDir>

namespace tolvi {

void addConfigOptions(BatchOptions& options)
{
    options.push_back(
        {QStringLiteral("--config"), QStringLiteral("FICHIER"),
         QStringLiteral("ouvre une configuration (.P15) comme le bouton « OUVRIR » : l'onde et le graphe démarrent"),
         QStringLiteral("--config essai.P15"), checkNotEmpty,
         [](BatchContext& ctx, const QString& v) {
             Program& p = ctx.program;
             ConfigLoadHooks hooks;
             hooks.setTitle = [&p](const QString& title) { p.window().setWindowTitle(title); };
             const std::optional<ConfigLoadResult> result =
                 openConfiguration(p.simulation(), p.messages(), p.shared().cheminConfig, v, hooks);
             if (result != ConfigLoadResult::Loaded) {
                 ctx.error = QStringLiteral("Configuration non chargée : %1").arg(v);
                 return false;
             }
             return true;
         }});
    options.push_back(
        {QStringLiteral("--save-config"), QStringLiteral("FICHIER"),
         QStringLiteral("enregistre la configuration actuelle comme le bouton « ENREGISTRER » "
                        "(extension remplacée par .P15, fichier existant remplacé)"),
         QStringLiteral("--save-config essai"), nullptr,
         [](BatchContext& ctx, const QString& v) {
             Program& p = ctx.program;
             const std::optional<QString> path = saveName(v, currentFolder().value_or(QString()));
             if (!path) {
                 p.messages().critical(kSaveNoNameTitle, kSaveNoNameText);
                 ctx.error = QStringLiteral("Configuration non enregistrée : nom vide");
                 return false;
             }
             p.shared().cheminConfig = *path;
             if (!saveConfiguration(p.simulation(), p.messages(), *path)) {
                 ctx.error = QStringLiteral("Configuration non enregistrée : %1").arg(QDir::toNativeSeparators(*path));
                 return false;
             }
             p.window().setWindowTitle(configTitle(*path));
             ctx.out << QStringLiteral("Configuration enregistrée : %1\n").arg(QDir::toNativeSeparators(*path));
             return true;
         }});
}

}  // namespace tolvi
