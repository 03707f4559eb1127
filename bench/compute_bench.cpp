// Times a Compute of the largest rolls on the real window, from the click to
// every control updated and the pending layout and paint work done, and, once,
// the time from creating the application to the window shown; then the same
// with the chart open, and the chart's paint alone; and an edit to one roll
// in the Compare window, from the keystroke to the tables and the plot
// painted. Runs under the offscreen platform unless another one is chosen.
#include "window/chart.h"
#include "window/compare.h"
#include "window/compare_plot.h"
#include "window/frmmain.h"
#include "window/menus.h"
#include "window/startup.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTabBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace
{

window::Calculator *calculator = nullptr;
window::frmMain *form = nullptr;

void ComputeOnWindow(benchmark::State &state)
{
    form->txtN.SetText(std::to_string(state.range(0)));
    form->cmbF.SetListIndex(form->cmbF.Widget()->findText(QString::number(state.range(1))));
    for (auto _ : state) {
        form->Action_Click(0);
        QApplication::processEvents();
    }
    if (form->cmbLessThan.Widget()->count() != state.range(0) * (state.range(1) - 1) + 1)
        state.SkipWithError("the lists were not filled");
}

BENCHMARK(ComputeOnWindow)->Args({ 10, 100 })->Args({ 20, 30 })->Args({ 2, 6 })->Unit(benchmark::kMillisecond);

void ComputeWithChartOpen(benchmark::State &state)
{
    calculator->Menus().ChartItem()->setChecked(true);
    ComputeOnWindow(state);
    calculator->Menus().ChartItem()->setChecked(false);
}

BENCHMARK(ComputeWithChartOpen)->Args({ 10, 100 })->Args({ 20, 30 })->Unit(benchmark::kMillisecond);

// One paint of the chart in a view, the whole range highlighted as a Compute
// leaves it.
void PaintChart(benchmark::State &state)
{
    calculator->Menus().ChartItem()->setChecked(true);
    form->txtN.SetText(std::to_string(state.range(0)));
    form->cmbF.SetListIndex(form->cmbF.Widget()->findText(QString::number(state.range(1))));
    form->Action_Click(0);
    window::ChartWindow *chart = calculator->Menus().Chart();
    chart->SetView(static_cast<compare::View>(state.range(2)));
    QApplication::processEvents();
    for (auto _ : state)
        chart->Plot()->repaint();
    chart->SetView(compare::View::Exactly);
    calculator->Menus().ChartItem()->setChecked(false);
}

BENCHMARK(PaintChart)
    ->Args({ 10, 100, static_cast<int>(compare::View::Exactly) })
    ->Args({ 10, 100, static_cast<int>(compare::View::AtLeast) })
    ->Args({ 20, 30, static_cast<int>(compare::View::Exactly) })
    ->Args({ 1, 100, static_cast<int>(compare::View::Exactly) })
    ->Unit(benchmark::kMillisecond);

// An edit to one roll among several, counted on the workers with every pair
// of rolls set against each other, then the tables filled and the window
// laid out and painted. The first roll is edited, in turn to each of two
// texts; the third case shows the head-to-head table, and the last two have
// a roll of labels among the four, which the head to head leaves out: the
// last edits it, between two rolls of labels.
struct ComparedRolls {
    QStringList others;
    QString edits[2];
    bool headToHead = false;
    // Rolls of labels among them, out of the head-to-head table.
    int labelled = 0;
};

const QString pbta =
    QStringLiteral(R"(let t = 2d6+1 in if t >= 10 then "strong hit" else if t >= 7 then "weak hit" else "miss")");
const QString blades =
    QStringLiteral(R"(let pool = 4d6 in if count(6, pool) >= 2 then "critical" else if highest(pool) = 6 )"
                   R"(then "success" else if highest(pool) >= 4 then "partial" else "failure")");

const ComparedRolls comparedRolls[] = {
    { { "2d20kh1", "4d6kh3", "20d6" }, { "20d12+3", "20d20" }, false },
    { { "2d20kh1", "4d6kh3", "20d6" }, { "10d10!!kh5", "10d10!!kh5+1" }, false },
    { { "2d20kh1", "4d6kh3", "20d6", "1d20+7", "10+1d6", "3d6", "2d20kh1+5" }, { "20d12+3", "20d20" }, true },
    { { "2d20kh1", pbta, "20d6" }, { "20d12+3", "20d20" }, false, 1 },
    { { "2d20kh1", "4d6kh3", "20d6" }, { pbta, blades }, false, 1 },
};

void EditComparedRoll(benchmark::State &state)
{
    const ComparedRolls &rolls = comparedRolls[state.range(0)];
    QTemporaryDir settings;
    window::CompareWindow compare(nullptr, rolls.edits[1], settings.filePath(QStringLiteral("settings.ini")));
    for (const QString &other : rolls.others)
        compare.AddRoll(other);
    if (rolls.headToHead)
        compare.Tabs()->setCurrentIndex(1);
    compare.show();
    if (!QTest::qWaitForWindowExposed(&compare))
        return state.SkipWithError("the window did not show");
    QLineEdit *edit = compare.RollEdit(0);
    std::size_t next = 0;
    for (auto _ : state) {
        edit->setText(rolls.edits[next++ % 2]);
        while (compare.Computing())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QApplication::processEvents();
    }
    const auto count = static_cast<int>(rolls.others.size()) + 1;
    const int faced = count - rolls.labelled;
    if (compare.Table()->rowCount() != count || compare.HeadToHeadTable()->rowCount() != faced
        || compare.HeadToHeadTable()->item(0, faced)->text().isEmpty())
        state.SkipWithError("the rolls were not all shown");
}

BENCHMARK(EditComparedRoll)->ArgName("case")->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QElapsedTimer startup;
    startup.start();
    QApplication app(argc, argv);
    auto shown = std::make_unique<window::Calculator>();
    shown->Form().Form_Load();
    shown->Form().Show(window::vbModeless);
    if (!QTest::qWaitForWindowExposed(shown->Form().Widget()))
        return 1;
    std::printf(
        "Window shown %.1f ms after the application started\n", static_cast<double>(startup.nsecsElapsed()) / 1e6);
    calculator = shown.get();
    form = &shown->Form();

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
