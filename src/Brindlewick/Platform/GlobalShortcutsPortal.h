#pragma once

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QObject>
#include <QString>
#include <QVariantMap>

// One shortcut bound through the desktop's org.freedesktop.portal.GlobalShortcuts portal, the way a
// Wayland session offers global keys. Every step is asynchronous: `finished` tells once whether the
// shortcut is bound (false also when the session bus or the portal is missing or the user refused),
// `activated` each time it fires. Destroying the object closes the portal session.
class GlobalShortcutsPortal : public QObject {
    Q_OBJECT

public:
    // `trigger` in the portal's notation, "CTRL+ALT+n".
    GlobalShortcutsPortal(QString id, QString description, QString trigger, QObject *parent = nullptr);
    ~GlobalShortcutsPortal() override;

    void bind();
    bool bound() const { return m_bound; }

signals:
    void finished(bool bound);
    void activated();

private slots:
    void sessionCreated(uint response, const QVariantMap &results);
    void shortcutsBound(uint response, const QVariantMap &results);
    void shortcutActivated(const QDBusObjectPath &session, const QString &id, qulonglong timestamp,
                           const QVariantMap &options);

private:
    // Calls a portal method whose answer comes as a Response signal on a request object.
    void request(const QString &method, QVariantList arguments, const char *responseSlot);
    void followRequest(const QString &path);
    void stopFollowingRequest();
    QString requestPath(const QString &token) const;
    void finish(bool bound);

    QDBusConnection m_bus;
    QString m_id;
    QString m_description;
    QString m_trigger;
    QString m_session;
    QString m_requestPath;
    const char *m_responseSlot = nullptr;
    bool m_bound = false;
    bool m_finished = false;
};
