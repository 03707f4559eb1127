// How the Compare window fits the screen. The window opens as tall as its
// content where the screen allows, and grows with each row added while the
// screen has room. Where it cannot, the roll rows scroll in their own area
// down to two rows in view, the table to two lines, and the plot shrinks to
// no less than its useful height; the hint line and the Copy Table and Save
// Chart buttons stay under all of it, in view at every row count. Only a
// screen too short for even that scrolls the whole content. It grows up the
// screen where it can, so that Add Roll stays under the pointer, and it is
// never made wider than the screen nor left hanging off its right edge.
#include "window/compare.h"

#include "window/compare_compute.h"
#include "window/compare_plot.h"
#include "window/compare_row.h"
#include "window/plot_access.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace window
{

namespace
{

// The roll rows' own scrolling area: as tall as all the rows, and no shorter
// than the first two.
class RollRowsArea : public QScrollArea
{
public:
    using QScrollArea::QScrollArea;

    QSize sizeHint() const override
    {
        QSize rows = widget()->sizeHint();
        // A wrapped error line is as tall as it is at the rows' width, not
        // at the width a label guesses: room beyond that would be shared out
        // among the rows, moving those above it.
        if (widget()->hasHeightForWidth() && widget()->width() > 0)
            rows.setHeight(widget()->heightForWidth(widget()->width()));
        return rows + QSize(verticalScrollBar()->sizeHint().width(), 0);
    }

    QSize minimumSizeHint() const override
    {
        const QLayout *rows = widget()->layout();
        int height = 0;
        // The rows, less the room under them.
        for (int i = 0; i < std::min(rows->count() - 1, 2); ++i)
            height += (i > 0 ? rows->spacing() : 0) + rows->itemAt(i)->sizeHint().height();
        return { widget()->minimumSizeHint().width() + verticalScrollBar()->sizeHint().width(),
            std::min(height, widget()->sizeHint().height()) };
    }
};

// The widest reading the cursor's column can show, in any view and at
// either end of the totals, so that the column takes its width before the
// cursor first moves and the window does not widen then.
int WidestReadout(const QFontMetrics &metrics, const compare::Comparison &shown)
{
    if (shown.TotalsRolls() == 0)
        return 0;
    int widest = 0;
    for (const compare::View view : { compare::View::AtLeast, compare::View::AtMost, compare::View::Exactly }) {
        for (const std::int64_t total : { shown.Lowest(), shown.Highest() }) {
            const auto narrowed = static_cast<std::int32_t>(std::clamp<std::int64_t>(
                total, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
            widest = std::max(widest, metrics.horizontalAdvance(Text(ReadoutText(view, narrowed, "100.000000000%"))));
        }
    }
    return widest;
}

} // namespace

void CompareWindow::LayOut(QHBoxLayout *targetRow, QHBoxLayout *views)
{
    m_rowsArea = new RollRowsArea(this);
    auto *rows = new QWidget(m_rowsArea);
    rows->setLayout(m_rowsLayout);
    m_rowsLayout->setContentsMargins(0, 0, 0, 0);
    // Room the rows do not take, for a moment as an error line goes, stays
    // under the last rather than between them, where it would move them.
    m_rowsLayout->addStretch();
    m_rowsArea->setWidget(rows);
    m_rowsArea->setWidgetResizable(true);
    m_rowsArea->setFrameShape(QFrame::NoFrame);
    m_rowsArea->setFocusPolicy(Qt::NoFocus);
    m_rowsArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_rowsArea->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    // The row with the focus stays in view as rows come and go and the
    // window grows, which happen later than the edits that cause them.
    QObject::connect(m_rowsArea->verticalScrollBar(), &QScrollBar::rangeChanged, this, [this] {
        QWidget *focused = focusWidget();
        if (focused && m_rowsArea->widget()->isAncestorOf(focused))
            m_rowsArea->ensureWidgetVisible(focused->parentWidget(), 0, 0);
    });
    m_table->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_versus->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_versus->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    auto *content = new QWidget(m_scroll);
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(layout->contentsMargins() - QMargins(0, 0, 0, layout->contentsMargins().bottom()));
    layout->addWidget(m_rowsArea);
    layout->addLayout(targetRow);
    layout->addWidget(m_pages);
    layout->addLayout(views);
    layout->addWidget(m_plot, 1);
    m_scroll->setWidget(content);
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setFocusPolicy(Qt::NoFocus);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    m_readout->setTextFormat(Qt::PlainText);
    m_readout->setWordWrap(true);
    m_bar = new QHBoxLayout;
    m_bar->setContentsMargins(layout->contentsMargins().left(),
        0,
        layout->contentsMargins().right(),
        style()->pixelMetric(QStyle::PM_LayoutBottomMargin, nullptr, this));
    m_bar->addWidget(m_readout, 1);
    m_counting = new QLabel(this);
    m_counting->setTextFormat(Qt::PlainText);
    m_counting->hide();
    m_bar->addWidget(m_counting);
    m_bar->addWidget(m_copy);
    m_bar->addWidget(m_save);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(m_scroll, 1);
    outer->addLayout(m_bar);
}

QSize CompareWindow::sizeHint() const
{
    // A scroll area hints at no more than a part of a large content.
    QWidget *content = m_scroll->widget();
    content->layout()->activate();
    QSize wanted = content->sizeHint();
    wanted.rwidth() += m_scroll->verticalScrollBar()->sizeHint().width();
    wanted.rwidth() = std::max(wanted.width(), m_bar->sizeHint().width());
    wanted.rheight() += layout()->spacing() + m_bar->sizeHint().height();
    if (const QWidget *menu = layout()->menuBar())
        wanted.rheight() += menu->sizeHint().height();
    if (const QScreen *shown = screen()) {
        const QRect room = shown->availableGeometry();
        const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
        wanted.setHeight(std::min(wanted.height(), room.height() - titleBar - 2 * fontMetrics().height()));
    }
    return wanted;
}

void CompareWindow::GrowWithRows()
{
    if (!isVisible() || !screen())
        return;
    // How far the new row pushes Add Roll down, growing the rows' area;
    // before the window's size hint lays the rows out anew.
    const int pushed = std::max(0, m_rowsArea->sizeHint().height() - m_rowsArea->height());
    const int wanted = sizeHint().height();
    if (wanted <= height())
        return;
    // The frame's own height is known once the window is shown.
    const QRect room = screen()->availableGeometry();
    const int frame = frameGeometry().height() - height();
    resize(width(), std::max(height(), std::min(wanted, room.height() - frame)));
    // Up the screen by as much as Add Roll was pushed down, so that it stays
    // under the pointer that pressed it and a second click adds another row
    // rather than landing in the new box; and as far as it must to keep the
    // window's bottom on the screen, which the table's new line may push
    // further. A window at the top of the screen can only grow down.
    const int up = std::max(pushed, frameGeometry().bottom() - room.bottom());
    if (up > 0)
        move(pos().x(), std::max(room.top(), pos().y() - up));
}

void CompareWindow::FitWidth()
{
    // Wide enough for every column of both tables, so that nothing is cut off.
    QHeaderView *columns = m_table->horizontalHeader();
    const int padding = 2 * m_table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_table) + 8;
    const int letter = fontMetrics().horizontalAdvance(QLatin1Char('x'));
    int roll = columns->sectionSizeHint(0);
    int figures = 2 * m_table->frameWidth();
    int labels = 0;
    for (int column = 0; column < m_table->columnCount(); ++column) {
        int widest = columns->sectionSizeHint(column);
        for (int row = 0; row < m_table->rowCount(); ++row) {
            // The cursor's column is filled after the others.
            const QTableWidgetItem *item = m_table->item(row, column);
            if (!item)
                continue;
            const int needed = m_table->fontMetrics().horizontalAdvance(item->text()) + padding;
            if (m_table->columnSpan(row, column) > 1)
                labels = std::max(labels, needed);
            else
                widest = std::max(widest, needed);
        }
        if (column == 6)
            widest = std::max(widest, WidestReadout(m_table->fontMetrics(), m_shown) + padding);
        if (column == 0)
            roll = widest;
        else
            figures += widest;
    }
    // The labels of a labelled roll stand across the columns of figures,
    // which widen for them up to a limit; longer ones are elided, their
    // tooltip holding them whole.
    int extra = std::clamp(labels - (figures - 2 * m_table->frameWidth()), 0, 100 * letter);
    // A long roll, such as a question with labels, is elided rather than
    // push the window off the screen: it stands whole in its box and its
    // tooltip.
    roll = std::min(roll, kLongestRoll * letter);
    int room = std::numeric_limits<int>::max();
    if (const QScreen *shown = screen()) {
        const QMargins margins = m_scroll->widget()->layout()->contentsMargins();
        room = shown->availableGeometry().width() - margins.left() - margins.right()
            - m_scroll->verticalScrollBar()->sizeHint().width()
            - 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
        extra = std::clamp(room - figures - roll, 0, extra);
        roll = std::max(columns->sectionSizeHint(0), std::min(roll, room - figures - extra));
    }
    columns->resizeSection(0, roll);
    int width = roll + figures + extra;
    // On the pages, which pass it on whichever table is shown.
    width = std::max({ width, FitHeadToHead(), fontMetrics().horizontalAdvance(QLatin1Char('x')) * 60 });
    // Whatever fills later, the window is never made wider than the screen.
    m_pages->setMinimumWidth(std::min(width, room));
    // Only the height scrolls: the window is kept as wide as its content.
    m_scroll->setMinimumWidth(
        m_scroll->widget()->minimumSizeHint().width() + m_scroll->verticalScrollBar()->sizeHint().width());
    KeepOnScreen();
}

void CompareWindow::KeepOnScreen()
{
    if (!isVisible() || !screen())
        return;
    // A window made wider moves left rather than push its right edge, and
    // the buttons there, off the screen.
    layout()->activate();
    const QRect room = screen()->availableGeometry();
    const int overhang = frameGeometry().right() - room.right();
    if (overhang > 0)
        move(std::max(room.left(), pos().x() - overhang), pos().y());
}

bool CompareWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Alt and a letter is a mnemonic. One that reaches a box is of a button
    // that is disabled, such as Add Roll with every row taken: typed, it
    // would change the roll.
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
            for (const auto &row : m_rows) {
                if (row->edit == watched && m_computer->Busy(row->id)) {
                    StopCounting(*row);
                    return true;
                }
            }
        }
        const Qt::KeyboardModifiers chord = key->modifiers() & (Qt::AltModifier | Qt::ControlModifier);
        if (chord == Qt::AltModifier && !key->text().isEmpty())
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

QPushButton *CompareWindow::CopyButton() const
{
    return m_copy;
}

QPushButton *CompareWindow::SaveButton() const
{
    return m_save;
}

QScrollArea *CompareWindow::RowsArea() const
{
    return m_rowsArea;
}

QScrollArea *CompareWindow::ScrollArea() const
{
    return m_scroll;
}

} // namespace window
