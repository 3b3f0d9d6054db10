#pragma once

#include <QString>
#include <array>
#include <optional>

// The seven paper colours, in the order every picker shows them.
enum class NoteColor { lemon, peach, mint, sky, lilac, rose, graphite };

namespace NoteColors {
inline constexpr std::array<NoteColor, 7> allCases{NoteColor::lemon, NoteColor::peach, NoteColor::mint,
                                                   NoteColor::sky,   NoteColor::lilac, NoteColor::rose,
                                                   NoteColor::graphite};
}

QString toString(NoteColor color);
// Exact, case-sensitive raw value; anything else is no colour.
std::optional<NoteColor> noteColorFromString(const QString &raw);
// The raw value with its first letter upper-cased: "Lemon".
QString title(NoteColor color);
