// The roll rows of the Compare window: added and removed, numbered for the
// keyboard and screen readers, and each row's text parsed as it is typed and
// counted on a worker, its answer or its error shown under its box.
#include "window/compare.h"

#include "window/compare_compute.h"
#include "window/compare_row.h"
#include "window/error_mark.h"
#include "window/notation_help.h"
#include "window/parse_errors.h"
#include "window/plot_access.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTabBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace window
{

namespace
{

// A computation still running after this long says so under its box, and its
// roll's previous result leaves the table and the plot.
constexpr int kWorkingAfterMs = 150;

} // namespace

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
    return m_computer->Busy(kHeadToHeadSlot)
        || std::any_of(m_rows.begin(), m_rows.end(), [this](const std::unique_ptr<Row> &row) {
               return m_computer->Busy(row->id);
           });
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
    row->edit = new QLineEdit(row->widget);
    // A roll comes back as it was typed, however long, or it would be
    // another roll: a box holds a remembered roll longer than it lets anyone type.
    row->edit->setMaxLength(std::max(row->edit->maxLength(), static_cast<int>(text.size())));
    row->edit->setText(text);
    row->edit->installEventFilter(this);
    row->edit->setToolTip(RollBoxToolTip());
    row->remove = new QPushButton(tr("Remove"), row->widget);
    row->status = new QLabel(row->widget);
    row->status->setTextFormat(Qt::PlainText);
    row->status->setWordWrap(true);
    row->status->hide();
    row->stop = new QPushButton(tr("Stop"), row->widget);
    row->stop->hide();
    row->label->setBuddy(row->edit);
    row->working = new QTimer(row->widget);
    row->working->setSingleShot(true);
    row->working->setInterval(kWorkingAfterMs);
    auto *grid = new QGridLayout(row->widget);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(row->label, 0, 0);
    grid->addWidget(row->edit, 0, 1);
    grid->addWidget(row->remove, 0, 2);
    auto *statusLine = new QHBoxLayout;
    statusLine->addWidget(row->status, 1);
    statusLine->addWidget(row->stop);
    grid->addLayout(statusLine, 1, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    m_rowsLayout->insertWidget(m_rowsLayout->count() - 1, row->widget);
    // Shown now rather than when the layout gets to it, so that the window's
    // size hint counts it at once.
    row->widget->show();

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
    QObject::connect(added->stop, &QPushButton::clicked, this, [this, added] { StopCounting(*added); });
    // Focused first: the rows' area scrolls to the focused row whenever it is
    // laid out, which may be at once or later.
    if (!m_loading)
        added->edit->setFocus();
    Renumber();
    RollEdited(*added);
    if (!m_loading)
        GrowWithRows();
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

void CompareWindow::Renumber()
{
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        Row &row = *m_rows[i];
        const QString name = tr("Roll %1").arg(i + 1);
        row.label->setText(name + QLatin1Char(':'));
        row.edit->setAccessibleName(name);
        row.remove->setAccessibleName(tr("Remove roll %1").arg(i + 1));
        row.stop->setAccessibleName(tr("Stop counting roll %1").arg(i + 1));
        row.remove->setEnabled(m_rows.size() > 1);
    }
    m_add->setEnabled(RollCount() < kMostRolls);
    ShowCounting();
    FitHeights();
    m_rowsArea->updateGeometry();
    // Tab order follows the rows: each box, then its remove button.
    QWidget *previous = nullptr;
    for (const auto &row : m_rows) {
        if (previous)
            setTabOrder(previous, row->edit);
        setTabOrder(row->edit, row->remove);
        setTabOrder(row->remove, row->stop);
        previous = row->stop;
    }
    if (previous)
        setTabOrder(previous, m_add);
    // Then the tabs over the tables, which stand before the target in their row.
    setTabOrder(m_add, m_tabs);
}

void CompareWindow::FitHeights()
{
    // Room for a line per roll row, valid or not, so that the window keeps
    // its layout while answers come and go; on a short screen two lines, the
    // rest scrolled.
    const auto lines = [this](int count) {
        return m_table->horizontalHeader()->sizeHint().height() + 2 * m_table->frameWidth()
            + m_table->verticalHeader()->defaultSectionSize() * count;
    };
    m_table->setMinimumHeight(lines(std::min(RollCount(), 2)));
    m_table->setMaximumHeight(lines(RollCount()));
    // The note under the head-to-head table takes the room of a line that a
    // roll it leaves out would have had, so that switching tabs moves nothing.
    const int note =
        m_leftOut->isHidden() ? 0 : m_leftOut->sizeHint().height() + m_leftOut->parentWidget()->layout()->spacing();
    m_versus->setMaximumHeight(lines(RollCount()));
    m_versus->setMinimumHeight(std::min(lines(std::min(RollCount(), 2)), lines(RollCount()) - note));
    m_pages->setMaximumHeight(lines(RollCount()));
}

void CompareWindow::RollEdited(Row &row)
{
    if (SplitLines(row))
        return;
    // Parsed as typed, spaces and all, so that an error's place counts the
    // characters the user sees; the roll is named without the outer spaces.
    const QString typed = row.edit->text();
    const std::string name = typed.trimmed().toStdString();
    m_computer->Cancel(row.id);
    row.working->stop();
    QString status;
    std::optional<ErrorSpan> marked;
    if (name.empty()) {
        row.result.reset();
    } else {
        try {
            const dice::Expression expression = dice::Parse(typed.toStdString());
            m_computer->Start(row.id, name, expression);
            row.working->start();
        } catch (const dice::ParseError &error) {
            row.result.reset();
            status = ParseErrors::Status(error, typed);
            marked = SpanOf(typed, error);
        }
    }
    MarkError(*row.edit, marked);
    ShowStatus(row, status);
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
    ShowStatus(*row, tr("Working..."));
    // What the plot showed for this row belongs to an older text.
    row->result.reset();
    Refresh();
}

void CompareWindow::Answered(std::uint64_t id, const RollAnswer &answer)
{
    if (id == kHeadToHeadSlot) {
        HeadToHeadAnswered(answer);
        return;
    }
    Row *row = Find(id);
    if (!row)
        return;
    row->working->stop();
    row->result = answer.result;
    const QString status =
        answer.error.empty() ? QString() : tr("This roll could not be counted: %1").arg(Text(answer.error));
    ShowStatus(*row, status);
    row->edit->setAccessibleDescription(status);
    Refresh();
}

void CompareWindow::ShowStatus(Row &row, const QString &status)
{
    row.status->setText(status);
    row.stop->setVisible(!status.isEmpty() && m_computer->Busy(row.id));
    ShowCounting();
    if (row.status->isHidden() == status.isEmpty())
        return;
    row.status->setVisible(!status.isEmpty());
    // The rows' area hints at the rows' height, which a scrolling area
    // does not pass on by itself.
    m_rowsArea->updateGeometry();
}

void CompareWindow::StopCounting(Row &row)
{
    if (!m_computer->Busy(row.id))
        return;
    const bool hadFocus = row.stop->hasFocus();
    m_computer->Cancel(row.id);
    row.working->stop();
    row.result.reset();
    const QString status = tr("Stopped. Edit the roll to count it again.");
    ShowStatus(row, status);
    row.edit->setAccessibleDescription(status);
    if (hadFocus)
        row.edit->setFocus();
    Refresh();
}

void CompareWindow::ShowCounting()
{
    if (!m_counting)
        return;
    QStringList counting;
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i]->stop->isVisibleTo(m_rows[i]->widget))
            counting << QString::number(i + 1);
    }
    if (counting.size() == 1)
        m_counting->setText(tr("Counting Roll %1...").arg(counting.front()));
    else
        m_counting->setText(tr("Counting Rolls %1...").arg(counting.join(QStringLiteral(", "))));
    m_counting->setVisible(!counting.isEmpty());
}

CompareWindow::Row *CompareWindow::Find(std::uint64_t id)
{
    for (const auto &row : m_rows) {
        if (row->id == id)
            return row.get();
    }
    return nullptr;
}

} // namespace window
