#include "platform/console.h"

#include "platform/file_read.h"

#include <QByteArray>

namespace tolvi {

QStringList programArguments(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << argumentText(argv[i]);
    return arguments;
}

void prepareBatchStreams() {}

bool hasDesktopSession()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY");
}

}  // namespace tolvi
