#include "TrayShape.h"

#include <algorithm>

QPainterPath TrayShape::path(const QRectF &rect) const
{
    const qreal r = std::min(rect.width() * 0.5, std::min(rect.height() * 0.5, radius));
    QPainterPath outline;
    outline.moveTo(rect.left(), rect.top());
    outline.lineTo(rect.right(), rect.top());
    outline.lineTo(rect.right(), rect.bottom() - r);
    outline.quadTo(rect.right(), rect.bottom(), rect.right() - r, rect.bottom());
    outline.lineTo(rect.left() + r, rect.bottom());
    outline.quadTo(rect.left(), rect.bottom(), rect.left(), rect.bottom() - r);
    outline.closeSubpath();
    return outline;
}
