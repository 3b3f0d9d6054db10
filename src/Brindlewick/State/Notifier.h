#pragma once

#include "NotifyAction.h"
#include "NotifyPermission.h"
#include "PlannedAlert.h"

#include <QList>
#include <QString>
#include <QUuid>
#include <functional>

// The bridge between the model and desktop notifications. Everything runs on the main thread:
// completions and the callbacks are called there, either before the call returns or later from the
// event loop, so callers must not rely on either. A notifier destroyed first never calls back.
class Notifier {
public:
    // Problems with the notes the user must know of at once; each shows at most once at a time.
    enum class Problem { cannotRead, cannotSave, startedFresh };

    using PermissionHandler = std::function<void(NotifyPermission)>;
    using ActionHandler = std::function<void(const QUuid &note, NotifyAction action)>;

    virtual ~Notifier() = default;

    // The current permission.
    virtual void permission(PermissionHandler completion) = 0;
    // Asks for permission, then answers with the resulting one.
    virtual void requestPermission(PermissionHandler completion) = 0;
    // Turns desktop notifications off until they are asked for again, then answers with the resulting
    // permission.
    virtual void revokePermission(PermissionHandler completion) = 0;
    // Makes the pending notifications equal to `alerts`; an empty list clears them.
    virtual void schedule(const QList<PlannedAlert> &alerts) = 0;
    // Alerts that fell due and were raised in the app. Any of them not shown as a notification yet (the
    // program was not running, or no notification server was there) is shown now, late, or as soon as a
    // server is there again while the user wants notifications, in this run or the next; none is ever
    // shown twice.
    virtual void raised(const QList<PlannedAlert> &alerts) = 0;
    // The notes file holds every alert raised so far as raised, so no later run raises one of them
    // again: what the notifier kept to that end may go.
    virtual void raisedSaved() = 0;
    // Takes the note's notifications off the screen; an answer that still comes from one is dropped.
    virtual void withdraw(const QUuid &note) = 0;
    // The run ends: takes every notification this run showed off the screen, since no one will be there
    // to answer it, and keeps the alerts still owed to a server for the next run.
    virtual void withdrawAll() = 0;
    // Whether the notifications shown make a sound of their own; known once the permission was read.
    virtual bool playsSound() const = 0;
    // Shows a problem the user must know of at once, whatever the alert permission says: it is not an
    // alert. Shown again, it replaces what it showed before.
    virtual void announce(Problem problem, const QString &title, const QString &body) = 0;
    // The problem went away: its notification goes too.
    virtual void resolve(Problem problem) = 0;

    // Called when the user answers a notification; unset until the model sets it.
    ActionHandler onAction;
    // Called when the permission changed by itself: a notification server appeared or went away.
    PermissionHandler onPermissionChange;
};
