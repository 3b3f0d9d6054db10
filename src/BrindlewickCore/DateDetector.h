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
// "17:00", "noon", "midnight"), days ("today", "tonight", "tomorrow", "friday", "fri", "next friday",
// "last monday"), dates ("dec 25", "25 December", "December 25th 2027", "12/25", "2026-12-25") and
// their combinations ("tomorrow 9:30", "friday at 3pm", "5pm on dec 25"). A leading "at", "@", "by",
// "before", "until", "till" or "on" belongs to the match, so "at 9" reads as a time where a lone "9"
// does not; before a date written only in digits it stays out ("by 1/2" is more often a fraction).
//
// How a phrase becomes a moment, so that a quick line reads as its writer meant it:
// - A time without a day is the next time the clock shows it: "5pm" at 14:00 is today, at 18:00
//   tomorrow. Nobody types a reminder for an hour that has just gone.
// - An hour of 1 to 12 without am/pm ("at 9", "10:30") is whichever of its two readings comes next,
//   except that readings before 07:00 are dropped: "at 9" typed at 10:00 is 21:00, "at 3" is 15:00.
//   "tonight" takes the reading from 17:00 on, past midnight if need be ("tonight at 1" is 01:00
//   the next day). A zero-padded hour ("09:30") is a 24-hour time.
// - A day without a time takes the hour of the deadline picker's own chips: 09:00 for a coming day,
//   17:00 for today, 21:00 tonight; once that hour has passed, today means the end of the day (23:59).
// - A weekday is the next one whose moment is still ahead, today included: "friday 3pm" typed on a
//   Friday at 16:00 is next week's. "next friday" is the Friday of the next week (weeks start on
//   the locale's first day), "last monday" the most recent Monday before today.
// - A date without a year is this year's unless its day is already over, then next year's.
// - Numeric dates follow the locale's order of day and month, unless only one order is a date.
namespace DateDetector {

// Every match, in the order they appear, never overlapping.
std::vector<DateMatch> matches(QStringView text, Date now, const Calendar &calendar, const QLocale &locale);

} // namespace DateDetector
