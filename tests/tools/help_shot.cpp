// Shows the notation help as a user meets it, for looking at it under
// xvfb-run: Compare Rolls with errors marked in their boxes, a roll box's
// tooltip, the help dialog beside the window, and the calculator's Help menu.
// Each stage is taken with `import -window root` as PREFIX_STAGE.png, and the
// dialog alone as PREFIX_dialog.png.
// help_shot PREFIX [--search=WORDS]
#include "window/compare.h"
#include "window/frmmain.h"
#include "window/language.h"
#include "window/menus.h"
#include "window/notation_help.h"
#include "window/startup.h"

#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

#include <cstdio>
#include <string>

namespace
{

QString g_prefix;

void Take(const char *stage)
{
    QTest::qWait(400);
    QProcess::execute(QStringLiteral("import"),
        { QStringLiteral("-window"), QStringLiteral("root"), g_prefix + QLatin1Char('_') + stage + ".png" });
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    window::InstallTranslations(app);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PREFIX [--search=WORDS]\n", argv[0]);
        return 2;
    }
    g_prefix = QString::fromUtf8(argv[1]);
    QString search;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.starts_with("--search="))
            search = QString::fromStdString(arg.substr(9));
    }
    QTemporaryDir settings;
    window::CompareWindow compare(nullptr, QStringLiteral("2d20kh1"), settings.filePath(QStringLiteral("s.ini")));
    compare.AddRoll(QStringLiteral("{1d6, 1d8}kh1 foo"));
    compare.AddRoll(QStringLiteral("if 1d6 = 6 then \"Größe\" else \"Weg\" x"));
    compare.resize(compare.sizeHint());
    compare.move(0, 0);
    compare.show();
    if (!QTest::qWaitForWindowExposed(&compare))
        return 1;
    if (!QTest::qWaitFor([&] { return !compare.Computing(); }, 30'000))
        return 1;
    compare.RollEdit(1)->setFocus(Qt::TabFocusReason);
    Take("compare");

    QLineEdit *first = compare.RollEdit(0);
    QToolTip::showText(first->mapToGlobal(QPoint(first->width() / 3, first->height())), first->toolTip(), first);
    Take("tooltip");
    QToolTip::hideText();

    compare.RollEdit(1)->setFocus(Qt::TabFocusReason);
    compare.NotationHelpItem()->trigger();
    auto *help = dynamic_cast<window::NotationHelp *>(compare.findChild<QDialog *>());
    if (!help)
        return 1;
    const QRect room = compare.screen()->availableGeometry();
    help->move(std::min(compare.frameGeometry().right() + 8, room.right() - help->frameGeometry().width()), 0);
    if (!search.isEmpty())
        QTest::keyClicks(help->Search(), search);
    Take("help");
    QPixmap alone = help->grab();
    alone.setDevicePixelRatio(1);
    alone.save(g_prefix + QStringLiteral("_dialog.png"));
    help->close();
    compare.close();

    window::Calculator calculator;
    calculator.Form().Form_Load();
    QMainWindow *main = calculator.Form().Window();
    main->move(0, 0);
    main->show();
    if (!QTest::qWaitForWindowExposed(main))
        return 1;
    QMenu *helpMenu = calculator.Menus().NotationHelp()->associatedObjects().isEmpty()
        ? nullptr
        : qobject_cast<QMenu *>(calculator.Menus().NotationHelp()->associatedObjects().first());
    if (helpMenu) {
        main->menuBar()->setActiveAction(helpMenu->menuAction());
        helpMenu->setActiveAction(calculator.Menus().NotationHelp());
    }
    Take("calculator_menu");
    return 0;
}
