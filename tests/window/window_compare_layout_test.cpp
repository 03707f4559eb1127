// The Compare window on a real screen size, run once for each screen and
// scale CTest sets: opened as the calculator opens it, then grown to 1, 4
// and 8 rolls by Add Roll, as a user does. At every count the window stays
// on the screen, grows while the screen has room, keeps Copy Table and Save
// Chart in view, and the plot keeps its useful height in view.
#include "window/compare.h"
#include "window/compare_plot.h"

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
    QTest::addColumn<bool>("placedLow");
    QTest::newRow("at the top of the screen") << false;
    // Grown from near the bottom, it moves up rather than off the screen.
    QTest::newRow("near the bottom") << true;
}

void CompareLayoutTest::growsWithItsRows()
{
    QFETCH(bool, placedLow);
    const QString rolls[] = { "2d20kh1", "1d20+5", "4d6kh3", "3d6", "2d6+6", "4dF", "10d10", "1d100" };
    QTemporaryDir settings;
    window::CompareWindow compare(nullptr, rolls[0], settings.filePath(QStringLiteral("settings.ini")));
    compare.resize(compare.sizeHint());
    compare.show();
    QVERIFY(QTest::qWaitForWindowExposed(&compare));
    const QRect room = compare.screen()->availableGeometry();
    if (placedLow)
        compare.move(room.left(), room.bottom() - compare.frameGeometry().height() - 20);
    const int line = compare.fontMetrics().height();
    int height = compare.height();
    for (int count = 1; count <= 8; ++count) {
        if (count > 1) {
            QTest::mouseClick(compare.AddButton(), Qt::LeftButton);
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
}

QTEST_MAIN(CompareLayoutTest)
#include "window_compare_layout_test.moc"
