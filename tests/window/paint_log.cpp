#include "tests/window/paint_log.h"

#include <QPaintEngine>
#include <QPainterPath>
#include <QTextItem>
#include <QTransform>

namespace windowtest
{

QRectF Shape::Bounds() const
{
    return points.boundingRect();
}

class PaintLog::Engine : public QPaintEngine
{
public:
    Engine()
        : QPaintEngine(AllFeatures)
    {
    }

    bool begin(QPaintDevice *) override
    {
        return true;
    }
    bool end() override
    {
        return true;
    }
    Type type() const override
    {
        return User;
    }

    void updateState(const QPaintEngineState &changed) override
    {
        if (changed.state() & DirtyPen) {
            m_pen = changed.pen().style() == Qt::NoPen ? QColor() : changed.pen().color();
            m_dash = changed.pen().style();
        }
        if (changed.state() & DirtyBrush)
            m_brush = changed.brush().style() == Qt::NoBrush ? QColor() : changed.brush().color();
        if (changed.state() & DirtyTransform)
            m_transform = changed.transform();
    }

    void drawEllipse(const QRectF &r) override
    {
        Add(Shape::Kind::Ellipse, QPolygonF(r));
    }
    void drawRects(const QRectF *rects, int count) override
    {
        for (int i = 0; i < count; ++i)
            Add(Shape::Kind::Rect, QPolygonF(rects[i]));
    }
    void drawLines(const QLineF *lines, int count) override
    {
        for (int i = 0; i < count; ++i)
            Add(Shape::Kind::Line, QPolygonF({ lines[i].p1(), lines[i].p2() }));
    }
    void drawPolygon(const QPointF *points, int count, PolygonDrawMode mode) override
    {
        Add(mode == PolylineMode ? Shape::Kind::Polyline : Shape::Kind::Polygon,
            QPolygonF(QList(points, points + count)));
    }
    void drawPath(const QPainterPath &path) override
    {
        Add(Shape::Kind::Polygon, path.toFillPolygon());
    }
    void drawTextItem(const QPointF &p, const QTextItem &item) override
    {
        Add(Shape::Kind::Text, QPolygonF({ p, p + QPointF(item.width(), 0) }), item.text());
    }
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override
    {
    }

    QList<Shape> shapes;

private:
    void Add(Shape::Kind kind, const QPolygonF &points, const QString &text = {})
    {
        shapes.append({ kind, m_transform.map(points), m_pen, m_brush, m_dash, text });
    }

    QColor m_pen;
    QColor m_brush;
    Qt::PenStyle m_dash = Qt::SolidLine;
    QTransform m_transform;
};

PaintLog::PaintLog(QSize size)
    : m_size(size)
    , m_engine(std::make_unique<Engine>())
{
}

PaintLog::~PaintLog() = default;

QPaintEngine *PaintLog::paintEngine() const
{
    return m_engine.get();
}

const QList<Shape> &PaintLog::Shapes() const
{
    return m_engine->shapes;
}

QList<Shape> PaintLog::Of(Shape::Kind kind) const
{
    QList<Shape> found;
    for (const Shape &shape : Shapes()) {
        if (shape.kind == kind)
            found.append(shape);
    }
    return found;
}

QStringList PaintLog::Texts() const
{
    QStringList texts;
    for (const Shape &shape : Of(Shape::Kind::Text))
        texts << shape.text;
    return texts;
}

int PaintLog::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth:
        return m_size.width();
    case PdmHeight:
        return m_size.height();
    case PdmWidthMM:
        return m_size.width() * 254 / 960;
    case PdmHeightMM:
        return m_size.height() * 254 / 960;
    case PdmNumColors:
        return 0x7fffffff;
    case PdmDepth:
        return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return 96;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return static_cast<int>(devicePixelRatioFScale());
    default:
        // Metrics a later Qt adds take the base device's answer.
        return QPaintDevice::metric(metric);
    }
}

} // namespace windowtest
