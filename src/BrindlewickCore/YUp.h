#pragma once

#include <QRectF>

// Reading rectangles in the model's screen convention: origin at the bottom left, y growing upwards.
// QRectF's own top()/bottom() assume y down, so the model never calls them.
namespace YUp {

inline double minY(const QRectF &rect) { return rect.y(); }
// The top edge.
inline double maxY(const QRectF &rect) { return rect.y() + rect.height(); }

} // namespace YUp
