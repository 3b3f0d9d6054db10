#pragma once

#include "Date.h"
#include "NoteFrame.h"
#include "NoteTimer.h"

#include <optional>

struct StickyNote;

// Rules of a desktop note's face that depend only on the note and the time.
namespace NoteFace {

// Width of the header's countdown tape: it follows the last saved width of the note's window.
double tapeWidth(const std::optional<NoteFrame> &frame);

// Why a ringing note rings, for the title of its ring bar.
enum class RingReason { timeUp, dueNow };
RingReason ringReason(const StickyNote &note, Date now);

// The free length a timer picker opens with: the note's timer in whole minutes, else 25 minutes.
struct PickerLength {
    int hours = 0;
    int minutes = 25;

    bool operator==(const PickerLength &) const = default;
};
PickerLength pickerLength(const std::optional<NoteTimer> &timer);

} // namespace NoteFace
