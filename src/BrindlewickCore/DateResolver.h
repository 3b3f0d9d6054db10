#pragma once

#include "Calendar.h"
#include "Date.h"
#include "DatePhrase.h"

#include <QLocale>
#include <QVarLengthArray>

// Turns what a phrase says into the moment its writer meant, against the current time:
// - A time without a day is today's reading, even one that has just passed; the quick parser moves
//   that a day on. An hour of 1 to 12 without am/pm may be either half of the day: alone ("at 4")
//   on every clock, with its minutes ("10:30") only on a 12-hour one, a 24-hour clock reading it as
//   written. Such an hour is the first of its two readings today that is still ahead and not in
//   the night (22:00 to 06:59), else the first such tomorrow ("at 8" at 14:00 is 20:00, "10:30" on
//   a 12-hour clock is 10:30 tomorrow).
// - A part of the day is an hour of its own (morning 09:00, afternoon 15:00, evening 18:00, night
//   and tonight 21:00) and picks the half of the day of an hour given with it ("tomorrow morning at
//   8", "tonight at 1" is 01:00 the next day). Once today's evening or night has passed, it means
//   the end of the day (23:59).
// - A day without a time takes the hour of the deadline picker's own choices: 09:00 for a coming
//   day, 17:00 today, or for a phrase that names the end of the day, week or month; once that hour
//   has passed, today means the end of the day (23:59).
// - A weekday is the next one whose moment is still ahead, today included: "friday 3pm" typed on a
//   Friday at 16:00 is next week's. "next friday" is the Friday of the next week (weeks start on
//   the locale's first day), "last monday" the most recent Monday before today.
// - A date without a year is this year's unless its day is already over, then next year's; "the
//   25th" is this month's unless it is over, then the next month that has a 25th.
namespace DateDetector {

class DateResolver {
public:
    DateResolver(Date now, const Calendar &calendar, const QLocale &locale);

    QDate today() const { return m_today; }
    std::optional<Date> resolve(const Phrase &phrase) const;

private:
    using Readings = QVarLengthArray<int, 2>;

    std::optional<Date> withoutDay(const When &when) const;
    std::optional<Date> onDay(QDate day, const When &when) const;
    std::optional<Date> onWeekday(NamedWeekday named, const When &when) const;
    std::optional<QDate> dayOf(CalendarDay day) const;
    // The day of this month, or of the first month after it that has such a day.
    std::optional<QDate> nextDayOfMonth(int dayOfMonth) const;
    // A day without a time: today's end of the working day (or, once that has passed, the day's last
    // minute), another day's morning, or the end of the working day when the phrase names it.
    std::optional<Date> untimed(QDate day, bool endOfDay) const;
    // The evening and the night last until the end of today; a morning that has gone has gone.
    std::optional<Date> partOfDay(QDate day, DayPart part) const;
    std::optional<Date> endingToday(int minutes) const;
    // Whether the time may be read in either half of the day by this locale's clock.
    bool readsEitherHalf(ClockTime time) const;
    // The readings of a time in the order they are tried; daytime ones come first.
    Readings readingsOf(ClockTime time, DayPart part) const;
    std::optional<Date> firstAhead(QDate day, const Readings &readings) const;
    std::optional<Date> moment(QDate day, int minutes) const;

    Date m_now;
    const Calendar &m_calendar;
    const QLocale &m_locale;
    QDate m_today;
    bool m_twelveHourClock;
};

} // namespace DateDetector
