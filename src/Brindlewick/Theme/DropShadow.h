#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <functional>

class QPainter;

// Soft shadows of custom-painted shapes, drawn before the shape that casts them.
namespace DropShadow {

// Paints the shadow of what `silhouette` draws inside `bounds` (in the painter's coordinates): its
// alpha in `color`, blurred with a radius of `blur` points and moved by `offset`.
void paint(QPainter &painter, const QRectF &bounds, qreal blur, const QPointF &offset, const QColor &color,
           const std::function<void(QPainter &)> &silhouette);

} // namespace DropShadow
