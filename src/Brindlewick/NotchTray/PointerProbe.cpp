#include "PointerProbe.h"

#include "App/X11.h"

#include <QCursor>
#include <xcb/xcbext.h>
#include <cstdlib>

PointerProbe::PointerProbe() : m_last(QCursor::pos())
{
    if (!X11::connection())
        return;
    m_connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(m_connection)) {
        xcb_disconnect(m_connection);
        m_connection = nullptr;
        return;
    }
    m_root = X11::rootWindow(m_connection);
    ask();
}

PointerProbe::~PointerProbe()
{
    if (m_connection)
        xcb_disconnect(m_connection);
}

void PointerProbe::ask()
{
    m_question = xcb_query_pointer(m_connection, m_root).sequence;
    xcb_flush(m_connection);
}

// A question still unanswered is not asked again; the last position stands meanwhile.
QPoint PointerProbe::position()
{
    if (!m_connection)
        return QCursor::pos();
    void *answer = nullptr;
    if (!xcb_poll_for_reply(m_connection, m_question, &answer, nullptr))
        return m_last;
    if (answer) {
        const auto *reply = static_cast<const xcb_query_pointer_reply_t *>(answer);
        m_last = QPoint(reply->root_x, reply->root_y);
        std::free(answer);
    }
    ask();
    return m_last;
}
