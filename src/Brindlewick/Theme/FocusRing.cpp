#include "FocusRing.h"

#include "RoundedShape.h"

#include <QWidget>

namespace {

constexpr qreal ringWidth = 2;

} // namespace

namespace FocusRing {

bool isShown(const QWidget *widget)
{
    return widget->hasFocus() && widget->window()->testAttribute(Qt::WA_KeyboardFocusChange);
}

void paint(QPainter &painter, const QWidget *widget, const QRectF &rect, qreal radius, const QColor &color)
{
    if (isShown(widget))
        RoundedShape::strokeInside(painter, rect, radius, color, ringWidth);
}

} // namespace FocusRing
