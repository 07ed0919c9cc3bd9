#include "platform/fonts_shared.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace tolvi {

void installQtFrenchTranslations()
{
    auto* translator = new QTranslator(QCoreApplication::instance());
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (translator->load(QStringLiteral("qtbase_fr"), dir))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

}  // namespace tolvi
