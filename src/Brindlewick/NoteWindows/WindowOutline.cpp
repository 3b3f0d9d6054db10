#include "WindowOutline.h"

#include "Platform/X11.h"

#include <QApplication>
#include <QEvent>
#include <QPainterPath>
#include <QRegion>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <memory>
#include <optional>
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

// Asked once per turn of the event loop, so a turn that makes many windows asks the server once.
bool cutsCorners()
{
    static std::optional<bool> answer;
    if (!answer) {
        answer = X11::connection() && !WindowOutline::compositing();
        QTimer::singleShot(0, qApp, [] { answer.reset(); });
    }
    return *answer;
}

// Cuts one window, or leaves it whole, whenever it is shown or resized; the mask is set before the
// window first shows, and set again only when the window's size or the answer changes.
class Cutter : public QObject {
public:
    Cutter(QWidget *window, qreal radius) : QObject(window), m_window(window), m_radius(radius)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && (event->type() == QEvent::Show || event->type() == QEvent::Resize))
            follow();
        return false;
    }

private:
    void follow()
    {
        const std::optional<QSize> cut = cutsCorners() ? std::optional(m_window->size()) : std::nullopt;
        if (cut == m_cut)
            return;
        m_cut = cut;
        if (!cut) {
            m_window->clearMask();
            return;
        }
        QPainterPath outline;
        outline.addRoundedRect(QRectF(m_window->rect()), m_radius, m_radius);
        m_window->setMask(QRegion(outline.toFillPolygon().toPolygon()));
    }

    QWidget *m_window;
    qreal m_radius;
    // The size the window is cut to; none while it is whole.
    std::optional<QSize> m_cut;
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
