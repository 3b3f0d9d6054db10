#include "NoteMerge.h"

#include <algorithm>

namespace {

// A completion, a deletion, a restore or an undo is a change too, though none moves `edited`; files of
// older versions know no change stamp, only the other three.
Date lastChange(const StickyNote &note)
{
    return std::max({note.edited, note.doneAt.value_or(note.edited), note.deletedAt.value_or(note.edited),
                     note.changedAt.value_or(note.edited)});
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

bool sameCopy(const StickyNote *copy, const StickyNote &note)
{
    return copy && *copy == note;
}

// A copy of the file's this run has seen there is no news: the notes in hand grew from it.
bool seenThere(const NoteMerge::Seen &seen, const StickyNote &their)
{
    return sameCopy(seen.read.find(their.id), their) || sameCopy(seen.last.find(their.id), their);
}

} // namespace

namespace NoteMerge {

Merged merge(const Seen &seen, const NoteBook &ours, const NoteBook &theirs)
{
    Merged merged{ours};
    for (const StickyNote &their : theirs.notes) {
        StickyNote *our = merged.book.find(their.id);
        const bool news = !seenThere(seen, their);
        if (!our) {
            if (news) {
                merged.book.notes.append(their);
                ++merged.cameIn;
            }
            continue;
        }
        if (*our == their || !news || lastChange(their) < lastChange(*our))
            continue;
        if (!sameCopy(seen.read.find(their.id), *our))
            merged.oursLost = true;
        *our = keepingRaisedAlerts(their, *our);
        ++merged.cameIn;
    }
    return merged;
}

} // namespace NoteMerge
