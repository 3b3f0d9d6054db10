#pragma once

#include <QDateTime>
#include <compare>

// A moment in time as the notes file stores it: seconds since 2001-01-01 00:00:00 UTC.
struct Date {
    double seconds = 0;

    // Seconds between 1970-01-01 and 2001-01-01, both UTC.
    static constexpr double referenceOffset = 978307200.0;
    // A day inside the years 1 to 9999 at either end (UTC), so that every time zone reads a date in them.
    static constexpr double earliestSeconds = -63113817600.0;
    static constexpr double latestSeconds = 252423907199.0;

    static Date fromUnix(double unixSeconds) { return Date{unixSeconds - referenceOffset}; }
    static Date fromDateTime(const QDateTime &dateTime);
    // The wall clock; only clocks and harnesses call this, rules take `now` as an argument.
    static Date current();

    double unixSeconds() const { return seconds + referenceOffset; }
    // The moment moved into the years 1 to 9999 (NaN: the earliest).
    Date bounded() const;
    // The moment bounded first, so any value converts.
    QDateTime toDateTime() const;

    Date operator+(double delta) const { return Date{seconds + delta}; }
    Date operator-(double delta) const { return Date{seconds - delta}; }
    double operator-(Date other) const { return seconds - other.seconds; }
    Date &operator+=(double delta) { seconds += delta; return *this; }

    auto operator<=>(const Date &) const = default;
    bool operator==(const Date &) const = default;
};
