#include "PointerProbe.h"

#include "Platform/X11.h"

#include <QCursor>
#include <QSocketNotifier>
#include <xcb/xcbext.h>
#include <cstdlib>

PointerProbe::PointerProbe(std::function<void(QPoint)> answered, QObject *parent)
    : QObject(parent), m_answered(std::move(answered))
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
    m_replies = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(m_connection), QSocketNotifier::Read);
    connect(m_replies.get(), &QSocketNotifier::activated, this, &PointerProbe::read);
}

PointerProbe::~PointerProbe()
{
    m_replies.reset();
    if (m_connection)
        xcb_disconnect(m_connection);
}

void PointerProbe::ask()
{
    if (!m_connection)
        return m_answered(QCursor::pos());
    if (m_asking)
        return;
    m_question = xcb_query_pointer(m_connection, m_root).sequence;
    m_asking = true;
    xcb_flush(m_connection);
}

// Only answers come on this connection; anything else that arrives is read and dropped, so the
// notifier never fires for data left unread. A server that went away stops the reading.
void PointerProbe::read()
{
    void *answer = nullptr;
    const bool replied = m_asking && xcb_poll_for_reply(m_connection, m_question, &answer, nullptr);
    while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection))
        std::free(event);
    if (xcb_connection_has_error(m_connection))
        m_replies->setEnabled(false);
    if (!replied)
        return;
    m_asking = false;
    if (!answer)
        return;
    const auto *reply = static_cast<const xcb_query_pointer_reply_t *>(answer);
    const QPoint position(reply->root_x, reply->root_y);
    std::free(answer);
    m_answered(position);
}
