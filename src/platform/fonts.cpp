#include "platform/fonts.h"
#include "platform/fonts_shared.h"

#include <QCoreApplication>
#include <QFont>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace tolvi {

void installFontsAndTranslations()
{
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Symbol"), QStringLiteral("DejaVu Sans"));
    QFont::insertSubstitution(QStringLiteral("Wingdings"), QStringLiteral("Symbola"));

    static bool translated = false;
    if (translated || !QCoreApplication::instance())
        return;
    translated = true;
    installQtFrenchTranslations();
}

void ensureRuntimeDirectory()
{
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return;
    const QByteArray dir = "/tmp/tolvi-runtime-" + QByteArray::number(getuid());
    if (::mkdir(dir.constData(), 0700) == 0 || errno == EEXIST)
        qputenv("XDG_RUNTIME_DIR", dir);
}

void useSystemFontsWithoutDisplay()
{
    // fontconfig finds the system's fonts for every platform.
}

}  // namespace tolvi
