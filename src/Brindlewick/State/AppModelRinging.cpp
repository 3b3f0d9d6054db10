#include "AppModel.h"

#include "AlertPlanner.h"

#include <cmath>

void AppModel::installActionHandler()
{
    m_notifier->onAction = [this](const QUuid &id, NotifyAction action) { handle(id, action); };
    m_notifier->onPermissionChange = [this](NotifyPermission permission) { adoptPermission(permission); };
}

void AppModel::tick()
{
    followZone();
    setNow(clock());
    if (!raiseDue(m_now, Raise::ringing))
        return;
    // Without notifications, or with a server that plays no sounds, the alert sound is ours to play.
    if (m_playSound && (m_permission != NotifyPermission::allowed || !m_notifier->playsSound())) {
        ++m_soundsPlayed;
        alertSound();
    }
}

bool AppModel::raiseDue(Date now, Raise raise)
{
    const QList<PlannedAlert> due = AlertPlanner::due(m_book.notes, now, warnSeconds(), m_calendar);
    if (due.isEmpty())
        return false;
    QList<PlannedAlert> raised;
    for (const PlannedAlert &alert : due) {
        std::optional<StickyNote> note = m_book[alert.noteID];
        if (!note)
            continue;
        AlertPlanner::markRaised(alert, *note);
        store(*note);
        raised.append(alert);
        if (alert.kind == PlannedAlert::Kind::dueSoon) {
            if (m_permission != NotifyPermission::allowed)
                setBanner(Banner(alert.title));
            continue;
        }
        if (!m_ringing.contains(note->id)) {
            m_ringing.insert(note->id);
            emit ringingChanged();
        }
        if (raise == Raise::ringing && onRing)
            onRing(*note);
    }
    m_notifier->raised(raised);
    scheduleSave();
    return true;
}

// The notifier shows an alert from the start of its whole second, up to a second before its exact time:
// what it may have shown is raised on the way out, or the next start would show it again. Once the file
// holds those stamps, the notifier need not keep what it posted; notes that could not be saved leave
// it kept for the next run.
void AppModel::finishRun()
{
    const Date endOfSecond = Date::fromUnix(std::floor(clock().unixSeconds()) + 1) - 1e-6;
    raiseDue(endOfSecond, Raise::quietly);
    saveBeforeQuit();
    if (m_loaded && m_book == m_onDisk)
        m_notifier->raisedSaved();
    m_notifier->withdrawAll();
}

void AppModel::reschedule()
{
    if (m_permission != NotifyPermission::allowed) {
        m_notifier->schedule({});
        return;
    }
    m_notifier->schedule(AlertPlanner::upcoming(m_book.notes, clock(), warnSeconds(), m_calendar));
}

void AppModel::requestPermission()
{
    m_notifier->requestPermission([this](NotifyPermission permission) { adoptPermission(permission); });
}

void AppModel::revokePermission()
{
    m_notifier->revokePermission([this](NotifyPermission permission) { adoptPermission(permission); });
}

void AppModel::adoptPermission(NotifyPermission permission)
{
    setPermission(permission);
    reschedule();
}

void AppModel::handle(const QUuid &id, NotifyAction action)
{
    switch (action) {
    case NotifyAction::open:
        setNotesHidden(false);
        stopRinging(id);
        if (onShow)
            onShow(id);
        return;
    case NotifyAction::snooze:
    case NotifyAction::done:
        break;
    }
    // A late answer to a note finished or deleted since changes nothing.
    const StickyNote *note = m_book.find(id);
    if (!note || !note->isLive())
        return;
    if (action == NotifyAction::snooze)
        snooze(id, 300);
    else
        toggleDone(id);
}
