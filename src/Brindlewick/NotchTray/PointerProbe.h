#pragma once

#include <QPoint>
#include <xcb/xcb.h>

// Where the pointer is on the screen (y down), asked twenty times a second by the tray's poll. On an
// X server it asks over a connection of its own (Qt's connection has a reader thread that every reply
// would wake too) and never waits for the answer: each call picks up the answer to the previous
// question and asks the next, so a position is one poll interval old. Elsewhere it asks Qt.
class PointerProbe {
public:
    PointerProbe();
    ~PointerProbe();
    PointerProbe(const PointerProbe &) = delete;
    PointerProbe &operator=(const PointerProbe &) = delete;

    QPoint position();

private:
    void ask();

    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = XCB_WINDOW_NONE;
    unsigned int m_question = 0;
    QPoint m_last;
};
