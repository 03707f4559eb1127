#pragma once

// The pieces every plot of a table shares, so that two plots side by side read
// alike: round axis steps, colours taken from the palette (they hold on a dark
// one), the cursor keys and the readout of one total.

#include "rollstats/table.h"

#include <QColor>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

class QButtonGroup;
class QFontMetricsF;
class QHBoxLayout;
class QPainter;
class QPalette;
class QWidget;

namespace window
{

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

// The colours of a plot, from the palette of the widget that draws it.
struct PlotColours {
    QColor background;
    QColor text;
    QColor grid;
    QColor series;
    QColor highlight;
};
PlotColours ColoursOf(const QPalette &palette);
// A blend of a and b, weightOfA of a.
QColor Mix(const QColor &a, const QColor &b, double weightOfA);

// Where the cursor goes on a key among count entries: Left and Right step,
// Home and End jump to the ends; with no cursor yet, Left and Right start at
// the first entry. Nothing for other keys or when there are no entries.
std::optional<std::size_t> CursorAfterKey(int key, std::optional<std::size_t> cursor, std::size_t count);

// "P(11) = 12.500000000%", "P(>= 11) = ...", "P(<= 11) = ...", from a total
// and its share already written as a percent.
std::string ReadoutText(rollstats::View view, std::int32_t total, const std::string &percent);

QString Text(const std::string &text);

// Names a plot for screen readers: the reading under its cursor first, then
// what the plot is, and the summary as its description. A screen reader
// speaks a new name of the focused widget; the value change, sent once for
// each new reading (remembered in announced), serves those that follow values.
void NamePlot(QWidget &plot, const QString &name, const QString &summary, const QString &cursor, QString &announced);

// "exactly", "at least", "at most": how titles, summaries and the settings
// file name a view.
const char *ViewName(rollstats::View view);

// "View:" and a radio button for each view, numbered in the group by view.
QHBoxLayout *ViewButtons(QWidget *parent, QButtonGroup *group);

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
