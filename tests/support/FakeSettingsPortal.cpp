#include "FakeSettingsPortal.h"

#include <QDBusMessage>

namespace {

const QString service = QStringLiteral("org.freedesktop.portal.Desktop");
const QString path = QStringLiteral("/org/freedesktop/portal/desktop");
const QString interface = QStringLiteral("org.freedesktop.portal.Settings");

} // namespace

FakeSettingsPortal::FakeSettingsPortal()
    : m_connection(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fake-settings-portal")))
{
}

FakeSettingsPortal::~FakeSettingsPortal()
{
    m_connection.unregisterService(service);
    QDBusConnection::disconnectFromBus(QStringLiteral("fake-settings-portal"));
}

bool FakeSettingsPortal::start()
{
    return m_connection.registerObject(path, this, QDBusConnection::ExportAllSlots) &&
           m_connection.registerService(service);
}

void FakeSettingsPortal::change(const QString &group, const QString &key, const QVariant &value)
{
    set(group, key, value);
    QDBusMessage signal = QDBusMessage::createSignal(path, interface, QStringLiteral("SettingChanged"));
    signal << group << key << QVariant::fromValue(QDBusVariant(value));
    m_connection.send(signal);
}

QDBusVariant FakeSettingsPortal::Read(const QString &group, const QString &key)
{
    const auto found = m_values.constFind({group, key});
    if (found == m_values.constEnd()) {
        sendErrorReply(QStringLiteral("org.freedesktop.portal.Error.NotFound"),
                       QStringLiteral("Requested setting not found"));
        return {};
    }
    return QDBusVariant(QVariant::fromValue(QDBusVariant(*found)));
}
