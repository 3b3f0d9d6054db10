#include "Countdown.h"

#include "StickyNote.h"
#include "TimeText.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double lastMinute = 60;
constexpr double oneHour = 3600;
constexpr double oneDay = 86400;

Urgency runningTimerUrgency(double remaining, double fraction)
{
    if (remaining <= lastMinute || fraction <= 0.1)
        return Urgency::urgent;
    return fraction <= 0.25 ? Urgency::soon : Urgency::calm;
}

Urgency deadlineUrgency(double left)
{
    if (left <= 0)
        return Urgency::over;
    if (left <= oneHour)
        return Urgency::urgent;
    return left <= oneDay ? Urgency::soon : Urgency::calm;
}

double deadlineFraction(double left, double span)
{
    if (span > 0)
        return std::clamp(left / span, 0.0, 1.0);
    return left > 0 ? 1.0 : 0.0;
}

// Both present: a timer never started gives way; otherwise the one that is over, else the nearer end.
const Countdown &moreUrgent(const Countdown &timer, const Countdown &deadline)
{
    if (timer.isReady())
        return deadline;
    const bool timerOver = timer.urgency == Urgency::over;
    const bool deadlineOver = deadline.urgency == Urgency::over;
    if (timerOver != deadlineOver)
        return timerOver ? timer : deadline;
    return deadline.remaining < timer.remaining ? deadline : timer;
}

} // namespace

std::optional<Urgency> urgencyFromRawValue(int raw)
{
    if (raw < static_cast<int>(Urgency::calm) || raw > static_cast<int>(Urgency::over))
        return std::nullopt;
    return static_cast<Urgency>(raw);
}

QString Countdown::shortText() const
{
    if (kind.isDeadline()) {
        if (remaining <= -lastMinute)
            return QStringLiteral("Overdue ") + TimeText::span(-remaining);
        return remaining <= 0 ? QStringLiteral("Due now") : TimeText::span(remaining);
    }
    if (kind.timerState() == NoteTimer::State::finished)
        return QStringLiteral("Time’s up");
    return TimeText::clock(remaining);
}

QString Countdown::spokenText() const
{
    if (kind.isDeadline())
        return TimeText::left(remaining);
    switch (*kind.timerState()) {
    case NoteTimer::State::ready:
        return QStringLiteral("Timer set for ") + TimeText::span(remaining) + QStringLiteral(", not started");
    case NoteTimer::State::running:
        return QStringLiteral("Timer, ") + TimeText::span(remaining) + QStringLiteral(" left");
    case NoteTimer::State::paused:
        return QStringLiteral("Timer paused, ") + TimeText::span(remaining) + QStringLiteral(" left");
    case NoteTimer::State::finished:
        break;
    }
    return QStringLiteral("Timer finished");
}

Countdown::TextKey Countdown::textKey() const
{
    TextKey key;
    key.kind = kind;
    if (const auto state = kind.timerState()) {
        if (*state != NoteTimer::State::finished)
            key.seconds = TimeText::wholeSeconds(remaining);
    } else if (remaining <= -lastMinute) {
        key.side = TextKey::Side::past;
        key.span = TimeText::spanUnits(-remaining);
    } else if (remaining <= 0) {
        key.side = TextKey::Side::at;
    } else {
        key.span = TimeText::spanUnits(remaining);
    }
    return key;
}

double Countdown::steadyFor() const
{
    if (const auto state = kind.timerState())
        return *state == NoteTimer::State::running ? 0 : std::numeric_limits<double>::infinity();
    if (remaining > 0) {
        // The text steps once the whole seconds left fall below their run; the urgency a day and an hour before.
        const TimeText::SpanRun run = TimeText::spanRun(TimeText::wholeSeconds(remaining));
        double steady = remaining - double(run.first - 1);
        for (const double threshold : {oneDay, oneHour}) {
            if (remaining > threshold)
                steady = std::min(steady, remaining - threshold);
        }
        return steady;
    }
    if (remaining > -lastMinute)
        return remaining + lastMinute;
    // Overdue: the text steps just after the whole seconds over pass their run.
    return remaining + double(TimeText::spanRun(TimeText::wholeSeconds(-remaining)).last);
}

double Countdown::fillSteadyFor(double pixels) const
{
    constexpr double unending = std::numeric_limits<double>::infinity();
    if (const auto state = kind.timerState())
        return *state == NoteTimer::State::running ? 0 : unending;
    if (urgency == Urgency::over || fraction <= 0)
        return unending;
    // A full fill may be held full before the deadline's span begins; look again next time.
    if (fraction >= 1)
        return 0;
    // The reach shrinks evenly to nothing at the deadline; it steps just below the whole pixel it is at.
    const double reach = pixels * fraction;
    return remaining * (reach - std::floor(reach)) / reach;
}

namespace Countdowns {

Countdown timer(const NoteTimer &timer, Date now)
{
    const NoteTimer::State state = timer.state(now);
    const double remaining = timer.remaining(now);
    const double fraction = timer.fraction(now);
    const auto kind = Countdown::Kind::timer(state);
    switch (state) {
    case NoteTimer::State::running:
        return {kind, remaining, fraction, runningTimerUrgency(remaining, fraction)};
    case NoteTimer::State::finished:
        return {kind, remaining, 0, Urgency::over};
    case NoteTimer::State::ready:
    case NoteTimer::State::paused:
        break;
    }
    return {kind, remaining, fraction, Urgency::calm};
}

Countdown deadline(Date deadline, Date setAt, Date now)
{
    const double left = deadline - now;
    return {Countdown::Kind::deadline(), left, deadlineFraction(left, deadline - setAt), deadlineUrgency(left)};
}

std::optional<Countdown> primary(const StickyNote &note, Date now)
{
    std::optional<Countdown> timerCountdown;
    if (note.timer)
        timerCountdown = timer(*note.timer, now);
    std::optional<Countdown> deadlineCountdown;
    if (note.deadline)
        deadlineCountdown = deadline(*note.deadline, note.deadlineSetAt.value_or(note.created), now);
    if (timerCountdown && deadlineCountdown)
        return moreUrgent(*timerCountdown, *deadlineCountdown);
    return timerCountdown ? timerCountdown : deadlineCountdown;
}

} // namespace Countdowns
