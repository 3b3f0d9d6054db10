#pragma once

#include "TrayGeometry.h"

#include <QSizeF>
#include <optional>

// The tray's measured screen. Linux reports no camera housing, so the tray hangs from a strip in
// the top middle of the primary screen; harnesses can force a notch to draw the notched tray.
namespace TrayState {

// The housing a forced notch puts in the top middle of the screen, as on a 14-inch laptop.
inline constexpr QSizeF forcedNotchSize{185, 32};

// Measures the primary screen now; without a screen, a 1512 × 982 one with a 950-high visible frame.
TrayGeometry currentGeometry();
// true adds a housing to the measured screen, false takes any away, nullopt measures as it is.
void forceNotch(std::optional<bool> notch);

} // namespace TrayState
