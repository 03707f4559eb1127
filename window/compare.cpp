#include "window/compare.h"

#include "dice/text.h"
#include "window/compare_compute.h"
#include "window/compare_files.h"
#include "window/compare_plot.h"
#include "window/plot_parts.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyle>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace window
{

using rollstats::View;

namespace
{

// A computation still running after this long says so under its box, and its
// roll's previous result leaves the table and the plot.
constexpr int kWorkingAfterMs = 150;

// Up to four decimals, without trailing zeros: "11.5", "13.825", "3.4157".
QString Decimal(double value)
{
    QString text = QString::number(value, 'f', 4);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text == QStringLiteral("-0") ? QStringLiteral("0") : text;
}

} // namespace

struct CompareWindow::Row {
    std::uint64_t id = 0;
    std::size_t style = 0;
    QWidget *widget = nullptr;
    QLabel *label = nullptr;
    QLineEdit *edit = nullptr;
    QPushButton *remove = nullptr;
    QLabel *status = nullptr;
    QTimer *working = nullptr;
    std::shared_ptr<const RollResult> result;
};

CompareWindow::CompareWindow(QWidget *parent, const QString &firstRoll, const QString &settingsFile)
    : QWidget(parent, Qt::Window)
    , m_settings(CompareSettings(settingsFile))
    , m_computer(new RollComputer(this))
    , m_rowsLayout(new QVBoxLayout)
    , m_add(new QPushButton(QStringLiteral("&Add Roll"), this))
    , m_target(new QSpinBox(this))
    , m_sense(new QComboBox(this))
    , m_table(new QTableWidget(this))
    , m_views(new QButtonGroup(this))
    , m_plot(new ComparePlot(this))
    , m_readout(new QLabel(this))
    , m_copy(new QPushButton(QStringLiteral("&Copy Table"), this))
    , m_save(new QPushButton(QStringLiteral("&Save Chart..."), this))
    , m_scroll(new QScrollArea(this))
{
    setObjectName(QStringLiteral("compare"));
    setWindowTitle(QStringLiteral("Compare Rolls"));
    m_computer->Finished = [this](std::uint64_t id, const RollAnswer &answer) { Answered(id, answer); };

    m_rowsLayout->setSpacing(2);
    auto *target = new QLabel(QStringLiteral("&Target:"), this);
    target->setBuddy(m_target);
    m_target->setRange(-999'999'999, 999'999'999);
    m_target->setAccessibleName(QStringLiteral("Target"));
    m_sense->setAccessibleName(QStringLiteral("Target sense"));
    for (const View sense : { View::AtLeast, View::AtMost, View::Exactly })
        m_sense->addItem(QLatin1String(ViewName(sense)), static_cast<int>(sense));
    auto *targetRow = new QHBoxLayout;
    targetRow->addWidget(m_add);
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
    m_table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_table->setAccessibleName(QStringLiteral("Statistics of the rolls"));

    QHBoxLayout *views = ViewButtons(this, m_views);

    m_readout->setTextFormat(Qt::PlainText);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_copy);
    buttons->addWidget(m_save);

    // Eight rolls make the window taller than a small screen: it scrolls up
    // and down rather than leave its buttons off the screen.
    auto *content = new QWidget(m_scroll);
    auto *layout = new QVBoxLayout(content);
    layout->addLayout(m_rowsLayout);
    layout->addLayout(targetRow);
    layout->addWidget(m_table);
    layout->addLayout(views);
    layout->addWidget(m_plot, 1);
    layout->addWidget(m_readout);
    layout->addLayout(buttons);
    m_scroll->setWidget(content);
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setFocusPolicy(Qt::NoFocus);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(m_scroll);

    // Anywhere in this window, as in the main one.
    auto *copy = new QAction(QStringLiteral("Copy Table"), this);
    copy->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    addAction(copy);
    QObject::connect(copy, &QAction::triggered, this, &CompareWindow::CopyTable);
    QObject::connect(m_copy, &QPushButton::clicked, this, &CompareWindow::CopyTable);
    QObject::connect(m_save, &QPushButton::clicked, this, &CompareWindow::SaveChart);
    QObject::connect(m_add, &QPushButton::clicked, this, [this] { AddRoll({}); });
    QObject::connect(m_views, &QButtonGroup::idClicked, this, [this](int id) { SetView(static_cast<View>(id)); });
    QObject::connect(m_target, &QSpinBox::valueChanged, this, &CompareWindow::Refresh);
    QObject::connect(m_sense, &QComboBox::currentIndexChanged, this, &CompareWindow::Refresh);
    m_plot->CursorMoved = [this] { ShowCursor(); };

    const CompareState state = ReadCompareState(*m_settings, kMostRolls);
    m_target->setValue(static_cast<int>(state.target));
    m_sense->setCurrentIndex(m_sense->findData(static_cast<int>(state.sense)));
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

int CompareWindow::RollCount() const
{
    return static_cast<int>(m_rows.size());
}

QLineEdit *CompareWindow::RollEdit(int row) const
{
    return m_rows.at(static_cast<std::size_t>(row))->edit;
}

QPushButton *CompareWindow::RemoveButton(int row) const
{
    return m_rows.at(static_cast<std::size_t>(row))->remove;
}

QString CompareWindow::RollStatus(int row) const
{
    return m_rows.at(static_cast<std::size_t>(row))->status->text();
}

bool CompareWindow::Computing() const
{
    return std::any_of(
        m_rows.begin(), m_rows.end(), [this](const std::unique_ptr<Row> &row) { return m_computer->Busy(row->id); });
}

void CompareWindow::AddRoll(const QString &text)
{
    if (RollCount() >= kMostRolls)
        return;
    auto row = std::make_unique<Row>();
    row->id = m_nextId++;
    // The first style no other row wears, so that no roll changes colour.
    while (std::any_of(
        m_rows.begin(), m_rows.end(), [&](const std::unique_ptr<Row> &other) { return other->style == row->style; }))
        ++row->style;
    row->widget = new QWidget(this);
    row->label = new QLabel(row->widget);
    row->edit = new QLineEdit(text, row->widget);
    row->remove = new QPushButton(QStringLiteral("Remove"), row->widget);
    row->status = new QLabel(row->widget);
    row->status->setTextFormat(Qt::PlainText);
    row->status->setWordWrap(true);
    row->status->hide();
    row->label->setBuddy(row->edit);
    row->working = new QTimer(row->widget);
    row->working->setSingleShot(true);
    row->working->setInterval(kWorkingAfterMs);
    auto *grid = new QGridLayout(row->widget);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(row->label, 0, 0);
    grid->addWidget(row->edit, 0, 1);
    grid->addWidget(row->remove, 0, 2);
    grid->addWidget(row->status, 1, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    m_rowsLayout->addWidget(row->widget);

    Row *added = row.get();
    m_rows.push_back(std::move(row));
    QObject::connect(added->edit, &QLineEdit::textChanged, this, [this, added] { RollEdited(*added); });
    QObject::connect(added->remove, &QPushButton::clicked, this, [this, id = added->id] {
        for (int i = 0; i < RollCount(); ++i) {
            if (m_rows[static_cast<std::size_t>(i)]->id == id)
                return RemoveRoll(i);
        }
    });
    QObject::connect(added->working, &QTimer::timeout, this, [this, id = added->id] { ShowWorking(id); });
    Renumber();
    RollEdited(*added);
    if (!m_loading)
        added->edit->setFocus();
}

void CompareWindow::RemoveRoll(int index)
{
    if (RollCount() <= 1 || index < 0 || index >= RollCount())
        return;
    const auto found = m_rows.begin() + index;
    m_computer->Cancel((*found)->id);
    const bool hadFocus = (*found)->widget->isAncestorOf(QApplication::focusWidget());
    // The row may be going from its own Remove button's click, which is
    // still on the stack: it leaves the layout now and is deleted later.
    QWidget *gone = (*found)->widget;
    (*found)->working->stop();
    QObject::disconnect((*found)->edit, nullptr, this, nullptr);
    gone->hide();
    m_rowsLayout->removeWidget(gone);
    gone->deleteLater();
    m_rows.erase(found);
    Renumber();
    if (hadFocus)
        RollEdit(std::min(index, RollCount() - 1))->setFocus();
    Refresh();
}

QSize CompareWindow::sizeHint() const
{
    // All of the content where the screen has room for it, less the title bar.
    QSize wanted = m_scroll->widget()->sizeHint();
    wanted.rwidth() += m_scroll->verticalScrollBar()->sizeHint().width();
    if (const QScreen *shown = screen()) {
        const QRect room = shown->availableGeometry();
        const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
        wanted.setHeight(std::min(wanted.height(), room.height() - titleBar - 2 * fontMetrics().height()));
    }
    return wanted;
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

QString CompareWindow::Readout() const
{
    const auto cursor = m_plot->Cursor();
    if (!cursor)
        return QStringLiteral("Point at the plot, or use the arrow keys, Home and End.");
    return QStringLiteral("At %1: every roll's chance is in the last column.").arg(*cursor);
}

void CompareWindow::ShowCursor()
{
    // The table's rows are the plot's rolls, in the same order.
    const std::vector<QString> &readouts = m_plot->Readouts();
    for (int row = 0; row < m_table->rowCount(); ++row) {
        auto *item = new QTableWidgetItem(readouts[static_cast<std::size_t>(row)]);
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_table->setItem(row, 6, item);
    }
    // Wide enough for every column, so that nothing is cut off.
    QHeaderView *columns = m_table->horizontalHeader();
    int width = 2 * m_table->frameWidth();
    const int padding = 2 * m_table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_table) + 8;
    for (int column = 0; column < m_table->columnCount(); ++column) {
        int widest = columns->sectionSizeHint(column);
        for (int row = 0; row < m_table->rowCount(); ++row)
            widest = std::max(
                widest, m_table->fontMetrics().horizontalAdvance(m_table->item(row, column)->text()) + padding);
        width += widest;
    }
    m_table->setMinimumWidth(std::max(width, fontMetrics().horizontalAdvance(QLatin1Char('x')) * 60));
    // Only the height scrolls: the window is kept as wide as its content.
    m_scroll->setMinimumWidth(
        m_scroll->widget()->minimumSizeHint().width() + m_scroll->verticalScrollBar()->sizeHint().width());
    m_readout->setText(Readout());
}

void CompareWindow::SetView(View view)
{
    m_views->button(static_cast<int>(view))->setChecked(true);
    m_plot->SetView(view);
    ShowCursor();
    Remember();
}

void CompareWindow::Renumber()
{
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        Row &row = *m_rows[i];
        const QString name = QStringLiteral("Roll %1").arg(i + 1);
        row.label->setText(name + QLatin1Char(':'));
        row.edit->setAccessibleName(name);
        row.remove->setAccessibleName(QStringLiteral("Remove roll %1").arg(i + 1));
        row.remove->setEnabled(m_rows.size() > 1);
    }
    m_add->setEnabled(RollCount() < kMostRolls);
    // Room for a line per roll row, valid or not, so that the window keeps
    // its layout while answers come and go.
    m_table->setFixedHeight(m_table->horizontalHeader()->sizeHint().height() + 2 * m_table->frameWidth()
        + m_table->verticalHeader()->defaultSectionSize() * RollCount());
    // Tab order follows the rows: each box, then its remove button.
    QWidget *previous = nullptr;
    for (const auto &row : m_rows) {
        if (previous)
            setTabOrder(previous, row->edit);
        setTabOrder(row->edit, row->remove);
        previous = row->remove;
    }
    if (previous)
        setTabOrder(previous, m_add);
}

void CompareWindow::RollEdited(Row &row)
{
    // Parsed as typed, spaces and all, so that an error's place counts the
    // characters the user sees; the roll is named without the outer spaces.
    const QString typed = row.edit->text();
    const std::string name = typed.trimmed().toStdString();
    m_computer->Cancel(row.id);
    row.working->stop();
    QString status;
    if (name.empty()) {
        row.result.reset();
    } else {
        try {
            const dice::Expression expression = dice::Parse(typed.toStdString());
            m_computer->Start(row.id, name, expression);
            row.working->start();
        } catch (const dice::ParseError &error) {
            row.result.reset();
            status = QStringLiteral("At character %1: %2").arg(error.Position() + 1).arg(Text(error.what()));
        }
    }
    row.status->setText(status);
    row.status->setVisible(!status.isEmpty());
    row.edit->setAccessibleDescription(status);
    Remember();
    if (!m_computer->Busy(row.id))
        Refresh();
}

void CompareWindow::ShowWorking(std::uint64_t id)
{
    Row *row = Find(id);
    if (!row || !m_computer->Busy(id))
        return;
    row->status->setText(QStringLiteral("Working..."));
    row->status->show();
    // What the plot showed for this row belongs to an older text.
    row->result.reset();
    Refresh();
}

void CompareWindow::Answered(std::uint64_t id, const RollAnswer &answer)
{
    Row *row = Find(id);
    if (!row)
        return;
    row->working->stop();
    row->result = answer.result;
    const QString status = answer.error.empty() ? QString() : Text(answer.error);
    row->status->setText(status);
    row->status->setVisible(!status.isEmpty());
    row->edit->setAccessibleDescription(status);
    Refresh();
}

CompareWindow::Row *CompareWindow::Find(std::uint64_t id)
{
    for (const auto &row : m_rows) {
        if (row->id == id)
            return row.get();
    }
    return nullptr;
}

void CompareWindow::Refresh()
{
    if (m_loading)
        return;
    std::vector<const Row *> valid;
    std::vector<PlottedRoll> plotted;
    for (const auto &row : m_rows) {
        if (!row->result)
            continue;
        valid.push_back(row.get());
        plotted.push_back({ row->style, row->result });
    }
    m_plot->Show(std::move(plotted), m_target->value(), static_cast<View>(m_sense->currentData().toInt()));
    FillTable(valid);
    m_copy->setEnabled(!valid.empty());
    m_save->setEnabled(!valid.empty());
    ShowCursor();
    Remember();
}

void CompareWindow::FillTable(const std::vector<const Row *> &valid)
{
    const View sense = m_plot->Sense();
    const std::int64_t target = m_plot->Target();
    m_table->setHorizontalHeaderLabels({ QStringLiteral("Roll"),
        QStringLiteral("Lowest"),
        QStringLiteral("Highest"),
        QStringLiteral("Mean"),
        QStringLiteral("Std. deviation"),
        QStringLiteral("Chance of ") + QLatin1String(ViewName(sense)) + QLatin1Char(' ') + QString::number(target),
        QStringLiteral("At cursor") });
    m_table->setRowCount(static_cast<int>(valid.size()));
    for (std::size_t i = 0; i < valid.size(); ++i) {
        const RollResult &roll = *valid[i]->result;
        const dice::Statistics &statistics = roll.statistics;
        const mpz_class part = TargetOutcomes(roll.distribution, target, sense);
        const QStringList cells = { Text(roll.expression),
            QString::number(statistics.lowest),
            QString::number(statistics.highest),
            Decimal(statistics.mean.get_d()),
            Decimal(statistics.standardDeviation),
            Text(dice::TablePercent(part, roll.distribution.outcomes)) };
        for (int column = 0; column < cells.size(); ++column) {
            auto *item = new QTableWidgetItem(cells[column]);
            if (column > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(static_cast<int>(i), column, item);
        }
    }
}

void CompareWindow::Remember()
{
    if (m_loading)
        return;
    CompareState state;
    for (const auto &row : m_rows)
        state.rolls << row->edit->text();
    state.target = m_plot->Target();
    state.sense = m_plot->Sense();
    state.view = m_plot->ViewShown();
    WriteCompareState(*m_settings, state);
}

void CompareWindow::CopyTable() const
{
    std::vector<dice::Column> columns;
    for (const auto &row : m_rows) {
        // A result shown while its box's new text is still counting belongs
        // to a roll no longer typed.
        if (row->result && row->result->expression == row->edit->text().trimmed().toStdString())
            columns.push_back({ row->result->expression, &row->result->distribution });
    }
    if (columns.empty())
        return;
    auto *mime = new QMimeData;
    mime->setData(QStringLiteral("text/csv"), QByteArray::fromStdString(dice::RollsTableText(columns, ',', "\r\n")));
    mime->setText(Text(dice::RollsTableText(columns, '\t', "\n")));
    QGuiApplication::clipboard()->setMimeData(mime);
}

void CompareWindow::SaveChart()
{
    QString selected;
    QString path = QFileDialog::getSaveFileName(this,
        QStringLiteral("Save Chart"),
        QStringLiteral("compare.svg"),
        QStringLiteral("SVG image (*.svg);;PNG image (*.png)"),
        &selected);
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)
        && !path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive))
        path += selected.startsWith(QStringLiteral("PNG")) ? QStringLiteral(".png") : QStringLiteral(".svg");
    SaveChartTo(path);
}

void CompareWindow::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (Hidden && isHidden())
        Hidden();
}

bool CompareWindow::SaveChartTo(const QString &path)
{
    const QString reason = SaveChartFile(*m_plot, path);
    if (reason.isEmpty())
        return true;
    QMessageBox::critical(this,
        QStringLiteral("Chart not saved"),
        QStringLiteral("The chart could not be saved to %1:\n%2").arg(QDir::toNativeSeparators(path), reason));
    return false;
}

} // namespace window
