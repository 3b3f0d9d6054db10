#pragma once

class QWidget;

namespace KeyWindow {

// Shows the window (restored when minimised), puts it in front of the others and asks the window
// manager to make it the active window, also while another application is active.
void bringForward(QWidget &window);

} // namespace KeyWindow
