// Opens the Compare window on the first roll as the calculator does, adds the
// others one by one as a user would, with settings in a temporary file, and
// saves it once every roll is counted, for looking at it:
// compare_shot OUT.png ROLL... [--dark] [--view=least|most] [--target=N] [--cursor=KEYS] [--screen] [--head-to-head]
// KEYS are keys pressed on the plot: r(ight), l(eft), h(ome), e(nd). With
// --screen the picture is the whole screen, to see the window on it.
#include "window/compare.h"
#include "window/compare_plot.h"
#include "window/language.h"

#include "tests/tools/shot_helpers.h"

#include <QApplication>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QSpinBox>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // In the user's language, as the calculator opens.
    window::InstallTranslations(app);
    QStringList rolls;
    std::string keys;
    compare::View view = compare::View::Exactly;
    int target = 15;
    bool dark = false;
    bool wholeScreen = false;
    bool headToHead = false;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--dark")
            dark = true;
        else if (arg == "--screen")
            wholeScreen = true;
        else if (arg == "--head-to-head")
            headToHead = true;
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
        std::fprintf(stderr,
            "usage: %s OUT.png ROLL... [--dark] [--view=least|most] [--target=N] [--cursor=KEYS] [--screen] "
            "[--head-to-head]\n",
            argv[0]);
        return 2;
    }
    if (dark)
        UseDarkPalette();
    QTemporaryDir settings;
    window::CompareWindow compare(nullptr, rolls.first(), settings.filePath(QStringLiteral("settings.ini")));
    compare.Target()->setValue(target);
    compare.SetView(view);
    if (headToHead)
        compare.Tabs()->setCurrentIndex(1);
    // As the calculator opens it.
    compare.resize(compare.sizeHint());
    compare.show();
    if (!QTest::qWaitForWindowExposed(&compare))
        return 1;
    for (qsizetype i = 1; i < rolls.size(); ++i)
        compare.AddRoll(rolls[i]);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &app, [&] {
        if (compare.Computing())
            return;
        poll.stop();
        PressKeys(compare.Plot(), keys);
        QTimer::singleShot(200, &app, [&] {
            std::printf("window %dx%d at %d,%d on a screen of %dx%d; plot %d high, at least %d, lines of %d\n",
                compare.width(),
                compare.height(),
                compare.x(),
                compare.y(),
                compare.screen()->availableGeometry().width(),
                compare.screen()->availableGeometry().height(),
                compare.Plot()->height(),
                compare.Plot()->minimumSizeHint().height(),
                compare.fontMetrics().height());
            QPixmap shot = wholeScreen ? compare.screen()->grabWindow(0) : compare.grab();
            shot.setDevicePixelRatio(1);
            shot.save(QString::fromUtf8(argv[1]));
            app.quit();
        });
    });
    poll.start(50);
    return app.exec();
}
