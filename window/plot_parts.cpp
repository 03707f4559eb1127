#include "window/plot_parts.h"

#include "numtext/patterns.h"

#include <QPalette>

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

} // namespace window
