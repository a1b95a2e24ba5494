#include "app/QtTranslations.h"

#include "base/FormatSettings.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

// Qt's widgets take the default locale for what they format themselves (the
// calendar's month and day names), so an unset system locale gives them the
// same Russian names as the rest of the window. The translations are Qt's
// own catalogue, installed with Qt in its translations folder.
QTranslator *installQtTranslations()
{
    const QLocale locale = homeLocale();
    QLocale::setDefault(locale);
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return nullptr;
    }
    QCoreApplication::installTranslator(translator);
    return translator;
}
