#include "NoteList.h"

#include <algorithm>
#include <compare>
#include <iterator>
#include <numeric>
#include <tuple>
#include <vector>

namespace {

// The primary countdown when it is really counting: a deadline, or a timer that runs or has run down.
std::optional<Countdown> activeCountdown(const StickyNote &note, Date now)
{
    std::optional<Countdown> countdown = Countdowns::primary(note, now);
    if (countdown && (countdown->isReady() || countdown->isPaused()))
        return std::nullopt;
    return countdown;
}

struct UrgencyKey {
    bool active = false;
    double remaining = 0;
    Date edited;
};

// Counting notes first, the least time left first; then, and among the others, the latest edit first.
bool comesFirstByUrgency(const UrgencyKey &a, const UrgencyKey &b)
{
    if (a.active != b.active)
        return a.active;
    if (a.active && a.remaining != b.remaining)
        return a.remaining < b.remaining;
    return a.edited > b.edited;
}

// Orders identifiers like their canonical upper-case text, without building it: the text's hex
// digits spell these fields in turn.
std::strong_ordering compareIds(const QUuid &a, const QUuid &b)
{
    if (const auto order = std::tie(a.data1, a.data2, a.data3) <=> std::tie(b.data1, b.data2, b.data3); order != 0)
        return order;
    return std::lexicographical_compare_three_way(std::begin(a.data4), std::end(a.data4), std::begin(b.data4),
                                                  std::end(b.data4));
}

// The later date first; on equal dates the greater identifier, so the order does not depend on the input.
bool comesFirstByDate(const StickyNote &a, const StickyNote &b, Date StickyNote::*date)
{
    if (a.*date != b.*date)
        return a.*date > b.*date;
    return compareIds(a.id, b.id) > 0;
}

std::vector<qsizetype> urgencyOrder(const QList<StickyNote> &notes, Date now)
{
    std::vector<UrgencyKey> keys;
    keys.reserve(notes.size());
    for (const StickyNote &note : notes) {
        const std::optional<Countdown> countdown = activeCountdown(note, now);
        keys.push_back(UrgencyKey{countdown.has_value(), countdown ? countdown->remaining : 0, note.edited});
    }
    std::vector<qsizetype> order(notes.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](qsizetype a, qsizetype b) { return comesFirstByUrgency(keys[a], keys[b]); });
    return order;
}

std::vector<qsizetype> dateOrder(const QList<StickyNote> &notes, Date StickyNote::*date)
{
    std::vector<qsizetype> order(notes.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](qsizetype a, qsizetype b) { return comesFirstByDate(notes[a], notes[b], date); });
    return order;
}

std::vector<qsizetype> order(const QList<StickyNote> &notes, NoteSort sort, Date now)
{
    switch (sort) {
    case NoteSort::urgency: return urgencyOrder(notes, now);
    case NoteSort::edited: return dateOrder(notes, &StickyNote::edited);
    case NoteSort::created: return dateOrder(notes, &StickyNote::created);
    }
    return urgencyOrder(notes, now);
}

} // namespace

namespace NoteList {

QList<StickyNote> visible(const QList<StickyNote> &notes, NoteFilter filter, const NoteQuery &query, NoteSort sort,
                          Date now, const Calendar &calendar)
{
    QList<StickyNote> kept;
    for (const StickyNote &note : notes) {
        if (includes(filter, note, now, calendar) && query.matches(note))
            kept.append(note);
    }
    return sorted(kept, sort, now);
}

QList<StickyNote> live(const QList<StickyNote> &notes)
{
    QList<StickyNote> kept;
    std::copy_if(notes.cbegin(), notes.cend(), std::back_inserter(kept),
                 [](const StickyNote &note) { return note.isLive(); });
    return kept;
}

QList<StickyNote> sorted(const QList<StickyNote> &notes, NoteSort sort, Date now)
{
    QList<StickyNote> result;
    result.reserve(notes.size());
    for (qsizetype index : order(notes, sort, now))
        result.append(notes[index]);
    return result;
}

int count(const QList<StickyNote> &notes, NoteFilter filter, Date now, const Calendar &calendar)
{
    return static_cast<int>(std::count_if(notes.begin(), notes.end(), [&](const StickyNote &note) {
        return includes(filter, note, now, calendar);
    }));
}

std::optional<NoteCountdown> soonest(const QList<StickyNote> &notes, Date now, bool tuckedOnly)
{
    const StickyNote *chosen = nullptr;
    std::optional<Countdown> least;
    for (const StickyNote &note : notes) {
        if (!note.isLive() || (tuckedOnly && !note.tucked))
            continue;
        const std::optional<Countdown> countdown = activeCountdown(note, now);
        if (countdown && (!least || countdown->remaining < least->remaining)) {
            chosen = &note;
            least = countdown;
        }
    }
    if (!chosen)
        return std::nullopt;
    return NoteCountdown{*chosen, *least};
}

} // namespace NoteList
