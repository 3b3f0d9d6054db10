#pragma once

// Reading what a widget really painted: grab it and compare pixel colours.

#include <QColor>
#include <QImage>
#include <QPalette>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <ostream>

namespace Pixels {

// The widget as painted, one image pixel per logical pixel.
inline QImage grab(QWidget *widget)
{
    widget->ensurePolished();
    return widget->grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

inline QColor at(const QImage &image, int x, int y)
{
    return image.pixelColor(x, y);
}

// The largest difference of one channel (red, green, blue).
inline int distance(const QColor &a, const QColor &b)
{
    return std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()), std::abs(a.blue() - b.blue())});
}

// `top` at `opacity` painted over the opaque `bottom`.
inline QColor over(const QColor &top, qreal opacity, const QColor &bottom)
{
    auto mix = [&](int t, int b) { return qRound(t * opacity + b * (1 - opacity)); };
    return QColor(mix(top.red(), bottom.red()), mix(top.green(), bottom.green()), mix(top.blue(), bottom.blue()));
}

// The pixel of the area closest to `color`, and how far it is.
inline int nearest(const QImage &image, const QRect &area, const QColor &color)
{
    int best = 255;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            best = std::min(best, distance(image.pixelColor(x, y), color));
    return best;
}

// A plain host with an opaque, known background for widgets that paint only part of themselves.
inline void paintBackground(QWidget *host, const QColor &color)
{
    QPalette palette = host->palette();
    palette.setColor(QPalette::Window, color);
    host->setPalette(palette);
    host->setAutoFillBackground(true);
}

} // namespace Pixels

// Lets gtest print colours by name ("#d7373f") in failure messages.
inline void PrintTo(const QColor &color, std::ostream *out)
{
    *out << color.name().toStdString();
}
