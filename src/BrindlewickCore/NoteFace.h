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

// Until when a note's face stays as it is at `now` by the clock alone: the text and urgency of the
// countdown its tape shows, which countdown that is, its timer's state, whether its deadline has
// passed, and the day its due text names, which ends at `tomorrow`. `now` itself while a timer runs.
// How long the tape's fill holds depends on its size in pixels, so the view works it out and passes it in.
Date steadyUntil(const StickyNote &note, Date now, Date tomorrow, double fillSteadyFor);

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
