#include "FocusRing.h"

#include "RoundedShape.h"

#include <QWidget>

namespace {

constexpr qreal ringWidth = 2;
constexpr qreal ringInset = 2;

} // namespace

namespace FocusRing {

bool isShown(const QWidget *widget)
{
    return widget->hasFocus() && widget->window()->testAttribute(Qt::WA_KeyboardFocusChange);
}

void paint(QPainter &painter, const QWidget *widget, const QRectF &rect, qreal radius, const QColor &color)
{
    if (isShown(widget))
        paintRing(painter, rect, radius, color);
}

void paintRing(QPainter &painter, const QRectF &rect, qreal radius, const QColor &color)
{
    const QRectF ring = rect.adjusted(ringInset, ringInset, -ringInset, -ringInset);
    RoundedShape::strokeInside(painter, ring, qMax(0.0, radius - ringInset), color, ringWidth);
}

} // namespace FocusRing
