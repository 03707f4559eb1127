#pragma once

// The overlaid plot of the Compare window: every valid roll as a line with
// markers on one axis of totals, read as the chance of throwing each total
// exactly, at least or at most. Each roll keeps the colour, dash and marker
// of its row, so that nothing depends on colour alone and a roll that turns
// invalid for a moment does not repaint the others. A cursor moved with the
// mouse, the arrow keys, Home and End reads every roll at one total. The
// title and legend are part of the plot, so a saved picture carries them.

#include "rollstats/table.h"
#include "window/compare_compute.h"

#include <QColor>
#include <QString>
#include <QWidget>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QPainter;

namespace window
{

// A roll on the plot and the row whose style it wears.
struct PlottedRoll {
    std::size_t style = 0;
    std::shared_ptr<const RollResult> roll;
};

// The colour of a row's line, readable on the background: a colour-blind-safe
// set, darkened or lightened until it stands out from it.
QColor RollColour(std::size_t style, const QColor &background, const QColor &text);

class ComparePlot : public QWidget
{
public:
    explicit ComparePlot(QWidget *parent);

    // The rolls, and the target whose likeliest roll the summary names.
    void Show(std::vector<PlottedRoll> rolls, std::int64_t target, rollstats::View sense);
    void SetView(rollstats::View view);

    const std::vector<PlottedRoll> &Rolls() const;
    rollstats::View ViewShown() const;
    std::int64_t Target() const;
    rollstats::View Sense() const;
    std::optional<std::int64_t> Cursor() const;
    // Each roll's chance at the cursor, as the probability table writes it:
    // "P(>= 11) = 12.500000000%"; empty without a cursor.
    const std::vector<QString> &Readouts() const;
    // The readouts named by their rolls, in one line.
    QString CursorText() const;
    QString Title() const;
    // The rolls, the view, and which roll is likeliest to reach the target.
    QString Summary() const;

    // Draws title, legend and plot into a picture of this size.
    void Render(QPainter &painter, QSize size) const;

    std::function<void()> CursorMoved;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    struct Frame;
    Frame Measure(QSize size) const;
    void PointAt(double x);
    void MoveCursor(std::optional<std::int64_t> total);
    // The cursor's place among all the totals shown, if it is one of them.
    std::optional<std::size_t> CursorIndex(std::int64_t total) const;
    // Works out the readouts and tells the accessibility tools.
    void Describe();

    std::vector<PlottedRoll> m_rolls;
    rollstats::View m_view = rollstats::View::Exactly;
    std::int64_t m_target = 0;
    rollstats::View m_sense = rollstats::View::AtLeast;
    std::int64_t m_lowest = 0;
    std::int64_t m_highest = -1;
    // The stretches of the totals axis, lowest first.
    std::vector<std::pair<std::int64_t, std::int64_t>> m_ranges;
    std::optional<std::int64_t> m_cursor;
    std::vector<QString> m_readouts;
    QString m_announced;
};

} // namespace window
