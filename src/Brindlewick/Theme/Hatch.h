#pragma once

#include <QColor>
#include <QPainterPath>
#include <QRectF>

class QPainter;

// Diagonal strokes rising 45° to the right, 6 points apart, 2 points wide: the mark of time that is over.
struct Hatch {
    QColor color;

    // The strokes for a w × h canvas: from (x, h) to (x + h, 0) for x = −h, −h + 6, … while x < w.
    static QPainterPath strokes(const QSizeF &size);
    // Strokes `rect` in `color`; callers clip to the shape they hatch.
    void paint(QPainter &painter, const QRectF &rect) const;
};
