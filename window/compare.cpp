#include "window/compare.h"

#include "window/compare_compute.h"
#include "window/compare_files.h"
#include "window/compare_plot.h"
#include "window/compare_row.h"
#include "window/compare_settings.h"
#include "window/copy_table.h"
#include "window/picture_export.h"
#include "window/plot_access.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabBar>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace window
{

using compare::View;

CompareWindow::CompareWindow(QWidget *parent, const QString &firstRoll, const QString &settingsFile)
    : QWidget(parent, Qt::Window)
    , m_settings(CompareSettings(settingsFile))
    , m_computer(new RollComputer(this))
    , m_rowsLayout(new QVBoxLayout)
    , m_add(new QPushButton(tr("&Add Roll"), this))
    , m_target(new QSpinBox(this))
    , m_sense(new QComboBox(this))
    , m_table(new RollTable(this))
    , m_versus(new RollTable(this))
    , m_leftOut(new QLabel(this))
    , m_pages(new QStackedWidget(this))
    , m_tabs(new QTabBar(this))
    , m_views(new QButtonGroup(this))
    , m_plot(new ComparePlot(this, m_shown))
    , m_readout(new QLabel(this))
    , m_copy(new QPushButton(tr("&Copy Table"), this))
    , m_save(new QPushButton(tr("&Save Chart..."), this))
    , m_scroll(new QScrollArea(this))
{
    setObjectName(QStringLiteral("compare"));
    setWindowTitle(tr("Compare Rolls"));
    m_computer->Finished = [this](std::uint64_t id, const RollAnswer &answer) { Answered(id, answer); };

    m_rowsLayout->setSpacing(2);
    auto *target = new QLabel(tr("&Target:"), this);
    target->setBuddy(m_target);
    m_target->setRange(-999'999'999, 999'999'999);
    m_target->setAccessibleName(tr("Target"));
    m_sense->setAccessibleName(tr("Target sense"));
    for (const View sense : { View::AtLeast, View::AtMost, View::Exactly })
        m_sense->addItem(ViewLabel(sense), static_cast<int>(sense));
    auto *targetRow = new QHBoxLayout;
    targetRow->addWidget(m_add);
    targetRow->addWidget(m_tabs, 0, Qt::AlignBottom);
    targetRow->addStretch();
    targetRow->addWidget(target);
    targetRow->addWidget(m_target);
    targetRow->addWidget(m_sense);

    m_table->setColumnCount(7);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->hide();
    m_table->setWordWrap(false);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setSectionResizeMode(6, QHeaderView::Stretch);
    // Sized in FitWidth, where a long roll is elided.
    m_table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Fixed);
    m_table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_table->setAccessibleName(tr("Statistics of the rolls"));

    m_versus->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_versus->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_versus->setWordWrap(false);
    m_versus->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_versus->setAccessibleName(tr("Chance of each roll to beat each other"));
    // The tabs share the row above the tables with the target, where they
    // take no height from the plot on a short screen.
    m_leftOut->setTextFormat(Qt::PlainText);
    m_leftOut->hide();
    auto *versusPage = new QWidget(this);
    auto *versusLayout = new QVBoxLayout(versusPage);
    versusLayout->setContentsMargins(0, 0, 0, 0);
    versusLayout->addWidget(m_versus);
    versusLayout->addWidget(m_leftOut);
    m_pages->addWidget(m_table);
    m_pages->addWidget(versusPage);
    m_tabs->addTab(tr("Stat&istics"));
    m_tabs->addTab(tr("&Head to head"));
    m_tabs->setDocumentMode(true);
    m_tabs->setDrawBase(false);
    m_tabs->setExpanding(false);
    // Both tabs always fit; the scroll buttons the bar keeps anyway are
    // named in the window's language, whether or not Qt's own catalogue is
    // on the system.
    m_tabs->setUsesScrollButtons(false);
    for (QToolButton *scroll : m_tabs->findChildren<QToolButton *>()) {
        const bool left = scroll->objectName().contains(QLatin1String("Left"));
        scroll->setAccessibleName(left ? tr("Scroll Left") : tr("Scroll Right"));
    }
    QObject::connect(m_tabs, &QTabBar::currentChanged, m_pages, &QStackedWidget::setCurrentIndex);

    QHBoxLayout *views = ViewButtons(this, m_views);

    LayOut(targetRow, views);
    m_files = new CompareFiles(*this);

    // Anywhere in this window, as in the main one.
    QAction *copy = NewCopyTableAction(this);
    addAction(copy);
    QObject::connect(copy, &QAction::triggered, this, &CompareWindow::CopyTable);
    QObject::connect(m_copy, &QPushButton::clicked, this, &CompareWindow::CopyTable);
    OfferNotationHelp();
    QObject::connect(m_save, &QPushButton::clicked, this, &CompareWindow::SaveChart);
    QObject::connect(m_add, &QPushButton::clicked, this, [this] { AddRoll({}); });
    QObject::connect(m_views, &QButtonGroup::idClicked, this, [this](int id) { SetView(static_cast<View>(id)); });
    QObject::connect(m_target, &QSpinBox::valueChanged, this, &CompareWindow::TargetEdited);
    QObject::connect(m_sense, &QComboBox::currentIndexChanged, this, &CompareWindow::TargetEdited);
    m_plot->CursorMoved = [this] { ShowCursor(); };

    const CompareState state = ReadCompareState(*m_settings, kMostRolls);
    m_target->setValue(static_cast<int>(state.target.total));
    m_sense->setCurrentIndex(m_sense->findData(static_cast<int>(state.target.sense)));
    TargetEdited();
    for (const QString &roll : state.remembered ? state.rolls : QStringList { firstRoll })
        AddRoll(roll);
    SetView(state.view);
    m_loading = false;
    Refresh();
    RollEdit(0)->setFocus();
}

CompareWindow::~CompareWindow()
{
    m_settings->sync();
}

QPushButton *CompareWindow::AddButton() const
{
    return m_add;
}

QSpinBox *CompareWindow::Target() const
{
    return m_target;
}

QComboBox *CompareWindow::Sense() const
{
    return m_sense;
}

QTableWidget *CompareWindow::Table() const
{
    return m_table;
}

ComparePlot *CompareWindow::Plot() const
{
    return m_plot;
}

const compare::Comparison &CompareWindow::Shown() const
{
    return m_shown;
}

QString CompareWindow::Readout() const
{
    const auto cursor = m_plot->Cursor();
    if (!cursor)
        return tr("Point at the plot, or use the arrow keys, Home and End.");
    return tr("At %1: every roll's chance is in the last column.").arg(*cursor);
}

void CompareWindow::ShowCursor()
{
    // The table's rows are the plot's rolls, in the same order.
    const std::vector<QString> &readouts = m_plot->Readouts();
    for (int row = 0; row < m_table->rowCount(); ++row) {
        // A labelled roll's labels take the rest of its line.
        if (m_shown.Rolls()[static_cast<std::size_t>(row)].roll->Labelled())
            continue;
        auto *item = new QTableWidgetItem(readouts[static_cast<std::size_t>(row)]);
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_table->setItem(row, 6, item);
    }
    FitWidth();
    m_readout->setText(Readout());
}

void CompareWindow::SetView(View view)
{
    m_views->button(static_cast<int>(view))->setChecked(true);
    m_shown.SetView(view);
    m_plot->Changed();
    ShowCursor();
    Remember();
}

void CompareWindow::TargetEdited()
{
    m_shown.SetTarget({ m_target->value(), static_cast<View>(m_sense->currentData().toInt()) });
    Refresh();
}

void CompareWindow::Refresh()
{
    if (m_loading)
        return;
    std::vector<const Row *> valid;
    std::vector<compare::PlottedRoll> plotted;
    for (const auto &row : m_rows) {
        if (!row->result)
            continue;
        valid.push_back(row.get());
        plotted.push_back({ row->style, row->result });
    }
    m_shown.SetRolls(std::move(plotted));
    m_plot->Changed();
    FillTable(valid);
    FaceOff(valid);
    m_copy->setEnabled(!valid.empty());
    m_save->setEnabled(!valid.empty());
    ShowCursor();
    Remember();
}

void CompareWindow::FillTable(const std::vector<const Row *> &valid)
{
    const compare::Target &target = m_shown.Target();
    m_table->setHorizontalHeaderLabels({ tr("Roll"),
        tr("Lowest"),
        tr("Highest"),
        tr("Mean"),
        tr("Std. deviation"),
        tr("Chance of %1 %2").arg(ViewLabel(target.sense), QString::number(target.total)),
        tr("At cursor") });
    m_table->clearSpans();
    m_table->setRowCount(static_cast<int>(valid.size()));
    for (std::size_t i = 0; i < valid.size(); ++i) {
        if (valid[i]->result->Labelled()) {
            FillLabelledLine(static_cast<int>(i), *valid[i]->result);
            continue;
        }
        const auto cells = compare::StatisticsRow(*valid[i]->result, target);
        for (std::size_t column = 0; column < cells.size(); ++column) {
            const bool unbounded = column == 2 && valid[i]->result->statistics.unbounded;
            auto *item = new QTableWidgetItem(unbounded ? tr("unbounded") : Text(cells[column]));
            if (column > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            else
                item->setToolTip(item->text());
            m_table->setItem(static_cast<int>(i), static_cast<int>(column), item);
        }
    }
}

void CompareWindow::FillLabelledLine(int line, const compare::RollResult &roll)
{
    auto *name = new QTableWidgetItem(Text(roll.expression));
    name->setToolTip(name->text());
    m_table->setItem(line, 0, name);
    // No total, mean or target means anything for labels: their chances
    // stand in those columns' place, to two decimals as the head-to-head
    // cells show, and exactly as the chances of totals are written where a
    // screen reader or a tooltip reads them.
    auto *shares = new QTableWidgetItem(Text(compare::LabelShares(roll.distribution, 2)));
    const QString exact = tr("Labels: %1").arg(Text(compare::LabelShares(roll.distribution, 9)));
    shares->setToolTip(exact);
    shares->setData(Qt::AccessibleTextRole, exact);
    m_table->setItem(line, 1, shares);
    m_table->setSpan(line, 1, 1, m_table->columnCount() - 1);
}

void CompareWindow::Remember()
{
    if (m_loading)
        return;
    if (Edited)
        Edited();
    if (!m_remembered)
        return;
    CompareState state;
    for (const auto &row : m_rows)
        state.rolls << row->edit->text();
    state.target = m_shown.Target();
    state.view = m_shown.ViewShown();
    WriteCompareState(*m_settings, state);
}

void CompareWindow::CopyTable() const
{
    std::vector<dice::Column> columns;
    std::vector<std::shared_ptr<const compare::RollResult>> rolls;
    for (const auto &row : m_rows) {
        // A result shown while its box's new text is still counting belongs
        // to a roll no longer typed.
        if (row->result && row->result->expression == row->edit->text().trimmed().toStdString()) {
            columns.push_back({ row->result->expression, &row->result->distribution });
            if (!row->result->Labelled())
                rolls.push_back(row->result);
        }
    }
    if (columns.empty())
        return;
    if (rolls.empty())
        return CopyRolls(columns);
    // Pairs still counting are counted here: a pair takes about as long as
    // counting one of its rolls, so what is copied is always whole.
    const compare::HeadToHead headToHead = compare::FaceOff(rolls, m_headToHead.get(), {});
    CopyRolls(columns, &headToHead);
}

void CompareWindow::SaveChart()
{
    SavePictureAs(this, QStringLiteral("compare.svg"), [this](const QString &path) { return SaveChartTo(path); });
}

void CompareWindow::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (Hidden && isHidden())
        Hidden();
}

bool CompareWindow::SaveChartTo(const QString &path)
{
    Picture picture;
    picture.size = m_plot->size();
    picture.ratio = m_plot->devicePixelRatioF();
    picture.title = m_plot->Title();
    picture.description = m_plot->Summary();
    picture.render = [this](QPainter &painter, QSize size) { m_plot->Render(painter, size); };
    return SavePictureTo(this, picture, path);
}

} // namespace window
