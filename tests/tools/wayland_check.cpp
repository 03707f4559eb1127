// Opens the calculator as the program does and checks, on whatever platform Qt
// was asked for, that its window shows with the menu bar, that a Compute fills
// the results and that the chart opens; then closes it. Prints each check;
// the exit status is 0 only when all of them held. tests/wayland_run.sh runs
// it on a headless Wayland compositor.
#include "window/chart.h"
#include "window/frmmain.h"
#include "window/menus.h"
#include "window/startup.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTest>

#include <cstdio>

namespace
{

int failures = 0;

void Check(bool held, const char *what)
{
    std::printf("%s: %s\n", held ? "ok" : "FAILED", what);
    if (!held)
        ++failures;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const QString asked = qEnvironmentVariable("QT_QPA_PLATFORM");
    Check(asked.isEmpty() || QGuiApplication::platformName() == asked,
        qPrintable(QStringLiteral("runs on the platform asked for: ") + QGuiApplication::platformName()));
    {
        window::Calculator calculator;
        window::frmMain &form = calculator.Form();
        form.Form_Load();
        form.Show(window::vbModeless);
        Check(QTest::qWaitForWindowExposed(form.Window(), 10000), "the window shows");
        QWidget *bar = form.Window()->menuWidget();
        Check(bar && bar->isVisible() && bar->height() > 0 && bar == calculator.Menus().Bar(),
            "the menu bar shows on it");
        Check(form.Widget()->isVisible() && form.Widget()->y() >= bar->height(), "the client area shows below the bar");

        form.txtN.SetText("3");
        form.txtM.SetText("1");
        form.Action_Click(0);
        Check(
            form.lblAvg.Caption() == "11.5" && form.Text2.Text().rfind("P(19) = 0.462962963%\r\n") != std::string::npos,
            "Compute of 3d6+1 shows its table and average 11.5");

        calculator.Menus().ChartItem()->trigger();
        window::ChartWindow &chart = calculator.Chart();
        Check(QTest::qWaitForWindowExposed(&chart, 10000) && chart.Title() == QStringLiteral("3d6+1, exactly"),
            "the chart opens on 3d6+1");

        form.Action_Click(1);
        QApplication::processEvents();
        Check(!form.Window()->isVisible() && !chart.isVisible(), "Close hides the window and the chart");
    }
    return failures == 0 ? 0 : 1;
}
