#pragma once

#include "Date.h"

#include <optional>

// A countdown that stores no running clock: its state follows from its fields and the time asked about.
struct NoteTimer {
    enum class State { ready, running, paused, finished };

    // 99 hours.
    static constexpr double longest = 356400;

    double duration = 1;
    std::optional<Date> endsAt;
    std::optional<double> pausedLeft;

    NoteTimer() = default;
    // A ready timer; the duration is clamped to 1 … 99 hours (NaN gives 1).
    explicit NoteTimer(double duration);

    State state(Date at) const;
    double remaining(Date at) const;
    // Share of the duration still left, 0 … 1.
    double fraction(Date at) const;

    void start(Date now);
    void pause(Date now);
    void reset();
    void add(double seconds, Date now);

    bool operator==(const NoteTimer &) const = default;
};
