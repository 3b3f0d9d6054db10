#pragma once

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QStringList>
#include <QVariantMap>

// The desktop portal's GlobalShortcuts interface on the session bus, as a Wayland desktop offers
// it: it records the requests and answers them as a user who accepts (or, with `refuse`, declines).
// It has a connection of its own, like the portal process.
class FakeShortcutsPortal : public QDBusVirtualObject {
    Q_OBJECT
public:
    struct Shortcut {
        QString id;
        QVariantMap properties;
    };

    // Takes the portal's name on the bus; `registered()` says whether that worked.
    FakeShortcutsPortal();
    ~FakeShortcutsPortal() override;

    bool registered() const { return m_registered; }
    // "CreateSession", "BindShortcuts", "Close", in the order they came.
    const QStringList &calls() const { return m_calls; }
    const QList<Shortcut> &boundShortcuts() const { return m_bound; }
    const QString &session() const { return m_session; }
    const QString &closedSession() const { return m_closed; }
    bool refuse = false;

    // The user pressed the shortcut `id` of `session`.
    void activate(const QString &session, const QString &id);

    QString introspect(const QString &path) const override;
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override;

private:
    // Answers a request call with its request object and then its Response signal.
    void respond(const QDBusMessage &call, uint response, const QVariantMap &results);
    QString objectPath(const QString &kind, const QDBusMessage &call, const QString &token) const;

    QDBusConnection m_connection;
    bool m_registered = false;
    QStringList m_calls;
    QList<Shortcut> m_bound;
    QString m_session;
    QString m_closed;
};
