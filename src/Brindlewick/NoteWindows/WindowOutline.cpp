#include "WindowOutline.h"

#include "App/X11.h"

#include <QEvent>
#include <QPainterPath>
#include <QRegion>
#include <QWidget>
#include <cstdlib>
#include <memory>
#include <string>

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

// Watches one window's showing and resizing, and cuts it or leaves it whole.
class Cutter : public QObject {
public:
    Cutter(QWidget *window, qreal radius) : QObject(window), m_window(window), m_radius(radius)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::Show)
            m_cut = X11::connection() && !WindowOutline::compositing();
        if (watched == m_window && (event->type() == QEvent::Show || event->type() == QEvent::Resize))
            apply();
        return false;
    }

private:
    void apply()
    {
        if (!m_cut) {
            m_window->clearMask();
            return;
        }
        QPainterPath outline;
        outline.addRoundedRect(QRectF(m_window->rect()), m_radius, m_radius);
        m_window->setMask(QRegion(outline.toFillPolygon().toPolygon()));
    }

    QWidget *m_window;
    qreal m_radius;
    bool m_cut = false;
};

} // namespace

namespace WindowOutline {

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

void cutCorners(QWidget *window, qreal radius)
{
    new Cutter(window, radius);
}

} // namespace WindowOutline
