// Computes one roll in the real window with the chart open and saves both
// windows side by side, for looking at the chart:
// chart_shot DICE SIDES MODIFIER VIEW OUT.png [AT-LEAST AT-MOST] [--dark] [--cursor=KEYS]
// VIEW is exactly, least or most; --dark paints with a dark palette; KEYS are
// keys pressed on the chart: r(ight), l(eft), h(ome), e(nd).
#include "window/chart.h"
#include "window/frmmain.h"
#include "window/menus.h"
#include "window/startup.h"

#include "tests/tools/shot_helpers.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMainWindow>
#include <QPainter>
#include <QPixmap>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    bool dark = false;
    std::string keys;
    int args = argc;
    for (; args > 1 && std::strncmp(argv[args - 1], "--", 2) == 0; --args) {
        if (std::strcmp(argv[args - 1], "--dark") == 0)
            dark = true;
        else if (std::strncmp(argv[args - 1], "--cursor=", 9) == 0)
            keys = argv[args - 1] + 9;
    }
    if (args != 6 && args != 8) {
        std::fprintf(stderr,
            "usage: %s DICE SIDES MODIFIER VIEW OUT.png [AT-LEAST AT-MOST] [--dark] [--cursor=KEYS]\n",
            argv[0]);
        return 2;
    }
    if (dark)
        UseDarkPalette();
    window::Calculator calculator;
    window::frmMain &form = calculator.Form();
    form.Form_Load();
    form.Show(window::vbModeless);
    calculator.Menus().ChartItem()->trigger();
    form.txtN.SetText(argv[1]);
    form.cmbF.SetListIndex(form.cmbF.Widget()->findText(QString::fromUtf8(argv[2])));
    form.txtM.SetText(argv[3]);
    form.Action_Click(0);
    const std::string view = argv[4];
    window::ChartWindow *chart = calculator.Menus().Chart();
    chart->SetView(view == "least" ? compare::View::AtLeast
            : view == "most"       ? compare::View::AtMost
                                   : compare::View::Exactly);
    if (args == 8) {
        form.cmbGreaterThan.SetListIndex(form.cmbGreaterThan.Widget()->findText(QString::fromUtf8(argv[6])));
        form.cmbLessThan.SetListIndex(form.cmbLessThan.Widget()->findText(QString::fromUtf8(argv[7])));
    }
    PressKeys(chart->Plot(), keys);
    if (!keys.empty())
        chart->Plot()->setFocus();
    QTimer::singleShot(300, &app, [&] {
        // Drawn pixel for pixel, whatever the scale.
        QPixmap left = form.Window()->grab();
        QPixmap right = chart->grab();
        left.setDevicePixelRatio(1);
        right.setDevicePixelRatio(1);
        const int gap = 12;
        QPixmap both(QSize(left.width() + gap + right.width(), std::max(left.height(), right.height())));
        both.fill(QApplication::palette().color(QPalette::Window).darker(130));
        QPainter painter(&both);
        painter.drawPixmap(0, 0, left);
        painter.drawPixmap(left.width() + gap, 0, right);
        painter.end();
        both.save(QString::fromUtf8(argv[5]));
        app.quit();
    });
    return app.exec();
}
