#include "Hatch.h"

#include <QPainter>

namespace {

constexpr qreal strokeGap = 6;
constexpr qreal strokeWidth = 2;

} // namespace

QPainterPath Hatch::strokes(const QSizeF &size)
{
    QPainterPath path;
    const qreal w = size.width(), h = size.height();
    if (!(h > 0) || !(w > 0))
        return path;
    for (qreal x = -h; x < w; x += strokeGap) {
        path.moveTo(x, h);
        path.lineTo(x + h, 0);
    }
    return path;
}

void Hatch::paint(QPainter &painter, const QRectF &rect) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(rect.topLeft());
    painter.strokePath(strokes(rect.size()), QPen(color, strokeWidth));
    painter.restore();
}
