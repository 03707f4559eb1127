#pragma once

// The chart window: the last table as one bar per total, read as the share of
// rolling that total exactly, at least or at most, with the range picked in the
// threshold lists highlighted. A cursor moved with the arrow keys, Home and
// End, or the mouse pointer, reads out a bar's exact value.
// Its axis keeps the Compare plot's rule (compare/plot_end.h): never cut
// before a bounded roll's highest total, which a number of like dice always
// has, so every total of the table is on it.

#include "compare/view.h"
#include "rollstats/table.h"

#include <QCoreApplication>
#include <QRectF>
#include <QWidget>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QButtonGroup;
class QLabel;
class QPainter;
class QPushButton;

namespace window
{

using Range = std::optional<std::pair<std::size_t, std::size_t>>;

// The plot itself; it takes the keyboard focus for its cursor. It keeps what
// the chart shows: the table, the view and the highlight.
class ChartView : public QWidget
{
    Q_DECLARE_TR_FUNCTIONS(window::ChartView)

public:
    explicit ChartView(QWidget *parent);

    // A new table drops the highlight.
    void SetTable(std::shared_ptr<const rollstats::Table> table);
    void SetView(compare::View view);
    // Entries first to last, or nothing.
    void SetHighlight(Range range);

    const rollstats::Table &Table() const;
    compare::View ViewShown() const;
    const Range &Highlight() const;

    // The outcomes behind each bar in the current view.
    const std::vector<double> &Outcomes() const;
    // The entry under the cursor, if it is on a bar.
    std::optional<std::size_t> Cursor() const;
    // "P(11) = 12.500000000%", "P(>= 11) = ...", "P(<= 11) = ...".
    std::string BarText(std::size_t entry) const;
    // Where an entry's bar may stand: its width, the plot's full height.
    QRectF Column(std::size_t entry) const;
    // Draws the plot into a picture of this size.
    void Render(QPainter &painter, QSize size) const;

    // Called after the cursor has moved.
    std::function<void()> CursorMoved;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    bool event(QEvent *event) override;

private:
    struct Frame;
    Frame Measure(QSize size) const;
    QRectF Column(const Frame &frame, std::size_t entry) const;
    std::optional<std::size_t> EntryAt(const Frame &frame, double x) const;
    void MoveCursor(std::optional<std::size_t> entry);

    std::shared_ptr<const rollstats::Table> m_table;
    compare::View m_view = compare::View::Exactly;
    std::vector<double> m_outcomes;
    Range m_highlight;
    std::optional<std::size_t> m_cursor;
};

class ChartWindow : public QWidget
{
    Q_DECLARE_TR_FUNCTIONS(window::ChartWindow)

public:
    explicit ChartWindow(QWidget *parent);

    // Follows a table just written.
    void SetTable(std::shared_ptr<const rollstats::Table> table);
    // Follows a pick; nothing drops the highlight.
    void SetHighlight(Range range);
    void SetView(compare::View view);

    ChartView *Plot() const;
    QString Title() const;
    QString CursorText() const;
    // The title over the plot, in a picture of the plot's size and the title's height.
    void Render(QPainter &painter, QSize size) const;
    QSize PictureSize() const;
    QPushButton *SaveButton() const;
    // Saves the picture to path; a failure is told in a message box. True when saved.
    bool SaveChartTo(const QString &path);

private:
    void Describe();
    void ShowCursor();

    // The most likely totals of the table shown, from exact counts.
    std::vector<std::int64_t> m_mostLikely;

    QLabel *m_title;
    QButtonGroup *m_views;
    ChartView *m_plot;
    QLabel *m_readout;
    QPushButton *m_save;
    QString m_summary;
    QString m_announced;
};

} // namespace window
