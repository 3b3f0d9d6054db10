#pragma once

#include "Notifier.h"

// Records what it is asked and shows nothing: for runs without a desktop, the demo world and the
// harnesses. Completions run before the call returns; `onAction` is stored only, never called.
class RecordingNotifier : public Notifier {
public:
    NotifyPermission state = NotifyPermission::notAsked;
    bool grantOnRequest = true;
    int requests = 0;
    QList<PlannedAlert> scheduled;
    QList<QUuid> withdrawn;
    bool sounding = true;
    // Titles of the problems announced, oldest first.
    QStringList announced;

    void permission(PermissionHandler completion) override;
    void requestPermission(PermissionHandler completion) override;
    void schedule(const QList<PlannedAlert> &alerts) override;
    void withdraw(const QUuid &note) override;
    bool playsSound() const override { return sounding; }
    void announce(const QString &title, const QString &body) override;
};
