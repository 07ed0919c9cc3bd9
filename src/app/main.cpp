// Tolvi: a transverse wave on a 7 m rope, for the physics class.
#include "app/batch.h"
#include "app/program.h"
#include "mainwin/feuille_p.h"
#include "platform/fonts.h"
#include "platform/widget_messages.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>
#include <cerrno>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const bool batch = tolvi::isBatch(arguments);
    // Batch runs need no display.
    if (batch && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Without a desktop session Qt warns about its runtime folder on every
    // run; give it a private one so batch output stays clean.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QByteArray dir = QDir::tempPath().toLocal8Bit() + "/tolvi-runtime-" + QByteArray::number(getuid());
        if (::mkdir(dir.constData(), 0700) == 0 || errno == EEXIST)
            qputenv("XDG_RUNTIME_DIR", dir);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tolvi"));
    tolvi::installFontsAndTranslations();

    if (batch) {
        QTextStream out(stdout);
        QTextStream err(stderr);
        return tolvi::runBatch(arguments, out, err);
    }
    tolvi::WidgetMessages messages;
    tolvi::Program program(messages, std::random_device{}());
    messages.setParent(&program.window());
    program.window().Form_Load();
    program.window().show();
    return app.exec();
}
