#pragma once

#include "Notifier.h"

// Records what it is asked and shows nothing: for runs without a desktop, the demo world and the
// harnesses. Completions run before the call returns; the callbacks are stored only, never called.
class RecordingNotifier : public Notifier {
public:
    NotifyPermission state = NotifyPermission::notAsked;
    bool grantOnRequest = true;
    int requests = 0;
    QList<PlannedAlert> scheduled;
    // Every alert handed to `raised`, oldest first.
    QList<PlannedAlert> raisedAlerts;
    QList<QUuid> withdrawn;
    bool raisedWereSaved = false;
    bool withdrewAll = false;
    bool sounding = true;
    // Titles of the problems announced, oldest first.
    QStringList announced;
    // The problems announced and not resolved since.
    QList<Problem> problems;

    void permission(PermissionHandler completion) override;
    void requestPermission(PermissionHandler completion) override;
    void revokePermission(PermissionHandler completion) override;
    void schedule(const QList<PlannedAlert> &alerts) override;
    void raised(const QList<PlannedAlert> &alerts) override;
    void raisedSaved() override { raisedWereSaved = true; }
    void withdraw(const QUuid &note) override;
    void withdrawAll() override;
    bool playsSound() const override { return sounding; }
    void announce(Problem problem, const QString &title, const QString &body) override;
    void resolve(Problem problem) override;
};
