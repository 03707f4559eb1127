#pragma once

// The overlaid plot of the Compare window: every valid roll as a line with
// markers on one axis of totals, read as the chance of throwing each total
// exactly, at least or at most. Each roll keeps the colour, dash and marker
// of its row, so that nothing depends on colour alone and a roll that turns
// invalid for a moment does not repaint the others. A cursor moved with the
// mouse, the arrow keys, Home and End reads every roll at one total. The
// title and legend are part of the plot, so a saved picture carries them.
// Rolls whose results are labels have no totals to plot: each is a list of
// its labels beside the plot, a bar for each label's chance, or in the
// plot's place where no roll has totals.
// What it shows is the window's comparison, read and never changed here.

#include "compare/comparison.h"

#include <QCoreApplication>
#include <QString>
#include <QWidget>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QPainter;
class QRectF;

namespace window
{

class ComparePlot : public QWidget
{
    Q_DECLARE_TR_FUNCTIONS(window::ComparePlot)

public:
    ComparePlot(QWidget *parent, const compare::Comparison &shown);

    // To be called after the comparison changed.
    void Changed();

    const compare::Comparison &Shown() const;
    std::optional<std::int64_t> Cursor() const;
    // Each roll's chance at the cursor, as the probability table writes it:
    // "P(>= 11) = 12.500000000%"; empty without a cursor and for a labelled roll.
    const std::vector<QString> &Readouts() const;
    // The readouts named by their rolls, in one line.
    QString CursorText() const;
    QString Title() const;
    // The rolls, the view, which roll is likeliest to reach the target, and
    // each labelled roll's labels with their chances.
    QString Summary() const;

    // Draws title, legend and plot into a picture of this size.
    void Render(QPainter &painter, QSize size) const;

    std::function<void()> CursorMoved;

    QSize sizeHint() const override;
    // The useful height: the title, the legend, the totals' labels and
    // kUsefulLines lines of text between the axes.
    QSize minimumSizeHint() const override;

    static constexpr int kUsefulLines = 8;

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Frame;
    Frame Measure(QSize size) const;
    // Places the labelled rolls' lists from top down; the width left of them.
    double PlaceLabelLists(Frame &frame, QSize size, double top) const;
    QString LabelsSummary() const;
    // A roll's line, marker and expression in the entry.
    void DrawKey(QPainter &painter, const compare::PlottedRoll &plotted, const QRectF &entry) const;
    void DrawLegend(QPainter &painter, const Frame &frame) const;
    void DrawLabelLists(QPainter &painter, const Frame &frame) const;
    void DrawRolls(QPainter &painter, const Frame &frame) const;
    void PointAt(double x);
    void MoveCursor(std::optional<std::int64_t> total);
    // Works out the readouts and tells the accessibility tools.
    void Describe();
    void MeasureUsefulHeight();

    const compare::Comparison &m_shown;
    std::optional<std::int64_t> m_cursor;
    std::vector<QString> m_readouts;
    QString m_announced;
    // The minimum height; the legend takes more lines as the plot narrows
    // and as rolls are added.
    int m_usefulHeight = 0;
};

} // namespace window
