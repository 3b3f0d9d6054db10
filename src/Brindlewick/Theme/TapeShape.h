#pragma once

#include <QPainterPath>
#include <QRectF>

// The outline of a strip of torn tape: straight top and bottom edges and, at each end, teeth whose
// tips touch the rectangle's side at the middle of each of n equal bands and whose roots lie 2.2
// points inside.
namespace TapeShape {

// n: a quarter of the height, whole, but at least 3.
int toothCount(qreal height);
// The outline for `rect`; empty for a rectangle whose height is not a finite number.
QPainterPath path(const QRectF &rect);

} // namespace TapeShape
