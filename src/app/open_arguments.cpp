#include "app/open_arguments.h"

#include "app/program.h"
#include "config/config_loader.h"
#include "exercises/exercise_menu.h"
#include "mainwin/feuille_p.h"

#include <QFileInfo>

namespace tolvi {

FileKind fileKind(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix();
    if (suffix.compare(QLatin1String("E33"), Qt::CaseInsensitive) == 0 ||
        suffix.compare(QLatin1String("PEM"), Qt::CaseInsensitive) == 0)
        return FileKind::Exercise;
    return FileKind::Configuration;
}

void openFromCommandLine(Program& program, const QString& path)
{
    // The file manager gives full paths; a shell may give relative ones.
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (fileKind(path) == FileKind::Exercise) {
        program.exercises().openRequest(absolute);
        program.shared().exoOuvert = 1;
        return;
    }
    ConfigLoadHooks hooks;
    hooks.setTitle = [&program](const QString& title) { program.window().setWindowTitle(title); };
    openConfiguration(program.simulation(), program.messages(), program.shared().cheminConfig, absolute, hooks);
}

}  // namespace tolvi
