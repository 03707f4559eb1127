// Computes one roll in the real window and saves a picture of it, menu bar and
// all, for looking at the layout: window_shot DICE SIDES MODIFIER OUT.png [AT-LEAST AT-MOST]
#include "window/frmmain.h"
#include "window/language.h"
#include "window/startup.h"

#include <QApplication>
#include <QComboBox>
#include <QMainWindow>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // In the user's language, as the calculator opens.
    window::InstallTranslations(app);
    if (argc != 5 && argc != 7) {
        std::fprintf(stderr, "usage: %s DICE SIDES MODIFIER OUT.png [AT-LEAST AT-MOST]\n", argv[0]);
        return 2;
    }
    window::Calculator calculator;
    window::frmMain &form = calculator.Form();
    form.Form_Load();
    form.Show(window::vbModeless);
    form.txtN.SetText(argv[1]);
    form.cmbF.SetListIndex(form.cmbF.Widget()->findText(QString::fromUtf8(argv[2])));
    form.txtM.SetText(argv[3]);
    form.Action_Click(0);
    if (argc == 7) {
        form.cmbGreaterThan.SetListIndex(form.cmbGreaterThan.Widget()->findText(QString::fromUtf8(argv[5])));
        form.cmbLessThan.SetListIndex(form.cmbLessThan.Widget()->findText(QString::fromUtf8(argv[6])));
    }
    QTimer::singleShot(300, &app, [&] {
        form.Window()->grab().save(QString::fromUtf8(argv[4]));
        app.quit();
    });
    return app.exec();
}
