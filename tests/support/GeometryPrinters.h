#pragma once

#include <QRectF>
#include <QSizeF>
#include <ostream>

// Readable failure messages for Qt geometry values in GoogleTest.
inline void PrintTo(const QRectF &rect, std::ostream *out)
{
    *out << "QRectF(x " << rect.x() << ", y " << rect.y() << ", " << rect.width() << " x " << rect.height() << ")";
}

inline void PrintTo(const QSizeF &size, std::ostream *out)
{
    *out << "QSizeF(" << size.width() << " x " << size.height() << ")";
}

inline void PrintTo(const QPointF &point, std::ostream *out)
{
    *out << "QPointF(" << point.x() << ", " << point.y() << ")";
}
