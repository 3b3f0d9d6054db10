#pragma once

#include "Calendar.h"
#include "Date.h"

#include <QString>
#include <array>
#include <optional>

struct StickyNote;

// Which notes one entry of the library's sidebar shows.
enum class NoteFilter { all, pinned, timers, today, overdue, tucked, done, deleted };

namespace NoteFilters {
// Sidebar order.
inline constexpr std::array<NoteFilter, 8> allCases{NoteFilter::all,     NoteFilter::pinned, NoteFilter::timers,
                                                    NoteFilter::today,   NoteFilter::overdue, NoteFilter::tucked,
                                                    NoteFilter::done,    NoteFilter::deleted};
}

// The raw value is the case name: "all", "pinned", …
QString toString(NoteFilter filter);
// Exact, case-sensitive raw value; anything else is no filter.
std::optional<NoteFilter> noteFilterFromString(const QString &raw);
// The sidebar label: "All notes", "Floating", …
QString title(NoteFilter filter);

// Done and deleted notes are only in their own filters; every other filter looks at live notes only.
bool includes(NoteFilter filter, const StickyNote &note, Date now, const Calendar &calendar);
