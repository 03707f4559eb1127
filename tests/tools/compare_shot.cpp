// Opens the Compare window on the given rolls, with settings in a temporary
// file, and saves it once every roll is counted, for looking at it:
// compare_shot OUT.png ROLL... [--dark] [--view=least|most] [--target=N] [--cursor=KEYS]
// KEYS are keys pressed on the plot: r(ight), l(eft), h(ome), e(nd).
#include "window/compare.h"
#include "window/compare_plot.h"

#include "tests/tools/shot_helpers.h"

#include <QApplication>
#include <QLineEdit>
#include <QPixmap>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QStringList rolls;
    std::string keys;
    compare::View view = compare::View::Exactly;
    int target = 15;
    bool dark = false;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--dark")
            dark = true;
        else if (arg.starts_with("--view="))
            view = arg == "--view=least" ? compare::View::AtLeast
                : arg == "--view=most"   ? compare::View::AtMost
                                         : compare::View::Exactly;
        else if (arg.starts_with("--target="))
            target = std::stoi(arg.substr(9));
        else if (arg.starts_with("--cursor="))
            keys = arg.substr(9);
        else
            rolls << QString::fromStdString(arg);
    }
    if (argc < 3 || rolls.isEmpty()) {
        std::fprintf(
            stderr, "usage: %s OUT.png ROLL... [--dark] [--view=least|most] [--target=N] [--cursor=KEYS]\n", argv[0]);
        return 2;
    }
    if (dark)
        UseDarkPalette();
    QTemporaryDir settings;
    window::CompareWindow compare(nullptr, rolls.first(), settings.filePath(QStringLiteral("settings.ini")));
    for (qsizetype i = 1; i < rolls.size(); ++i)
        compare.AddRoll(rolls[i]);
    compare.Target()->setValue(target);
    compare.SetView(view);
    // As the calculator opens it.
    compare.resize(compare.sizeHint());
    compare.show();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &app, [&] {
        if (compare.Computing())
            return;
        poll.stop();
        PressKeys(compare.Plot(), keys);
        QTimer::singleShot(200, &app, [&] {
            QPixmap shot = compare.grab();
            shot.setDevicePixelRatio(1);
            shot.save(QString::fromUtf8(argv[1]));
            app.quit();
        });
    });
    poll.start(50);
    return app.exec();
}
