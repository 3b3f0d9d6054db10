#include "RecordingNotifier.h"

void RecordingNotifier::permission(PermissionHandler completion)
{
    completion(state);
}

void RecordingNotifier::requestPermission(PermissionHandler completion)
{
    ++requests;
    state = grantOnRequest ? NotifyPermission::allowed : NotifyPermission::denied;
    completion(state);
}

void RecordingNotifier::revokePermission(PermissionHandler completion)
{
    if (state == NotifyPermission::allowed)
        state = NotifyPermission::notAsked;
    completion(state);
}

void RecordingNotifier::schedule(const QList<PlannedAlert> &alerts)
{
    scheduled = alerts;
}

void RecordingNotifier::raised(const QList<PlannedAlert> &alerts)
{
    raisedAlerts.append(alerts);
}

void RecordingNotifier::withdraw(const QUuid &note)
{
    withdrawn.append(note);
}

void RecordingNotifier::withdrawAll()
{
    withdrewAll = true;
    problems.clear();
}

void RecordingNotifier::announce(Problem problem, const QString &title, const QString &)
{
    announced.append(title);
    if (!problems.contains(problem))
        problems.append(problem);
}

void RecordingNotifier::resolve(Problem problem)
{
    problems.removeAll(problem);
}
