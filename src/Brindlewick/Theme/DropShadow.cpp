#include "DropShadow.h"

#include <QImage>
#include <QPainter>
#include <cmath>
#include <vector>

namespace {

// One pass of a 1-2-1 blur across the rows and down the columns of an alpha mask.
void blurOnce(QImage &mask)
{
    const int width = mask.width(), height = mask.height();
    std::vector<int> line;
    for (int y = 0; y < height; ++y) {
        uchar *row = mask.scanLine(y);
        line.assign(row, row + width);
        for (int x = 0; x < width; ++x)
            row[x] = uchar((line[std::max(0, x - 1)] + 2 * line[x] + line[std::min(width - 1, x + 1)]) / 4);
    }
    for (int x = 0; x < width; ++x) {
        line.resize(height);
        for (int y = 0; y < height; ++y)
            line[y] = mask.scanLine(y)[x];
        for (int y = 0; y < height; ++y)
            mask.scanLine(y)[x] =
                uchar((line[std::max(0, y - 1)] + 2 * line[y] + line[std::min(height - 1, y + 1)]) / 4);
    }
}

// Each pass adds a variance of half a pixel; a blur radius counts as two standard deviations.
int passesFor(qreal blurPixels)
{
    return std::max(1, qRound(blurPixels * blurPixels / 2));
}

// Room around a silhouette for the blur to spread into.
qreal marginFor(qreal blur)
{
    return std::ceil(1.5 * blur) + 1;
}

// The alpha of `layer`, blurred by `blurPixels` device pixels.
QImage blurredMask(const QImage &layer, qreal blurPixels)
{
    QImage mask = layer.convertToFormat(QImage::Format_Alpha8);
    for (int pass = passesFor(blurPixels); pass > 0; --pass)
        blurOnce(mask);
    return mask;
}

} // namespace

namespace DropShadow {

Image make(const QRectF &bounds, qreal blur, const QColor &color, qreal scale,
           const std::function<void(QPainter &)> &silhouette)
{
    const qreal margin = marginFor(blur);
    const QRectF area = bounds.adjusted(-margin, -margin, margin, margin);
    QImage layer((area.size() * scale).toSize(), QImage::Format_ARGB32_Premultiplied);
    if (layer.isNull())
        return {};
    layer.fill(Qt::transparent);
    {
        QPainter painter(&layer);
        painter.scale(scale, scale);
        painter.translate(-area.topLeft());
        silhouette(painter);
    }
    QImage mask = blurredMask(layer, blur * scale);
    mask.setDevicePixelRatio(scale);
    // An alpha mask draws as black: a quarter of the memory of a tinted copy, for the usual shadow.
    if (color.red() == 0 && color.green() == 0 && color.blue() == 0)
        return {mask, area.topLeft()};

    QImage shadow(mask.size(), QImage::Format_ARGB32_Premultiplied);
    shadow.setDevicePixelRatio(scale);
    shadow.fill(QColor(color.red(), color.green(), color.blue()));
    {
        QPainter tint(&shadow);
        tint.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        tint.drawImage(0, 0, mask);
    }
    return {shadow, area.topLeft()};
}

TurnedImage::Image ofTurned(const TurnedImage::Image &shape, qreal blurPixels, QPoint drop)
{
    if (shape.pixels.isNull())
        return {};
    const int margin = int(marginFor(blurPixels));
    QImage layer(shape.pixels.size() + QSize(2 * margin, 2 * margin), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
        QPainter painter(&layer);
        painter.drawImage(margin, margin, shape.pixels);
    }
    return {blurredMask(layer, blurPixels), shape.at + QPointF(drop - QPoint(margin, margin))};
}

void draw(QPainter &painter, const Image &shadow, const QPointF &offset, qreal opacity)
{
    if (shadow.pixels.isNull())
        return;
    painter.save();
    painter.setOpacity(painter.opacity() * opacity);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(shadow.origin + offset, shadow.pixels);
    painter.restore();
}

qreal scaleOf(const QPainter &painter)
{
    return std::max(1.0, std::sqrt(std::abs(painter.deviceTransform().determinant())));
}

void paint(QPainter &painter, const QRectF &bounds, qreal blur, const QPointF &offset, const QColor &color,
           const std::function<void(QPainter &)> &silhouette)
{
    draw(painter, make(bounds, blur, color, scaleOf(painter), silhouette), offset, color.alphaF());
}

} // namespace DropShadow
