#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <ostream>

// Lets GoogleTest print Qt strings and geometry as text in failure messages instead of as bytes.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList &list, std::ostream *out)
{
    *out << '{';
    for (qsizetype i = 0; i < list.size(); ++i)
        *out << (i ? ", \"" : "\"") << list[i].toStdString() << '"';
    *out << '}';
}

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

inline void PrintTo(const QRect &rect, std::ostream *out)
{
    *out << "QRect(x " << rect.x() << ", y " << rect.y() << ", " << rect.width() << " x " << rect.height() << ")";
}

inline void PrintTo(const QSize &size, std::ostream *out)
{
    *out << "QSize(" << size.width() << " x " << size.height() << ")";
}

inline void PrintTo(const QPoint &point, std::ostream *out)
{
    *out << "QPoint(" << point.x() << ", " << point.y() << ")";
}
