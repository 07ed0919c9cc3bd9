// Windows side of the font set-up: Arial, Symbol and Wingdings are the
// system's own; the fonts that Windows lacks ship in the "fonts" folder
// beside the program.
#include "platform/fonts.h"
#include "platform/fonts_shared.h"

#include <QCoreApplication>
#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QStandardPaths>

namespace tolvi {

void installFontsAndTranslations()
{
    // The old bitmap face has a TrueType successor on every Windows.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), {QStringLiteral("Microsoft Sans Serif"),
                                                                 QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")});
    // A substitute is only looked for when the font itself is missing: on a
    // Windows without its core fonts (Wine, a stripped-down image) the
    // metric-compatible free fonts keep every text the width it is drawn for.
    QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")});
    QFont::insertSubstitutions(QStringLiteral("Microsoft Sans Serif"), {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")});
    QFont::insertSubstitutions(QStringLiteral("Times New Roman"), {QStringLiteral("Liberation Serif"), QStringLiteral("Tinos")});
    QFont::insertSubstitutions(QStringLiteral("Courier New"), {QStringLiteral("Liberation Mono"), QStringLiteral("Cousine")});
    QFont::insertSubstitution(QStringLiteral("Symbol"), QStringLiteral("DejaVu Sans"));
    QFont::insertSubstitution(QStringLiteral("Wingdings"), QStringLiteral("Symbola"));

    static bool loaded = false;
    if (loaded || !QCoreApplication::instance())
        return;
    loaded = true;
    const QDir fonts(QCoreApplication::applicationDirPath() + QStringLiteral("/fonts"));
    for (const QString& name : fonts.entryList({QStringLiteral("*.ttf"), QStringLiteral("*.otf")}, QDir::Files))
        QFontDatabase::addApplicationFont(fonts.filePath(name));

    installQtFrenchTranslations();
}

void ensureRuntimeDirectory()
{
    // Qt asks for no runtime folder on Windows.
}

void useSystemFontsWithoutDisplay()
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_FONTDIR"))
        return;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::FontsLocation);
    if (!folder.isEmpty())
        qputenv("QT_QPA_FONTDIR", QDir::toNativeSeparators(folder).toLocal8Bit());
}

}  // namespace tolvi
