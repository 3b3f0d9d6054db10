#include "TapeShape.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr qreal toothDepth = 2.2;

} // namespace

namespace TapeShape {

int toothCount(qreal height)
{
    return std::max(3, int(height * 0.25));
}

QPainterPath path(const QRectF &r)
{
    QPainterPath outline;
    const qreal h = r.height();
    if (!std::isfinite(h) || !std::isfinite(r.width()))
        return outline;
    const int n = toothCount(h);
    outline.moveTo(r.left() + toothDepth, r.top());
    outline.lineTo(r.right() - toothDepth, r.top());
    for (int i = 0; i < n; ++i) {
        outline.lineTo(r.right() - toothDepth, r.top() + h * i / n);
        outline.lineTo(r.right(), r.top() + h * (i + 0.5) / n);
    }
    outline.lineTo(r.right() - toothDepth, r.bottom());
    outline.lineTo(r.left() + toothDepth, r.bottom());
    for (int i = n - 1; i >= 0; --i) {
        outline.lineTo(r.left() + toothDepth, r.top() + h * (i + 1) / n);
        outline.lineTo(r.left(), r.top() + h * (i + 0.5) / n);
    }
    outline.closeSubpath();
    return outline;
}

} // namespace TapeShape
