#include "window/compare_print.h"

#include "window/compare.h"
#include "window/compare_plot.h"

#include <QHeaderView>
#include <QLabel>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QTabBar>
#include <QTableWidget>

#include <algorithm>
#include <vector>

namespace window
{

namespace
{

// A table as it stands in the window: its headings and lines, the columns
// none of whose cells hold anything left out. A cell spanning the rest of
// its line, as the labels of a labelled roll do, ends its line.
struct Grid {
    QStringList heading;
    std::vector<QStringList> lines;
    std::vector<bool> spansRest;
    // The columns of names, left-aligned; the figures after them are right-aligned.
    int names = 1;
};

QString Heading(const QTableWidget &table, int column)
{
    const QTableWidgetItem *item = table.horizontalHeaderItem(column);
    return item ? item->text() : QString();
}

Grid ReadGrid(const QTableWidget &table)
{
    Grid grid;
    const bool rowHeadings = !table.verticalHeader()->isHidden();
    std::vector<int> columns;
    for (int column = 0; column < table.columnCount(); ++column) {
        bool filled = false;
        for (int row = 0; row < table.rowCount() && !filled; ++row)
            filled = table.item(row, column) && !table.item(row, column)->text().isEmpty();
        if (filled && !table.isColumnHidden(column))
            columns.push_back(column);
    }
    if (rowHeadings) {
        grid.heading << QString();
        grid.names = 2;
    }
    for (const int column : columns)
        grid.heading << Heading(table, column);
    for (int row = 0; row < table.rowCount(); ++row) {
        QStringList line;
        if (rowHeadings) {
            const QTableWidgetItem *item = table.verticalHeaderItem(row);
            line << (item ? item->text() : QString::number(row + 1));
        }
        bool spans = false;
        for (const int column : columns) {
            const QTableWidgetItem *item = table.item(row, column);
            line << (item ? item->text() : QString());
            if (table.columnSpan(row, column) > 1) {
                spans = true;
                break;
            }
        }
        grid.lines.push_back(line);
        grid.spansRest.push_back(spans);
    }
    return grid;
}

class Pages
{
public:
    Pages(QPagedPaintDevice &device, QPainter &painter, const QFont &font)
        : m_device(device)
        , m_painter(painter)
        , m_font(font)
        , m_line(QFontMetricsF(font, &device).height() * 1.35)
    {
    }

    // Room for height from here, on a new page where this one lacks it.
    void Need(double height)
    {
        if (m_top > 0 && m_top + height > m_device.height()) {
            m_device.newPage();
            m_top = 0;
        }
    }

    void Heading(const QString &text)
    {
        QFont bold = m_font;
        bold.setBold(true);
        bold.setPointSizeF(m_font.pointSizeF() * 1.3);
        const double height = QFontMetricsF(bold, &m_device).height() * 1.5;
        Need(height + 2 * m_line);
        m_painter.setFont(bold);
        m_painter.drawText(QRectF(0, m_top, m_device.width(), height), Qt::AlignLeft | Qt::AlignVCenter, text);
        m_painter.setFont(m_font);
        m_top += height;
    }

    void Text(const QString &text)
    {
        const QRectF room(0, m_top, m_device.width(), m_device.height());
        const QRectF used = m_painter.boundingRect(room, Qt::TextWordWrap, text);
        Need(used.height());
        m_painter.drawText(QRectF(0, m_top, m_device.width(), used.height()), Qt::TextWordWrap, text);
        m_top += used.height() + m_line / 2;
    }

    void Table(const Grid &grid)
    {
        const QFontMetricsF metrics(m_font, &m_device);
        const double pad = metrics.horizontalAdvance(QLatin1Char('x')) * 1.5;
        const int count = static_cast<int>(grid.heading.size());
        std::vector<double> widths(static_cast<std::size_t>(count), 0.0);
        const auto widen = [&](const QStringList &line, bool spans, const QFontMetricsF &measure) {
            for (int i = 0; i < line.size(); ++i) {
                if (!(spans && i == line.size() - 1))
                    widths[static_cast<std::size_t>(i)] =
                        std::max(widths[static_cast<std::size_t>(i)], measure.horizontalAdvance(line[i]) + pad);
            }
        };
        for (std::size_t i = 0; i < grid.lines.size(); ++i)
            widen(grid.lines[i], grid.spansRest[i], metrics);
        QFont headingFont = m_font;
        headingFont.setBold(true);
        widen(grid.heading, false, QFontMetricsF(headingFont, &m_device));
        // A long roll gives way first: the figures are what the page is for.
        double total = 0;
        for (const double width : widths)
            total += width;
        if (total > m_device.width() && count > 1)
            widths[0] = std::max(widths[0] - (total - m_device.width()), m_device.width() / 4.0);
        std::vector<double> lefts;
        double left = 0;
        for (const double width : widths) {
            lefts.push_back(left);
            left += width;
        }
        const double right = std::min<double>(left, m_device.width());
        const auto draw = [&](const QStringList &line, bool spans, bool bold) {
            Need(m_line);
            QFont font = m_font;
            font.setBold(bold);
            m_painter.setFont(font);
            for (int i = 0; i < line.size(); ++i) {
                const auto at = static_cast<std::size_t>(i);
                const double width = spans && i == line.size() - 1 ? right - lefts[at] : widths[at];
                const QRectF cell(lefts[at] + pad / 3, m_top, width - pad * 2 / 3, m_line);
                const Qt::Alignment side =
                    i < grid.names || (spans && i == line.size() - 1) ? Qt::AlignLeft : Qt::AlignRight;
                m_painter.drawText(cell,
                    side | Qt::AlignVCenter,
                    QFontMetricsF(font, &m_device).elidedText(line[i], Qt::ElideRight, cell.width()));
            }
            m_top += m_line;
            m_painter.drawLine(QPointF(0, m_top), QPointF(right, m_top));
        };
        draw(grid.heading, false, true);
        for (std::size_t i = 0; i < grid.lines.size(); ++i)
            draw(grid.lines[i], grid.spansRest[i], false);
        m_painter.setFont(m_font);
        m_top += m_line;
    }

    void Plot(const ComparePlot &plot)
    {
        // The plot as wide as the page, in the proportions it has on the screen,
        // and never taller than a page.
        const double width = m_device.width();
        const QSize shown = plot.size().isEmpty() ? plot.sizeHint() : plot.size();
        double height = width * shown.height() / std::max(1, shown.width());
        height = std::min(height, static_cast<double>(m_device.height()));
        Need(height);
        m_painter.save();
        m_painter.translate(0, m_top);
        plot.Render(m_painter, QSize(static_cast<int>(width), static_cast<int>(height)));
        m_painter.restore();
        m_top += height;
    }

private:
    QPagedPaintDevice &m_device;
    QPainter &m_painter;
    QFont m_font;
    double m_line;
    double m_top = 0;
};

bool Paint(QPagedPaintDevice &device, const CompareWindow &window)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    painter.setFont(window.font());
    Pages pages(device, painter, window.font());
    pages.Heading(window.windowTitle().remove(QStringLiteral("[*]")));
    const Grid statistics = ReadGrid(*window.Table());
    if (!statistics.lines.empty())
        pages.Table(statistics);
    const Grid versus = ReadGrid(*window.HeadToHeadTable());
    if (!versus.lines.empty()) {
        pages.Heading(window.Tabs()->tabText(1).remove(QLatin1Char('&')));
        pages.Table(versus);
        if (!window.LeftOutOfHeadToHead()->isHidden())
            pages.Text(window.LeftOutOfHeadToHead()->text());
    }
    pages.Plot(*window.Plot());
    return painter.end();
}

} // namespace

bool PrintComparison(QPrinter &printer, const CompareWindow &window)
{
    // The window's units on paper, so that the plot's text measures as it is drawn.
    printer.setResolution(window.logicalDpiX());
    return Paint(printer, window);
}

bool WriteComparisonPdf(QIODevice &device, const CompareWindow &window, const QString &title)
{
    QPdfWriter writer(&device);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Pipwright"));
    writer.setResolution(window.logicalDpiX());
    writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    return Paint(writer, window);
}

} // namespace window
