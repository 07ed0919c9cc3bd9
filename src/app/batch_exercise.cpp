// Batch options of the exercises: open one as the launcher asks, its
// correction, the getting-started activity, and the exercise text as RTF or
// plain text.
#include "app/batch.h"
#include "app/program.h"
#include "platform/file_save.h"
#include "exercises/exercise_menu.h"
#include "exercises/rtf_reader.h"
#include "mainwin/feuille_p.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QTextEdit>

namespace tolvi {

namespace {
// Runs a text command with its file dialog answered by `path`.
void withChosenFile(BatchContext& ctx, const QString& path, bool saving, void (Fichexo::*command)())
{
    ExerciseMenu& menu = ctx.program.exercises();
    ExerciseDialogs& dialogs = menu.context().dialogs;
    const ExerciseDialogs kept = dialogs;
    // A relative name stays relative when the current folder is gone: the
    // save then refuses it rather than writing at the root.
    const QString chosen = QFileInfo(path).isRelative() && !currentFolder() ? path : QFileInfo(path).absoluteFilePath();
    const auto answer = [chosen](QWidget*) -> std::optional<QString> { return chosen; };
    (saving ? dialogs.saveText : dialogs.openText) = answer;
    menu.run(command);
    dialogs = kept;
}
}  // namespace

void addExerciseOptions(BatchOptions& options)
{
    options.push_back(
        {QStringLiteral("--exercise"), QStringLiteral("FICHIER"),
         QStringLiteral("ouvre un exercice (.E33) comme le demande le lanceur : énoncé et configuration"),
         QStringLiteral("--exercise CELERITE.E33"), checkNotEmpty,
         [](BatchContext& ctx, const QString& v) {
             const QString path = QFileInfo(v).absoluteFilePath();
             ctx.program.exercises().openRequest(path);
             if (ctx.program.window().fich()->text() != path) {
                 ctx.error = QStringLiteral("L'exercice %1 n'a pas pu être ouvert.").arg(v);
                 return false;
             }
             // As after the launcher's request.
             ctx.program.shared().exoOuvert = 1;
             return true;
         }});
    options.push_back({QStringLiteral("--correction"), QString(),
                       QStringLiteral("« Voir la correction » de l'exercice ouvert"),
                       QStringLiteral("--exercise CELERITE.E33 --correction"), nullptr,
                       [](BatchContext& ctx, const QString&) {
                           ExerciseMenu& menu = ctx.program.exercises();
                           menu.updateEnabled();
                           if (!menu.action(QStringLiteral("opencor"))->isEnabled()) {
                               ctx.error = QStringLiteral("« Voir la correction » n'est pas disponible : aucun exercice ouvert.");
                               return false;
                           }
                           menu.run(&Fichexo::opencor_Click);
                           return true;
                       }});
    options.push_back({QStringLiteral("--getting-started"), QString(),
                       QStringLiteral("« Prise en main » : l'activité TOLVI.PEM du dossier du programme"),
                       QStringLiteral("--getting-started"), nullptr,
                       [](BatchContext& ctx, const QString&) {
                           ctx.program.exercises().run(&Fichexo::PRISENMAIN_Click);
                           if (ctx.program.window().fich()->text().isEmpty()) {
                               ctx.error = QStringLiteral("L'activité de prise en main est introuvable.");
                               return false;
                           }
                           return true;
                       }});
    options.push_back({QStringLiteral("--open-text"), QStringLiteral("FICHIER"),
                       QStringLiteral("« Retrouver un texte » : charge un texte RTF dans la fenêtre exercice"),
                       QStringLiteral("--open-text reponses.rtf"), checkNotEmpty,
                       [](BatchContext& ctx, const QString& v) {
                           withChosenFile(ctx, v, false, &Fichexo::opentexte_Click);
                           return true;
                       }});
    options.push_back({QStringLiteral("--save-text"), QStringLiteral("FICHIER"),
                       QStringLiteral("enregistre le contenu de la fenêtre exercice au format RTF"),
                       QStringLiteral("--getting-started --save-text prise.rtf"), checkNotEmpty,
                       [](BatchContext& ctx, const QString& v) {
                           withChosenFile(ctx, v, true, &Fichexo::savetexte_Click);
                           return true;
                       }});
    options.push_back({QStringLiteral("--text-plain"), QStringLiteral("FICHIER"),
                       QStringLiteral("écrit le texte de la fenêtre exercice, sans mise en forme, en UTF-8"),
                       QStringLiteral("--exercise TENSION.E33 --text-plain enonce.txt"), checkNotEmpty,
                       [](BatchContext& ctx, const QString& v) {
                           return writeTextFile(ctx, v, shownPlainText(*ctx.program.window().supertext()->document()));
                       }});
}

}  // namespace tolvi
