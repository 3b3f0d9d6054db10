#pragma once

#include "Calendar.h"
#include "Date.h"

#include <QLocale>
#include <QStringView>
#include <vector>

// One date or time found in a text: where it stands, in UTF-16 units as QString counts them, and
// the moment it names.
struct DateMatch {
    qsizetype offset = 0;
    qsizetype length = 0;
    Date date;

    bool operator==(const DateMatch &) const = default;
};

// Finds the English dates and times people type into a one-line note: times ("5pm", "5:30 pm",
// "17:00", "at 1730", "noon", "midnight"), parts of the day ("this evening", "in the morning", "at
// night"), days ("today", "tonight", "tomorrow", "friday", "fri", "next friday", "last monday", "next
// week", "this weekend", "in 3 days", "two weeks from now", "the 25th", "end of the week", "friday
// eod"), moments from now ("in an hour", "in 2 hours"; the quick parser has already taken one that
// ends the line as a timer), dates
// ("dec 25", "25 December", "December 25th 2027", "12/25", "2026-12-25") and their combinations
// ("tomorrow 9:30", "friday at 3pm", "tomorrow evening", "5pm on dec 25"). A leading "at", "@", "by",
// "before", "until", "till" or "on" belongs to the match, so "at 9" reads as a time where a lone "9"
// does not; before a date written only in digits it stays out ("by 1/2" is more often a fraction).
// Words that are as often ordinary words ("sat", "evening", "25th") count only after such a word.
//
// How a phrase becomes a moment, so that a quick line reads as its writer meant it:
// - A time without a day is today's reading, even one that has just passed; the quick parser moves
//   that a day on. The locale's clock decides an hour of 1 to 12 without am/pm ("at 9", "10:30"): a
//   24-hour clock reads it as written; a 12-hour clock takes the first of its two readings today
//   that is still ahead and not in the night (22:00 to 06:59), else the first such tomorrow ("at 8"
//   at 14:00 is 20:00, "10:30" is 10:30 tomorrow). A zero-padded hour ("09:30") is a 24-hour time.
// - A part of the day is an hour of its own (morning 09:00, afternoon 15:00, evening 18:00, night
//   and tonight 21:00) and picks the half of the day of an hour given with it ("tomorrow morning at
//   8", "tonight at 1" is 01:00 the next day). Once today's evening or night has passed, it means
//   the end of the day (23:59).
// - A day without a time takes the hour of the deadline picker's own choices: 09:00 for a coming
//   day, 17:00 today, or for a phrase that names the end of the day, week or month; once that hour
//   has passed, today means the end of the day (23:59).
// - A weekday is the next one whose moment is still ahead, today included: "friday 3pm" typed on a
//   Friday at 16:00 is next week's. "next friday" is the Friday of the next week (weeks start on
//   the locale's first day), "last monday" the most recent Monday before today; "next week" is the
//   Monday of the next week, "this weekend" its Saturday (or today while the weekend is on).
// - A date without a year is this year's unless its day is already over, then next year's; "the
//   25th" is this month's unless it is over, then the next month that has a 25th.
// - Numeric dates follow the locale's order of day and month, unless only one order is a date.
namespace DateDetector {

// Every match, in the order they appear, never overlapping.
std::vector<DateMatch> matches(QStringView text, Date now, const Calendar &calendar, const QLocale &locale);

} // namespace DateDetector
