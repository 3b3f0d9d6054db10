#pragma once

#include <QRectF>
#include <optional>

// The measured facts of one screen, in points, origin at the bottom left of the primary screen, y up.
struct ScreenShape {
    QRectF frame;
    // Without the menu bar and the dock.
    QRectF visibleFrame;
    // Height of a camera housing at the top; 0 without one.
    double safeTop = 0;
    // Widths of the free areas left and right of a housing, when the screen reports them.
    std::optional<double> auxLeft;
    std::optional<double> auxRight;

    bool operator==(const ScreenShape &) const = default;
};
