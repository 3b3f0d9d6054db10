#pragma once

#include <QString>
#include <array>
#include <optional>

// The order of the library's grid; the raw value is what the settings store under "sort".
enum class NoteSort { urgency, edited, created };

namespace NoteSorts {
// Menu order.
inline constexpr std::array<NoteSort, 3> allCases{NoteSort::urgency, NoteSort::edited, NoteSort::created};
}

// "urgency", "edited", "created".
QString toString(NoteSort sort);
// Exact, case-sensitive raw value; anything else is no sort.
std::optional<NoteSort> noteSortFromString(const QString &raw);
// The sort menu's label: "Time left", "Last edited", "Date created".
QString title(NoteSort sort);
