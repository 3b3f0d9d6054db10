#pragma once

class QWindow;

// What Qt does not say about a window on an X11 desktop: virtual desktops of the window manager
// (EWMH) and the server's input focus. Without an X11 connection, for example under the offscreen
// platform or on a native Wayland session, nothing is changed and nothing has the focus.
namespace X11Window {

// Puts the window on every virtual desktop, or back on the current one only. Before the window
// is shown this writes the hints the window manager reads when it maps it; afterwards it asks the
// window manager. Both the desktop number and the sticky state are given: some window managers
// honour only one of them.
void setOnAllDesktops(QWindow *window, bool all);

// Puts the shown window at the top of its layer (floating windows stay above the others) without
// giving it the focus. Window managers take a client's plain raise as a wish for the focus and
// grant or refuse both; a restack asked as a pager asks raises it alone. False without an X11
// connection, where nothing was done.
bool raiseWithoutFocus(QWindow *window);

// Whether the server's input focus is on the window. Also true while the window manager moves or
// resizes it: the window manager's grab makes Qt report the window inactive meanwhile.
bool hasInputFocus(const QWindow *window);

} // namespace X11Window
