#pragma once

// A paint device that keeps what is painted on it, shape by shape, so that a
// test can read a plot as it was drawn: which lines and markers, in which
// colours, at which places, and which labels. Pixels would depend on the
// font, antialiasing and rounding; these do not.

#include <QColor>
#include <QList>
#include <QPaintDevice>
#include <QPolygonF>
#include <QRectF>
#include <QSize>
#include <QString>

#include <memory>

namespace windowtest
{

struct Shape {
    enum class Kind { Ellipse, Rect, Polygon, Polyline, Line, Text };
    Kind kind = Kind::Line;
    // The corners of an ellipse's or rectangle's bounds, a polygon's or line's
    // points, a text item's baseline from start to end.
    QPolygonF points;
    // Invalid when there is no pen or no brush.
    QColor pen;
    QColor brush;
    Qt::PenStyle dash = Qt::SolidLine;
    QString text;

    QRectF Bounds() const;
};

class PaintLog : public QPaintDevice
{
public:
    explicit PaintLog(QSize size);
    ~PaintLog() override;

    QPaintEngine *paintEngine() const override;
    const QList<Shape> &Shapes() const;

    QList<Shape> Of(Shape::Kind kind) const;
    // The texts drawn, in order.
    QStringList Texts() const;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    class Engine;
    QSize m_size;
    std::unique_ptr<Engine> m_engine;
};

} // namespace windowtest
