#include "window/chart.h"

#include "dice/dice.h"
#include "numtext/patterns.h"
#include "numtext/results.h"
#include "window/picture_export.h"
#include "window/plot_access.h"
#include "window/plot_axes.h"
#include "window/plot_style.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <QPushButton>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace window
{

using compare::View;

namespace
{

constexpr double kGap = 3.0;
// Below this many device pixels to a total, bars give way to a filled profile.
constexpr double kNarrowestBar = 3.0;

std::vector<double> ViewOutcomes(const rollstats::Table &table, View view)
{
    switch (view) {
    case View::AtLeast:
        return rollstats::OutcomesAtLeast(table);
    case View::AtMost:
        return rollstats::OutcomesAtMost(table);
    default:
        return table.counts;
    }
}

std::string TotalText(const rollstats::Table &table, std::size_t entry)
{
    return numtext::IntegerText(table.FirstTotal() + static_cast<std::int32_t>(entry));
}

// As the probability table shows the share of these outcomes.
std::string ShareText(const rollstats::Table &table, double outcomes)
{
    return numtext::TableShare(outcomes, table.totalOutcomes);
}

} // namespace

// Where the plot goes inside the widget and how its axes are divided.
struct ChartView::Frame {
    QRectF plot;
    PercentTicks y;
    // Totals between two labels on the axis.
    std::int32_t xStep = 1;
    // The width of one total.
    double slot = 1.0;
};

ChartView::ChartView(QWidget *parent)
    : QWidget(parent)
    , m_table(std::make_shared<const rollstats::Table>())
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 40, fontMetrics().height() * 10);
}

QSize ChartView::sizeHint() const
{
    return { fontMetrics().horizontalAdvance(QLatin1Char('x')) * 90, fontMetrics().height() * 22 };
}

void ChartView::SetTable(std::shared_ptr<const rollstats::Table> table)
{
    std::optional<std::size_t> cursor;
    if (m_cursor && !m_table->Empty()) {
        // The cursor stays on its total while the new table has it.
        const std::int64_t entry =
            std::int64_t { m_table->FirstTotal() } + static_cast<std::int64_t>(*m_cursor) - table->FirstTotal();
        if (entry >= 0 && entry < static_cast<std::int64_t>(table->counts.size()))
            cursor = static_cast<std::size_t>(entry);
    }
    m_table = std::move(table);
    m_outcomes = ViewOutcomes(*m_table, m_view);
    m_highlight.reset();
    m_cursor = cursor;
    update();
}

void ChartView::SetView(View view)
{
    m_view = view;
    m_outcomes = ViewOutcomes(*m_table, m_view);
    update();
}

void ChartView::SetHighlight(Range range)
{
    m_highlight = range;
    update();
}

const rollstats::Table &ChartView::Table() const
{
    return *m_table;
}

View ChartView::ViewShown() const
{
    return m_view;
}

const Range &ChartView::Highlight() const
{
    return m_highlight;
}

const std::vector<double> &ChartView::Outcomes() const
{
    return m_outcomes;
}

std::optional<std::size_t> ChartView::Cursor() const
{
    return m_cursor;
}

std::string ChartView::BarText(std::size_t entry) const
{
    return ReadoutText(
        m_view, m_table->FirstTotal() + static_cast<std::int32_t>(entry), ShareText(*m_table, m_outcomes[entry]));
}

ChartView::Frame ChartView::Measure(QSize size) const
{
    Frame frame;
    const QFontMetricsF metrics(font());
    double highest = 0.0;
    for (const double outcomes : m_outcomes)
        highest = std::max(highest, outcomes / m_table->totalOutcomes * 100);

    const double above = metrics.height() / 2 + kGap;
    const double below = kTickLength + kGap + metrics.height();
    const double height = std::max(1.0, size.height() - above - below);
    frame.y = PercentAxis(highest, static_cast<int>(height / (metrics.height() * 2.5)));
    QStringList percentLabels;
    for (int k = 0; k < frame.y.Count(); ++k)
        percentLabels << frame.y.Label(k);
    const AxesRoom room = PlaceAxes(metrics,
        size.width(),
        above,
        height,
        percentLabels,
        m_table->FirstTotal(),
        m_table->FirstTotal() + static_cast<std::int64_t>(m_outcomes.size()) - 1,
        kGap);
    frame.plot = room.plot;
    frame.slot = frame.plot.width() / static_cast<double>(m_outcomes.size());
    const double totalsPerLabel = (room.totalWidth + metrics.horizontalAdvance(QStringLiteral("  "))) / frame.slot;
    frame.xStep = TotalStep(totalsPerLabel);
    return frame;
}

QRectF ChartView::Column(std::size_t entry) const
{
    return Column(Measure(size()), entry);
}

QRectF ChartView::Column(const Frame &frame, std::size_t entry) const
{
    const double left = frame.plot.left() + static_cast<double>(entry) * frame.slot;
    return { left, frame.plot.top(), frame.slot, frame.plot.height() };
}

std::optional<std::size_t> ChartView::EntryAt(const Frame &frame, double x) const
{
    if (m_outcomes.empty() || x < frame.plot.left() || x >= frame.plot.right())
        return std::nullopt;
    const auto entry = static_cast<std::size_t>((x - frame.plot.left()) / frame.slot);
    return std::min(entry, m_outcomes.size() - 1);
}

void ChartView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    Render(painter, size());
    if (hasFocus())
        DrawFocusFrame(painter, *this, ColoursOf(palette()).background);
}

void ChartView::Render(QPainter &painter, QSize size) const
{
    const PlotColours colours = ColoursOf(palette());
    const QColor &base = colours.background;
    const QColor &text = colours.text;
    const QRect area(QPoint(0, 0), size);
    painter.fillRect(area, base);
    painter.setFont(font());
    painter.setPen(text);
    if (m_outcomes.empty()) {
        painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, QStringLiteral("Compute a roll to see it here."));
        return;
    }
    const Frame frame = Measure(size);
    const QRectF &plot = frame.plot;
    const double pixelsPerPercent = plot.height() / frame.y.top;
    const double height = fontMetrics().height();

    for (int k = 0; k < frame.y.Count(); ++k)
        DrawPercentLine(painter,
            colours,
            plot,
            plot.bottom() - k * frame.y.step * pixelsPerPercent,
            frame.y.Label(k),
            kGap,
            height);

    const auto x = [&](std::size_t entry) { return plot.left() + static_cast<double>(entry) * frame.slot; };
    const auto y = [&](std::size_t entry) {
        return plot.bottom() - m_outcomes[entry] / m_table->totalOutcomes * 100 * pixelsPerPercent;
    };
    const bool asBars = frame.slot * painter.device()->devicePixelRatioF() >= kNarrowestBar;
    const auto drawBars = [&](std::size_t first, std::size_t last, const QColor &colour) {
        if (asBars) {
            const double gap = frame.slot >= 4 ? std::max(1.0, frame.slot * 0.15) : 0.0;
            for (std::size_t entry = first; entry <= last; ++entry)
                painter.fillRect(
                    QRectF(QPointF(x(entry) + gap / 2, y(entry)), QPointF(x(entry + 1) - gap / 2, plot.bottom())),
                    colour);
            return;
        }
        // Thinner than a pixel a bar could fall between pixels; the outline of
        // all bars together covers every total.
        QPolygonF profile;
        profile.reserve(static_cast<qsizetype>(2 * (last - first) + 4));
        profile << QPointF(x(first), plot.bottom());
        for (std::size_t entry = first; entry <= last; ++entry)
            profile << QPointF(x(entry), y(entry)) << QPointF(x(entry + 1), y(entry));
        profile << QPointF(x(last + 1), plot.bottom());
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawPolygon(profile);
    };
    drawBars(0, m_outcomes.size() - 1, colours.series);
    if (m_highlight)
        drawBars(m_highlight->first, m_highlight->second, colours.highlight);
    if (m_cursor) {
        // A line and a dot on the bar's top, so that the cursor shows on a bar
        // narrower than a pixel as well.
        drawBars(*m_cursor, *m_cursor, text);
        const QPointF top((x(*m_cursor) + x(*m_cursor + 1)) / 2, y(*m_cursor));
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(text, 0, Qt::DashLine));
        painter.drawLine(QPointF(top.x(), plot.top()), QPointF(top.x(), plot.bottom()));
        painter.setPen(QPen(base, 1.5));
        painter.setBrush(text);
        painter.drawEllipse(top, 4.0, 4.0);
        painter.setRenderHint(QPainter::Antialiasing, false);
    }

    painter.setPen(text);
    DrawAxes(painter, plot);
    const std::int32_t first = m_table->FirstTotal();
    const std::int32_t step = frame.xStep;
    for (std::int32_t total = FirstTickTotal(first, step); total <= m_table->LastTotal(); total += step)
        DrawTotalTick(painter, plot, x(static_cast<std::size_t>(total - first)) + frame.slot / 2, total, height);
}

void ChartView::keyPressEvent(QKeyEvent *event)
{
    if (const auto entry = CursorAfterKey(event->key(), m_cursor, m_outcomes.size()))
        return MoveCursor(entry);
    QWidget::keyPressEvent(event);
}

void ChartView::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    if (const auto entry = EntryAt(Measure(size()), event->position().x()))
        MoveCursor(entry);
}

bool ChartView::event(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const Frame frame = Measure(size());
    const auto entry = EntryAt(frame, help->pos().x());
    if (!entry || help->pos().y() < frame.plot.top() || help->pos().y() > frame.plot.bottom()) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    QToolTip::showText(help->globalPos(), Text(BarText(*entry)), this, Column(frame, *entry).toAlignedRect());
    return true;
}

void ChartView::MoveCursor(std::optional<std::size_t> entry)
{
    if (entry == m_cursor)
        return;
    m_cursor = entry;
    update();
    if (CursorMoved)
        CursorMoved();
}

ChartWindow::ChartWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_title(new QLabel(this))
    , m_views(new QButtonGroup(this))
    , m_plot(new ChartView(this))
    , m_readout(new QLabel(this))
    , m_save(new QPushButton(QStringLiteral("&Save Chart..."), this))
{
    setObjectName(QStringLiteral("chart"));
    setWindowTitle(QStringLiteral("Pipwright Chart"));
    // The form keeps the keyboard when the chart opens beside it.
    setAttribute(Qt::WA_ShowWithoutActivating);

    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    m_title->setAlignment(Qt::AlignCenter);
    m_title->setTextFormat(Qt::PlainText);
    m_readout->setTextFormat(Qt::PlainText);

    QHBoxLayout *views = ViewButtons(this, m_views);
    m_views->button(static_cast<int>(View::Exactly))->setChecked(true);
    QObject::connect(m_views, &QButtonGroup::idClicked, this, [this](int id) { SetView(static_cast<View>(id)); });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_title);
    layout->addLayout(views);
    layout->addWidget(m_plot, 1);
    m_save->setEnabled(false);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_readout, 1);
    buttons->addWidget(m_save);
    layout->addLayout(buttons);
    QObject::connect(m_save, &QPushButton::clicked, this, [this] {
        SavePictureAs(this, QStringLiteral("chart.svg"), [this](const QString &path) { return SaveChartTo(path); });
    });
    m_plot->CursorMoved = [this] { ShowCursor(); };
    m_plot->setFocus();
    Describe();
}

void ChartWindow::SetTable(std::shared_ptr<const rollstats::Table> table)
{
    m_mostLikely.clear();
    if (table && !table->Empty()) {
        // Ties decided on exact counts: beyond 2^53 two doubles of one count
        // can differ, and two counts can share a double.
        try {
            m_mostLikely = dice::Summarize(dice::Evaluate(dice::Parse(table->Roll()))).mostLikely;
        } catch (const std::exception &) {
            m_mostLikely.clear();
        }
    }
    m_plot->SetTable(std::move(table));
    m_save->setEnabled(!m_plot->Table().Empty());
    Describe();
}

void ChartWindow::SetHighlight(Range range)
{
    // Picks reach past the table only after a Compute that refilled the lists
    // and then failed before its table was written: nothing of it to show.
    if (range && range->second >= m_plot->Table().counts.size())
        range.reset();
    if (range == m_plot->Highlight())
        return;
    m_plot->SetHighlight(range);
    Describe();
}

void ChartWindow::SetView(View view)
{
    m_views->button(static_cast<int>(view))->setChecked(true);
    m_plot->SetView(view);
    Describe();
}

ChartView *ChartWindow::Plot() const
{
    return m_plot;
}

QString ChartWindow::Title() const
{
    const rollstats::Table &table = m_plot->Table();
    if (table.Empty())
        return QStringLiteral("No roll computed yet");
    return Text(table.Roll() + ", " + ViewName(m_plot->ViewShown()));
}

QSize ChartWindow::PictureSize() const
{
    return m_plot->size() + QSize(0, m_title->height());
}

void ChartWindow::Render(QPainter &painter, QSize size) const
{
    const int title = m_title->height();
    painter.fillRect(QRect(QPoint(0, 0), QSize(size.width(), title)), ColoursOf(palette()).background);
    painter.setPen(ColoursOf(palette()).text);
    painter.setFont(m_title->font());
    painter.drawText(QRect(QPoint(0, 0), QSize(size.width(), title)), Qt::AlignCenter, Title());
    painter.translate(0, title);
    m_plot->Render(painter, QSize(size.width(), size.height() - title));
    painter.translate(0, -title);
}

QPushButton *ChartWindow::SaveButton() const
{
    return m_save;
}

bool ChartWindow::SaveChartTo(const QString &path)
{
    Picture picture;
    picture.size = PictureSize();
    picture.ratio = m_plot->devicePixelRatioF();
    picture.title = Title();
    picture.description = m_summary;
    picture.render = [this](QPainter &painter, QSize size) { Render(painter, size); };
    return SavePictureTo(this, picture, path);
}

QString ChartWindow::CursorText() const
{
    const auto cursor = m_plot->Cursor();
    return cursor ? Text(m_plot->BarText(*cursor)) : QString();
}

void ChartWindow::Describe()
{
    m_title->setText(Title());
    const rollstats::Table &table = m_plot->Table();
    const Range &highlight = m_plot->Highlight();
    std::string summary;
    if (table.Empty()) {
        summary = "Compute a roll in the main window to see its odds here.";
    } else {
        const auto &counts = table.counts;
        const double most = *std::max_element(counts.begin(), counts.end());
        std::size_t first = static_cast<std::size_t>(std::find(counts.begin(), counts.end(), most) - counts.begin());
        std::size_t last = first;
        if (!m_mostLikely.empty()) {
            first = static_cast<std::size_t>(m_mostLikely.front() - table.FirstTotal());
            last = static_cast<std::size_t>(m_mostLikely.back() - table.FirstTotal());
        }
        summary = table.Roll() + ", " + ViewName(m_plot->ViewShown()) + ". Totals " + TotalText(table, 0) + " to "
            + TotalText(table, counts.size() - 1) + ". ";
        const std::string chance = ShareText(table, counts[first]);
        if (first == last)
            summary += "Most likely total: " + TotalText(table, first) + ", " + chance + ". ";
        else
            summary += "Most likely totals: " + TotalText(table, first) + (last == first + 1 ? " and " : " to ")
                + TotalText(table, last) + ", " + chance + " each. ";
        if (highlight) {
            summary += "Highlighted: " + TotalText(table, highlight->first) + " to "
                + TotalText(table, highlight->second) + ", "
                + ShareText(table, rollstats::RangeOutcomes(table, highlight->first, highlight->second)) + ".";
        } else {
            summary += "Nothing highlighted.";
        }
    }
    m_summary = Text(summary);
    ShowCursor();
}

void ChartWindow::ShowCursor()
{
    const QString text = CursorText();
    m_readout->setText(text.isEmpty() ? QStringLiteral("Point at a bar, or use the arrow keys, Home and End.") : text);
    NamePlot(*m_plot, QStringLiteral("Chart of ") + Title(), m_summary, text, m_announced);
}

} // namespace window
