#pragma once

// What assistive technologies make of the tray: the resting tray is one button, and each card one
// element whose "Open" action shows its note under the tray. Installed once, before the first tray.
namespace TrayAccessible {

void install();

} // namespace TrayAccessible
