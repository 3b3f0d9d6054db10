#pragma once

#include <functional>

class QWidget;

namespace KeyWindow {

// Shows the window (restored when minimised), puts it in front of the others and asks the window
// manager to make it the active window, also while another application is active.
void bringForward(QWidget &window);

// Runs `close` on an Escape that no control of the window took: a list or menu open over it closes
// first, and only the next Escape closes the window.
void closeOnEscape(QWidget &window, std::function<void()> close);

} // namespace KeyWindow
