#include "AlertPlanner.h"

#include "TimeText.h"

#include <algorithm>
#include <vector>

namespace {

using Kind = PlannedAlert::Kind;

// The note field that remembers the alert of this kind was raised.
std::optional<Date> StickyNote::*stamp(Kind kind)
{
    switch (kind) {
    case Kind::timerEnded: return &StickyNote::alertedTimerEnd;
    case Kind::due: return &StickyNote::alertedDeadline;
    case Kind::dueSoon: return &StickyNote::alertedWarning;
    }
    return &StickyNote::alertedDeadline;
}

bool wantsHeadsUp(std::optional<double> warnBefore)
{
    return warnBefore && *warnBefore > 0;
}

// Visits the kinds and fire times of a note's alerts without building their texts, which the
// once-a-second check would otherwise pay for every note.
template <typename Visit>
void forEachFireTime(const StickyNote &note, std::optional<double> warnBefore, Visit visit)
{
    if (!note.isLive())
        return;
    if (note.timer && note.timer->endsAt)
        visit(Kind::timerEnded, *note.timer->endsAt);
    if (!note.deadline)
        return;
    visit(Kind::due, *note.deadline);
    if (!wantsHeadsUp(warnBefore))
        return;
    // A deadline set closer than the heads-up time gets none.
    const Date warnAt = *note.deadline - *warnBefore;
    if (warnAt > note.deadlineSetAt.value_or(note.created))
        visit(Kind::dueSoon, warnAt);
}

QString lowercasedDue(Date deadline, Date seenAt, const Calendar &calendar, const QLocale &locale)
{
    return TimeText::due(deadline, seenAt, calendar, locale).toLower();
}

// The body of a due alert, worded as of `seenAt`.
QString wasDue(Date deadline, Date seenAt, const Calendar &calendar, const QLocale &locale)
{
    return QStringLiteral("It was due ") + lowercasedDue(deadline, seenAt, calendar, locale) + u'.';
}

// Texts are worded as of the moment the alert fires.
PlannedAlert describe(const StickyNote &note, Kind kind, Date fireAt, std::optional<double> warnBefore,
                      const Calendar &calendar, const QLocale &locale)
{
    PlannedAlert alert{note.id, kind, fireAt, {}, {}, note.title(), std::nullopt};
    if (kind != Kind::timerEnded)
        alert.deadline = note.deadline;
    switch (kind) {
    case Kind::timerEnded:
        alert.title = QStringLiteral("Time’s up: ") + note.title();
        alert.body = QStringLiteral("Your ") + TimeText::span(note.timer->duration)
                     + QStringLiteral(" timer has finished.");
        break;
    case Kind::due:
        alert.title = QStringLiteral("Due now: ") + note.title();
        alert.body = wasDue(*note.deadline, *note.deadline, calendar, locale);
        break;
    case Kind::dueSoon:
        alert.title = QStringLiteral("Due in ") + TimeText::span(*warnBefore) + QStringLiteral(": ") + note.title();
        alert.body = QStringLiteral("Due ") + lowercasedDue(*note.deadline, fireAt, calendar, locale) + u'.';
        break;
    }
    return alert;
}

// Within the second of its time a heads-up reads as planned; later it tells the time left then, and
// never names its own time, which is no due time.
PlannedAlert headsUpAt(PlannedAlert alert, Date now, const Calendar &calendar, const QLocale &locale)
{
    if (!alert.deadline || now - alert.fireAt < 1)
        return alert;
    const double left = *alert.deadline - now;
    alert.title = left < 1 ? QStringLiteral("Due now: ") + alert.subject
                           : QStringLiteral("Due in ") + TimeText::span(left) + QStringLiteral(": ") + alert.subject;
    alert.body = QStringLiteral("Due ") + lowercasedDue(*alert.deadline, now, calendar, locale) + u'.';
    return alert;
}

struct Pending {
    const StickyNote *note;
    Kind kind;
    Date fireAt;
};

} // namespace

namespace AlertPlanner {

QList<PlannedAlert> all(const StickyNote &note, Date, std::optional<double> warnBefore, const Calendar &calendar,
                        const QLocale &locale)
{
    QList<PlannedAlert> alerts;
    forEachFireTime(note, warnBefore, [&](Kind kind, Date fireAt) {
        alerts.append(describe(note, kind, fireAt, warnBefore, calendar, locale));
    });
    return alerts;
}

QList<PlannedAlert> upcoming(const QList<StickyNote> &notes, Date now, std::optional<double> warnBefore,
                             const Calendar &calendar, const QLocale &locale)
{
    std::vector<Pending> ahead;
    for (const StickyNote &note : notes) {
        forEachFireTime(note, warnBefore, [&](Kind kind, Date fireAt) {
            if (fireAt > now && note.*stamp(kind) != fireAt)
                ahead.push_back({&note, kind, fireAt});
        });
    }
    std::stable_sort(ahead.begin(), ahead.end(),
                     [](const Pending &a, const Pending &b) { return a.fireAt < b.fireAt; });
    QList<PlannedAlert> alerts;
    alerts.reserve(qsizetype(ahead.size()));
    for (const Pending &pending : ahead)
        alerts.append(describe(*pending.note, pending.kind, pending.fireAt, warnBefore, calendar, locale));
    return alerts;
}

QList<PlannedAlert> due(const QList<StickyNote> &notes, Date now, std::optional<double> warnBefore,
                        const Calendar &calendar, const QLocale &locale)
{
    QList<PlannedAlert> alerts;
    for (const StickyNote &note : notes) {
        forEachFireTime(note, warnBefore, [&](Kind kind, Date fireAt) {
            if (fireAt > now || note.*stamp(kind) == fireAt)
                return;
            // Once the deadline itself has come, its due alert stands in for the heads-up.
            if (kind == Kind::dueSoon && !(*note.deadline > now))
                return;
            alerts.append(describe(note, kind, fireAt, warnBefore, calendar, locale));
        });
    }
    return alerts;
}

void markRaised(const PlannedAlert &alert, StickyNote &note)
{
    note.*stamp(alert.kind) = alert.fireAt;
}

PlannedAlert shownAt(PlannedAlert alert, Date now, const Calendar &calendar, const QLocale &locale)
{
    if (alert.kind == Kind::dueSoon)
        return headsUpAt(std::move(alert), now, calendar, locale);
    if (now - alert.fireAt < lateAfter)
        return alert;
    // A due alert names its time already: worded as of now, it also names the right day.
    if (alert.kind == Kind::due) {
        alert.body = wasDue(alert.fireAt, now, calendar, locale);
        return alert;
    }
    const QString time = TimeText::time(alert.fireAt, calendar, locale);
    QString when = TimeText::due(alert.fireAt, now, calendar, locale);
    switch (calendar.day(alert.fireAt).daysTo(calendar.day(now))) {
    case 0: when = time; break;
    case 1: when = QStringLiteral("yesterday, ") + time; break;
    }
    alert.body += QStringLiteral("\nDue ") + when;
    return alert;
}

} // namespace AlertPlanner
