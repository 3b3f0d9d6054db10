#include "DesktopAppearance.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QPointer>
#include <QWidget>

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString settingsInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString appearanceGroup = QStringLiteral("org.freedesktop.appearance");
const QString colorSchemeKey = QStringLiteral("color-scheme");
const QString interfaceGroup = QStringLiteral("org.gnome.desktop.interface");
const QString animationsKey = QStringLiteral("enable-animations");

// Read answers a variant inside a variant; the change signal carries a single one.
QVariant unwrapped(QVariant value)
{
    while (value.userType() == qMetaTypeId<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    return value;
}

// color-scheme: 0 no preference, 1 prefers dark, 2 prefers light.
std::optional<Scheme> schemeFromPortal(const QVariant &value)
{
    bool ok = false;
    const uint raw = value.toUInt(&ok);
    if (!ok)
        return std::nullopt;
    switch (raw) {
    case 1: return Scheme::dark;
    case 2: return Scheme::light;
    default: return std::nullopt;
    }
}

void repaintAllWidgets()
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    for (QWidget *widget : QApplication::allWidgets())
        widget->update();
}

} // namespace

DesktopAppearance &DesktopAppearance::instance()
{
    static QPointer<DesktopAppearance> shared;
    if (!shared)
        shared = new DesktopAppearance(QCoreApplication::instance());
    return *shared;
}

DesktopAppearance::DesktopAppearance(QObject *parent) : QObject(parent)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    bus.connect(portalService, portalPath, settingsInterface, QStringLiteral("SettingChanged"), this,
                SLOT(settingChanged(QDBusMessage)));
    auto *watcher = new QDBusServiceWatcher(portalService, bus, QDBusServiceWatcher::WatchForRegistration, this);
    connect(watcher, &QDBusServiceWatcher::serviceRegistered, this, &DesktopAppearance::readAll);
    connect(this, &DesktopAppearance::changed, this, &repaintAllWidgets);
    readAll();
}

void DesktopAppearance::readAll()
{
    read(appearanceGroup, colorSchemeKey);
    read(interfaceGroup, animationsKey);
}

void DesktopAppearance::read(const QString &group, const QString &key)
{
    QDBusMessage call = QDBusMessage::createMethodCall(portalService, portalPath, settingsInterface,
                                                       QStringLiteral("Read"));
    call << group << key;
    auto *watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, group, key](QDBusPendingCallWatcher *done) {
        done->deleteLater();
        const QDBusPendingReply<QDBusVariant> reply = *done;
        if (!reply.isError())
            apply(group, key, unwrapped(reply.argumentAt(0)));
    });
}

void DesktopAppearance::settingChanged(const QDBusMessage &message)
{
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() == 3)
        apply(arguments[0].toString(), arguments[1].toString(), unwrapped(arguments[2]));
}

void DesktopAppearance::apply(const QString &group, const QString &key, const QVariant &value)
{
    if (group == appearanceGroup && key == colorSchemeKey) {
        const auto scheme = schemeFromPortal(value);
        if (scheme == m_scheme)
            return;
        m_scheme = scheme;
    } else if (group == interfaceGroup && key == animationsKey) {
        const bool reduce = value.typeId() == QMetaType::Bool && !value.toBool();
        if (reduce == m_reduceMotion)
            return;
        m_reduceMotion = reduce;
    } else {
        return;
    }
    emit changed();
}
