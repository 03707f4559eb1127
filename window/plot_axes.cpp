#include "window/plot_axes.h"

#include "window/plot_style.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace window
{

double RoundStep(double wanted)
{
    const double power = std::pow(10.0, std::floor(std::log10(wanted)));
    for (const double multiple : { 1.0, 2.0, 5.0 }) {
        if (multiple * power >= wanted * (1 - 1e-9))
            return multiple * power;
    }
    return 10 * power;
}

int PercentTicks::Count() const
{
    return static_cast<int>(std::lround(top / step)) + 1;
}

QString PercentTicks::Label(int k) const
{
    return QString::number(k * step, 'f', decimals) + QLatin1Char('%');
}

PercentTicks PercentAxis(double highest, int labels)
{
    if (!(highest > 0.0))
        highest = 1.0;
    PercentTicks ticks;
    ticks.step = RoundStep(highest / std::max(2, labels));
    ticks.top = std::ceil(highest / ticks.step - 1e-9) * ticks.step;
    ticks.decimals = std::max(0, static_cast<int>(-std::floor(std::log10(ticks.step) + 1e-9)));
    return ticks;
}

std::int32_t TotalStep(double totalsPerLabel)
{
    return totalsPerLabel <= 1.0 ? 1 : static_cast<std::int32_t>(std::lround(RoundStep(totalsPerLabel)));
}

std::int32_t FirstTickTotal(std::int32_t first, std::int32_t step)
{
    return first + ((step - first % step) % step);
}

AxesRoom PlaceAxes(const QFontMetricsF &metrics,
    double width,
    double top,
    double height,
    const QStringList &percentLabels,
    std::int64_t lowest,
    std::int64_t highest,
    double gap)
{
    double percentWidth = 0.0;
    for (const QString &label : percentLabels)
        percentWidth = std::max(percentWidth, metrics.horizontalAdvance(label));
    AxesRoom room;
    room.totalWidth = std::max(
        metrics.horizontalAdvance(QString::number(lowest)), metrics.horizontalAdvance(QString::number(highest)));
    const double left = gap + percentWidth + gap + kTickLength;
    // Half the last total's label reaches past the end of the axis.
    const double right = room.totalWidth / 2 + gap;
    room.plot = QRectF(left, top, std::max(1.0, width - left - right), height);
    return room;
}

void DrawPercentLine(QPainter &painter,
    const PlotColours &colours,
    const QRectF &plot,
    double y,
    const QString &label,
    double gap,
    double lineHeight)
{
    painter.setPen(colours.grid);
    painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    painter.setPen(colours.text);
    painter.drawText(QRectF(0, y - lineHeight / 2, plot.left() - kTickLength - gap, lineHeight),
        Qt::AlignRight | Qt::AlignVCenter,
        label);
}

void DrawAxes(QPainter &painter, const QRectF &plot)
{
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
}

void DrawTotalTick(QPainter &painter, const QRectF &plot, double x, std::int64_t total, double lineHeight)
{
    painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + kTickLength));
    painter.drawText(QRectF(x - plot.width(), plot.bottom() + kTickLength, 2 * plot.width(), lineHeight),
        Qt::AlignHCenter | Qt::AlignTop,
        QString::number(total));
}

} // namespace window
