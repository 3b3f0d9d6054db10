#pragma once

#include <QRectF>

// A note window's saved frame in points, origin at the bottom left of the main screen, y up.
struct NoteFrame {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    // Negative extents are stored as the equivalent rectangle with positive ones.
    static NoteFrame fromRect(const QRectF &rect)
    {
        const QRectF r = rect.normalized();
        return NoteFrame{r.x(), r.y(), r.width(), r.height()};
    }
    QRectF rect() const { return QRectF(x, y, width, height); }

    bool operator==(const NoteFrame &) const = default;
};
