#include "TrayWindowShape.h"

#include "App/X11.h"

#include <QList>
#include <QWindow>
#include <cstdlib>
#include <memory>
#include <string>
#include <xcb/shape.h>

namespace {

int screenNumber()
{
    int screen = 0;
    char *host = nullptr;
    int display = 0;
    if (xcb_parse_display(nullptr, &host, &display, &screen))
        std::free(host);
    return screen;
}

QList<xcb_rectangle_t> rectangles(const QRegion &region, qreal ratio)
{
    QList<xcb_rectangle_t> list;
    list.reserve(region.rectCount());
    for (const QRect &r : region) {
        list.append({int16_t(r.x() * ratio), int16_t(r.y() * ratio), uint16_t(r.width() * ratio),
                     uint16_t(r.height() * ratio)});
    }
    return list;
}

void shape(QWindow *window, xcb_shape_kind_t kind, const QRegion &region)
{
    xcb_connection_t *c = X11::connection();
    if (!c || !window)
        return;
    const QList<xcb_rectangle_t> list = rectangles(region, window->devicePixelRatio());
    xcb_shape_rectangles(c, XCB_SHAPE_SO_SET, kind, XCB_CLIP_ORDERING_UNSORTED, xcb_window_t(window->winId()), 0, 0,
                         uint32_t(list.size()), list.constData());
    xcb_flush(c);
}

} // namespace

namespace TrayWindowShape {

bool compositing()
{
    xcb_connection_t *c = X11::connection();
    if (!c)
        return false;
    const std::string name = "_NET_WM_CM_S" + std::to_string(screenNumber());
    const std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> reply(
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, X11::atom(c, name.c_str())), nullptr),
        &std::free);
    return reply && reply->owner != XCB_WINDOW_NONE;
}

void setInput(QWindow *window, const QRegion &region)
{
    shape(window, XCB_SHAPE_SK_INPUT, region);
}

void setVisible(QWindow *window, const std::optional<QRegion> &region)
{
    xcb_connection_t *c = X11::connection();
    if (!c || !window)
        return;
    if (region) {
        shape(window, XCB_SHAPE_SK_BOUNDING, *region);
        return;
    }
    xcb_shape_mask(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING, xcb_window_t(window->winId()), 0, 0, XCB_NONE);
    xcb_flush(c);
}

} // namespace TrayWindowShape
