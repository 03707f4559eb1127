// The Compare window's head-to-head table: a line and a column per valid
// roll, numbered as the roll boxes are, and in each cell the chance that the
// line's roll beats the column's, with the ties and losses in its tooltip.
// The pairs are counted off the window's thread; until they come back the
// table shows the pairs it knew before, so an edit to one roll blanks only
// that roll's line and column. Rolls whose results are labels have nothing
// to beat or lose to: a line under the table names them.
#include "window/compare.h"

#include "window/compare_compute.h"
#include "window/compare_row.h"
#include "window/plot_access.h"

#include "dice/text/text.h"

#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QTabBar>
#include <QTableWidget>

#include <algorithm>

namespace window
{

namespace
{

// The index of a result in the table last counted.
std::optional<std::size_t> Position(const compare::HeadToHead *counted, const compare::RollResult *roll)
{
    if (!counted)
        return std::nullopt;
    for (std::size_t i = 0; i < counted->rolls.size(); ++i) {
        if (counted->rolls[i].get() == roll)
            return i;
    }
    return std::nullopt;
}

QString Percent(const mpz_class &part, const mpz_class &whole)
{
    return Text(dice::TablePercent(part, whole));
}

} // namespace

QTabBar *CompareWindow::Tabs() const
{
    return m_tabs;
}

QTableWidget *CompareWindow::HeadToHeadTable() const
{
    return m_versus;
}

QLabel *CompareWindow::LeftOutOfHeadToHead() const
{
    return m_leftOut;
}

void CompareWindow::FaceOff(const std::vector<const Row *> &valid)
{
    std::vector<std::shared_ptr<const compare::RollResult>> rolls;
    for (const Row *row : valid) {
        if (!row->result->Labelled())
            rolls.push_back(row->result);
    }
    if (rolls.empty()) {
        m_computer->Cancel(kHeadToHeadSlot);
        m_headToHead.reset();
    } else if (!m_headToHead || m_headToHead->rolls != rolls) {
        m_computer->StartHeadToHead(kHeadToHeadSlot, std::move(rolls), m_headToHead);
    }
    FillHeadToHead();
}

void CompareWindow::HeadToHeadAnswered(const RollAnswer &answer)
{
    // Only a lack of memory can fail here; the table then keeps what it knew.
    if (!answer.headToHead)
        return;
    m_headToHead = answer.headToHead;
    FillHeadToHead();
}

void CompareWindow::FillHeadToHead()
{
    std::vector<const Row *> valid;
    std::vector<int> numbers;
    QStringList leftOut;
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i]->result && m_rows[i]->result->Labelled()) {
            leftOut << QString::number(i + 1);
        } else if (m_rows[i]->result) {
            valid.push_back(m_rows[i].get());
            numbers.push_back(static_cast<int>(i + 1));
        }
    }
    ShowLeftOut(leftOut);
    const auto count = static_cast<int>(valid.size());
    const compare::HeadToHead *counted = m_headToHead.get();
    m_versus->setRowCount(count);
    m_versus->setColumnCount(count + 1);
    QStringList lines;
    auto *rollHeading = new QTableWidgetItem(tr("Roll"));
    m_versus->setHorizontalHeaderItem(0, rollHeading);
    for (int i = 0; i < count; ++i) {
        const QString expression = Text(valid[static_cast<std::size_t>(i)]->result->expression);
        const QString number = QString::number(numbers[static_cast<std::size_t>(i)]);
        lines << number;
        auto *heading = new QTableWidgetItem(number);
        heading->setToolTip(tr("Chance to beat roll %1, %2").arg(number, expression));
        m_versus->setHorizontalHeaderItem(i + 1, heading);
        auto *roll = new QTableWidgetItem(expression);
        roll->setToolTip(expression);
        m_versus->setItem(i, 0, roll);
    }
    m_versus->setVerticalHeaderLabels(lines);
    for (int row = 0; row < count; ++row) {
        const compare::RollResult *first = valid[static_cast<std::size_t>(row)]->result.get();
        const auto firstAt = Position(counted, first);
        for (int column = 0; column < count; ++column) {
            const compare::RollResult *second = valid[static_cast<std::size_t>(column)]->result.get();
            const auto secondAt = Position(counted, second);
            auto *item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (firstAt && secondAt) {
                const dice::Versus &versus = counted->Cell(*firstAt, *secondAt);
                item->setText(Text(dice::FixedPercent(versus.wins, versus.outcomes, 2)) + QLatin1Char('%'));
                QString summary = tr("%1 vs %2: wins %3, ties %4, loses %5")
                                      .arg(Text(first->expression),
                                          Text(second->expression),
                                          Percent(versus.wins, versus.outcomes),
                                          Percent(versus.ties, versus.outcomes),
                                          Percent(versus.loses, versus.outcomes));
                if (versus.undecided != 0)
                    summary += tr("; undecided %1").arg(Percent(versus.undecided, versus.outcomes));
                item->setToolTip(summary);
                item->setData(Qt::AccessibleDescriptionRole, summary);
            }
            m_versus->setItem(row, column + 1, item);
        }
    }
    FitWidth();
}

void CompareWindow::ShowLeftOut(QStringList numbers)
{
    QString note;
    if (numbers.size() == 1) {
        note = tr("Left out of head to head: roll %1, whose results are labels.").arg(numbers.front());
    } else if (numbers.size() > 1) {
        const QString last = numbers.takeLast();
        note = tr("Left out of head to head: rolls %1, whose results are labels.")
                   .arg(tr("%1 and %2").arg(numbers.join(QStringLiteral(", ")), last));
    }
    m_leftOut->setText(note);
    if (m_leftOut->isHidden() == note.isEmpty())
        return;
    m_leftOut->setVisible(!note.isEmpty());
    FitHeights();
}

int CompareWindow::FitHeadToHead()
{
    // Each figure's column has room for the widest figure, so that a pending
    // cell's column keeps its width when the figure comes in.
    const int padding = 2 * m_versus->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_versus) + 8;
    const QFontMetrics metrics = m_versus->fontMetrics();
    QHeaderView *columns = m_versus->horizontalHeader();
    int rolls = columns->sectionSizeHint(0);
    for (int row = 0; row < m_versus->rowCount(); ++row)
        rolls = std::max(rolls, metrics.horizontalAdvance(m_versus->item(row, 0)->text()) + padding);
    rolls = std::min(rolls, kLongestRoll * metrics.horizontalAdvance(QLatin1Char('x')));
    columns->resizeSection(0, rolls);
    int width = 2 * m_versus->frameWidth() + m_versus->verticalHeader()->sizeHint().width() + rolls;
    const int note = m_leftOut->isHidden() ? 0 : m_leftOut->sizeHint().width();
    const int figure = metrics.horizontalAdvance(QStringLiteral("100.00%")) + padding;
    for (int column = 1; column < m_versus->columnCount(); ++column) {
        columns->resizeSection(column, std::max(figure, columns->sectionSizeHint(column)));
        width += columns->sectionSize(column);
    }
    return std::max(width, note);
}

} // namespace window
