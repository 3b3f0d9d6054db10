#include "FakeNotificationServer.h"

#include <QDBusMessage>
#include <QUuid>

namespace {

const QString service = QStringLiteral("org.freedesktop.Notifications");
const QString path = QStringLiteral("/org/freedesktop/Notifications");

QString uniqueConnectionName()
{
    return QStringLiteral("fake-notification-server-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

} // namespace

FakeNotificationServer::FakeNotificationServer(const QString &address)
    : m_connection(address.isEmpty() ? QDBusConnection::connectToBus(QDBusConnection::SessionBus, uniqueConnectionName())
                                     : QDBusConnection::connectToBus(address, uniqueConnectionName()))
{
    m_registered = m_connection.registerObject(path, this, QDBusConnection::ExportAllSlots)
                   && m_connection.registerService(service);
}

FakeNotificationServer::~FakeNotificationServer()
{
    m_connection.unregisterService(service);
    m_connection.unregisterObject(path);
    QDBusConnection::disconnectFromBus(m_connection.name());
}

uint FakeNotificationServer::Notify(const QString &appName, uint replacesId, const QString &appIcon, const QString &summary,
                                    const QString &body, const QStringList &actions, const QVariantMap &hints, int)
{
    const uint id = replacesId != 0 ? replacesId : ++m_lastId;
    m_shown.append(Shown{id, replacesId, appName, appIcon, summary, body, actions, hints, Date::current()});
    return id;
}

QString FakeNotificationServer::GetServerInformation(QString &vendor, QString &version, QString &specVersion)
{
    vendor = QStringLiteral("Brindlewick tests");
    version = QStringLiteral("1");
    specVersion = QStringLiteral("1.2");
    return QStringLiteral("fake");
}

QStringList FakeNotificationServer::GetCapabilities()
{
    return {QStringLiteral("actions"), QStringLiteral("body")};
}

void FakeNotificationServer::CloseNotification(uint id)
{
    m_closed.append(id);
    close(id);
}

void FakeNotificationServer::invokeAction(uint id, const QString &actionKey)
{
    m_connection.send(QDBusMessage::createSignal(path, service, QStringLiteral("ActionInvoked")) << id << actionKey);
}

// Reason 2: dismissed by the user.
void FakeNotificationServer::close(uint id)
{
    m_connection.send(QDBusMessage::createSignal(path, service, QStringLiteral("NotificationClosed")) << id << 2u);
}
