// Windows side of the font set-up: Arial, Symbol and Wingdings are the
// system's own; the fonts that Windows lacks ship in the "fonts" folder
// beside the program.
#include "platform/fonts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QTranslator>

namespace tolvi {

void installFontsAndTranslations()
{
    // The old bitmap face has a TrueType successor on every Windows.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"));

    static bool loaded = false;
    if (loaded || !QCoreApplication::instance())
        return;
    loaded = true;
    const QDir fonts(QCoreApplication::applicationDirPath() + QStringLiteral("/fonts"));
    for (const QString& name : fonts.entryList({QStringLiteral("*.ttf"), QStringLiteral("*.otf")}, QDir::Files))
        QFontDatabase::addApplicationFont(fonts.filePath(name));

    auto* translator = new QTranslator(QCoreApplication::instance());
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (translator->load(QStringLiteral("qtbase_fr"), dir))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

void ensureRuntimeDirectory()
{
    // Qt asks for no runtime folder on Windows.
}

}  // namespace tolvi
