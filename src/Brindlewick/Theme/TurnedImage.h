#pragma once

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <functional>

class QPainter;

// A picture made once as a turned painter (a tilted tape) shows it, its pixels on the device's
// grid: drawing it again is a plain copy, where an upright picture turned at each paint is sampled
// smoothly pixel by pixel, and large samplings wake a pool of threads.
namespace TurnedImage {

struct Image {
    // One per device pixel.
    QImage pixels;
    // The device pixel of the top left corner, from the one the painter's origin falls in.
    QPointF at;
};

// What such a picture depends on besides its content: how the painter turns and scales, and where
// its origin falls between two device pixels.
QString placementKey(const QPainter &painter);

// What `paint` draws inside `bounds` and `margin` points around them, as `painter` would show it.
Image make(const QPainter &painter, const QRectF &bounds, qreal margin,
           const std::function<void(QPainter &)> &paint);

// Draws `image`, made for a painter that stood as this one stands now.
void draw(QPainter &painter, const Image &image);

} // namespace TurnedImage
