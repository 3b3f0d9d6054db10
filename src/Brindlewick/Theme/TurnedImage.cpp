#include "TurnedImage.h"

#include "DropShadow.h"

#include <QPainter>
#include <cmath>

namespace {

// The whole device pixel the painter's origin falls in.
QPointF originPixel(const QTransform &device)
{
    return QPointF(std::floor(device.dx()), std::floor(device.dy()));
}

} // namespace

namespace TurnedImage {

QString placementKey(const QPainter &painter)
{
    const QTransform device = painter.deviceTransform();
    const auto between = [](qreal at) { return qRound(100 * (at - std::floor(at))); };
    return QStringLiteral("%1 %2 %3 %4 %5 %6")
        .arg(device.m11(), 0, 'f', 5)
        .arg(device.m12(), 0, 'f', 5)
        .arg(device.m21(), 0, 'f', 5)
        .arg(device.m22(), 0, 'f', 5)
        .arg(between(device.dx()))
        .arg(between(device.dy()));
}

Image make(const QPainter &painter, const QRectF &bounds, qreal margin,
           const std::function<void(QPainter &)> &paint)
{
    const QTransform device = painter.deviceTransform();
    const qreal grow = margin * DropShadow::scaleOf(painter);
    const QRectF shown = device.mapRect(bounds).adjusted(-grow, -grow, grow, grow);
    const QPoint topLeft(int(std::floor(shown.left())), int(std::floor(shown.top())));
    const QPoint bottomRight(int(std::ceil(shown.right())), int(std::ceil(shown.bottom())));
    QImage pixels(QSize(bottomRight.x() - topLeft.x(), bottomRight.y() - topLeft.y()),
                  QImage::Format_ARGB32_Premultiplied);
    if (pixels.isNull())
        return {};
    pixels.fill(Qt::transparent);
    {
        QPainter layer(&pixels);
        layer.translate(-QPointF(topLeft));
        layer.setTransform(device, true);
        paint(layer);
    }
    return {pixels, QPointF(topLeft) - originPixel(device)};
}

void draw(QPainter &painter, const Image &image)
{
    if (image.pixels.isNull())
        return;
    const QRectF onDevice(image.at + originPixel(painter.deviceTransform()), image.pixels.size());
    painter.save();
    // Upright again, the painter only moves and scales (to the device's pixel ratio, which the
    // painted widget may not know of when it is rendered into an image).
    painter.resetTransform();
    painter.drawImage(painter.deviceTransform().inverted().mapRect(onDevice), image.pixels);
    painter.restore();
}

} // namespace TurnedImage
