#include "NoteFace.h"

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
