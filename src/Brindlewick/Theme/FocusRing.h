#pragma once

#include <QtGlobal>

class QColor;
class QPainter;
class QRectF;
class QWidget;

// Shows keyboard users which control has the focus. As with the platform's own controls, the ring
// shows once the focus has been moved by keyboard in that window, not after a click.
namespace FocusRing {

bool isShown(const QWidget *widget);
// A 2-point ring inside the rounded edge of `rect`, while the widget shows its focus.
void paint(QPainter &painter, const QWidget *widget, const QRectF &rect, qreal radius, const QColor &color);

} // namespace FocusRing
