#pragma once

#include "Date.h"

#include <QDBusConnection>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

// A notification server on the session bus that records what it is asked to show and can answer
// as a user would. It has a connection of its own, like any other server process.
class FakeNotificationServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Shown {
        uint id = 0;
        uint replacesId = 0;
        QString appName;
        QString appIcon;
        QString summary;
        QString body;
        QStringList actions;
        QVariantMap hints;
        // The wall clock when the call arrived.
        Date arrived;
    };

    // Takes the server name on the session bus, or the bus at `address`; `registered()` says whether that
    // worked.
    explicit FakeNotificationServer(const QString &address = {});
    ~FakeNotificationServer() override;

    bool registered() const { return m_registered; }
    const QList<Shown> &shown() const { return m_shown; }
    // The ids the client asked to close, in order.
    const QList<uint> &closed() const { return m_closed; }

    void invokeAction(uint id, const QString &actionKey);
    void close(uint id);

public slots:
    uint Notify(const QString &appName, uint replacesId, const QString &appIcon, const QString &summary,
                const QString &body, const QStringList &actions, const QVariantMap &hints, int expireTimeout);
    QString GetServerInformation(QString &vendor, QString &version, QString &specVersion);
    QStringList GetCapabilities();
    void CloseNotification(uint id);

private:
    QDBusConnection m_connection;
    bool m_registered = false;
    uint m_lastId = 0;
    QList<Shown> m_shown;
    QList<uint> m_closed;
};
