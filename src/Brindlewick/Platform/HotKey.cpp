#include "HotKey.h"

#include "GlobalShortcutsPortal.h"
#include "X11.h"
#include "X11KeyGrab.h"

#include <QGuiApplication>
#include <QTimer>
#include <X11/keysym.h>

namespace {

constexpr Qt::KeyboardModifiers hotKeyModifiers = Qt::ControlModifier | Qt::AltModifier;

bool inWaylandSession()
{
    return qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland")
        || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

} // namespace

HotKey::HotKey(QObject *parent) : QObject(parent)
{
}

HotKey::~HotKey() = default;

HotKey &HotKey::shared()
{
    static HotKey *const instance = new HotKey(qApp);
    return *instance;
}

// A Wayland session asks its portal first: an X grab there only sees keys typed into X clients.
void HotKey::registerKey()
{
    release();
    if (!inWaylandSession())
        return grabOnX11();
    m_portal = std::make_unique<GlobalShortcutsPortal>(QStringLiteral("quick-note"), tr("Quick Note"),
                                                       QStringLiteral("CTRL+ALT+n"));
    connect(m_portal.get(), &GlobalShortcutsPortal::activated, this, &HotKey::pressed);
    connect(m_portal.get(), &GlobalShortcutsPortal::finished, this, [this](bool bound) {
        if (bound)
            setRegistered(true);
        else
            grabOnX11();
    });
    m_portal->bind();
}

void HotKey::release()
{
    m_grab.reset();
    m_portal.reset();
    setRegistered(false);
}

void HotKey::grabOnX11()
{
    if (xcb_connection_t *connection = X11::connection())
        m_grab = X11KeyGrab::grab(connection, XK_n, hotKeyModifiers, [this] { pressed(); });
    setRegistered(m_grab != nullptr);
}

void HotKey::setRegistered(bool registered)
{
    if (m_registered == registered)
        return;
    m_registered = registered;
    emit registeredChanged();
}

void HotKey::pressed()
{
    QTimer::singleShot(0, this, [this] {
        if (action)
            action();
    });
}
