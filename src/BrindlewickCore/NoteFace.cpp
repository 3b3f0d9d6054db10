#include "NoteFace.h"

#include "Countdown.h"
#include "StickyNote.h"

#include <algorithm>
#include <cmath>

namespace NoteFace {

double tapeWidth(const std::optional<NoteFrame> &frame)
{
    constexpr double unplaced = 125;
    constexpr double narrowest = 96;
    constexpr double widest = 170;
    if (!frame || frame->rect().isEmpty())
        return unplaced;
    return std::clamp(0.5 * frame->width, narrowest, widest);
}

Date steadyUntil(const StickyNote &note, Date now, Date tomorrow, double fillSteadyFor)
{
    // Float rounding must never make a step late, so the answer comes a little early.
    constexpr double early = 0.001;
    double steady = fillSteadyFor;
    if (const std::optional<Countdown> shown = Countdowns::primary(note, now))
        steady = std::min(steady, shown->steadyFor());
    // A running timer's buttons follow it to its end.
    if (note.timer)
        steady = std::min(steady, Countdowns::timer(*note.timer, now).steadyFor());
    if (note.deadline) {
        const double left = *note.deadline - now;
        // The due text names the day; a deadline passing shows as overdue and may take the tape.
        steady = std::min(steady, tomorrow - now);
        if (left > 0)
            steady = std::min(steady, left);
        // A paused timer gives the tape up just after the deadline comes as near as its time left.
        if (note.timer && note.timer->state(now) == NoteTimer::State::paused) {
            const double timerLeft = note.timer->remaining(now);
            if (left >= timerLeft)
                steady = std::min(steady, left - timerLeft);
        }
    }
    return now + std::max(0.0, steady - early);
}

RingReason ringReason(const StickyNote &note, Date now)
{
    if (note.timer && note.timer->state(now) == NoteTimer::State::finished)
        return RingReason::timeUp;
    if (note.deadline && *note.deadline <= now)
        return RingReason::dueNow;
    return RingReason::timeUp;
}

PickerLength pickerLength(const std::optional<NoteTimer> &timer)
{
    if (!timer)
        return {};
    const auto wholeMinutes = static_cast<long long>(std::floor(timer->duration / 60));
    return {static_cast<int>(wholeMinutes / 60), static_cast<int>(wholeMinutes % 60)};
}

} // namespace NoteFace
