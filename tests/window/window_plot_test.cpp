// The two plots as they are drawn, read shape by shape from a PaintLog: the
// Compare plot's colours and markers per roll, its choice of axis, its total
// labels, its cursor rings and target line; the chart's bars filled to their heights, wide bars
// apart and narrow ones as one profile; the axis's end beside an exploding
// roll.
#include "tests/window/form_driver.h"
#include "tests/window/paint_log.h"

#include "window/chart.h"
#include "window/compare.h"
#include "window/compare_plot.h"
#include "window/menus.h"
#include "window/plot_style.h"

#include <QAction>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <set>
#include <string>

using compare::View;
using windowtest::PaintLog;
using windowtest::Shape;
using Kind = windowtest::Shape::Kind;

class PlotTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void keepsEachRollsStyle_data();
    void keepsEachRollsStyle();
    void marksRollsApart_data();
    void marksRollsApart();
    void choosesTheAxis_data();
    void choosesTheAxis();
    void labelsTotalsOnRoundSteps_data();
    void labelsTotalsOnRoundSteps();
    void endsTheAxisWhereChancesStopShowing();
    void ringsRollsAtTheCursor_data();
    void ringsRollsAtTheCursor();
    void fillsBarsToTheirHeights_data();
    void fillsBarsToTheirHeights();

private:
    std::unique_ptr<window::CompareWindow> Open(const QStringList &rolls);

    std::unique_ptr<QTemporaryDir> m_dir;
};

namespace
{

std::unique_ptr<PaintLog> Drawn(const window::ComparePlot &plot, QSize size = { 640, 320 })
{
    auto log = std::make_unique<PaintLog>(size);
    QPainter painter(log.get());
    plot.Render(painter, size);
    return log;
}

// One marker's shape: its kind, whether it is filled, and on which side of
// its middle each corner lies.
QString Signature(const Shape &shape)
{
    const QPointF middle = shape.Bounds().center();
    const auto side = [](double d) { return d < -0.5 ? "-" : d > 0.5 ? "+" : "0"; };
    std::string text = std::to_string(static_cast<int>(shape.kind)) + (shape.brush.isValid() ? "f" : "o");
    for (const QPointF &point : shape.points)
        text += std::string(" ") + side(point.x() - middle.x()) + side(point.y() - middle.y());
    return QString::fromStdString(text + ";");
}

// A roll as drawn: its line, then its markers, small shapes in the line's
// colour; a marker stands for the point of the line nearest its middle.
struct DrawnRoll {
    QColor colour;
    Qt::PenStyle dash = Qt::SolidLine;
    QPolygonF line;
    QList<QPointF> markers;
    QString firstMarker;
};

QList<DrawnRoll> Rolls(const PaintLog &log)
{
    QList<DrawnRoll> rolls;
    for (const Shape &shape : log.Shapes()) {
        if (shape.kind == Kind::Polyline) {
            rolls.append({ shape.pen, shape.dash, shape.points, {}, {} });
            continue;
        }
        const QRectF bounds = shape.Bounds();
        if (rolls.isEmpty() || shape.kind == Kind::Text || shape.pen != rolls.last().colour || bounds.width() > 10
            || bounds.height() > 10)
            continue;
        DrawnRoll &roll = rolls.last();
        QPointF point = bounds.center();
        double nearest = window::kMarker / 2;
        for (const QPointF &p : roll.line) {
            if (QLineF(p, bounds.center()).length() <= nearest) {
                nearest = QLineF(p, bounds.center()).length();
                point = p;
            }
        }
        if (roll.markers.isEmpty() || roll.markers.last() != point)
            roll.markers.append(point);
        if (roll.markers.size() == 1)
            roll.firstMarker += Signature(shape);
    }
    return rolls;
}

bool OnLine(const QPolygonF &line, QPointF point)
{
    return std::any_of(line.begin(), line.end(), [&](QPointF p) { return QLineF(p, point).length() < 0.01; });
}

double Contrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &c) {
        const auto linear = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double x = luminance(a);
    const double y = luminance(b);
    return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

bool Settled(const window::CompareWindow &compare)
{
    return QTest::qWaitFor([&] { return !compare.Computing(); }, 60'000);
}

void PressKeys(QWidget *plot, const QString &keys)
{
    for (const QChar key : keys)
        QTest::keyClick(plot, key == 'h' ? Qt::Key_Home : key == 'e' ? Qt::Key_End : Qt::Key_Right);
}

// The highest point at x of the shapes filled in this colour that cover the
// point at x just above the bottom; NaN where none does.
double FilledTop(const PaintLog &log, const QColor &colour, double x, double bottom)
{
    const QPointF foot(x, bottom - 0.5);
    double top = std::numeric_limits<double>::quiet_NaN();
    for (const Shape &shape : log.Shapes()) {
        if (shape.brush != colour || (shape.kind != Kind::Rect && shape.kind != Kind::Polygon))
            continue;
        if (!shape.points.containsPoint(foot, Qt::OddEvenFill))
            continue;
        for (qsizetype i = 0; i < shape.points.size(); ++i) {
            const QPointF a = shape.points[i];
            const QPointF b = shape.points[(i + 1) % shape.points.size()];
            if (std::min(a.x(), b.x()) <= x && x <= std::max(a.x(), b.x()) && a.x() != b.x()) {
                const double y = a.y() + (b.y() - a.y()) * (x - a.x()) / (b.x() - a.x());
                top = std::isnan(top) ? y : std::min(top, y);
            }
        }
    }
    return top;
}

} // namespace

void PlotTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
}

std::unique_ptr<window::CompareWindow> PlotTest::Open(const QStringList &rolls)
{
    return windowtest::OpenCompare(rolls, m_dir->filePath(QStringLiteral("settings.ini")));
}

void PlotTest::keepsEachRollsStyle_data()
{
    QTest::addColumn<QColor>("base");
    QTest::addColumn<QColor>("text");
    QTest::newRow("light") << QColor(Qt::white) << QColor(Qt::black);
    QTest::newRow("dark") << QColor(0x1e, 0x1e, 0x1e) << QColor(0xf0, 0xf0, 0xf0);
}

// Eight rolls wear eight colours, each readable on the background, and eight
// marker shapes; a roll that turns invalid or goes leaves the others' alone,
// and the next roll added takes the style that went.
void PlotTest::keepsEachRollsStyle()
{
    QFETCH(QColor, base);
    QFETCH(QColor, text);
    auto compare = Open({ "1d4", "1d6", "1d8", "1d10", "1d12", "1d20", "2d6", "3d6" });
    QVERIFY(Settled(*compare));
    QPalette palette = compare->Plot()->palette();
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::Text, text);
    compare->Plot()->setPalette(palette);
    const QList<DrawnRoll> eight = Rolls(*Drawn(*compare->Plot()));
    QCOMPARE(eight.size(), 8);
    std::set<QRgb> colours;
    std::set<QString> markers;
    std::set<Qt::PenStyle> dashes;
    for (const DrawnRoll &roll : eight) {
        QVERIFY2(Contrast(roll.colour, base) >= 3.0, qPrintable(roll.colour.name()));
        colours.insert(roll.colour.rgb());
        markers.insert(roll.firstMarker);
        dashes.insert(roll.dash);
    }
    QCOMPARE(colours.size(), 8u);
    QCOMPARE(markers.size(), 8u);
    QVERIFY(dashes.size() >= 4);
    // Black is left out of the colours: the text colour takes its place.
    QCOMPARE(eight[7].colour, text);

    compare->RollEdit(2)->setText(QStringLiteral("1d8x"));
    QVERIFY(Settled(*compare));
    const QList<DrawnRoll> seven = Rolls(*Drawn(*compare->Plot()));
    QCOMPARE(seven.size(), 7);
    for (qsizetype i = 0; i < seven.size(); ++i)
        QCOMPARE(seven[i].colour, eight[i < 2 ? i : i + 1].colour);

    compare->RemoveButton(2)->click();
    QCOMPARE(compare->RollCount(), 7);
    QCOMPARE(compare->RollEdit(2)->text(), QStringLiteral("1d10"));
    compare->AddRoll(QStringLiteral("4d6kh3"));
    QVERIFY(Settled(*compare));
    const QList<DrawnRoll> again = Rolls(*Drawn(*compare->Plot()));
    QCOMPARE(again.size(), 8);
    QCOMPARE(again.last().colour, eight[2].colour);
    QCOMPARE(again.last().firstMarker, eight[2].firstMarker);
}

void PlotTest::marksRollsApart_data()
{
    QTest::addColumn<QStringList>("rolls");
    QTest::addColumn<int>("width");
    QTest::newRow("one long roll") << QStringList { "10d10" } << 640;
    QTest::newRow("on the same totals") << QStringList { "10d10", "10d10" } << 640;
    QTest::newRow("short beside long") << QStringList { "10d10", "1d2+50" } << 640;
    QTest::newRow("apart, across a break") << QStringList { "1d4", "1d6+100" } << 640;
    QTest::newRow("narrow") << QStringList { "20d10", "3d6", "3d6" } << 320;
}

// Each roll's line runs left to right through every total it can throw, with
// markers on its points two marker widths apart at least, and never on
// another roll's marker.
void PlotTest::marksRollsApart()
{
    QFETCH(QStringList, rolls);
    QFETCH(int, width);
    auto compare = Open(rolls);
    QVERIFY(Settled(*compare));
    const QList<DrawnRoll> drawn = Rolls(*Drawn(*compare->Plot(), QSize(width, 320)));
    QCOMPARE(drawn.size(), rolls.size());
    QList<QPointF> taken;
    for (qsizetype i = 0; i < drawn.size(); ++i) {
        const DrawnRoll &roll = drawn[i];
        const auto totals = compare->Shown().Rolls()[static_cast<std::size_t>(i)].roll->distribution.counts.size();
        QCOMPARE(static_cast<std::size_t>(roll.line.size()), totals);
        for (qsizetype k = 0; k < roll.line.size(); ++k) {
            QVERIFY(roll.line[k].x() > 0 && roll.line[k].x() < width);
            QVERIFY2(k == 0 || roll.line[k].x() > roll.line[k - 1].x(), qPrintable(rolls[i]));
        }
        QVERIFY2(!roll.markers.isEmpty(), qPrintable(rolls[i]));
        for (qsizetype k = 0; k < roll.markers.size(); ++k) {
            QVERIFY(OnLine(roll.line, roll.markers[k]));
            QVERIFY(k == 0 || roll.markers[k].x() - roll.markers[k - 1].x() >= 4 * window::kMarker);
            QVERIFY2(!OnLine(taken, roll.markers[k]), qPrintable(rolls[i]));
        }
        taken += roll.markers;
    }
}

void PlotTest::choosesTheAxis_data()
{
    QTest::addColumn<QStringList>("rolls");
    QTest::addColumn<int>("view");
    QTest::addColumn<bool>("logarithmic");
    const int exactly = static_cast<int>(View::Exactly);
    // Peaks of 50% and 2.5%: twenty times apart.
    QTest::newRow("peaks twenty times apart") << QStringList { "1d2", "1d40" } << exactly << false;
    QTest::newRow("a little further") << QStringList { "1d2", "1d41" } << exactly << true;
    QTest::newRow("far apart") << QStringList { "1d4", "100d100" } << exactly << true;
    QTest::newRow("far apart, at least") << QStringList { "1d4", "100d100" } << static_cast<int>(View::AtLeast)
                                         << false;
    QTest::newRow("alike") << QStringList { "2d6", "3d6" } << exactly << false;
}

// Percent labels from 0% in even steps, or decades on a logarithmic axis
// reaching two decades below the lowest peak; every point of every roll
// stands at its share on that axis.
void PlotTest::choosesTheAxis()
{
    QFETCH(QStringList, rolls);
    QFETCH(int, view);
    QFETCH(bool, logarithmic);
    auto compare = Open(rolls);
    QVERIFY(Settled(*compare));
    compare->SetView(static_cast<View>(view));
    const auto log = Drawn(*compare->Plot());
    // Each grid line is drawn before its label.
    const QColor grid = window::ColoursOf(compare->Plot()->palette()).grid;
    QList<double> values;
    QList<double> heights;
    for (const Shape &shape : log->Shapes()) {
        if (shape.kind == Kind::Line && shape.pen == grid)
            heights << shape.points[0].y();
        else if (shape.kind == Kind::Text && shape.text.endsWith(QLatin1Char('%')))
            values << shape.text.chopped(1).toDouble();
    }
    QVERIFY(values.size() >= 3);
    QCOMPARE(heights.size(), values.size());
    for (qsizetype i = 1; i < values.size(); ++i) {
        const double decades = std::log10(values[i] / values[i - 1]);
        if (logarithmic)
            QVERIFY(decades >= 1 - 1e-9 && std::abs(decades - std::round(decades)) < 1e-9);
        else
            QVERIFY(std::abs(values[i] - values[i - 1] - values[1] + values[0]) < 1e-9 && values[i] > values[i - 1]);
    }
    QCOMPARE(values[0] > 0, logarithmic);

    const auto scale = [&](double percent) {
        if (!logarithmic)
            return percent;
        return percent > 0 ? std::log10(percent) : -std::numeric_limits<double>::infinity();
    };
    const double span = heights.back() - heights.front();
    const QList<DrawnRoll> drawn = Rolls(*log);
    double lowestPeak = 100;
    for (qsizetype i = 0; i < drawn.size(); ++i) {
        const auto &percents = compare->Shown().Rolls()[static_cast<std::size_t>(i)].roll->percents[view];
        lowestPeak = std::min(lowestPeak, *std::max_element(percents.begin(), percents.end()));
        for (qsizetype k = 0; k < drawn[i].line.size(); ++k) {
            const double share = (scale(percents[static_cast<std::size_t>(k)]) - scale(values.front()))
                / (scale(values.back()) - scale(values.front()));
            const double y = heights.front() + std::clamp(share, 0.0, 1.0) * span;
            QVERIFY2(std::abs(drawn[i].line[k].y() - y) < 1e-6 * std::abs(span), qPrintable(rolls[i]));
        }
    }
    if (logarithmic)
        QVERIFY(values.front() <= lowestPeak / 100 * (1 + 1e-9));
}

void PlotTest::labelsTotalsOnRoundSteps_data()
{
    QTest::addColumn<QString>("roll");
    QTest::addColumn<int>("width");
    QTest::newRow("from 0") << "1d11-1" << 640;
    QTest::newRow("from 10") << "10d10" << 640;
    QTest::newRow("below 0") << "3d6-20" << 640;
    QTest::newRow("crowded") << "20d10-20" << 320;
}

// The totals axis labels every multiple of one step from the lowest total to
// the highest, each label whole inside the picture.
void PlotTest::labelsTotalsOnRoundSteps()
{
    QFETCH(QString, roll);
    QFETCH(int, width);
    auto compare = Open({ roll });
    QVERIFY(Settled(*compare));
    QList<qint64> totals;
    for (const Shape &label : Drawn(*compare->Plot(), QSize(width, 320))->Of(Kind::Text)) {
        bool whole = false;
        const qint64 total = label.text.toLongLong(&whole);
        if (!whole)
            continue;
        totals << total;
        QVERIFY2(label.Bounds().left() >= 0 && label.Bounds().right() <= width, qPrintable(label.text));
    }
    QVERIFY(totals.size() >= 3);
    const qint64 step = totals[1] - totals[0];
    for (qsizetype i = 1; i < totals.size(); ++i)
        QCOMPARE(totals[i] - totals[i - 1], step);
    QCOMPARE(totals[0] % step, 0);
    const compare::Comparison &shown = compare->Shown();
    QVERIFY(totals.front() >= shown.Lowest() && totals.front() - step < shown.Lowest());
    QVERIFY(totals.back() <= shown.Highest() && totals.back() + step > shown.Highest());
}

// An exploding roll among bounded ones: the axis ends a little past the
// bounded rolls, whose lines are drawn whole, not where the exploding one's
// listing ends; the cursor still reaches that end, and the axis follows it.
void PlotTest::endsTheAxisWhereChancesStopShowing()
{
    auto compare = Open({ "1d8!!", "{1d8!!, 1d6!!}kh1", "2d20kh1+5", "1d20+8" });
    QVERIFY(Settled(*compare));
    const auto lastLabel = [&] {
        qint64 last = std::numeric_limits<qint64>::min();
        for (const Shape &label : Drawn(*compare->Plot())->Of(Kind::Text)) {
            bool whole = false;
            const qint64 total = label.text.toLongLong(&whole);
            if (whole)
                last = std::max(last, total);
        }
        return last;
    };
    const qint64 last = lastLabel();
    QVERIFY2(last >= 25 && last <= 40, qPrintable(QString::number(last)));
    const QList<DrawnRoll> rolls = Rolls(*Drawn(*compare->Plot()));
    QCOMPARE(rolls.size(), 4);
    QCOMPARE(rolls[2].line.size(), 20);
    QCOMPARE(rolls[3].line.size(), 20);
    QVERIFY(rolls[0].line.size() < 40);
    QTest::keyClick(compare->Plot(), Qt::Key_End);
    QCOMPARE(compare->Plot()->Cursor(), compare->Shown().Highest());
    QVERIFY(lastLabel() > 100);
}

void PlotTest::ringsRollsAtTheCursor_data()
{
    QTest::addColumn<QStringList>("rolls");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("rings");
    QTest::addColumn<int>("target");
    QTest::addColumn<bool>("targetShown");
    const QStringList apart { "1d4", "1d6+100" };
    QTest::newRow("on the first roll only") << apart << "h" << 1 << 3 << true;
    QTest::newRow("on the second roll only") << apart << "e" << 1 << 15 << false;
    QTest::newRow("on both") << QStringList { "2d6", "1d12" } << "e" << 2 << 12 << true;
    // 100d100 throws 10000 once in 10^200: far below a logarithmic axis.
    QTest::newRow("below the axis") << QStringList { "1d4", "100d100" } << "e" << 0 << 10000 << true;
    QTest::newRow("beside it") << QStringList { "1d4", "100d100" } << "h" << 1 << 0 << false;
}

// A ring on each roll's point at the cursor, where it is on the plot; a
// dashed line at the target where the axis has it.
void PlotTest::ringsRollsAtTheCursor()
{
    QFETCH(QStringList, rolls);
    QFETCH(QString, keys);
    QFETCH(int, rings);
    QFETCH(int, target);
    QFETCH(bool, targetShown);
    auto compare = Open(rolls);
    compare->Target()->setValue(target);
    QVERIFY(Settled(*compare));
    PressKeys(compare->Plot(), keys);
    const auto log = Drawn(*compare->Plot());
    const QList<DrawnRoll> drawn = Rolls(*log);
    int seen = 0;
    for (const Shape &ring : log->Of(Kind::Ellipse)) {
        if (ring.brush.isValid() || ring.Bounds().width() < 10)
            continue;
        ++seen;
        QVERIFY(std::any_of(drawn.begin(), drawn.end(), [&](const DrawnRoll &roll) {
            return OnLine(roll.line, ring.Bounds().center());
        }));
    }
    QCOMPARE(seen, rings);

    const QColor series = window::ColoursOf(compare->Plot()->palette()).series;
    QList<double> dashed;
    for (const Shape &line : log->Of(Kind::Line)) {
        if (line.pen == series && line.points[0].x() == line.points[1].x())
            dashed << line.points[0].x();
    }
    QCOMPARE(dashed.size(), targetShown ? 1 : 0);
    if (targetShown) {
        const auto &first = compare->Shown().Rolls().front().roll->distribution;
        const auto &roll = drawn[target <= first.Highest() ? 0 : 1];
        QVERIFY(std::any_of(roll.line.begin(), roll.line.end(), [&](QPointF p) { return p.x() == dashed[0]; }));
    }
}

void PlotTest::fillsBarsToTheirHeights_data()
{
    QTest::addColumn<QStringList>("roll");
    QTest::addColumn<int>("view");
    QTest::addColumn<int>("width");
    const int exactly = static_cast<int>(View::Exactly);
    QTest::newRow("wide") << QStringList { "3", "6", "1" } << exactly << 700;
    QTest::newRow("wide, at most") << QStringList { "3", "6", "1" } << static_cast<int>(View::AtMost) << 700;
    QTest::newRow("narrow") << QStringList { "10", "100", "0" } << exactly << 300;
    QTest::newRow("narrow, at least") << QStringList { "20", "30", "0" } << static_cast<int>(View::AtLeast) << 1100;
}

// Every total's bar reaches its share of the highest bar's height, as bars
// standing apart where there is room, or as one outline; the bar under the
// cursor, at the end, is drawn over in the text colour.
void PlotTest::fillsBarsToTheirHeights()
{
    QFETCH(QStringList, roll);
    QFETCH(int, view);
    QFETCH(int, width);
    windowtest::FormDriver driver;
    window::ChartWindow *chart = driver.calculator().Menus().Chart();
    driver.calculator().Menus().ChartItem()->trigger();
    DRIVE(driver.Compute(roll.at(0), roll.at(1), roll.at(2)));
    chart->SetView(static_cast<View>(view));
    chart->resize(width, chart->height());
    QVERIFY(QTest::qWaitFor([&] { return chart->Plot()->width() > width / 2; }));

    window::ChartView *plot = chart->Plot();
    QTest::keyClick(plot, Qt::Key_End);
    PaintLog log(plot->size());
    {
        QPainter painter(&log);
        plot->Render(painter, plot->size());
    }
    const window::PlotColours colours = window::ColoursOf(plot->palette());
    const QColor &series = colours.series;
    const std::vector<double> &outcomes = plot->Outcomes();
    const auto peak = static_cast<std::size_t>(std::max_element(outcomes.begin(), outcomes.end()) - outcomes.begin());
    const double bottom = plot->Column(0).bottom();
    const double tallest = bottom - FilledTop(log, series, plot->Column(peak).center().x(), bottom);
    QVERIFY(tallest > plot->Column(0).height() / 3);
    int checked = 0;
    for (std::size_t entry = 0; entry < outcomes.size(); ++entry) {
        const QRectF column = plot->Column(entry);
        const double height = tallest * outcomes[entry] / outcomes[peak];
        if (height < 1)
            continue;
        const double top = FilledTop(log, series, column.center().x(), bottom);
        QVERIFY2(std::abs(bottom - top - height) < 1e-6 * tallest,
            qPrintable(
                QStringLiteral("%1: %2 high, not %3").arg(plot->BarText(entry).c_str()).arg(bottom - top).arg(height)));
        if (column.width() >= 4)
            QVERIFY(std::isnan(FilledTop(log, series, column.left() + 0.25, bottom)));
        // The cursor's bar is drawn again in the text colour.
        if (entry + 1 == outcomes.size())
            QVERIFY(std::abs(FilledTop(log, colours.text, column.center().x(), bottom) - top) < 1e-6 * tallest);
        ++checked;
    }
    QVERIFY(checked >= 10);
}

QTEST_MAIN(PlotTest)
#include "window_plot_test.moc"
