#include "platform/console.h"

#include <QByteArray>

namespace tolvi {

QStringList programArguments(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

void prepareBatchStreams() {}

bool hasDesktopSession()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY");
}

}  // namespace tolvi
