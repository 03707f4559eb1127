// The Compare window on a real screen size, run once for each screen and
// scale CTest sets: opened as the calculator opens it, then grown to 1, 4
// and 8 rolls by Add Roll, as a user does. At every count the window stays
// on the screen, grows while the screen has room, keeps Copy Table and Save
// Chart in view, and the plot keeps its useful height in view; Add Roll
// stays under the pointer while the window can grow up the screen. Nothing
// moves as the cursor's column fills or an error line comes and goes.
#include "window/compare.h"
#include "window/compare_plot.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class CompareLayoutTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void growsWithItsRows_data();
    void growsWithItsRows();
    void keepsControlsInPlace();
};

namespace
{

// Wholly inside its window and not clipped by a scrolling area.
bool InView(const QWidget *widget)
{
    const QRect shown = widget->visibleRegion().boundingRect();
    const QRect inWindow(widget->mapTo(widget->window(), QPoint(0, 0)), widget->size());
    return widget->isVisible() && shown == widget->rect() && widget->window()->rect().contains(inWindow);
}

} // namespace

void CompareLayoutTest::growsWithItsRows_data()
{
    QTest::addColumn<int>("placed");
    QTest::newRow("at the top of the screen") << 0;
    // Grown from near the bottom, it moves up rather than off the screen.
    QTest::newRow("near the bottom") << 1;
    QTest::newRow("in the middle") << 2;
}

void CompareLayoutTest::growsWithItsRows()
{
    QFETCH(int, placed);
    const QString rolls[] = { "2d20kh1", "1d20+5", "4d6kh3", "3d6", "2d6+6", "4dF", "10d10", "1d100" };
    QTemporaryDir settings;
    window::CompareWindow compare(nullptr, rolls[0], settings.filePath(QStringLiteral("settings.ini")));
    compare.resize(compare.sizeHint());
    compare.show();
    QVERIFY(QTest::qWaitForWindowExposed(&compare));
    const QRect room = compare.screen()->availableGeometry();
    if (placed == 1)
        compare.move(room.left(), room.bottom() - compare.frameGeometry().height() - 20);
    if (placed == 2)
        compare.move(room.left(), room.top() + (room.height() - compare.frameGeometry().height()) / 2);
    const int line = compare.fontMetrics().height();
    int height = compare.height();
    int stayed = 0;
    // Room on the screen for the window to grow by a quarter.
    const bool roomy = compare.frameGeometry().height() < room.height() * 3 / 4;
    for (int count = 1; count <= 8; ++count) {
        const QPoint addAt = compare.AddButton()->mapToGlobal(QPoint(0, 0));
        const int above = compare.frameGeometry().top() - room.top();
        const int below = room.bottom() - compare.frameGeometry().bottom();
        if (count > 1) {
            QTest::mouseClick(compare.AddButton(), Qt::LeftButton);
            QApplication::processEvents();
            // Where the window had room to grow up the screen by the new
            // row, and down by the table's new line, the button is where
            // the pointer pressed it. At the top of the screen the window
            // grows down; at the bottom it moves up.
            const int grown = compare.height() - height;
            if (grown > 0 && grown <= above && grown <= below) {
                QCOMPARE(compare.AddButton()->mapToGlobal(QPoint(0, 0)), addAt);
                ++stayed;
            }
            QTest::keyClicks(compare.RollEdit(count - 1), rolls[count - 1]);
        }
        QVERIFY(QTest::qWaitFor([&] { return !compare.Computing() && compare.Table()->rowCount() == count; }));
        QApplication::processEvents();
        const QString at = QStringLiteral("%1 rolls on %2x%3").arg(count).arg(room.width()).arg(room.height());
        QVERIFY2(room.contains(compare.frameGeometry()), qPrintable(at));
        QVERIFY2(compare.height() >= height, qPrintable(at));
        height = compare.height();
        QVERIFY2(InView(compare.CopyButton()) && InView(compare.SaveButton()), qPrintable(at));
        // Title, legend and totals' labels, and eight lines between the axes.
        window::ComparePlot *plot = compare.Plot();
        QVERIFY2(plot->height() >= 12 * line, qPrintable(at + QStringLiteral(": plot %1").arg(plot->height())));
        QVERIFY2(InView(plot), qPrintable(at));
        QVERIFY2(InView(compare.AddButton()), qPrintable(at));
        // Rows and table lines scroll only in a window as tall as the screen
        // allows; the row just typed is in view.
        const bool scrolls =
            compare.RowsArea()->verticalScrollBar()->isVisible() || compare.Table()->verticalScrollBar()->isVisible();
        QVERIFY2(!scrolls || compare.frameGeometry().height() >= room.height() - 4 * line, qPrintable(at));
        QVERIFY2(InView(compare.RollEdit(count - 1)), qPrintable(at));
        QVERIFY2(!compare.ScrollArea()->verticalScrollBar()->isVisible(), qPrintable(at));
    }
    QVERIFY(placed != 2 || !roomy || stayed > 0);
}

void CompareLayoutTest::keepsControlsInPlace()
{
    QTemporaryDir settings;
    window::CompareWindow compare(nullptr, QStringLiteral("1d8!!"), settings.filePath(QStringLiteral("settings.ini")));
    for (const char *roll : { "{1d8!!, 1d6!!}kh1", "2d20kh1+5", "1d20+8" })
        compare.AddRoll(QString::fromLatin1(roll));
    compare.resize(compare.sizeHint());
    compare.show();
    QVERIFY(QTest::qWaitForWindowExposed(&compare));
    QVERIFY(QTest::qWaitFor([&] { return !compare.Computing() && compare.Table()->rowCount() == 4; }));
    QApplication::processEvents();
    const QRect room = compare.screen()->availableGeometry();
    const int width = compare.width();
    compare.Plot()->setFocus();
    // The cursor's column was as wide as its widest reading from the start.
    for (const Qt::Key key : { Qt::Key_Right, Qt::Key_End }) {
        QTest::keyClick(compare.Plot(), key);
        QApplication::processEvents();
        QCOMPARE(compare.width(), width);
        QVERIFY(room.contains(compare.frameGeometry()));
    }
    const auto boxes = [&] {
        return QList<QPoint> { compare.RollEdit(0)->mapToGlobal(QPoint(0, 0)),
            compare.RollEdit(1)->mapToGlobal(QPoint(0, 0)),
            compare.RollEdit(2)->mapToGlobal(QPoint(0, 0)) };
    };
    const QList<QPoint> before = boxes();
    // An error line under the third row, then gone: that row's box and
    // those above it stay put, unless the rows scroll, where a shorter
    // content scrolled to its end cannot but move.
    for (const QString &text : { QStringLiteral("2d20kh3"), QStringLiteral("2d20kh1+5") }) {
        compare.RollEdit(2)->setText(text);
        QVERIFY(QTest::qWaitFor([&] { return !compare.Computing(); }));
        QApplication::processEvents();
        QCOMPARE(compare.RollStatus(2).isEmpty(), text.contains(QLatin1Char('+')));
        if (!compare.RowsArea()->verticalScrollBar()->isVisible())
            QCOMPARE(boxes(), before);
    }
}

QTEST_MAIN(CompareLayoutTest)
#include "window_compare_layout_test.moc"
