#include "RoundedShape.h"

#include <QPainter>
#include <QPainterPath>

namespace RoundedShape {

qreal capsule(const QRectF &rect)
{
    return qMin(rect.width(), rect.height()) / 2;
}

void fill(QPainter &painter, const QRectF &rect, qreal radius, const QColor &color)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(rect, radius, radius);
    painter.fillPath(shape, color);
    painter.restore();
}

void strokeInside(QPainter &painter, const QRectF &rect, qreal radius, const QColor &color, qreal width)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal inset = width / 2;
    QPainterPath edge;
    edge.addRoundedRect(rect.adjusted(inset, inset, -inset, -inset), qMax(0.0, radius - inset),
                        qMax(0.0, radius - inset));
    painter.strokePath(edge, QPen(color, width));
    painter.restore();
}

} // namespace RoundedShape
