#include "AppModel.h"

void AppModel::edit(const QUuid &id, EditRule rule, const std::function<void(StickyNote &)> &change)
{
    if (rule.answersRing)
        stopRinging(id);
    const std::optional<StickyNote> stored = m_book[id];
    if (!stored)
        return;
    StickyNote note = *stored;
    change(note);
    if (note == *stored)
        return;
    if (rule.stampsEdited)
        note.edited = clock();
    if (rule.isChange)
        note.changedAt = clock();
    store(note);
    scheduleSave();
    if (rule.movesAlerts)
        reschedule();
}

void AppModel::store(const StickyNote &note)
{
    m_book.set(note.id, note);
    emit bookChanged();
}

void AppModel::setText(const QUuid &id, const QString &text)
{
    edit(id, {}, [&](StickyNote &note) { note.text = text; });
}

void AppModel::setColor(const QUuid &id, NoteColor color)
{
    edit(id, {}, [&](StickyNote &note) { note.color = color; });
}

void AppModel::togglePinned(const QUuid &id)
{
    edit(id, {}, [](StickyNote &note) { note.pinned = !note.pinned; });
}

void AppModel::setFrame(const QUuid &id, const QRectF &frame)
{
    edit(id, {.stampsEdited = false, .isChange = false},
         [&](StickyNote &note) { note.frame = NoteFrame::fromRect(frame); });
}

void AppModel::setTucked(const QUuid &id, bool tucked)
{
    edit(id, {}, [&](StickyNote &note) { note.tucked = tucked; });
}

void AppModel::setTimer(const QUuid &id, double seconds, bool start)
{
    edit(id, {.answersRing = true, .movesAlerts = true}, [&](StickyNote &note) {
        note.timer = NoteTimer(seconds);
        if (start)
            note.timer->start(clock());
    });
}

void AppModel::startTimer(const QUuid &id)
{
    edit(id, {.answersRing = true, .movesAlerts = true}, [&](StickyNote &note) {
        if (note.timer)
            note.timer->start(clock());
    });
}

void AppModel::pauseTimer(const QUuid &id)
{
    edit(id, {.movesAlerts = true}, [&](StickyNote &note) {
        if (note.timer)
            note.timer->pause(clock());
    });
}

void AppModel::resetTimer(const QUuid &id)
{
    edit(id, {.answersRing = true, .movesAlerts = true}, [](StickyNote &note) {
        if (note.timer)
            note.timer->reset();
    });
}

void AppModel::addTime(const QUuid &id, double seconds)
{
    edit(id, {.answersRing = true, .movesAlerts = true}, [&](StickyNote &note) {
        if (note.timer)
            note.timer->add(seconds, clock());
    });
}

void AppModel::removeTimer(const QUuid &id)
{
    edit(id, {.answersRing = true, .movesAlerts = true}, [](StickyNote &note) {
        note.timer.reset();
        note.alertedTimerEnd.reset();
    });
}

void AppModel::setDeadline(const QUuid &id, std::optional<Date> deadline)
{
    edit(id, {.answersRing = true, .movesAlerts = true},
         [&](StickyNote &note) { note.setDeadline(deadline, clock()); });
}

void AppModel::snooze(const QUuid &id, double seconds)
{
    const StickyNote *note = m_book.find(id);
    if (!note)
        return;
    const Date now = clock();
    if (note->timer && note->timer->state(now) == NoteTimer::State::finished) {
        addTime(id, seconds);
        return;
    }
    if (note->deadline && *note->deadline <= now) {
        setDeadline(id, now + seconds);
        return;
    }
    stopRinging(id);
}
