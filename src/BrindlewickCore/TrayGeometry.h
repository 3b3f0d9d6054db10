#pragma once

#include "ScreenShape.h"

#include <QRectF>
#include <QSizeF>

// Where the tray hangs on one screen: on the camera housing, or else on a slim strip in the
// middle of the top edge, and every rectangle the tray uses from there.
struct TrayGeometry {
    // Width added on each side of a housing for the resting tray's ears.
    static constexpr double ear = 62;
    // Width of the strip on a screen without a housing.
    static constexpr double stripWidth = 168;
    // Menu-bar height assumed when the measured bar is 4 points or less.
    static constexpr double fallbackMenuBar = 24;

    bool hasNotch = false;
    // The housing, or the strip without one.
    QRectF notch;
    double menuBarHeight = fallbackMenuBar;
    QRectF screenFrame;

    explicit TrayGeometry(const ScreenShape &screen);

    QRectF resting(bool showingEars) const;
    // Height of the open tray's header.
    double header() const;
    QSizeF openSize() const;
    // The banner a ringing tucked note drops.
    QSizeF bannerSize() const;
    // A tray shape of `size`, centred under the notch, top edge on the screen's top, kept on screen.
    QRectF rect(QSizeF size) const;
    // Where the pointer wakes the resting tray.
    QRectF hotZone(bool showingEars) const;

    bool operator==(const TrayGeometry &) const = default;
};
