#include "window/language.h"
#include "window/startup.h"
#include "window/version.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pipwright"));
    QApplication::setApplicationVersion(QStringLiteral(PIPWRIGHT_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);
    window::InstallTranslations(app);
    // Qt has taken its own options; the first other argument is a set of rolls to open.
    QString setFile;
    for (const QString &argument : QApplication::arguments().mid(1)) {
        if (!argument.startsWith(QLatin1Char('-'))) {
            setFile = argument;
            break;
        }
    }
    window::Main(setFile);
    return 0;
}
