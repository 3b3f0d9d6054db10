#pragma once

#include <QtGlobal>

class QWidget;

// Rounded translucent windows on an X display without a compositing manager: there the translucent
// pixels around the rounded corners would show black, so the window is cut to its outline instead.
// With a compositing manager the window keeps its rectangle and its soft edges.
namespace WindowOutline {

// Whether a compositing manager owns _NET_WM_CM_S<screen>; false without an X11 connection.
bool compositing();
// Cuts the top-level `window`, a rectangle with corners rounded by `radius`, to that outline while no
// compositing manager runs (looked at each time it is shown or resized), following its size.
void cutCorners(QWidget *window, qreal radius);

} // namespace WindowOutline
