#include "window/plot_style.h"

#include <QPainter>
#include <QPalette>
#include <QPolygonF>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QWidget>

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>

namespace window
{

namespace
{

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

} // namespace

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

void DrawFocusFrame(QPainter &painter, const QWidget &plot, const QColor &background)
{
    QStyleOptionFocusRect option;
    option.initFrom(&plot);
    option.rect = plot.rect().adjusted(1, 1, -1, -1);
    option.backgroundColor = background;
    plot.style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, &plot);
}

} // namespace window
