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
    window::Main();
    return 0;
}
