#include "window/compare_plot.h"

#include "dice/text.h"
#include "window/plot_parts.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace window
{

using rollstats::View;

namespace
{

constexpr double kGap = 4.0;
constexpr double kMarker = 3.5;
// Peaks further apart than this put the exact view on a logarithmic axis, so
// that 1d4 beside 100d100 leaves both readable.
constexpr double kLogarithmicSpread = 20.0;

// Okabe and Ito's colours, black left out: the text colour takes its place.
constexpr std::array<QRgb, 7> kColours = { 0x0072B2, 0xE69F00, 0x009E73, 0xD55E00, 0xCC79A7, 0x56B4E9, 0xF0E442 };
constexpr std::array<Qt::PenStyle, 4> kDashes = { Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine };
enum class Marker { Circle, Square, TriangleUp, Diamond, TriangleDown, Cross, Plus, Star };
constexpr int kMarkers = 8;

double Luminance(const QColor &colour)
{
    const auto linear = [](float c) { return c <= 0.03928f ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}

double Contrast(const QColor &a, const QColor &b)
{
    const double x = Luminance(a);
    const double y = Luminance(b);
    return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

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

QPen LinePen(std::size_t style, const QColor &colour)
{
    QPen pen(colour, 2.0, kDashes[style % kDashes.size()]);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

void DrawMarker(QPainter &painter, std::size_t style, QPointF centre, const QColor &colour, const QColor &background)
{
    const double r = kMarker;
    const auto marker = static_cast<Marker>(style % kMarkers);
    painter.setPen(QPen(colour, 1.5));
    painter.setBrush(
        marker == Marker::Cross || marker == Marker::Plus || marker == Marker::Star ? Qt::NoBrush : QBrush(colour));
    const auto polygon = [&](std::initializer_list<QPointF> points) {
        QPolygonF shape;
        for (const QPointF &point : points)
            shape << centre + point * r;
        painter.drawPolygon(shape);
    };
    switch (marker) {
    case Marker::Circle:
        painter.drawEllipse(centre, r, r);
        break;
    case Marker::Square:
        painter.drawRect(QRectF(centre - QPointF(r, r) * 0.9, centre + QPointF(r, r) * 0.9));
        break;
    case Marker::TriangleUp:
        polygon({ { 0, -1.2 }, { 1.1, 0.8 }, { -1.1, 0.8 } });
        break;
    case Marker::Diamond:
        polygon({ { 0, -1.3 }, { 1.1, 0 }, { 0, 1.3 }, { -1.1, 0 } });
        break;
    case Marker::TriangleDown:
        polygon({ { 0, 1.2 }, { 1.1, -0.8 }, { -1.1, -0.8 } });
        break;
    case Marker::Cross:
        painter.drawLine(centre + QPointF(-r, -r), centre + QPointF(r, r));
        painter.drawLine(centre + QPointF(-r, r), centre + QPointF(r, -r));
        break;
    case Marker::Plus:
        painter.drawLine(centre + QPointF(-r * 1.2, 0), centre + QPointF(r * 1.2, 0));
        painter.drawLine(centre + QPointF(0, -r * 1.2), centre + QPointF(0, r * 1.2));
        break;
    case Marker::Star:
        painter.drawLine(centre + QPointF(-r, 0), centre + QPointF(r, 0));
        painter.drawLine(centre + QPointF(-r / 2, -r), centre + QPointF(r / 2, r));
        painter.drawLine(centre + QPointF(-r / 2, r), centre + QPointF(r / 2, -r));
        break;
    }
    painter.setBrush(background);
}

} // namespace

QColor RollColour(std::size_t style, const QColor &background, const QColor &text)
{
    const std::size_t index = style % (kColours.size() + 1);
    if (index == kColours.size())
        return text;
    QColor colour = QColor::fromRgb(kColours[index]);
    // Lines need a contrast of 3 to the background; yellow on white and blue
    // on black fall short, and move towards the text colour until they reach it.
    for (double weight = 0.9; weight > 0.3 && Contrast(colour, background) < 3.0; weight -= 0.1)
        colour = Mix(QColor::fromRgb(kColours[index]), text, weight);
    return colour;
}

// A stretch of the totals axis. Rolls far apart, such as 1d4 and 100d100, each
// get a stretch of their own, with a break between, so that neither shrinks
// to a few pixels.
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

    const Segment &SegmentOf(std::int64_t total) const
    {
        for (const Segment &segment : segments) {
            if (total <= segment.highest)
                return segment;
        }
        return segments.back();
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

ComparePlot::ComparePlot(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 40, fontMetrics().height() * 14);
    Describe();
}

QSize ComparePlot::sizeHint() const
{
    return { fontMetrics().horizontalAdvance(QLatin1Char('x')) * 80, fontMetrics().height() * 22 };
}

void ComparePlot::Show(std::vector<PlottedRoll> rolls, std::int64_t target, View sense)
{
    m_target = target;
    m_sense = sense;
    m_rolls = std::move(rolls);
    m_lowest = std::numeric_limits<std::int64_t>::max();
    m_highest = std::numeric_limits<std::int64_t>::min();
    for (const PlottedRoll &plotted : m_rolls) {
        m_lowest = std::min(m_lowest, plotted.roll->distribution.lowest);
        m_highest = std::max(m_highest, plotted.roll->distribution.Highest());
    }
    if (m_rolls.empty()) {
        m_lowest = 0;
        m_highest = -1;
    }
    m_ranges.clear();
    std::vector<std::pair<std::int64_t, std::int64_t>> ranges;
    for (const PlottedRoll &plotted : m_rolls)
        ranges.emplace_back(plotted.roll->distribution.lowest, plotted.roll->distribution.Highest());
    std::sort(ranges.begin(), ranges.end());
    for (const auto &[lowest, highest] : ranges) {
        if (!m_ranges.empty()) {
            auto &last = m_ranges.back();
            const std::int64_t gap = lowest - last.second - 1;
            const std::int64_t a = last.second - last.first + 1;
            const std::int64_t b = highest - lowest + 1;
            // Overlapping rolls share a stretch; so do neighbours whose gap
            // is small beside them, unless one would be squeezed by the other.
            if (gap <= 0 || (4 * gap <= a + b && std::max(a, b) <= 8 * std::min(a, b))) {
                last.second = std::max(last.second, highest);
                continue;
            }
        }
        m_ranges.emplace_back(lowest, highest);
    }
    // The cursor stays on its total while any roll reaches it.
    if (m_cursor && !CursorIndex(*m_cursor))
        m_cursor.reset();
    Describe();
    update();
}

void ComparePlot::SetView(View view)
{
    m_view = view;
    Describe();
    update();
}

View ComparePlot::ViewShown() const
{
    return m_view;
}

std::int64_t ComparePlot::Target() const
{
    return m_target;
}

View ComparePlot::Sense() const
{
    return m_sense;
}

const std::vector<PlottedRoll> &ComparePlot::Rolls() const
{
    return m_rolls;
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
    for (std::size_t i = 0; i < m_rolls.size(); ++i)
        parts << Text(m_rolls[i].roll->expression) + QStringLiteral(": ") + m_readouts[i];
    return parts.join(QStringLiteral("; "));
}

QString ComparePlot::Title() const
{
    if (m_rolls.empty())
        return QStringLiteral("No valid roll");
    QStringList names;
    for (const PlottedRoll &plotted : m_rolls)
        names << Text(plotted.roll->expression);
    return names.join(QStringLiteral(", ")) + QStringLiteral(", ") + QLatin1String(ViewName(m_view));
}

QString ComparePlot::Summary() const
{
    if (m_rolls.empty())
        return QStringLiteral("Type a roll in the notation, such as 2d20kh1, to see it here.");
    std::string summary =
        Title().toStdString() + ". Totals " + std::to_string(m_lowest) + " to " + std::to_string(m_highest) + ". ";
    // The likeliest roll by exact fractions: ties are ties, not rounding luck.
    mpz_class bestPart;
    mpz_class bestWhole = 1;
    std::vector<std::string> best;
    for (const PlottedRoll &plotted : m_rolls) {
        const dice::Distribution &distribution = plotted.roll->distribution;
        const mpz_class part = TargetOutcomes(distribution, m_target, m_sense);
        const int order = cmp(part * bestWhole, bestPart * distribution.outcomes);
        if (best.empty() || order > 0) {
            best.clear();
            bestPart = part;
            bestWhole = distribution.outcomes;
        }
        if (best.empty() || order >= 0)
            best.push_back(plotted.roll->expression);
    }
    const std::string target = std::string(ViewName(m_sense)) + " " + std::to_string(m_target);
    if (sgn(bestPart) == 0) {
        summary += "No roll can throw " + target + ".";
    } else {
        std::string names;
        for (std::size_t i = 0; i < best.size(); ++i)
            names += (i == 0 ? "" : i + 1 == best.size() ? " and " : ", ") + best[i];
        summary += "Likeliest to throw " + target + ": " + names + ", " + dice::TablePercent(bestPart, bestWhole)
            + (best.size() > 1 ? " each." : ".");
    }
    return Text(summary);
}

ComparePlot::Frame ComparePlot::Measure(QSize size) const
{
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
    for (const PlottedRoll &plotted : m_rolls) {
        const double width = std::min(
            sample + kGap + metrics.horizontalAdvance(Text(plotted.roll->expression)), size.width() - 2 * kGap);
        if (x > kGap && x + width > size.width() - kGap) {
            x = kGap;
            y += lineHeight;
        }
        frame.legend.emplace_back(x, y, width, lineHeight);
        x += width + 3 * kGap;
    }
    const double above = (m_rolls.empty() ? y : y + lineHeight) + kGap + lineHeight / 2;
    const double below = kTickLength + kGap + lineHeight + kGap;
    const double height = std::max(1.0, size.height() - above - below);
    const int yLabels = std::max(2, static_cast<int>(height / (lineHeight * 2.5)));

    double highest = 0.0;
    double lowestPeak = std::numeric_limits<double>::max();
    for (const PlottedRoll &plotted : m_rolls) {
        const auto &percents = plotted.roll->percents[static_cast<std::size_t>(m_view)];
        const double peak = *std::max_element(percents.begin(), percents.end());
        highest = std::max(highest, peak);
        lowestPeak = std::min(lowestPeak, peak);
    }
    frame.logarithmic = m_view == View::Exactly && lowestPeak > 0.0 && highest / lowestPeak > kLogarithmicSpread;
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
    const AxesRoom axes = PlaceAxes(metrics, size.width(), above, height, yLabelTexts, m_lowest, m_highest, kGap);
    frame.plot = axes.plot;
    // Each stretch is as wide as its totals, but no narrower than half of
    // its fair share; breaks between them take a fixed width.
    const double breakWidth = 4 * kGap;
    const double room = std::max(1.0, frame.plot.width() - breakWidth * static_cast<double>(m_ranges.size() - 1));
    double spans = 0.0;
    for (const auto &[first, last] : m_ranges)
        spans += static_cast<double>(last - first + 1);
    const double least = spans / (2.0 * static_cast<double>(m_ranges.size()));
    double weights = 0.0;
    for (const auto &[first, last] : m_ranges)
        weights += std::max(least, static_cast<double>(last - first + 1));
    double left = frame.plot.left();
    for (const auto &[first, last] : m_ranges) {
        Segment segment { first, last, left, 1.0, 1 };
        const auto totals = static_cast<double>(last - first + 1);
        segment.slot = room * std::max(least, totals) / weights / totals;
        segment.step = TotalStep((axes.totalWidth + metrics.horizontalAdvance(QStringLiteral("  "))) / segment.slot);
        frame.segments.push_back(segment);
        left = segment.Right() + breakWidth;
    }
    return frame;
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
    painter.drawText(frame.title, Qt::AlignCenter, Title());
    painter.setFont(font());
    if (m_rolls.empty()) {
        painter.drawText(QRect(QPoint(0, 0), size), Qt::AlignCenter | Qt::TextWordWrap, Summary());
        return;
    }
    const QFontMetricsF metrics(font());
    const double lineHeight = metrics.height();
    const QRectF &plot = frame.plot;
    painter.setRenderHint(QPainter::Antialiasing);

    for (std::size_t i = 0; i < m_rolls.size(); ++i) {
        const QRectF &entry = frame.legend[i];
        const std::size_t style = m_rolls[i].style;
        const QColor colour = RollColour(style, colours.background, colours.text);
        const double sample = metrics.horizontalAdvance(QLatin1Char('x')) * 5;
        const double middle = entry.center().y();
        painter.setPen(LinePen(style, colour));
        painter.drawLine(QPointF(entry.left(), middle), QPointF(entry.left() + sample, middle));
        DrawMarker(painter, style, QPointF(entry.left() + sample / 2, middle), colour, colours.background);
        painter.setPen(colours.text);
        const QRectF label(entry.left() + sample + kGap, entry.top(), entry.width() - sample - kGap, lineHeight);
        painter.drawText(label,
            Qt::AlignLeft | Qt::AlignVCenter,
            metrics.elidedText(Text(m_rolls[i].roll->expression), Qt::ElideRight, label.width()));
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
    if (CursorIndex(m_target)) {
        const double x = frame.X(m_target);
        painter.setPen(QPen(colours.series, 1.0, Qt::DashLine));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    }

    // Markers far enough apart to be told from the line, shifted per roll so
    // that rolls on the same points do not hide each other's.
    const double spacing = 6 * kMarker;

    painter.setClipRect(plot.adjusted(-kMarker * 2, -kMarker * 2, kMarker * 2, kMarker * 2));
    for (std::size_t i = 0; i < m_rolls.size(); ++i) {
        const RollResult &roll = *m_rolls[i].roll;
        const std::size_t style = m_rolls[i].style;
        const QColor colour = RollColour(style, colours.background, colours.text);
        const auto &percents = roll.percents[static_cast<std::size_t>(m_view)];
        const double slot = frame.SegmentOf(roll.distribution.lowest).slot;
        const auto every = static_cast<std::size_t>(std::max(1.0, std::ceil(spacing / slot)));
        QPolygonF line;
        line.reserve(static_cast<qsizetype>(percents.size()));
        for (std::size_t k = 0; k < percents.size(); ++k)
            line << QPointF(frame.X(roll.distribution.lowest + static_cast<std::int64_t>(k)), frame.Y(percents[k]));
        painter.setPen(LinePen(style, colour));
        painter.setBrush(Qt::NoBrush);
        painter.drawPolyline(line);
        const std::size_t shift = every > 1 ? every * i / m_rolls.size() : 0;
        const auto peak =
            static_cast<std::size_t>(std::max_element(percents.begin(), percents.end()) - percents.begin());
        for (std::size_t k = 0; k < percents.size(); ++k) {
            if ((k + shift) % every == 0 || (k == peak && percents.size() < every))
                DrawMarker(painter, style, line[static_cast<qsizetype>(k)], colour, colours.background);
        }
    }
    painter.setClipping(false);

    if (m_cursor) {
        const double x = frame.X(*m_cursor);
        painter.setPen(QPen(colours.text, 1.0));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        for (const PlottedRoll &plotted : m_rolls) {
            const dice::Distribution &distribution = plotted.roll->distribution;
            if (*m_cursor < distribution.lowest || *m_cursor > distribution.Highest())
                continue;
            const auto k = static_cast<std::size_t>(*m_cursor - distribution.lowest);
            const double percent = plotted.roll->percents[static_cast<std::size_t>(m_view)][k];
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

void ComparePlot::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    Render(painter, size());
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(1, 1, -1, -1);
        option.backgroundColor = ColoursOf(palette()).background;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void ComparePlot::keyPressEvent(QKeyEvent *event)
{
    std::size_t count = 0;
    for (const auto &[lowest, highest] : m_ranges)
        count += static_cast<std::size_t>(highest - lowest + 1);
    const auto moved = CursorAfterKey(event->key(), m_cursor ? CursorIndex(*m_cursor) : std::nullopt, count);
    if (!moved)
        return QWidget::keyPressEvent(event);
    // Back from a place among all the totals shown to its total.
    std::size_t index = *moved;
    for (const auto &[lowest, highest] : m_ranges) {
        const auto size = static_cast<std::size_t>(highest - lowest + 1);
        if (index < size)
            return MoveCursor(lowest + static_cast<std::int64_t>(index));
        index -= size;
    }
}

std::optional<std::size_t> ComparePlot::CursorIndex(std::int64_t total) const
{
    std::size_t before = 0;
    for (const auto &[lowest, highest] : m_ranges) {
        if (total >= lowest && total <= highest)
            return before + static_cast<std::size_t>(total - lowest);
        before += static_cast<std::size_t>(highest - lowest + 1);
    }
    return std::nullopt;
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
    if (m_rolls.empty())
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
    for (const PlottedRoll &plotted : m_rolls) {
        if (!m_cursor) {
            m_readouts.emplace_back();
            continue;
        }
        const dice::Distribution &distribution = plotted.roll->distribution;
        const mpz_class part = TargetOutcomes(distribution, *m_cursor, m_view);
        m_readouts.push_back(
            Text(ReadoutText(m_view, Narrow(*m_cursor), dice::TablePercent(part, distribution.outcomes))));
    }
    NamePlot(*this, QStringLiteral("Comparison of ") + Title(), Summary(), CursorText(), m_announced);
}

} // namespace window
