#include "window/plot_parts.h"

#include "numtext/patterns.h"

#include <QAccessible>
#include <QButtonGroup>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QRadioButton>

#include <algorithm>
#include <cmath>
#include <utility>

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

QColor Mix(const QColor &a, const QColor &b, double weightOfA)
{
    const auto mix = [weightOfA](float x, float y) { return static_cast<float>(x * weightOfA + y * (1 - weightOfA)); };
    return QColor::fromRgbF(mix(a.redF(), b.redF()), mix(a.greenF(), b.greenF()), mix(a.blueF(), b.blueF()));
}

PlotColours ColoursOf(const QPalette &palette)
{
    PlotColours colours;
    colours.background = palette.color(QPalette::Base);
    colours.text = palette.color(QPalette::Text);
    colours.grid = Mix(colours.text, colours.background, 0.15);
    colours.series = Mix(colours.text, colours.background, 0.45);
    colours.highlight = palette.color(QPalette::Highlight);
    return colours;
}

std::optional<std::size_t> CursorAfterKey(int key, std::optional<std::size_t> cursor, std::size_t count)
{
    if (count == 0)
        return std::nullopt;
    const std::size_t last = count - 1;
    switch (key) {
    case Qt::Key_Left:
        return cursor && *cursor > 0 ? std::min(*cursor - 1, last) : 0;
    case Qt::Key_Right:
        return cursor ? std::min(*cursor + 1, last) : 0;
    case Qt::Key_Home:
        return 0;
    case Qt::Key_End:
        return last;
    default:
        return std::nullopt;
    }
}

std::string ReadoutText(rollstats::View view, std::int32_t total, const std::string &percent)
{
    const char *relation = view == rollstats::View::AtLeast ? ">= " : view == rollstats::View::AtMost ? "<= " : "";
    return "P(" + std::string(relation) + numtext::IntegerText(total) + ") = " + percent;
}

QString Text(const std::string &text)
{
    return QString::fromStdString(text);
}

void NamePlot(QWidget &plot, const QString &name, const QString &summary, const QString &cursor, QString &announced)
{
    plot.setAccessibleName(cursor.isEmpty() ? name : cursor + QStringLiteral(", ") + name);
    plot.setAccessibleDescription(cursor.isEmpty() ? summary : cursor + QStringLiteral(". ") + summary);
    if (cursor.isEmpty() || cursor == announced)
        return;
    announced = cursor;
    QAccessibleValueChangeEvent moved(&plot, cursor);
    QAccessible::updateAccessibility(&moved);
}

const char *ViewName(rollstats::View view)
{
    switch (view) {
    case rollstats::View::AtLeast:
        return "at least";
    case rollstats::View::AtMost:
        return "at most";
    default:
        return "exactly";
    }
}

QHBoxLayout *ViewButtons(QWidget *parent, QButtonGroup *group)
{
    using rollstats::View;
    auto *views = new QHBoxLayout;
    views->addWidget(new QLabel(QStringLiteral("View:"), parent));
    for (const auto &[caption, view] : { std::pair { "&Exactly", View::Exactly },
             std::pair { "At &least", View::AtLeast },
             std::pair { "At &most", View::AtMost } }) {
        auto *button = new QRadioButton(QString::fromLatin1(caption), parent);
        group->addButton(button, static_cast<int>(view));
        views->addWidget(button);
    }
    views->addStretch();
    return views;
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
