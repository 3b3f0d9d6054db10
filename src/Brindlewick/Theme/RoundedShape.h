#pragma once

#include <QColor>
#include <QRectF>

class QPainter;

// Rounded rectangles and capsules as the paper kit paints them: borders lie inside the shape's
// edge, so a border never grows the shape.
namespace RoundedShape {

// The radius that turns `rect` into a capsule.
qreal capsule(const QRectF &rect);
void fill(QPainter &painter, const QRectF &rect, qreal radius, const QColor &color);
void strokeInside(QPainter &painter, const QRectF &rect, qreal radius, const QColor &color, qreal width);

} // namespace RoundedShape
