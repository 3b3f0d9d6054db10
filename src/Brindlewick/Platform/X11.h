#pragma once

#include <optional>
#include <xcb/xcb.h>

// The X server the application draws on, when it runs as an X client.
namespace X11 {

// Qt's own connection; none under offscreen or a native Wayland platform.
xcb_connection_t *connection();

// The root window of the screen named by DISPLAY (the first screen when it names none).
xcb_window_t rootWindow(xcb_connection_t *connection);

// Interns an atom; XCB_ATOM_NONE when the server does not answer.
xcb_atom_t atom(xcb_connection_t *connection, const char *name);

// The window the window manager says is active (_NET_ACTIVE_WINDOW); none when it names none.
std::optional<xcb_window_t> activeWindow(xcb_connection_t *connection);

// Asks the window manager to activate `window`, on the user's behalf as a pager does, so focus
// stealing prevention lets it through.
void activate(xcb_connection_t *connection, xcb_window_t window);

// Takes every top-level window of the application off the screen and sends the requests at once,
// behind Qt's back: nothing of the program runs for it, and nothing waits for the server.
void unmapAll(xcb_connection_t *connection);

// Ends the connection at the server now, so it drops the application's windows, grabs and selections,
// even while another thread of the process still holds the connection's descriptor.
void hangUp(xcb_connection_t *connection);

} // namespace X11
