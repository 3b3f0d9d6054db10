#pragma once

#include <QList>
#include <QRectF>
#include <QSizeF>

// Where desktop notes go: a free spot for a new note, fitting a frame into a screen area, and
// whether a saved frame still shows. Screen points, origin at the bottom left, y up.
namespace NotePlacement {

inline constexpr QSizeF defaultSize{250, 230};
inline constexpr QSizeF minimumSize{190, 150};

// The first free spot of a cascade from the area's top right corner; the first spot when all are taken.
QRectF next(const QRectF &area, const QList<QRectF> &existing, QSizeF size);
// Grown to the minimum size, shrunk to the bounds, then moved inside them.
QRectF clamp(const QRectF &rect, const QRectF &bounds);
// Whether at least 60 × 40 points of the frame lie on one of the screens.
bool isVisible(const QRectF &frame, const QList<QRectF> &screens);
// Where a note with a saved frame opens: there while it shows on a screen and is no larger than the
// screens together, else clamped into the area.
QRectF reopen(const QRectF &saved, const QList<QRectF> &screens, const QRectF &area);

} // namespace NotePlacement
