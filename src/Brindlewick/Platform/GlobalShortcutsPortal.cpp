#include "GlobalShortcutsPortal.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <algorithm>

namespace {

const QString service = QStringLiteral("org.freedesktop.portal.Desktop");
const QString desktopPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString shortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");
const QString sessionInterface = QStringLiteral("org.freedesktop.portal.Session");

// One entry of the portal's a(sa{sv}) shortcut lists.
struct PortalShortcut {
    QString id;
    QVariantMap properties;
};

QDBusArgument &operator<<(QDBusArgument &argument, const PortalShortcut &shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, PortalShortcut &shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

} // namespace

Q_DECLARE_METATYPE(PortalShortcut)

namespace {

void registerTypes()
{
    static const bool once = [] {
        qDBusRegisterMetaType<PortalShortcut>();
        qDBusRegisterMetaType<QList<PortalShortcut>>();
        return true;
    }();
    Q_UNUSED(once);
}

// Request and session tokens must not repeat on one bus connection, whichever object asks.
QString nextToken()
{
    static int issued = 0;
    return QStringLiteral("brindlewick%1").arg(++issued);
}

// The portal answers the session handle as a string; some versions send an object path.
QString sessionHandle(const QVariant &value)
{
    if (value.canConvert<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    return value.toString();
}

} // namespace

GlobalShortcutsPortal::GlobalShortcutsPortal(QString id, QString description, QString trigger, QObject *parent)
    : QObject(parent),
      m_bus(QDBusConnection::sessionBus()),
      m_id(std::move(id)),
      m_description(std::move(description)),
      m_trigger(std::move(trigger))
{
    registerTypes();
}

GlobalShortcutsPortal::~GlobalShortcutsPortal()
{
    stopFollowingRequest();
    if (!m_session.isEmpty())
        m_bus.send(QDBusMessage::createMethodCall(service, m_session, sessionInterface, QStringLiteral("Close")));
}

void GlobalShortcutsPortal::bind()
{
    if (!m_bus.isConnected())
        return finish(false);
    const QVariantMap options{{QStringLiteral("session_handle_token"), nextToken()}};
    request(QStringLiteral("CreateSession"), {options}, SLOT(sessionCreated(uint, QVariantMap)));
}

void GlobalShortcutsPortal::sessionCreated(uint response, const QVariantMap &results)
{
    m_session = sessionHandle(results.value(QStringLiteral("session_handle")));
    if (response != 0 || m_session.isEmpty())
        return finish(false);
    m_bus.connect(service, desktopPath, shortcutsInterface, QStringLiteral("Activated"), this,
                  SLOT(shortcutActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
    const PortalShortcut shortcut{m_id,
                                  {{QStringLiteral("description"), m_description},
                                   {QStringLiteral("preferred_trigger"), m_trigger}}};
    const QVariantList arguments{QVariant::fromValue(QDBusObjectPath(m_session)),
                                 QVariant::fromValue(QList<PortalShortcut>{shortcut}), QString(), QVariantMap()};
    request(QStringLiteral("BindShortcuts"), arguments, SLOT(shortcutsBound(uint, QVariantMap)));
}

// Bound only when the user accepted and the portal lists our shortcut among the bound ones.
void GlobalShortcutsPortal::shortcutsBound(uint response, const QVariantMap &results)
{
    const auto bound = qdbus_cast<QList<PortalShortcut>>(results.value(QStringLiteral("shortcuts")));
    const bool ours = std::any_of(bound.begin(), bound.end(), [&](const PortalShortcut &s) { return s.id == m_id; });
    finish(response == 0 && ours);
}

void GlobalShortcutsPortal::shortcutActivated(const QDBusObjectPath &session, const QString &id, qulonglong,
                                              const QVariantMap &)
{
    if (m_bound && session.path() == m_session && id == m_id)
        emit activated();
}

// The last argument is the options map; it gets the handle token the request object is named after.
// The Response signal is followed before the call is made, so an early answer is not missed.
void GlobalShortcutsPortal::request(const QString &method, QVariantList arguments, const char *responseSlot)
{
    const QString token = nextToken();
    QVariantMap options = arguments.takeLast().toMap();
    options.insert(QStringLiteral("handle_token"), token);
    arguments.append(options);
    m_responseSlot = responseSlot;
    followRequest(requestPath(token));

    QDBusMessage call = QDBusMessage::createMethodCall(service, desktopPath, shortcutsInterface, method);
    call.setArguments(arguments);
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *done) {
        done->deleteLater();
        const QDBusPendingReply<QDBusObjectPath> reply = *done;
        if (reply.isError())
            return finish(false);
        // Older portals name the request object themselves.
        if (reply.value().path() != m_requestPath && !m_requestPath.isEmpty())
            followRequest(reply.value().path());
    });
}

void GlobalShortcutsPortal::followRequest(const QString &path)
{
    stopFollowingRequest();
    m_requestPath = path;
    m_bus.connect(service, path, requestInterface, QStringLiteral("Response"), this, m_responseSlot);
}

void GlobalShortcutsPortal::stopFollowingRequest()
{
    if (m_requestPath.isEmpty())
        return;
    m_bus.disconnect(service, m_requestPath, requestInterface, QStringLiteral("Response"), this, m_responseSlot);
    m_requestPath.clear();
}

QString GlobalShortcutsPortal::requestPath(const QString &token) const
{
    QString sender = m_bus.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return desktopPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
}

void GlobalShortcutsPortal::finish(bool bound)
{
    if (m_finished)
        return;
    m_finished = true;
    m_bound = bound;
    stopFollowingRequest();
    emit finished(bound);
}
