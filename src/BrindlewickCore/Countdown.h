#pragma once

#include "Date.h"
#include "NoteTimer.h"
#include "TimeText.h"

#include <QString>
#include <optional>

struct StickyNote;

// How close a countdown is to its end; picks the tape's colour. Ordered calm < soon < urgent < over.
enum class Urgency { calm = 0, soon = 1, urgent = 2, over = 3 };

// 0 … 3; any other number is no urgency.
std::optional<Urgency> urgencyFromRawValue(int raw);

// The time left on a note's timer or deadline, as every screen that shows time left draws it.
struct Countdown {
    // A timer in one of its states, or a deadline.
    class Kind {
    public:
        static Kind timer(NoteTimer::State state) { return Kind(state); }
        static Kind deadline() { return Kind(std::nullopt); }

        bool isTimer() const { return m_timerState.has_value(); }
        bool isDeadline() const { return !isTimer(); }
        // The timer's state; none for a deadline.
        std::optional<NoteTimer::State> timerState() const { return m_timerState; }

        bool operator==(const Kind &) const = default;

    private:
        explicit Kind(std::optional<NoteTimer::State> timerState) : m_timerState(timerState) {}
        std::optional<NoteTimer::State> m_timerState;
    };

    Kind kind = Kind::deadline();
    // Seconds left; never below 0 for a timer, negative for a deadline that has passed.
    double remaining = 0;
    // Part of the tape still left, 0 … 1.
    double fraction = 0;
    Urgency urgency = Urgency::calm;

    bool isTimer() const { return kind.isTimer(); }
    bool isReady() const { return kind == Kind::timer(NoteTimer::State::ready); }
    bool isPaused() const { return kind == Kind::timer(NoteTimer::State::paused); }

    // Printed on tapes and in the tray: "4:59", "Time’s up", "2 h 30 min", "Overdue 5 min".
    QString shortText() const;
    // The tape's accessibility label: "Timer, 5 min left", "Overdue by 1 h".
    QString spokenText() const;

    // The numbers both texts are made of: countdowns with equal keys read alike. Cheap enough for
    // every shown note on every tick, where making the texts is not.
    struct TextKey {
        Kind kind = Kind::deadline();
        // A timer's whole seconds left.
        qint64 seconds = 0;
        // A deadline's: before it, the span left; at it (the first minute), nothing; past it, the span over.
        enum class Side { before, at, past } side = Side::before;
        TimeText::SpanUnits span;

        bool operator==(const TextKey &) const = default;
    };
    TextKey textKey() const;
    // Seconds from now for which its text key and urgency stay as they are: 0 for a running timer,
    // forever for a timer standing still, for a deadline until its text or urgency next steps.
    double steadyFor() const;
    // Seconds from now for which a fill `pixels` long when full keeps its reach in whole pixels:
    // 0 for a running timer, forever for a fill standing still.
    double fillSteadyFor(double pixels) const;

    bool operator==(const Countdown &) const = default;
};

// Builders of countdowns. Called for every shown note on every tick, so arithmetic only.
namespace Countdowns {
Countdown timer(const NoteTimer &timer, Date now);
Countdown deadline(Date deadline, Date setAt, Date now);
// The one countdown a note shows, if it has a timer or a deadline.
std::optional<Countdown> primary(const StickyNote &note, Date now);
}
