#include "window/compare_plot.h"

#include "compare/roll.h"
#include "dice/text/text.h"
#include "dice/value/distribution.h"
#include "window/plot_access.h"
#include "window/plot_axes.h"
#include "window/plot_style.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>

namespace window
{

using compare::PlottedRoll;
using compare::View;

namespace
{

constexpr double kGap = 4.0;
// Peaks further apart than this put the exact view on a logarithmic axis, so
// that 1d4 beside 100d100 leaves both readable.
constexpr double kLogarithmicSpread = 20.0;

std::int32_t Narrow(std::int64_t total)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        total, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// The label of a decade on a logarithmic axis: "0.01%", "1%", "100%".
QString DecadeLabel(int decade)
{
    return QString::number(std::pow(10.0, decade), 'f', std::max(0, -decade)) + QLatin1Char('%');
}

} // namespace

// The parts of a drawn frame, named outside the file's unnamed namespace
// because ComparePlot::Frame, which has linkage, holds them.
namespace plot_frame
{

// A stretch of the totals axis where it stands on the plot.
struct Segment {
    std::int64_t lowest = 0;
    std::int64_t highest = 0;
    double left = 0.0;
    // The width of one total.
    double slot = 1.0;
    std::int32_t step = 1;

    double Right() const
    {
        return left + static_cast<double>(highest - lowest + 1) * slot;
    }
};

// The list of one labelled roll beside the plot: its key, then a bar per
// label as long as the label's chance.
struct LabelList {
    std::size_t roll = 0;
    QRectF heading;
    std::vector<QRectF> lines;
    // Labels past the room left out, the last line shown saying so.
    bool cut = false;
};

} // namespace plot_frame

namespace
{

using plot_frame::LabelList;
using plot_frame::Segment;

// A share as the bars beside the plot show it: "27.78%".
QString BarPercent(const dice::Distribution &distribution, std::size_t label)
{
    return Text(dice::FixedPercent(distribution.counts[label], distribution.outcomes, 2)) + QLatin1Char('%');
}

} // namespace

struct ComparePlot::Frame {
    QRectF title;
    std::vector<QRectF> legend;
    QRectF plot;
    bool logarithmic = false;
    PercentTicks ticks;
    // The decades of a logarithmic axis, as powers of ten of a percent.
    int bottomDecade = 0;
    int topDecade = 0;
    int decadeStep = 1;
    std::vector<Segment> segments;
    // Beside the plot, or in its place where no roll has totals.
    std::vector<LabelList> labelLists;
    double labelWidth = 0.0;
    double barWidth = 0.0;

    const Segment &SegmentOf(std::int64_t total) const
    {
        for (const Segment &segment : segments) {
            if (total <= segment.highest)
                return segment;
        }
        return segments.back();
    }
    bool OnAxis(std::int64_t total) const
    {
        return std::any_of(segments.begin(), segments.end(), [total](const Segment &segment) {
            return total >= segment.lowest && total <= segment.highest;
        });
    }
    double X(std::int64_t total) const
    {
        const Segment &segment = SegmentOf(total);
        return segment.left + (static_cast<double>(total - segment.lowest) + 0.5) * segment.slot;
    }
    double Y(double percent) const
    {
        double share = 0.0;
        if (logarithmic)
            share = percent > 0.0 ? (std::log10(percent) - bottomDecade) / (topDecade - bottomDecade) : 0.0;
        else
            share = percent / ticks.top;
        return plot.bottom() - std::clamp(share, 0.0, 1.0) * plot.height();
    }
};

ComparePlot::ComparePlot(QWidget *parent, const compare::Comparison &shown)
    : QWidget(parent)
    , m_shown(shown)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    Describe();
    MeasureUsefulHeight();
}

QSize ComparePlot::sizeHint() const
{
    return { fontMetrics().horizontalAdvance(QLatin1Char('x')) * 80,
        std::max(fontMetrics().height() * 22, minimumSizeHint().height()) };
}

QSize ComparePlot::minimumSizeHint() const
{
    return { fontMetrics().horizontalAdvance(QLatin1Char('x')) * 40, m_usefulHeight };
}

void ComparePlot::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    MeasureUsefulHeight();
}

void ComparePlot::MeasureUsefulHeight()
{
    // Whatever is not the plot is around it, at any height; a probe as tall
    // as a large plot keeps the percent labels it measures few.
    const int probe = fontMetrics().height() * 40;
    const Frame frame = Measure(QSize(std::max(width(), minimumSizeHint().width()), probe));
    const double around = probe - frame.plot.height();
    const auto useful = static_cast<int>(std::ceil(around + kUsefulLines * QFontMetricsF(font()).height()));
    // Only a change asks the window to lay out again: edits that keep the
    // legend's lines cost no layout.
    if (useful != m_usefulHeight) {
        m_usefulHeight = useful;
        updateGeometry();
    }
}

void ComparePlot::Changed()
{
    // The cursor stays on its total while any roll reaches it.
    if (m_cursor && !m_shown.IndexOf(*m_cursor))
        m_cursor.reset();
    Describe();
    MeasureUsefulHeight();
    update();
}

const compare::Comparison &ComparePlot::Shown() const
{
    return m_shown;
}

std::optional<std::int64_t> ComparePlot::Cursor() const
{
    return m_cursor;
}

const std::vector<QString> &ComparePlot::Readouts() const
{
    return m_readouts;
}

QString ComparePlot::CursorText() const
{
    if (!m_cursor)
        return {};
    QStringList parts;
    for (std::size_t i = 0; i < m_shown.Rolls().size(); ++i) {
        if (!m_shown.Rolls()[i].roll->Labelled())
            parts << Text(m_shown.Rolls()[i].roll->expression) + QStringLiteral(": ") + m_readouts[i];
    }
    return parts.join(QStringLiteral("; "));
}

QString ComparePlot::Title() const
{
    if (m_shown.Rolls().empty())
        return tr("No valid roll");
    QStringList names;
    for (const PlottedRoll &plotted : m_shown.Rolls())
        names << Text(plotted.roll->expression);
    // The view is how totals are read; labels are read one way only.
    if (m_shown.TotalsRolls() == 0)
        return names.join(QStringLiteral(", "));
    return names.join(QStringLiteral(", ")) + QStringLiteral(", ") + ViewLabel(m_shown.ViewShown());
}

QString ComparePlot::Summary() const
{
    const std::vector<PlottedRoll> &rolls = m_shown.Rolls();
    if (rolls.empty())
        return tr("Type a roll in the notation, such as 2d20kh1, to see it here.");
    if (m_shown.TotalsRolls() == 0)
        return Title() + QLatin1Char('.') + LabelsSummary();
    QString summary =
        tr("%1. Totals %2 to %3.").arg(Title(), QString::number(m_shown.Lowest()), QString::number(m_shown.Highest()));
    const compare::Likeliest best = m_shown.LikeliestToReach();
    const compare::Target &aim = m_shown.Target();
    const QString target = ViewLabel(aim.sense) + QLatin1Char(' ') + QString::number(aim.total);
    if (sgn(best.part) == 0) {
        summary += QLatin1Char(' ') + tr("No roll can throw %1.").arg(target);
    } else if (best.rolls.size() == 1) {
        summary += QLatin1Char(' ')
            + tr("Likeliest to throw %1: %2, %3.")
                  .arg(target,
                      Text(rolls[best.rolls.front()].roll->expression),
                      Text(dice::TablePercent(best.part, best.whole)));
    } else {
        QStringList names;
        for (const std::size_t roll : best.rolls)
            names << Text(rolls[roll].roll->expression);
        const QString last = names.takeLast();
        summary += QLatin1Char(' ')
            + tr("Likeliest to throw %1: %2, %3 each.")
                  .arg(target,
                      tr("%1 and %2").arg(names.join(QStringLiteral(", ")), last),
                      Text(dice::TablePercent(best.part, best.whole)));
    }
    return summary + LabelsSummary();
}

QString ComparePlot::LabelsSummary() const
{
    QString summary;
    for (const PlottedRoll &plotted : m_shown.Rolls()) {
        if (plotted.roll->Labelled())
            summary += QLatin1Char(' ')
                + tr("%1 gives labels: %2.")
                      .arg(Text(plotted.roll->expression), Text(compare::LabelShares(plotted.roll->distribution, 9)));
    }
    return summary;
}

ComparePlot::Frame ComparePlot::Measure(QSize size) const
{
    const std::vector<PlottedRoll> &rolls = m_shown.Rolls();
    Frame frame;
    QFont bold = font();
    bold.setBold(true);
    const QFontMetricsF titleMetrics(bold);
    const QFontMetricsF metrics(font());
    const double lineHeight = metrics.height();
    frame.title = QRectF(kGap, kGap, size.width() - 2 * kGap, titleMetrics.height());

    // The legend flows in lines under the title.
    const double sample = metrics.horizontalAdvance(QLatin1Char('x')) * 5;
    double x = kGap;
    double y = frame.title.bottom() + kGap;
    for (const PlottedRoll &plotted : rolls) {
        // A labelled roll's key heads its list instead.
        if (plotted.roll->Labelled()) {
            frame.legend.emplace_back();
            continue;
        }
        const double width = std::min(
            sample + kGap + metrics.horizontalAdvance(Text(plotted.roll->expression)), size.width() - 2 * kGap);
        if (x > kGap && x + width > size.width() - kGap) {
            x = kGap;
            y += lineHeight;
        }
        frame.legend.emplace_back(x, y, width, lineHeight);
        x += width + 3 * kGap;
    }
    const bool totals = m_shown.TotalsRolls() > 0;
    const double above = (totals ? y + lineHeight : y) + kGap + lineHeight / 2;
    const double below = kTickLength + kGap + lineHeight + kGap;
    const double height = std::max(1.0, size.height() - above - below);
    const int yLabels = std::max(2, static_cast<int>(height / (lineHeight * 2.5)));
    const double right = PlaceLabelLists(frame, size, totals ? y + lineHeight + kGap : y);
    if (!totals) {
        frame.plot = QRectF(kGap, y, std::max(1.0, size.width() - 2 * kGap), std::max(1.0, size.height() - y - kGap));
        return frame;
    }

    const auto view = static_cast<std::size_t>(m_shown.ViewShown());
    double highest = 0.0;
    double lowestPeak = std::numeric_limits<double>::max();
    for (const PlottedRoll &plotted : rolls) {
        if (plotted.roll->Labelled())
            continue;
        const auto &percents = plotted.roll->percents[view];
        const double peak = *std::max_element(percents.begin(), percents.end());
        highest = std::max(highest, peak);
        lowestPeak = std::min(lowestPeak, peak);
    }
    frame.logarithmic =
        m_shown.ViewShown() == View::Exactly && lowestPeak > 0.0 && highest / lowestPeak > kLogarithmicSpread;
    QStringList yLabelTexts;
    if (frame.logarithmic) {
        frame.topDecade = static_cast<int>(std::ceil(std::log10(highest) - 1e-9));
        frame.bottomDecade = static_cast<int>(std::floor(std::log10(lowestPeak))) - 2;
        const int decades = frame.topDecade - frame.bottomDecade;
        frame.decadeStep = std::max(1, (decades + yLabels - 1) / yLabels);
        frame.bottomDecade = frame.topDecade - (decades + frame.decadeStep - 1) / frame.decadeStep * frame.decadeStep;
        for (int decade = frame.bottomDecade; decade <= frame.topDecade; decade += frame.decadeStep)
            yLabelTexts << DecadeLabel(decade);
    } else {
        frame.ticks = PercentAxis(highest, yLabels);
        for (int k = 0; k < frame.ticks.Count(); ++k)
            yLabelTexts << frame.ticks.Label(k);
    }
    // The axis follows the cursor past its end, so that the cursor is
    // always on it.
    const std::vector<compare::Stretch> stretches = m_shown.PlotStretches(m_cursor);
    const AxesRoom axes =
        PlaceAxes(metrics, right, above, height, yLabelTexts, m_shown.Lowest(), stretches.back().highest, kGap);
    frame.plot = axes.plot;
    // Breaks between the stretches take a fixed width.
    const double breakWidth = 4 * kGap;
    const double room = std::max(1.0, frame.plot.width() - breakWidth * static_cast<double>(stretches.size() - 1));
    const std::vector<double> slots = compare::TotalWidths(stretches, room);
    double left = frame.plot.left();
    for (std::size_t i = 0; i < stretches.size(); ++i) {
        Segment segment { stretches[i].lowest, stretches[i].highest, left, slots[i], 1 };
        segment.step = TotalStep((axes.totalWidth + metrics.horizontalAdvance(QStringLiteral("  "))) / segment.slot);
        frame.segments.push_back(segment);
        left = segment.Right() + breakWidth;
    }
    return frame;
}

double ComparePlot::PlaceLabelLists(Frame &frame, QSize size, double top) const
{
    const std::vector<PlottedRoll> &rolls = m_shown.Rolls();
    if (m_shown.LabelledRolls() == 0)
        return size.width();
    const QFontMetricsF metrics(font());
    const double lineHeight = metrics.height();
    const double letter = metrics.horizontalAdvance(QLatin1Char('x'));
    const double percentWidth = metrics.horizontalAdvance(QStringLiteral("100.00%"));
    double widest = 0.0;
    for (const PlottedRoll &plotted : rolls) {
        for (const std::string &label : plotted.roll->distribution.labels)
            widest = std::max(widest, metrics.horizontalAdvance(Text(label)));
    }
    // Beside totals the lists take at most two fifths of the width, and a
    // label longer than the room is elided; the table and the summary hold it
    // whole.
    const bool totals = m_shown.TotalsRolls() > 0;
    const double room = std::max(1.0, (size.width() - 2 * kGap) * (totals ? 0.4 : 1.0));
    frame.labelWidth = std::min(widest, 18 * letter);
    frame.barWidth = 10 * letter;
    const double spare = std::max(0.0, room - percentWidth - 3 * kGap);
    if (frame.labelWidth + frame.barWidth > spare) {
        frame.barWidth = std::min(frame.barWidth, std::max(2 * letter, spare * 0.35));
        frame.labelWidth = std::max(0.0, spare - frame.barWidth);
    }
    const double column = frame.labelWidth + frame.barWidth + percentWidth + 3 * kGap;
    const double between = 4 * kGap;
    const int columns = std::max(1, static_cast<int>((room + between) / (column + between)));
    const double bottom = size.height() - kGap;

    // The lists run down a column, then on in the next.
    int at = 0;
    double y = top;
    for (std::size_t i = 0; i < rolls.size(); ++i) {
        if (!rolls[i].roll->Labelled())
            continue;
        const std::size_t labels = rolls[i].roll->distribution.labels.size();
        const double tall = static_cast<double>(labels + 1) * lineHeight;
        if (y > top && y + tall > bottom && at + 1 < columns) {
            ++at;
            y = top;
        }
        if (y + 2 * lineHeight > bottom && y > top)
            break;
        LabelList list;
        list.roll = i;
        const double x = at * (column + between);
        list.heading = QRectF(x, y, column, lineHeight);
        y += lineHeight;
        for (std::size_t k = 0; k < labels; ++k) {
            if (y + lineHeight > bottom && k > 0) {
                list.cut = true;
                break;
            }
            list.lines.emplace_back(x, y, column, lineHeight);
            y += lineHeight;
        }
        frame.labelLists.push_back(list);
        y += kGap;
    }
    // Laid out from the left, then moved to the right edge beside totals, or
    // to the middle in their place.
    const double used = (at + 1) * column + at * between;
    const double left = totals ? size.width() - kGap - used : std::max(kGap, (size.width() - used) / 2);
    for (LabelList &list : frame.labelLists) {
        list.heading.translate(left, 0);
        for (QRectF &line : list.lines)
            line.translate(left, 0);
    }
    return left - 2 * kGap;
}

void ComparePlot::Render(QPainter &painter, QSize size) const
{
    const PlotColours colours = ColoursOf(palette());
    painter.fillRect(QRect(QPoint(0, 0), size), colours.background);
    painter.setFont(font());
    painter.setPen(colours.text);
    const Frame frame = Measure(size);
    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    // A long roll would run the title off both edges; the picture's own title
    // and the summary hold it whole.
    painter.drawText(
        frame.title, Qt::AlignCenter, QFontMetricsF(bold).elidedText(Title(), Qt::ElideRight, frame.title.width()));
    painter.setFont(font());
    if (m_shown.Rolls().empty()) {
        painter.drawText(QRect(QPoint(0, 0), size), Qt::AlignCenter | Qt::TextWordWrap, Summary());
        return;
    }
    const double lineHeight = QFontMetricsF(font()).height();
    const QRectF &plot = frame.plot;
    painter.setRenderHint(QPainter::Antialiasing);
    DrawLegend(painter, frame);
    DrawLabelLists(painter, frame);
    if (m_shown.TotalsRolls() == 0) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        return;
    }

    // Grid and percent labels.
    if (frame.logarithmic) {
        for (int decade = frame.bottomDecade; decade <= frame.topDecade; decade += frame.decadeStep)
            DrawPercentLine(
                painter, colours, plot, frame.Y(std::pow(10.0, decade)), DecadeLabel(decade), kGap, lineHeight);
    } else {
        for (int k = 0; k < frame.ticks.Count(); ++k)
            DrawPercentLine(
                painter, colours, plot, frame.Y(k * frame.ticks.step), frame.ticks.Label(k), kGap, lineHeight);
    }

    // Totals.
    painter.setPen(colours.text);
    DrawAxes(painter, plot);
    for (const Segment &segment : frame.segments) {
        const std::int64_t firstTick = FirstTickTotal(Narrow(segment.lowest), segment.step);
        for (std::int64_t total = firstTick; total <= segment.highest; total += segment.step)
            DrawTotalTick(painter, plot, frame.X(total), total, lineHeight);
        if (&segment == &frame.segments.front())
            continue;
        // A break in the axis: two slanted strokes over a gap in it.
        const double middle = segment.left - 2 * kGap;
        painter.fillRect(
            QRectF(middle - kGap, plot.bottom() - kTickLength, 2 * kGap, 2 * kTickLength), colours.background);
        for (const double shift : { -kGap / 2, kGap / 2 })
            painter.drawLine(QPointF(middle + shift - kTickLength / 2, plot.bottom() + kTickLength),
                QPointF(middle + shift + kTickLength / 2, plot.bottom() - kTickLength));
    }
    const std::int64_t target = m_shown.Target().total;
    if (m_shown.IndexOf(target) && frame.OnAxis(target)) {
        const double x = frame.X(target);
        painter.setPen(QPen(colours.series, 1.0, Qt::DashLine));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    }
    DrawRolls(painter, frame);

    if (m_cursor) {
        const double x = frame.X(*m_cursor);
        const auto view = static_cast<std::size_t>(m_shown.ViewShown());
        painter.setPen(QPen(colours.text, 1.0));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        for (const PlottedRoll &plotted : m_shown.Rolls()) {
            const dice::Distribution &distribution = plotted.roll->distribution;
            if (plotted.roll->Labelled() || *m_cursor < distribution.lowest || *m_cursor > distribution.Highest())
                continue;
            const auto k = static_cast<std::size_t>(*m_cursor - distribution.lowest);
            const double percent = plotted.roll->percents[view][k];
            // Nothing to ring below a logarithmic axis.
            if (frame.logarithmic && frame.Y(percent) >= plot.bottom())
                continue;
            painter.setPen(QPen(colours.text, 1.5));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(QPointF(x, frame.Y(percent)), kMarker * 2, kMarker * 2);
        }
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
}

void ComparePlot::DrawKey(QPainter &painter, const PlottedRoll &plotted, const QRectF &entry) const
{
    const PlotColours colours = ColoursOf(palette());
    const QFontMetricsF metrics(font());
    const QColor colour = RollColour(plotted.style, colours.background, colours.text);
    const double sample = metrics.horizontalAdvance(QLatin1Char('x')) * 5;
    const double middle = entry.center().y();
    painter.setPen(LinePen(plotted.style, colour));
    painter.drawLine(QPointF(entry.left(), middle), QPointF(entry.left() + sample, middle));
    DrawMarker(painter, plotted.style, QPointF(entry.left() + sample / 2, middle), colour, colours.background);
    painter.setPen(colours.text);
    const QRectF label(entry.left() + sample + kGap, entry.top(), entry.width() - sample - kGap, metrics.height());
    painter.drawText(label,
        Qt::AlignLeft | Qt::AlignVCenter,
        metrics.elidedText(Text(plotted.roll->expression), Qt::ElideRight, label.width()));
}

void ComparePlot::DrawLegend(QPainter &painter, const Frame &frame) const
{
    const std::vector<PlottedRoll> &rolls = m_shown.Rolls();
    for (std::size_t i = 0; i < rolls.size(); ++i) {
        if (!rolls[i].roll->Labelled())
            DrawKey(painter, rolls[i], frame.legend[i]);
    }
}

void ComparePlot::DrawLabelLists(QPainter &painter, const Frame &frame) const
{
    const PlotColours colours = ColoursOf(palette());
    const QFontMetricsF metrics(font());
    for (const LabelList &list : frame.labelLists) {
        const PlottedRoll &plotted = m_shown.Rolls()[list.roll];
        const dice::Distribution &distribution = plotted.roll->distribution;
        const QColor colour = RollColour(plotted.style, colours.background, colours.text);
        DrawKey(painter, plotted, list.heading);
        for (std::size_t k = 0; k < list.lines.size(); ++k) {
            const QRectF &line = list.lines[k];
            const QRectF label(line.left(), line.top(), frame.labelWidth, line.height());
            painter.setPen(colours.text);
            if (list.cut && k + 1 == list.lines.size()) {
                painter.drawText(label, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("\u2026"));
                break;
            }
            painter.drawText(label,
                Qt::AlignLeft | Qt::AlignVCenter,
                metrics.elidedText(Text(distribution.labels[k]), Qt::ElideRight, label.width()));
            // The bar's whole length is a sure thing, so that bars of
            // different rolls read alike.
            const QRectF bar(
                label.right() + 2 * kGap, line.top() + line.height() / 5, frame.barWidth, line.height() * 3 / 5);
            painter.fillRect(bar, Mix(colours.grid, colours.background, 0.5));
            const double share = std::clamp(plotted.roll->percents[0][k] / 100, 0.0, 1.0);
            painter.fillRect(QRectF(bar.topLeft(), QSizeF(bar.width() * share, bar.height())), colour);
            painter.drawText(QRectF(bar.right() + kGap, line.top(), line.right() - bar.right() - kGap, line.height()),
                Qt::AlignRight | Qt::AlignVCenter,
                BarPercent(distribution, k));
        }
    }
}

void ComparePlot::DrawRolls(QPainter &painter, const Frame &frame) const
{
    // Markers far enough apart to be told from the line, shifted per roll so
    // that rolls on the same points do not hide each other's.
    const double spacing = 6 * kMarker;
    const PlotColours colours = ColoursOf(palette());
    const std::vector<PlottedRoll> &rolls = m_shown.Rolls();
    const auto view = static_cast<std::size_t>(m_shown.ViewShown());
    painter.setClipRect(frame.plot.adjusted(-kMarker * 2, -kMarker * 2, kMarker * 2, kMarker * 2));
    for (std::size_t i = 0; i < rolls.size(); ++i) {
        const compare::RollResult &roll = *rolls[i].roll;
        if (roll.Labelled())
            continue;
        const std::size_t style = rolls[i].style;
        const QColor colour = RollColour(style, colours.background, colours.text);
        // Up to where the axis ends: an exploding roll's listing runs past it.
        const Segment &segment = frame.SegmentOf(roll.distribution.lowest);
        const std::span<const double> percents(roll.percents[view].data(),
            std::min(
                roll.percents[view].size(), static_cast<std::size_t>(segment.highest - roll.distribution.lowest + 1)));
        const double slot = segment.slot;
        const auto every = static_cast<std::size_t>(std::max(1.0, std::ceil(spacing / slot)));
        QPolygonF line;
        line.reserve(static_cast<qsizetype>(percents.size()));
        for (std::size_t k = 0; k < percents.size(); ++k)
            line << QPointF(frame.X(roll.distribution.lowest + static_cast<std::int64_t>(k)), frame.Y(percents[k]));
        painter.setPen(LinePen(style, colour));
        painter.setBrush(Qt::NoBrush);
        painter.drawPolyline(line);
        const std::size_t shift = every > 1 ? every * i / rolls.size() : 0;
        const auto peak =
            static_cast<std::size_t>(std::max_element(percents.begin(), percents.end()) - percents.begin());
        for (std::size_t k = 0; k < percents.size(); ++k) {
            if ((k + shift) % every == 0 || (k == peak && percents.size() < every))
                DrawMarker(painter, style, line[static_cast<qsizetype>(k)], colour, colours.background);
        }
    }
    painter.setClipping(false);
}

void ComparePlot::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    Render(painter, size());
    if (hasFocus())
        DrawFocusFrame(painter, *this, ColoursOf(palette()).background);
}

void ComparePlot::keyPressEvent(QKeyEvent *event)
{
    const auto index = m_cursor ? m_shown.IndexOf(*m_cursor) : std::nullopt;
    const auto moved = CursorAfterKey(event->key(), index, m_shown.TotalsShown());
    if (!moved)
        return QWidget::keyPressEvent(event);
    MoveCursor(m_shown.TotalAt(*moved));
}

void ComparePlot::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    PointAt(event->position().x());
}

void ComparePlot::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton)
        PointAt(event->position().x());
}

void ComparePlot::PointAt(double x)
{
    if (m_shown.TotalsRolls() == 0)
        return;
    const Frame frame = Measure(size());
    // The nearest total of the nearest stretch.
    const Segment *nearest = &frame.segments.front();
    for (const Segment &segment : frame.segments) {
        if (x >= segment.left - 2 * kGap)
            nearest = &segment;
    }
    const auto offset = static_cast<std::int64_t>(std::floor((x - nearest->left) / nearest->slot));
    MoveCursor(std::clamp(nearest->lowest + offset, nearest->lowest, nearest->highest));
}

void ComparePlot::MoveCursor(std::optional<std::int64_t> total)
{
    if (total == m_cursor)
        return;
    m_cursor = total;
    update();
    Describe();
    if (CursorMoved)
        CursorMoved();
}

void ComparePlot::Describe()
{
    m_readouts.clear();
    const View view = m_shown.ViewShown();
    for (const PlottedRoll &plotted : m_shown.Rolls()) {
        if (!m_cursor || plotted.roll->Labelled()) {
            m_readouts.emplace_back();
            continue;
        }
        const dice::Distribution &distribution = plotted.roll->distribution;
        const mpz_class part = compare::TargetOutcomes(distribution, { *m_cursor, view });
        m_readouts.push_back(
            Text(ReadoutText(view, Narrow(*m_cursor), dice::TablePercent(part, distribution.outcomes))));
    }
    NamePlot(*this, tr("Comparison of %1").arg(Title()), Summary(), CursorText(), m_announced);
}

} // namespace window
