#include "TrayWindowShape.h"

#include "Platform/X11.h"

#include <QList>
#include <QWindow>
#include <xcb/shape.h>

namespace {

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
