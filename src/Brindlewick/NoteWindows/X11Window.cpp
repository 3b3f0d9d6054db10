#include "X11Window.h"

#include "Platform/X11.h"

#include <QList>
#include <QWindow>
#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

namespace {

constexpr uint32_t allDesktops = 0xFFFFFFFF;
// _NET_WM_STATE actions and the source indication of a normal application.
constexpr uint32_t stateRemove = 0;
constexpr uint32_t stateAdd = 1;
constexpr uint32_t sourceApplication = 1;
// Restacking is a pager's request: window managers honour it as it stands, without handing focus.
constexpr uint32_t sourcePager = 2;

template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

QList<xcb_atom_t> atomList(xcb_connection_t *c, xcb_window_t window, xcb_atom_t property)
{
    const ReplyPtr<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, property, XCB_ATOM_ATOM, 0, 1024), nullptr),
        &std::free);
    if (!reply || reply->type != XCB_ATOM_ATOM || reply->format != 32)
        return {};
    const auto *data = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply.get()));
    return QList<xcb_atom_t>(data, data + xcb_get_property_value_length(reply.get()) / 4);
}

uint32_t currentDesktop(xcb_connection_t *c)
{
    const ReplyPtr<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, X11::rootWindow(c), X11::atom(c, "_NET_CURRENT_DESKTOP"),
                                                   XCB_ATOM_CARDINAL, 0, 1), nullptr),
        &std::free);
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 4)
        return 0;
    return *static_cast<const uint32_t *>(xcb_get_property_value(reply.get()));
}

void sendToRoot(xcb_connection_t *c, xcb_window_t window, xcb_atom_t type, std::initializer_list<uint32_t> data)
{
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = type;
    std::copy(data.begin(), data.end(), event.data.data32);
    xcb_send_event(c, 0, X11::rootWindow(c), XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&event));
}

void writeHints(xcb_connection_t *c, xcb_window_t window, uint32_t desktop, bool sticky)
{
    const xcb_atom_t stateAtom = X11::atom(c, "_NET_WM_STATE");
    const xcb_atom_t stickyAtom = X11::atom(c, "_NET_WM_STATE_STICKY");
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, X11::atom(c, "_NET_WM_DESKTOP"), XCB_ATOM_CARDINAL,
                        32, 1, &desktop);
    QList<xcb_atom_t> states = atomList(c, window, stateAtom);
    states.removeAll(stickyAtom);
    if (sticky)
        states.append(stickyAtom);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, stateAtom, XCB_ATOM_ATOM, 32,
                        uint32_t(states.size()), states.constData());
}

void askWindowManager(xcb_connection_t *c, xcb_window_t window, uint32_t desktop, bool sticky)
{
    sendToRoot(c, window, X11::atom(c, "_NET_WM_DESKTOP"), {desktop, sourceApplication});
    sendToRoot(c, window, X11::atom(c, "_NET_WM_STATE"),
               {sticky ? stateAdd : stateRemove, X11::atom(c, "_NET_WM_STATE_STICKY"), 0, sourceApplication});
}

} // namespace

namespace X11Window {

void setOnAllDesktops(QWindow *window, bool all)
{
    xcb_connection_t *c = X11::connection();
    if (!c || !window)
        return;
    const auto id = xcb_window_t(window->winId());
    const uint32_t desktop = all ? allDesktops : currentDesktop(c);
    if (window->isVisible())
        askWindowManager(c, id, desktop, all);
    else
        writeHints(c, id, desktop, all);
    xcb_flush(c);
}

bool raiseWithoutFocus(QWindow *window)
{
    xcb_connection_t *c = X11::connection();
    if (!c || !window || !window->handle())
        return false;
    const auto id = xcb_window_t(window->winId());
    sendToRoot(c, id, X11::atom(c, "_NET_RESTACK_WINDOW"), {sourcePager, XCB_NONE, XCB_STACK_MODE_ABOVE});
    xcb_flush(c);
    return true;
}

bool hasInputFocus(const QWindow *window)
{
    xcb_connection_t *c = X11::connection();
    if (!c || !window || !window->handle())
        return false;
    const ReplyPtr<xcb_get_input_focus_reply_t> reply(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr),
                                                      &std::free);
    return reply && reply->focus == xcb_window_t(window->winId());
}

} // namespace X11Window
