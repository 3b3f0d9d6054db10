#pragma once

#include "TurnedImage.h"

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <functional>

class QPainter;

// Soft shadows of custom-painted shapes, drawn before the shape that casts them.
namespace DropShadow {

// A shadow made once, to be drawn again while what casts it stays the same.
struct Image {
    QImage pixels;
    QPointF origin;
};

// The shadow of what `silhouette` draws inside `bounds`, in the colour of `color` (its alpha is
// applied when it is drawn), for a painter with `scale` device pixels per point.
Image make(const QRectF &bounds, qreal blur, const QColor &color, qreal scale,
           const std::function<void(QPainter &)> &silhouette);
void draw(QPainter &painter, const Image &shadow, const QPointF &offset, qreal opacity);
// The black shadow of a picture made as a painter shows it, blurred by `blurPixels` device pixels
// and moved by `drop` of them; drawn with TurnedImage::draw under the painter's opacity.
TurnedImage::Image ofTurned(const TurnedImage::Image &shape, qreal blurPixels, QPoint drop);
// The device pixels per point of what the painter paints on.
qreal scaleOf(const QPainter &painter);

// Paints the shadow of what `silhouette` draws inside `bounds` (in the painter's coordinates): its
// alpha in `color`, blurred with a radius of `blur` points and moved by `offset`.
void paint(QPainter &painter, const QRectF &bounds, qreal blur, const QPointF &offset, const QColor &color,
           const std::function<void(QPainter &)> &silhouette);

} // namespace DropShadow
