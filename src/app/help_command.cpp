#include "app/help_command.h"

#include "platform/messages.h"
#include "sim/simulation.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QDir>

namespace tolvi {

QString helpPagePath(const QString& helpFile)
{
    return QFileInfo(helpFile).absolutePath() + QStringLiteral("/aide/tolvi.html");
}

HelpCommand::HelpCommand(Simulation& sim, Messages& messages) : sim_(sim), messages_(messages)
{
    openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
}

bool HelpCommand::Command7_Click(const QString& helpFile)
{
    const QString page = helpPagePath(helpFile);
    if (!QFileInfo(page).isFile()) {
        messages_.critical(QStringLiteral("Aide"),
                           QStringLiteral("Le fichier d'aide est introuvable :\n%1\n"
                                          "Réinstallez Tolvi pour le retrouver.").arg(QDir::toNativeSeparators(page)));
        return false;
    }
    // The viewer is another program: the graph is left exactly as it is.
    const bool opened = openUrl && openUrl(QUrl::fromLocalFile(page));
    if (!opened)
        messages_.critical(QStringLiteral("Aide"),
                           QStringLiteral("Aucun navigateur n'a pu ouvrir l'aide.\n"
                                          "Vous pouvez l'ouvrir vous-même : %1").arg(page));
    return opened;
}

}  // namespace tolvi
