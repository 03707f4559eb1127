#pragma once

// The axes every plot of a table shares, so that two plots side by side read
// alike: round percent steps, totals labelled at round intervals, and the
// labels placed around the plot.

#include <QRectF>
#include <QString>
#include <QStringList>

#include <cstdint>

class QFontMetricsF;
class QPainter;

namespace window
{

struct PlotColours;

// The smallest of 1, 2 and 5 times a power of ten that is at least wanted.
double RoundStep(double wanted);

// A percent axis from 0 to a whole number of round steps.
struct PercentTicks {
    double step = 1.0;
    // The percent at the top of the axis, a whole number of steps.
    double top = 1.0;
    // Enough decimals in a label to tell the steps apart.
    int decimals = 0;

    // Labels from 0 to top; the label k stands at k * step.
    int Count() const;
    QString Label(int k) const;
};

// Ticks for an axis reaching at least highest percent with about labels labels
// (two at least). A highest of zero or less gives an axis up to 1%.
PercentTicks PercentAxis(double highest, int labels);

// Totals between two labels on a totals axis, when one label needs the width
// of totalsPerLabel totals.
std::int32_t TotalStep(double totalsPerLabel);
// The lowest total at or above first that is a multiple of step.
std::int32_t FirstTickTotal(std::int32_t first, std::int32_t step);

// How far a tick reaches below the totals axis.
constexpr double kTickLength = 4.0;

// The plot between the axes' labels: percent labels on the left, totals
// centred under their ticks. gap is the space around the labels.
struct AxesRoom {
    QRectF plot;
    // The widest of the lowest and highest totals' labels.
    double totalWidth = 0.0;
};
AxesRoom PlaceAxes(const QFontMetricsF &metrics,
    double width,
    double top,
    double height,
    const QStringList &percentLabels,
    std::int64_t lowest,
    std::int64_t highest,
    double gap);

// A grid line across the plot at y with its percent label to the left.
void DrawPercentLine(QPainter &painter,
    const PlotColours &colours,
    const QRectF &plot,
    double y,
    const QString &label,
    double gap,
    double lineHeight);
// The two axes, drawn with the painter's pen.
void DrawAxes(QPainter &painter, const QRectF &plot);
// A tick under the totals axis at x, labelled with its total.
void DrawTotalTick(QPainter &painter, const QRectF &plot, double x, std::int64_t total, double lineHeight);

} // namespace window
