#pragma once

#include "Calendar.h"
#include "Countdown.h"
#include "Date.h"
#include "NoteFilter.h"
#include "NoteQuery.h"
#include "NoteSort.h"
#include "StickyNote.h"

#include <QList>
#include <optional>

// The list operations shared by the library, the tray and the menu-bar item. Every order is stable
// and ends in a fixed tie-break, so equal notes never swap places between redraws.
namespace NoteList {

// A note with the countdown it shows.
struct NoteCountdown {
    StickyNote note;
    Countdown countdown;

    bool operator==(const NoteCountdown &) const = default;
};

// The notes the filter includes and the query matches, sorted: the library's grid.
QList<StickyNote> visible(const QList<StickyNote> &notes, NoteFilter filter, const NoteQuery &query, NoteSort sort,
                          Date now, const Calendar &calendar);
// The same notes reordered; notes the order cannot tell apart keep their input order.
QList<StickyNote> sorted(const QList<StickyNote> &notes, NoteSort sort, Date now);
// The notes neither done nor deleted, in input order.
QList<StickyNote> live(const QList<StickyNote> &notes);
// How many notes the filter includes: the sidebar's badge.
int count(const QList<StickyNote> &notes, NoteFilter filter, Date now, const Calendar &calendar);
// The live note with the least time left on a deadline or a running or finished timer, the first
// in input order on a tie; ready and paused timers do not count.
std::optional<NoteCountdown> soonest(const QList<StickyNote> &notes, Date now, bool tuckedOnly);

} // namespace NoteList
