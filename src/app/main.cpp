#include "app/batch.h"
#include "platform/fonts.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const bool batch = tolvi::isBatch(arguments);
    if (batch && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tolvi::installFontsAndTranslations();
    return batch ? tolvi::runBatch(arguments) : app.exec();
}
