#pragma once

#include "Calendar.h"
#include "Date.h"
#include "PlannedAlert.h"
#include "StickyNote.h"

#include <QList>
#include <QLocale>
#include <optional>

// Works out the alerts of notes from the notes alone; whether one was raised is stamped on its note.
// `warnBefore` is the heads-up before a deadline in seconds, none when the user wants none. Alert texts
// word dates in `calendar` and `locale`, the user's own unless a caller passes others.
namespace AlertPlanner {
// A live note's alerts, timer end, due and heads-up in that order, past ones included.
QList<PlannedAlert> all(const StickyNote &note, Date now, std::optional<double> warnBefore,
                        const Calendar &calendar = Calendar::current(), const QLocale &locale = QLocale());
// Every alert after `now` not raised yet (a clock set back brings raised ones ahead again), by fire
// time; notes keep their order where times are equal.
QList<PlannedAlert> upcoming(const QList<StickyNote> &notes, Date now, std::optional<double> warnBefore,
                             const Calendar &calendar = Calendar::current(), const QLocale &locale = QLocale());
// Alerts whose time has come and that are not yet stamped on their note, in note order.
QList<PlannedAlert> due(const QList<StickyNote> &notes, Date now, std::optional<double> warnBefore,
                        const Calendar &calendar = Calendar::current(), const QLocale &locale = QLocale());
// Stamps the alert's fire time on the note, so `due` no longer returns it.
void markRaised(const PlannedAlert &alert, StickyNote &note);
// How long after its time an alert still reads as on time: no text of it names a time finer than a minute.
inline constexpr double lateAfter = 60;
// The alert as shown at `now`: shown `lateAfter` or more after its time, its body gains a last line
// saying when it was due, "Due 14:05" on the same day, "Due yesterday, 2:05 PM", "Due 14 Mar, 14:05" on another;
// a due alert, whose body names its time already, is worded as of `now` instead ("It was due yesterday, 2:05 pm.").
// A heads-up shown after its second tells the time left then ("Due in 10 min: ", "Due now: " in the
// deadline's last second) and the deadline, as of `now`.
PlannedAlert shownAt(PlannedAlert alert, Date now, const Calendar &calendar = Calendar::current(),
                     const QLocale &locale = QLocale());
}
