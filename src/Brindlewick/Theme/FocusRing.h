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
// A 2-point ring set a little inside the rounded edge of `rect`, while the widget shows its focus.
// A filled control's own colour then shows on both sides of the ring, so a ring in the colour of its
// label stands out whatever the fill and whatever lies around the control.
void paint(QPainter &painter, const QWidget *widget, const QRectF &rect, qreal radius, const QColor &color);
// The same ring, for a part of a control that draws where the keyboard is within it.
void paintRing(QPainter &painter, const QRectF &rect, qreal radius, const QColor &color);

} // namespace FocusRing
