#pragma once

#include <QPainterPath>
#include <QRectF>

// The outline of the tray: square top corners flush with the screen's top edge and two bottom
// corners bent by quadratic curves, so the shape reads as part of the notch or the top bar.
// Coordinates are the view's own, y growing downwards.
struct TrayShape {
    // The radius asked for; the path cuts it to half the width or height where it is larger.
    qreal radius = 0;

    QPainterPath path(const QRectF &rect) const;
};
