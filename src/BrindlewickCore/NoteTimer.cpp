#include "NoteTimer.h"

#include <algorithm>
#include <cmath>

NoteTimer::NoteTimer(double requested)
{
    duration = std::isnan(requested) ? 1.0 : std::clamp(requested, 1.0, longest);
}

NoteTimer::State NoteTimer::state(Date at) const
{
    if (endsAt)
        return *endsAt > at ? State::running : State::finished;
    return pausedLeft ? State::paused : State::ready;
}

double NoteTimer::remaining(Date at) const
{
    if (endsAt)
        return std::max(0.0, *endsAt - at);
    return pausedLeft.value_or(duration);
}

double NoteTimer::fraction(Date at) const
{
    if (!(duration > 0))
        return 0;
    return std::clamp(remaining(at) / duration, 0.0, 1.0);
}

void NoteTimer::start(Date now)
{
    switch (state(now)) {
    case State::running:
        return;
    case State::finished:
    case State::ready:
        endsAt = now + duration;
        break;
    case State::paused:
        endsAt = now + *pausedLeft;
        break;
    }
    pausedLeft.reset();
}

void NoteTimer::pause(Date now)
{
    if (state(now) != State::running)
        return;
    pausedLeft = *endsAt - now;
    endsAt.reset();
}

void NoteTimer::reset()
{
    endsAt.reset();
    pausedLeft.reset();
}

void NoteTimer::add(double seconds, Date now)
{
    switch (state(now)) {
    case State::running:
        *endsAt += seconds;
        duration = std::min(longest, duration + seconds);
        break;
    case State::finished:
        duration = std::min(longest, seconds);
        endsAt = now + duration;
        break;
    case State::paused:
        *pausedLeft += seconds;
        duration = std::min(longest, duration + seconds);
        break;
    case State::ready:
        duration = std::min(longest, duration + seconds);
        break;
    }
}
