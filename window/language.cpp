#include "window/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QString>
#include <QTranslator>

namespace window
{

QString InstallTranslations(QCoreApplication &app)
{
    for (QString language : QLocale::system().uiLanguages()) {
        language.replace(QLatin1Char('-'), QLatin1Char('_'));
        if (language == QLatin1String("C") || language.startsWith(QLatin1String("en")))
            return {};
        auto *own = new QTranslator(&app);
        // The translations are built into the program; "pipwright_de_AT" falls
        // back to "pipwright_de".
        if (!own->load(QStringLiteral("pipwright_") + language, QStringLiteral(":/i18n"))) {
            delete own;
            continue;
        }
        // Qt's own words, such as those of the file dialog, where Qt's
        // translations are installed; the program works without them.
        auto *qt = new QTranslator(&app);
        if (qt->load(QStringLiteral("qtbase_") + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(qt);
        else
            delete qt;
        QCoreApplication::installTranslator(own);
        return own->language();
    }
    return {};
}

} // namespace window
