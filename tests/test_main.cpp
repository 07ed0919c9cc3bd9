// Test programs run headless with French texts, whatever the machine.
#include "platform/fonts.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    tolvi::ensureRuntimeDirectory();
    tolvi::useSystemFontsWithoutDisplay();
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    tolvi::installFontsAndTranslations();
    return RUN_ALL_TESTS();
}
