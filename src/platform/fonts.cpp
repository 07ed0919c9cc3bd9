#include "platform/fonts.h"

#include <QCoreApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

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
    auto* translator = new QTranslator(QCoreApplication::instance());
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (translator->load(QStringLiteral("qtbase_fr"), dir))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

}  // namespace tolvi
