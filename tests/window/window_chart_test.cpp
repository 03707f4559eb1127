// The menu bar and what hangs from it: the window grows by the bar alone and
// behaves the same with the chart open; the chart follows computes, picks and
// clearing, its cumulative views agree with the labels and its cursor reads
// out bars; Copy Table and About show what they should.
#include "tests/window/form_driver.h"

#include "numtext/patterns.h"
#include "numtext/results.h"
#include "rollstats/rollstats.h"
#include "window/chart.h"
#include "window/menus.h"
#include "window/plot_style.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

using windowtest::FormDriver;
using windowtest::Results;

class ChartTest : public windowtest::FormTest
{
    Q_OBJECT

private Q_SLOTS:
    void windowGrowsByTheMenuBarOnly();
    void behavesTheSameWithTheChartOpen();
    void cumulativeViewsMatchTheLabels_data();
    void cumulativeViewsMatchTheLabels();
    void cursorReadsOutBars_data();
    void cursorReadsOutBars();
    void pointsAtBarsInsideThePlot_data();
    void pointsAtBarsInsideThePlot();
    void keepsTheCursorOnItsTotal_data();
    void keepsTheCursorOnItsTotal();
    void highlightsTotalsOfTheTable_data();
    void highlightsTotalsOfTheTable();
    void drawsEachBarInItsColour_data();
    void drawsEachBarInItsColour();
    void copiesTheLastTable();
    void showsAbout();
};

namespace
{

window::FormMenus &Menus(FormDriver &driver)
{
    return driver.calculator().Menus();
}

QString Describe(window::ChartWindow *chart)
{
    return chart->Plot()->accessibleDescription();
}

QString Tip(double outcomes)
{
    return QString::fromStdString(numtext::PercentToolTip(outcomes, rollstats::TotalOutcomes));
}

} // namespace

void ChartTest::windowGrowsByTheMenuBarOnly()
{
    QWidget *client = m_driver->form().Widget();
    QWidget *frame = m_driver->form().Window();
    const int bar = Menus(*m_driver).Bar()->height();
    QVERIFY(bar > 0);
    QCOMPARE(client->parentWidget(), frame);
    QCOMPARE(client->pos(), QPoint(0, bar));
    QCOMPARE(frame->size(), client->size() + QSize(0, bar));
    QVERIFY(frame->isActiveWindow());
    QVERIFY(!Menus(*m_driver).CopyTable()->isEnabled());
}

void ChartTest::behavesTheSameWithTheChartOpen()
{
    struct Step {
        const char *name;
        std::function<void(FormDriver &)> act;
        const char *title, *highlight;
    };
    // clang-format off
    const Step steps[] = {
        { "compute", [](FormDriver &d) { d.Compute("3", "6", "1"); }, "3d6+1, exactly", "Highlighted: 4 to 19, 100.000000000%." },
        { "pick by keys", [](FormDriver &d) { d.PickByKeys(d.form().cmbGreaterThan, "6"); }, "3d6+1, exactly", "Highlighted: 6 to 19," },
        { "pick in popup", [](FormDriver &d) { d.PickInPopup(d.form().cmbLessThan, "12"); }, "3d6+1, exactly", "Highlighted: 6 to 12, 60.648148148%." },
        { "crossing pick", [](FormDriver &d) { d.PickByKeys(d.form().cmbGreaterThan, "15"); }, "3d6+1, exactly", "Highlighted: 12 to 15," },
        { "edit clears", [](FormDriver &d) { d.Type(d.form().txtN, "4"); }, "3d6+1, exactly", "Nothing highlighted." },
        { "rejected", [](FormDriver &d) { d.Enter("abc", "6", "1"); d.Click(d.form().Action[0]); }, "3d6+1, exactly", "Nothing highlighted." },
        { "largest", [](FormDriver &d) { d.Compute("10", "100", "0"); }, "10d100, exactly", "Highlighted: 10 to 1000, 100.000000000%." },
        { "close", [](FormDriver &d) { d.Click(d.form().Action[1]); }, "10d100, exactly", "Highlighted: 10 to 1000," },
    };
    // clang-format on
    struct Seen {
        Results results;
        QStringList messages;
        QString focus;
        bool shown = false;
    };
    const auto run = [&](FormDriver &driver, window::ChartWindow *chart) {
        QList<Seen> seen;
        for (const Step &step : steps) {
            step.act(driver);
            if (QTest::currentTestFailed())
                return seen;
            Seen now { Results::Of(driver.form()), {}, {}, driver.form().Widget()->isVisible() };
            for (const auto &message : driver.watcher().Take())
                now.messages << message.title + QLatin1Char('|') + message.text;
            if (QWidget *focus = QApplication::focusWidget())
                now.focus = focus->objectName();
            seen << now;
            if (chart) {
                [&] {
                    QCOMPARE(chart->Title(), QString::fromLatin1(step.title));
                    QVERIFY2(
                        Describe(chart).contains(QString::fromLatin1(step.highlight)), qPrintable(Describe(chart)));
                    QCOMPARE(chart->isVisible(), now.shown);
                }();
            }
        }
        return seen;
    };

    const QList<Seen> without = run(*m_driver, nullptr);
    QVERIFY(!QTest::currentTestFailed());
    m_driver = std::make_unique<FormDriver>();
    window::ChartWindow *chart = Menus(*m_driver).Chart();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_G, Qt::ControlModifier);
    QVERIFY(chart->isVisible());
    QVERIFY(Menus(*m_driver).ChartItem()->isChecked());
    QVERIFY(m_driver->form().Window()->isActiveWindow());
    const QList<Seen> with = run(*m_driver, chart);
    QVERIFY(!QTest::currentTestFailed());
    QCOMPARE(with.size(), without.size());
    for (qsizetype i = 0; i < with.size(); ++i) {
        const QString step = QString::fromLatin1(steps[i].name);
        QVERIFY2(with[i].results.Diff(without[i].results).isEmpty(), qPrintable(step));
        QCOMPARE(with[i].messages, without[i].messages);
        QCOMPARE(with[i].focus, without[i].focus);
        QCOMPARE(with[i].shown, without[i].shown);
    }
    QCOMPARE(without.at(5).messages.size(), 1);
    QVERIFY(!without.last().shown);
    QVERIFY(!Menus(*m_driver).ChartItem()->isChecked());
}

void ChartTest::cumulativeViewsMatchTheLabels_data()
{
    QTest::addColumn<QStringList>("roll");
    QTest::newRow("3d6+1") << QStringList { "3", "6", "1" };
    QTest::newRow("20d30-5") << QStringList { "20", "30", "-5" };
    QTest::newRow("10d100") << QStringList { "10", "100", "0" };
}

void ChartTest::cumulativeViewsMatchTheLabels()
{
    QFETCH(QStringList, roll);
    window::frmMain &form = m_driver->form();
    DRIVE(m_driver->Compute(roll.at(0), roll.at(1), roll.at(2)));
    window::ChartWindow *chart = Menus(*m_driver).Chart();
    const auto outcomes = [&](compare::View view) {
        chart->SetView(view);
        return chart->Plot()->Outcomes();
    };
    const std::vector<double> exactly = outcomes(compare::View::Exactly);
    const std::vector<double> atLeast = outcomes(compare::View::AtLeast);
    const std::vector<double> atMost = outcomes(compare::View::AtMost);
    const QStringList lines =
        QString::fromStdString(form.Text2.Text()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(static_cast<qsizetype>(exactly.size()), lines.size());
    for (int i = 0; i < windowtest::ListCount(form.cmbLessThan); ++i) {
        const std::string share = numtext::FormatShare(exactly[i], rollstats::TotalOutcomes, "##0.000000000%");
        QVERIFY(lines.at(i).endsWith(QString::fromStdString(" " + share)));
        form.cmbGreaterThan.SetListIndex(i);
        form.cmbLessThan.SetListIndex(i);
        QCOMPARE(form.lblGreaterThan.Widget()->toolTip(), Tip(atLeast[i]));
        QCOMPARE(form.lblLessThan.Widget()->toolTip(), Tip(atMost[i]));
    }
    // Both are the sum of every count, added from the lowest total up.
    QVERIFY(atLeast.front() == atMost.back());
}

void ChartTest::cursorReadsOutBars_data()
{
    QTest::addColumn<int>("view");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("total");
    const int exactly = 0, atLeast = 1, atMost = 2;
    // clang-format off
    QTest::newRow("first key") << exactly << QList<int> { Qt::Key_Right } << "P(4) = 0.462962963%" << 4;
    QTest::newRow("End") << exactly << QList<int> { Qt::Key_End } << "P(19) = 0.462962963%" << 19;
    QTest::newRow("End, Left") << exactly << QList<int> { Qt::Key_End, Qt::Key_Left } << "P(18) = 1.388888889%" << 18;
    QTest::newRow("stops at the lowest") << exactly << QList<int> { Qt::Key_Home, Qt::Key_Left } << "P(4) = 0.462962963%" << 4;
    QTest::newRow("stops at the highest") << exactly << QList<int> { Qt::Key_End, Qt::Key_Right, Qt::Key_Right } << "P(19) = 0.462962963%" << 19;
    QTest::newRow("middle") << exactly << QList<int> { Qt::Key_Home, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right } << "P(11) = 12.500000000%" << 11;
    QTest::newRow("at least") << atLeast << QList<int> { Qt::Key_Home } << "P(>= 4) = 100.000000000%" << 4;
    QTest::newRow("at most") << atMost << QList<int> { Qt::Key_End, Qt::Key_Left, Qt::Key_Left } << "P(<= 17) = 98.148148148%" << 17;
    // clang-format on
}

void ChartTest::cursorReadsOutBars()
{
    QFETCH(int, view);
    QFETCH(QList<int>, keys);
    QFETCH(QString, text);
    QFETCH(int, total);
    window::ChartWindow *chart = Menus(*m_driver).Chart();
    DRIVE(m_driver->Compute("3", "6", "1"));
    Menus(*m_driver).ChartItem()->trigger();
    chart->findChildren<QRadioButton *>().at(view)->click();
    QVERIFY(chart->CursorText().isEmpty());
    for (const int key : keys)
        QTest::keyClick(chart->Plot(), static_cast<Qt::Key>(key));
    QCOMPARE(chart->CursorText(), text);
    QVERIFY2(Describe(chart).startsWith(text + QStringLiteral(". 3d6+1, ")), qPrintable(Describe(chart)));
    // A new table keeps the cursor on its total while it has that total.
    DRIVE(m_driver->Compute("3", "6", "2"));
    QCOMPARE(chart->Plot()->Cursor().has_value(), total >= 5);
    if (total >= 5)
        QVERIFY2(chart->CursorText().contains(QRegularExpression(QStringLiteral("[( ]%1\\) = ").arg(total))),
            qPrintable(chart->CursorText()));
}

void ChartTest::pointsAtBarsInsideThePlot_data()
{
    QTest::addColumn<bool>("fromRight");
    QTest::addColumn<double>("offset");
    QTest::addColumn<QString>("read");
    // 3d6+1 reads 4 to 19; the plot runs from the first bar's left edge up
    // to, not including, the last bar's right edge.
    QTest::newRow("first bar's left edge") << false << 0.0 << "P(4) = 0.462962963%";
    QTest::newRow("left of the plot") << false << -0.01 << "";
    QTest::newRow("inside the last bar") << true << -0.01 << "P(19) = 0.462962963%";
    QTest::newRow("last bar's right edge") << true << 0.0 << "";
}

void ChartTest::pointsAtBarsInsideThePlot()
{
    QFETCH(bool, fromRight);
    QFETCH(double, offset);
    QFETCH(QString, read);
    window::ChartWindow *chart = Menus(*m_driver).Chart();
    Menus(*m_driver).ChartItem()->trigger();
    DRIVE(m_driver->Compute("3", "6", "1"));
    window::ChartView *plot = chart->Plot();
    const QRectF edge = plot->Column(fromRight ? plot->Outcomes().size() - 1 : 0);
    const QPointF at((fromRight ? edge.right() : edge.left()) + offset, edge.center().y());
    QMouseEvent press(
        QEvent::MouseButtonPress, at, plot->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(plot, &press);
    QCOMPARE(chart->CursorText(), read);
}

void ChartTest::keepsTheCursorOnItsTotal_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("modifier");
    QTest::addColumn<QString>("kept");
    // On 3d6, 3 to 18; then 2d6 with the modifier: 2 + m to 12 + m.
    QTest::newRow("highest, new table ends below") << int(Qt::Key_End) << "5"
                                                   << "";
    QTest::newRow("highest, new table ends there") << int(Qt::Key_End) << "6"
                                                   << "P(18) = 2.777777778%";
    QTest::newRow("lowest, new table starts above") << int(Qt::Key_Home) << "2"
                                                    << "";
    QTest::newRow("lowest, new table starts there") << int(Qt::Key_Home) << "1"
                                                    << "P(3) = 2.777777778%";
}

void ChartTest::keepsTheCursorOnItsTotal()
{
    QFETCH(int, key);
    QFETCH(QString, modifier);
    QFETCH(QString, kept);
    window::ChartWindow *chart = Menus(*m_driver).Chart();
    Menus(*m_driver).ChartItem()->trigger();
    DRIVE(m_driver->Compute("3", "6", "0"));
    QTest::keyClick(chart->Plot(), static_cast<Qt::Key>(key));
    QVERIFY(chart->Plot()->Cursor());
    DRIVE(m_driver->Compute("2", "6", modifier));
    QCOMPARE(chart->CursorText(), kept);
    QCOMPARE(chart->Plot()->Cursor().has_value(), !kept.isEmpty());
}

void ChartTest::highlightsTotalsOfTheTable_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<QString>("summary");
    // 3d6: entries 0 to 15 stand for 3 to 18.
    QTest::newRow("to the last") << 2 << 15 << "Highlighted: 5 to 18, 98.148148148%.";
    QTest::newRow("the last alone") << 15 << 15 << "Highlighted: 18 to 18, 0.462962963%.";
    QTest::newRow("one past the last") << 2 << 16 << "Nothing highlighted.";
    QTest::newRow("past the last alone") << 16 << 16 << "Nothing highlighted.";
}

void ChartTest::highlightsTotalsOfTheTable()
{
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(QString, summary);
    window::ChartWindow *chart = Menus(*m_driver).Chart();
    DRIVE(m_driver->Compute("3", "6", "0"));
    chart->SetHighlight(std::pair { static_cast<std::size_t>(first), static_cast<std::size_t>(last) });
    QVERIFY2(Describe(chart).endsWith(summary), qPrintable(Describe(chart)));
    QCOMPARE(chart->Plot()->Highlight().has_value(), summary != QStringLiteral("Nothing highlighted."));
}

void ChartTest::drawsEachBarInItsColour_data()
{
    QTest::addColumn<QStringList>("roll");
    QTest::addColumn<int>("view");
    QTest::addColumn<QStringList>("picks"); // at least, at most; none keeps Compute's picks
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("summary");
    const int exactly = 0, atLeast = 1, atMost = 2;
    // clang-format off
    QTest::newRow("as computed") << QStringList { "3", "6", "1" } << exactly << QStringList {} << 700 << "Highlighted: 4 to 19,";
    QTest::newRow("lowest at most") << QStringList { "3", "6", "1" } << atMost << QStringList { "10", "4" } << 700 << "Highlighted: 4 to 10,";
    QTest::newRow("highest alone") << QStringList { "3", "6", "1" } << atLeast << QStringList { "19", "19" } << 700 << "Highlighted: 19 to 19,";
    QTest::newRow("two tied") << QStringList { "3", "2", "0" } << exactly << QStringList { "4", "5" } << 500 << "Most likely totals: 4 and 5,";
    QTest::newRow("narrow bars") << QStringList { "1", "100", "0" } << exactly << QStringList { "1", "60" } << 300 << "Most likely totals: 1 to 100,";
    QTest::newRow("narrow, cumulative") << QStringList { "20", "30", "0" } << atLeast << QStringList { "300", "20" } << 1100 << "Highlighted: 20 to 300,";
    // clang-format on
}

// Each total's column, just above the axis, shows its bar in the highlight
// colour inside the picked range and in the series colour outside it, where
// the bar is tall enough to see; the top grid line runs along the plot's top.
void ChartTest::drawsEachBarInItsColour()
{
    QFETCH(QStringList, roll);
    QFETCH(int, view);
    QFETCH(QStringList, picks);
    QFETCH(int, width);
    QFETCH(QString, summary);
    window::frmMain &form = m_driver->form();
    window::ChartWindow *chart = Menus(*m_driver).Chart();
    Menus(*m_driver).ChartItem()->trigger();
    DRIVE(m_driver->Compute(roll.at(0), roll.at(1), roll.at(2)));
    if (!picks.isEmpty()) {
        form.cmbGreaterThan.SetListIndex(form.cmbGreaterThan.Widget()->findText(picks.at(0)));
        form.cmbLessThan.SetListIndex(form.cmbLessThan.Widget()->findText(picks.at(1)));
    }
    chart->SetView(static_cast<compare::View>(view));
    chart->resize(width, chart->height());
    QVERIFY(QTest::qWaitFor([&] { return chart->Plot()->width() > width / 2; }));
    QVERIFY2(Describe(chart).contains(summary), qPrintable(Describe(chart)));

    window::ChartView *plot = chart->Plot();
    const QImage image = plot->grab().toImage();
    const double scale = image.devicePixelRatio();
    const window::PlotColours colours = window::ColoursOf(plot->palette());
    const int lo = std::min(form.cmbGreaterThan.ListIndex(), form.cmbLessThan.ListIndex());
    const int hi = std::max(form.cmbGreaterThan.ListIndex(), form.cmbLessThan.ListIndex());
    const std::vector<double> &outcomes = plot->Outcomes();
    const double highest = *std::max_element(outcomes.begin(), outcomes.end());
    int seen = 0;
    for (std::size_t entry = 0; entry < outcomes.size(); ++entry) {
        const QRectF column = plot->Column(entry);
        // The axis tops out below 2.25 times the highest bar.
        if (outcomes[entry] / highest * column.height() / 2.25 < 3)
            continue;
        const QPoint pixel(static_cast<int>(std::floor(column.center().x() * scale)),
            static_cast<int>(std::floor((column.bottom() - 2) * scale)));
        const bool highlighted = static_cast<int>(entry) >= lo && static_cast<int>(entry) <= hi;
        const QColor expected = highlighted ? colours.highlight : colours.series;
        const QString bar = QString::fromStdString(plot->BarText(entry));
        const QString seenColour = image.pixelColor(pixel).name();
        QVERIFY2(image.pixelColor(pixel).rgb() == expected.rgb(),
            qPrintable(QStringLiteral("total %1 is %2, not %3").arg(bar, seenColour, expected.name())));
        ++seen;
    }
    QVERIFY(seen >= 10 || seen == static_cast<int>(outcomes.size()));
    const QRectF first = plot->Column(0);
    const QPoint topLeft(static_cast<int>(first.left() * scale) + 1, static_cast<int>(first.top() * scale));
    QCOMPARE(image.pixelColor(topLeft).name(), colours.grid.name());
}

void ChartTest::copiesTheLastTable()
{
    window::frmMain &form = m_driver->form();
    QAction *copy = Menus(*m_driver).CopyTable();
    const QString csv = QStringLiteral(
        "total,outcomes,percent\r\n3,1,25.000000000000000\r\n4,2,50.000000000000000\r\n5,1,25.000000000000000\r\n");
    const QString tabs = QStringLiteral(
        "total\toutcomes\tpercent\n3\t1\t25.000000000000000\n4\t2\t50.000000000000000\n5\t1\t25.000000000000000\n");
    const auto copied = [] {
        const QMimeData *data = QGuiApplication::clipboard()->mimeData();
        return data ? QString::fromUtf8(data->data(QStringLiteral("text/csv"))) + QLatin1Char('|') + data->text()
                    : QString();
    };

    const windowtest::Message rejected = m_driver->ComputeRejected("21", "6", "0");
    QCOMPARE(rejected.title, QStringLiteral("Number of Dice Too High!"));
    QVERIFY(!copy->isEnabled());
    DRIVE(m_driver->Compute("2", "2", "1"));
    QVERIFY(copy->isEnabled());
    // Ctrl+C still copies the text box's selection.
    QTest::mouseClick(form.txtN.Widget(), Qt::LeftButton);
    QTest::keySequence(form.txtN.Widget(), QKeySequence::SelectAll);
    QTest::keyClick(form.txtN.Widget(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("2"));
    QTest::keyClick(form.txtN.Widget(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(copied(), csv + QLatin1Char('|') + tabs);

    // Cleared results and a rejected roll leave the table the window shows.
    QGuiApplication::clipboard()->clear();
    QCOMPARE(m_driver->ComputeRejected("11", "100", "5").title, QStringLiteral("D100 Roll Limit!"));
    QVERIFY(copy->isEnabled());
    copy->trigger();
    QCOMPARE(copied(), csv + QLatin1Char('|') + tabs);
}

void ChartTest::showsAbout()
{
    Menus(*m_driver).About()->trigger();
    const QList<windowtest::Message> messages = m_driver->watcher().Take();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages.at(0).title, QStringLiteral("About Pipwright"));
    for (const char *part : { "Pipwright 1.00",
             "Computes the odds of various dice tosses.",
             "MIT licence",
             "https://github.com/pipwright/pipwright" })
        QVERIFY2(messages.at(0).text.contains(QString::fromLatin1(part)), part);
    QCOMPARE(messages.at(0).buttons, QList<QMessageBox::StandardButton> { QMessageBox::Ok });
}

QTEST_MAIN(ChartTest)
#include "window_chart_test.moc"
