#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusVariant>
#include <QMap>
#include <QObject>
#include <QVariant>

// A stand-in for the desktop's settings portal on its own connection to the session bus: answers
// Read with a variant inside a variant, as the portal does, and announces changes with SettingChanged.
class FakeSettingsPortal : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")
public:
    FakeSettingsPortal();
    ~FakeSettingsPortal() override;

    // Claims the portal's name; readers learn of it from the bus.
    bool start();
    // Stores a value and signals it, as the portal does when the user changes a setting.
    void change(const QString &group, const QString &key, const QVariant &value);
    void set(const QString &group, const QString &key, const QVariant &value) { m_values[{group, key}] = value; }

public slots:
    QDBusVariant Read(const QString &group, const QString &key);

private:
    QDBusConnection m_connection;
    QMap<std::pair<QString, QString>, QVariant> m_values;
};
