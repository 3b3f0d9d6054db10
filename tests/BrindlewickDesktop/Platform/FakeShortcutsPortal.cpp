#include "FakeShortcutsPortal.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>

namespace {

const QString service = QStringLiteral("org.freedesktop.portal.Desktop");
const QString desktopPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString shortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");

} // namespace

Q_DECLARE_METATYPE(FakeShortcutsPortal::Shortcut)

QDBusArgument &operator<<(QDBusArgument &argument, const FakeShortcutsPortal::Shortcut &shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, FakeShortcutsPortal::Shortcut &shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

FakeShortcutsPortal::FakeShortcutsPortal()
    : m_connection(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fake-portal")))
{
    qDBusRegisterMetaType<Shortcut>();
    qDBusRegisterMetaType<QList<Shortcut>>();
    m_registered = m_connection.registerVirtualObject(desktopPath, this, QDBusConnection::SubPath)
                   && m_connection.registerService(service);
}

FakeShortcutsPortal::~FakeShortcutsPortal()
{
    m_connection.unregisterService(service);
    m_connection.unregisterObject(desktopPath, QDBusConnection::UnregisterTree);
    QDBusConnection::disconnectFromBus(QStringLiteral("fake-portal"));
}

void FakeShortcutsPortal::activate(const QString &session, const QString &id)
{
    QDBusMessage signal = QDBusMessage::createSignal(desktopPath, shortcutsInterface, QStringLiteral("Activated"));
    signal << QVariant::fromValue(QDBusObjectPath(session)) << id << qulonglong(0) << QVariantMap();
    m_connection.send(signal);
}

QString FakeShortcutsPortal::introspect(const QString &) const
{
    return {};
}

bool FakeShortcutsPortal::handleMessage(const QDBusMessage &message, const QDBusConnection &)
{
    const QString member = message.member();
    const QVariantList arguments = message.arguments();
    if (member == QLatin1String("CreateSession")) {
        m_calls.append(member);
        const QVariantMap options = qdbus_cast<QVariantMap>(arguments.value(0));
        m_session = objectPath(QStringLiteral("session"), message, options.value("session_handle_token").toString());
        respond(message, 0, {{QStringLiteral("session_handle"), m_session}});
        return true;
    }
    if (member == QLatin1String("BindShortcuts")) {
        m_calls.append(member);
        m_bound = qdbus_cast<QList<Shortcut>>(arguments.value(1));
        const QList<Shortcut> accepted = refuse ? QList<Shortcut>() : m_bound;
        respond(message, refuse ? 1 : 0, {{QStringLiteral("shortcuts"), QVariant::fromValue(accepted)}});
        return true;
    }
    if (member == QLatin1String("Close")) {
        m_calls.append(member);
        m_closed = message.path();
        m_connection.send(message.createReply());
        return true;
    }
    return false;
}

void FakeShortcutsPortal::respond(const QDBusMessage &call, uint response, const QVariantMap &results)
{
    const QVariantMap options = qdbus_cast<QVariantMap>(call.arguments().constLast());
    const QString request = objectPath(QStringLiteral("request"), call, options.value("handle_token").toString());
    m_connection.send(call.createReply(QVariant::fromValue(QDBusObjectPath(request))));
    QDBusMessage signal = QDBusMessage::createSignal(request, QStringLiteral("org.freedesktop.portal.Request"),
                                                     QStringLiteral("Response"));
    signal << response << results;
    m_connection.send(signal);
}

QString FakeShortcutsPortal::objectPath(const QString &kind, const QDBusMessage &call, const QString &token) const
{
    QString sender = call.service().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return desktopPath + QLatin1Char('/') + kind + QLatin1Char('/') + sender + QLatin1Char('/') + token;
}
