#include "NoteMerge.h"

#include <algorithm>

namespace {

// A completion or a deletion is a change too, though neither moves `edited`.
Date lastChange(const StickyNote &note)
{
    return std::max({note.edited, note.doneAt.value_or(note.edited), note.deletedAt.value_or(note.edited)});
}

// An alert the losing copy already raised for the same time must not be raised again.
StickyNote keepingRaisedAlerts(StickyNote winner, const StickyNote &loser)
{
    const auto fill = [](std::optional<Date> &stamp, const std::optional<Date> &other) {
        if (!stamp)
            stamp = other;
    };
    const auto endsAt = [](const StickyNote &note) { return note.timer ? note.timer->endsAt : std::nullopt; };
    if (endsAt(winner) && endsAt(winner) == endsAt(loser))
        fill(winner.alertedTimerEnd, loser.alertedTimerEnd);
    if (winner.deadline && winner.deadline == loser.deadline) {
        fill(winner.alertedDeadline, loser.alertedDeadline);
        fill(winner.alertedWarning, loser.alertedWarning);
    }
    return winner;
}

bool theirsWins(const StickyNote *base, const StickyNote &ours, const StickyNote &theirs)
{
    if (base && theirs == *base)
        return false;
    if (base && ours == *base)
        return true;
    return lastChange(theirs) >= lastChange(ours);
}

} // namespace

namespace NoteMerge {

Merged merge(const NoteBook &base, const NoteBook &ours, const NoteBook &theirs)
{
    Merged merged{ours, 0};
    for (const StickyNote &their : theirs.notes) {
        const StickyNote *was = base.find(their.id);
        StickyNote *our = merged.book.find(their.id);
        if (!our) {
            const bool removedHere = was && *was == their;
            if (!removedHere) {
                merged.book.notes.append(their);
                ++merged.cameIn;
            }
            continue;
        }
        if (*our == their || !theirsWins(was, *our, their))
            continue;
        *our = keepingRaisedAlerts(their, *our);
        ++merged.cameIn;
    }
    return merged;
}

} // namespace NoteMerge
