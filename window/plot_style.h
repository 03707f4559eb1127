#pragma once

// How the plots look: colours taken from the palette, so that they hold on a
// dark one, and the line, dash and marker of each Compare roll, so that
// nothing depends on colour alone.

#include <QColor>
#include <QPen>
#include <QPointF>

#include <cstddef>

class QPainter;
class QPalette;
class QWidget;

namespace window
{

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

// The colour of a row's line, readable on the background: a colour-blind-safe
// set, darkened or lightened until it stands out from it.
QColor RollColour(std::size_t style, const QColor &background, const QColor &text);

// The radius of a roll's markers.
constexpr double kMarker = 3.5;

// The pen of a row's line, dashed by its style.
QPen LinePen(std::size_t style, const QColor &colour);
// A row's marker centred on a point; leaves the brush on the background.
void DrawMarker(QPainter &painter, std::size_t style, QPointF centre, const QColor &colour, const QColor &background);

// The focus frame of a plot that takes the keyboard, inside its edge.
void DrawFocusFrame(QPainter &painter, const QWidget &plot, const QColor &background);

} // namespace window
