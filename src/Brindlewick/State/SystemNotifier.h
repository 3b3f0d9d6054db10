#pragma once

#include "Notifier.h"
#include "NotificationRecord.h"
#include "SettingsStore.h"
#include "WallClockAlarm.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QHash>
#include <QObject>
#include <QVariantMap>
#include <optional>

class QDBusPendingCallWatcher;

// Desktop notifications through the freedesktop notification server on the session bus. The server
// cannot schedule, so this keeps the pending alerts itself and posts each at its fire second, by the
// wall clock: an alert whose second passed while the machine slept or the clock was set is posted at
// once when that is noticed. There is no limit on how many are pending or posted.
//
// An alert is done with once a server has taken it. One that fell due while it could not be posted (the
// program was not running, no server was there) is owed to the next server, in this run or the next,
// and posted once, late, saying when it was due: the model hands over every alert it raises, and those
// not taken yet are kept in a file until then. No alert is posted twice: those a server took are kept in
// the same file until the model has saved them as raised, so a crash in between does not bring them back.
//
// Ring notifications (a timer ended, a deadline came) stay until answered, here or in the app, which
// withdraws them, and are withdrawn when the run ends; a heads-up offers only "Done", as there is nothing
// to snooze yet. The ids on screen are kept in the same file, so the next run withdraws what a crash left.
//
// Permission: no server on the bus is `denied`; a server while the user has not allowed notifications
// in the app (or turned them off) is `notAsked`; with the user's consent kept in the settings, `allowed`.
// The server is watched: its going and coming change the permission, told through `onPermissionChange`.
// A server the bus starts on demand counts as there until the bus fails to start it; then no call asks
// the bus to start one again until a server shows up on its own.
class SystemNotifier : public QObject, public Notifier {
    Q_OBJECT
public:
    // On the session bus, with the user's settings, the real clock and the record kept in the state folder.
    explicit SystemNotifier(QObject *parent = nullptr);
    // `recordFile` keeps the ids of the notifications on screen and the alerts owed to a server.
    SystemNotifier(QDBusConnection bus, SettingsStore settings, std::function<Date()> clock, QString recordFile,
                   QObject *parent = nullptr);

    void permission(PermissionHandler completion) override;
    void requestPermission(PermissionHandler completion) override;
    void revokePermission(PermissionHandler completion) override;
    void schedule(const QList<PlannedAlert> &alerts) override;
    void raised(const QList<PlannedAlert> &alerts) override;
    void raisedSaved() override;
    void withdraw(const QUuid &note) override;
    void withdrawAll() override;
    bool playsSound() const override { return m_serverSounds; }
    void announce(Problem problem, const QString &title, const QString &body) override;
    void resolve(Problem problem) override;

    // The alerts still to be posted at their time, soonest first.
    const QList<PlannedAlert> &pending() const { return m_pending; }
    // Alerts that fell due without a notification, waiting for a server; those an earlier run left too.
    const QList<PlannedAlert> &late() const { return m_late; }

public slots:
    // Posts every pending alert whose second has come, then waits for the next. Called when the alarm
    // rings (that second came, the clock was set, the machine woke); safe to call at any time.
    void postDue();

private slots:
    void actionInvoked(uint id, const QString &actionKey);
    void notificationClosed(uint id, uint reason);

private:
    enum class Server { unknown, present, absent };

    // A notification on its way to the server.
    struct Posting {
        // None for a problem.
        QUuid note;
        QString identifier;
        // The alert, owed until the server takes it; none for a problem.
        std::optional<PlannedAlert> alert;
        // Answered or solved meanwhile: it goes as soon as it is shown.
        bool withdrawn = false;
    };

    bool wanted() const;
    NotifyPermission currentPermission() const;
    void reportPermission();
    void findServer(std::function<void(bool found)> completion);
    void serverFound(bool found, const QString &owner);
    void serverGone();
    void readBusId();
    void withdrawLeftovers();
    void deliver(const PlannedAlert &alert);
    bool posted(const PlannedAlert &alert) const;
    void keepLate(const PlannedAlert &alert);
    void postLate();
    void post(const PlannedAlert &alert);
    bool mayStart() const;
    QDBusMessage notifyCall(const QString &identifier, const QString &title, const QString &body,
                            const QStringList &actions, QVariantMap hints, int expireTimeout) const;
    void send(const QDBusMessage &call, const Posting &posting);
    void answered(QDBusPendingCallWatcher *call);
    void startFailed();
    void recordOwed();
    void settlePostings();
    void close(uint id);
    void armForNext();

    QDBusConnection m_bus;
    SettingsStore m_settings;
    std::function<Date()> m_clock;
    WallClockAlarm m_alarm;
    QDBusServiceWatcher m_watcher;
    QList<PlannedAlert> m_pending;
    QList<PlannedAlert> m_late;
    QHash<QDBusPendingCallWatcher *, Posting> m_postings;
    // The fire second of the last alert posted, by identifier, an earlier run's too: an alert comes only once.
    QHash<QString, Date> m_posted;
    NotificationRecord m_record;
    Server m_server = Server::unknown;
    // Answers waiting for the server lookup under way.
    QList<std::function<void(bool found)>> m_lookups;
    // The bus could not start a server; a server appearing on its own ends it.
    bool m_startFailed = false;
    // The server's name on the bus, and the bus's own id: together they name the server instance.
    QString m_owner;
    QString m_busId;
    // The server lists the "sound" capability.
    bool m_serverSounds = false;
};
