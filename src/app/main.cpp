// Tolvi: a transverse wave on a 7 m rope, for the physics class.
#include "app/batch.h"
#include "app/desktop_identity.h"
#include "app/open_arguments.h"
#include "app/program.h"
#include "mainwin/feuille_p.h"
#include "platform/console.h"
#include "platform/fonts.h"
#include "platform/widget_messages.h"

#include <QApplication>
#include <QTextStream>
#include <QTimer>
#include <random>

int main(int argc, char** argv)
{
    const QStringList arguments = tolvi::programArguments(argc, argv);
    const bool batch = tolvi::isBatch(arguments);
    // Batch runs need no display, except a copy that other programs should
    // be able to paste: that one stays on the real display when there is one.
    const bool copyForOthers = arguments.contains(QStringLiteral("--copy")) && tolvi::hasDesktopSession();
    if (batch && !copyForOthers && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    tolvi::ensureRuntimeDirectory();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tolvi"));
    tolvi::setDesktopIdentity();
    tolvi::installFontsAndTranslations();

    if (batch) {
        tolvi::prepareBatchStreams();
        QTextStream out(stdout);
        QTextStream err(stderr);
        return tolvi::runBatch(arguments, out, err);
    }
    tolvi::WidgetMessages messages;
    tolvi::Program program(messages, std::random_device{}());
    messages.setParent(&program.window());
    program.window().Form_Load();
    program.showWindow();
    // "tolvi FILE": a configuration or an exercise opened from the file
    // manager, once the window is up.
    if (arguments.size() > 1) {
        const QString file = arguments[1];
        QTimer::singleShot(0, &program.window(), [&program, file] { openFromCommandLine(program, file); });
    }
    return app.exec();
}
