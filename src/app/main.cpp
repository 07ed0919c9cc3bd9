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
#include <cstdio>
#include <random>

namespace {
QtMessageHandler qtHandler = nullptr;

// Qt's English lines about a display it could not reach; the program says
// it in French where it matters.
void withoutDisplayComplaints(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (context.category && QByteArray(context.category).startsWith("qt.qpa."))
        return;
    if (qtHandler)
        qtHandler(type, context, text);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
}
}  // namespace

int main(int argc, char** argv)
{
    const QStringList arguments = tolvi::programArguments(argc, argv);
    const bool batch = tolvi::isBatch(arguments);
    // Batch runs need no display, except a copy that other programs should
    // be able to paste: that one stays on the real display when there is one.
    const bool copyForOthers = arguments.contains(QStringLiteral("--copy")) && tolvi::hasDesktopSession();
    if (batch && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        // A display that is gone falls back to no display: the copy then
        // says in French that the clipboard is not there, Qt's own
        // complaint about the display silenced.
        qputenv("QT_QPA_PLATFORM", copyForOthers ? "xcb;offscreen" : "offscreen");
        if (copyForOthers)
            qtHandler = qInstallMessageHandler(withoutDisplayComplaints);
    }
    tolvi::ensureRuntimeDirectory();
    tolvi::useSystemFontsWithoutDisplay();
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
