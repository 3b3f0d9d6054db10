#pragma once

#include <QDate>
#include <optional>
#include <variant>

// What the date detector's rules read from a phrase, before it becomes a moment.
namespace DateDetector {

constexpr int minutesPerDay = 24 * 60;
constexpr int halfDay = 12 * 60;

// A time of day as written, in minutes after the start of the day it falls on; values past 24:00
// fall on the next day ("midnight" is 24:00).
struct ClockTime {
    // Which half of the day an hour of 1 to 12 without am/pm falls in: the writer's clock decides
    // "10:30", while a lone hour ("at 4") or a spoken time ("half past 10") may be either half in
    // any locale.
    enum class Half { asWritten, eitherOnTwelveHourClock, either };

    int minutes = 0;
    Half half = Half::asWritten;

    bool halfUnwritten() const { return half != Half::asWritten; }
};

enum class DayPart { none, morning, afternoon, evening, night };

struct NamedWeekday {
    enum class Week { coming, next, last };
    int weekday = 1;
    Week week = Week::coming;
};

struct CalendarDay {
    int month = 1;
    int day = 1;
    std::optional<int> year;
};

// "the 25th": that day of this month, or of the next month that has it once it is past.
struct MonthDay {
    int day = 1;
};

using Day = std::variant<QDate, NamedWeekday, CalendarDay, MonthDay>;

// When in its day a phrase falls: a clock time, a part of the day, or the end of the working day.
struct When {
    std::optional<ClockTime> time;
    DayPart part = DayPart::none;
    bool endOfDay = false;
};

struct DayPhrase {
    Day day;
    qsizetype end = 0;
    bool numericOnly = false;
    // A phrase that is an ordinary word as often as a date: it counts only after a preposition.
    bool needsCompany = false;
    DayPart part = DayPart::none;
    bool endOfDay = false;
};

struct TimePhrase {
    ClockTime time;
    qsizetype end = 0;
    // A lone hour ("9"): a time only after a word such as "at".
    bool bare = false;
};

struct PartPhrase {
    DayPart part = DayPart::none;
    qsizetype end = 0;
    bool needsCompany = false;
};

struct Phrase {
    std::optional<Day> day;
    When when;
    qsizetype end = 0;
    bool numericOnly = false;
    bool needsCompany = false;
    // "in 2 hours": seconds from now, instead of a day and a time.
    std::optional<double> later = std::nullopt;
};

} // namespace DateDetector
