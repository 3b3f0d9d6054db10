#pragma once

#include "Notifier.h"
#include "SettingsStore.h"
#include "WallClockAlarm.h"

#include <QDBusConnection>
#include <QHash>
#include <QObject>

// Desktop notifications through the freedesktop notification server on the session bus. The server
// cannot schedule, so this keeps the pending alerts itself and posts each at its fire second, by the
// wall clock: an alert whose second passed while the machine slept or the clock was set is posted at
// once when that is noticed, and no alert is posted twice.
//
// Ring notifications (a timer ended, a deadline came) stay until answered, here or in the app, which
// withdraws them; a heads-up offers only "Done", as there is nothing to snooze yet.
//
// Permission: no server on the bus is `denied`; a server while the user has not allowed notifications
// in the app is `notAsked`; once allowed (kept in the settings) it is `allowed`.
class SystemNotifier : public QObject, public Notifier {
    Q_OBJECT
public:
    // More pending alerts than this are not kept; the soonest win.
    static constexpr int mostPending = 60;

    // On the session bus, with the user's settings and the real clock.
    explicit SystemNotifier(QObject *parent = nullptr);
    SystemNotifier(QDBusConnection bus, SettingsStore settings, std::function<Date()> clock,
                   QObject *parent = nullptr);

    void permission(PermissionHandler completion) override;
    void requestPermission(PermissionHandler completion) override;
    void schedule(const QList<PlannedAlert> &alerts) override;
    void withdraw(const QUuid &note) override;
    bool playsSound() const override { return m_serverSounds; }
    void announce(const QString &title, const QString &body) override;

    // The alerts still to be posted, soonest first.
    const QList<PlannedAlert> &pending() const { return m_pending; }

public slots:
    // Posts every pending alert whose second has come, then waits for the next. Called when the alarm
    // rings (that second came, the clock was set, the machine woke); safe to call at any time.
    void postDue();

private slots:
    void actionInvoked(uint id, const QString &actionKey);
    void notificationClosed(uint id, uint reason);

private:
    struct Shown {
        QUuid note;
        QString identifier;
    };

    void findServer(std::function<void(bool found)> completion);
    void post(const PlannedAlert &alert);
    uint shownIdFor(const QString &identifier) const;
    void armForNext();

    QDBusConnection m_bus;
    SettingsStore m_settings;
    std::function<Date()> m_clock;
    WallClockAlarm m_alarm;
    QList<PlannedAlert> m_pending;
    // Posted alerts still in the last scheduled list, so a reschedule does not post them again.
    QList<PlannedAlert> m_posted;
    // Our notifications on screen, by the server's id.
    QHash<uint, Shown> m_shown;
    // The server lists the "sound" capability.
    bool m_serverSounds = false;
};
