#include "NoteFilter.h"

#include "Countdown.h"
#include "RawValue.h"
#include "StickyNote.h"

namespace {

// Passed deadlines count however long ago they passed; of timers only those that run or have run down.
bool isDueToday(const StickyNote &note, Date now, const Calendar &calendar)
{
    if (note.deadline && (*note.deadline <= now || calendar.isSameDay(*note.deadline, now)))
        return true;
    if (!note.timer)
        return false;
    const NoteTimer::State state = note.timer->state(now);
    return state == NoteTimer::State::running || state == NoteTimer::State::finished;
}

bool isOverdue(const StickyNote &note, Date now)
{
    const std::optional<Countdown> countdown = Countdowns::primary(note, now);
    return countdown && countdown->urgency == Urgency::over;
}

} // namespace

QString toString(NoteFilter filter)
{
    switch (filter) {
    case NoteFilter::all: return QStringLiteral("all");
    case NoteFilter::pinned: return QStringLiteral("pinned");
    case NoteFilter::timers: return QStringLiteral("timers");
    case NoteFilter::today: return QStringLiteral("today");
    case NoteFilter::overdue: return QStringLiteral("overdue");
    case NoteFilter::tucked: return QStringLiteral("tucked");
    case NoteFilter::done: return QStringLiteral("done");
    case NoteFilter::deleted: return QStringLiteral("deleted");
    }
    return QStringLiteral("all");
}

std::optional<NoteFilter> noteFilterFromString(const QString &raw)
{
    return caseWithRawValue(NoteFilters::allCases, raw);
}

QString title(NoteFilter filter)
{
    switch (filter) {
    case NoteFilter::all: return QStringLiteral("All notes");
    case NoteFilter::pinned: return QStringLiteral("Floating");
    case NoteFilter::timers: return QStringLiteral("Timers");
    case NoteFilter::today: return QStringLiteral("Due today");
    case NoteFilter::overdue: return QStringLiteral("Overdue");
    case NoteFilter::tucked: return QStringLiteral("In the notch");
    case NoteFilter::done: return QStringLiteral("Done");
    case NoteFilter::deleted: return QStringLiteral("Recently deleted");
    }
    return QStringLiteral("All notes");
}

bool includes(NoteFilter filter, const StickyNote &note, Date now, const Calendar &calendar)
{
    switch (filter) {
    case NoteFilter::all: return note.isLive();
    case NoteFilter::pinned: return note.isLive() && note.pinned;
    case NoteFilter::timers: return note.isLive() && note.timer;
    case NoteFilter::today: return note.isLive() && isDueToday(note, now, calendar);
    case NoteFilter::overdue: return note.isLive() && isOverdue(note, now);
    case NoteFilter::tucked: return note.isLive() && note.tucked;
    case NoteFilter::done: return note.isDone() && !note.isDeleted();
    case NoteFilter::deleted: return note.isDeleted();
    }
    return false;
}
