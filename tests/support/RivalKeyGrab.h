#pragma once

#include <X11/keysym.h>
#include <cstdlib>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

// Another X client holding Ctrl+Alt+N (without Lock or NumLock), as a rival application would.
class RivalKeyGrab {
public:
    RivalKeyGrab() : m_connection(xcb_connect(nullptr, &m_screen))
    {
        xcb_key_symbols_t *symbols = xcb_key_symbols_alloc(m_connection);
        xcb_keycode_t *n = xcb_key_symbols_get_keycode(symbols, XK_n);
        const auto cookie = xcb_grab_key_checked(m_connection, 0, root(),
                                                 XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1, n[0], XCB_GRAB_MODE_ASYNC,
                                                 XCB_GRAB_MODE_ASYNC);
        xcb_generic_error_t *refused = xcb_request_check(m_connection, cookie);
        m_held = refused == nullptr;
        std::free(refused);
        std::free(n);
        xcb_key_symbols_free(symbols);
    }

    ~RivalKeyGrab()
    {
        // Ungrab and wait for the server's answer: a bare disconnect is handled whenever the server
        // gets to it, and a grab made meanwhile on another connection would still be refused.
        std::free(xcb_request_check(m_connection, xcb_ungrab_key_checked(m_connection, XCB_GRAB_ANY,
                                                                         root(), XCB_MOD_MASK_ANY)));
        xcb_disconnect(m_connection);
    }

    RivalKeyGrab(const RivalKeyGrab &) = delete;
    RivalKeyGrab &operator=(const RivalKeyGrab &) = delete;

    bool held() const { return m_held; }

private:
    // The root window of the screen DISPLAY names.
    xcb_window_t root() const
    {
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
        for (int i = 0; i < m_screen && it.rem > 1; ++i)
            xcb_screen_next(&it);
        return it.data->root;
    }

    int m_screen = 0;
    xcb_connection_t *m_connection;
    bool m_held = false;
};
