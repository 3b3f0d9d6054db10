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
// "17:00", "at 10.15", "at 1730", "noon", "half past 10", "ten to 6"), parts of the day ("this
// evening", "in the morning", "at night"), days ("today", "tonight", "tomorrow", "friday", "fri",
// "next friday", "last monday", "next week", "this weekend", "in 3 days", "two weeks from now", "the
// 25th", "end of the week", "friday eod"), moments from now ("in an hour", "in 2 hours"; the quick
// parser has already taken one that ends the line as a timer), dates ("dec 25", "25 December",
// "December 25th 2027", "12/25", "2026-12-25"), holidays ("by halloween", "christmas eve") and their
// combinations ("tomorrow 9:30", "friday at 3pm", "tomorrow evening", "5pm on dec 25", and with
// ordinary words between a day and its time, "monday meeting at 3pm"). A leading "at", "@", "by",
// "before", "until", "till" or "on" belongs to the match, so "at 9" reads as a time where a lone "9"
// does not; before a date written only in digits it stays out ("by 1/2" is more often a fraction).
// Words that are as often ordinary words ("sat", "evening", "25th", "christmas") count only after
// such a word.
//
// Each rule lives in a file of its own, with its words:
// - DateScanner: characters, words, numbers and counts;
// - ClockTimes: times of day as written; SpokenTimes: as said ("half past 10", "ten to 6");
// - DayParts: parts of the day; DayPhrases: days and dates; Holidays: fixed-date holidays;
// - DateDetector.cpp: how those combine into one phrase; DayAndTimeApart: a day and a time with
//   words between them;
// - DateResolver: how a phrase becomes the moment its writer meant.
namespace DateDetector {

// Every match, in the order they appear, never overlapping.
std::vector<DateMatch> matches(QStringView text, Date now, const Calendar &calendar, const QLocale &locale);

} // namespace DateDetector
