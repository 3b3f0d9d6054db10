#pragma once

#include "DatePhrase.h"
#include "DateScanner.h"

#include <QLocale>

// Days as people name them: "today", "tomorrow", "friday", "next friday", "last monday", "next week",
// "this weekend", "in 3 days", "two weeks from now", "the 25th", "end of the week", "eod", and dates
// ("dec 25", "25 December", "December 25th 2027", "12/25", "2026-12-25"). "next week" is the Monday
// of the next week, "this weekend" its Saturday (or today while the weekend is on). Numeric dates
// follow the locale's order of day and month, unless only one order is a date.
namespace DateDetector {

class DayPhrases {
public:
    DayPhrases(const Scanner &scan, QDate today, const QLocale &locale);

    std::optional<DayPhrase> dayAt(qsizetype i) const;
    // "eod", "end of day", "end of the day"
    std::optional<qsizetype> endOfDayAt(qsizetype i) const;

private:
    // "the 25th", "the 25th of December", "the weekend", "the day after tomorrow", "the end of the week"
    std::optional<DayPhrase> theDayAt(const Word &the) const;
    // Fixed phrases: holidays, "day after tomorrow", "end of (the) day/week/month", "eod".
    std::optional<DayPhrase> namedDayAt(qsizetype i) const;
    // The word after "end of" or "end of the".
    std::optional<Word> endOfPeriodAt(qsizetype i) const;
    // "in 3 days", "within two weeks", "in a month"; with `fromNow`, "3 days from now" and "a week from today".
    std::optional<DayPhrase> relativeDayAt(qsizetype i, bool fromNow) const;
    // "this friday", "next friday", "last monday", "this evening", "this/next weekend", "next week",
    // "this week" (its end), "next month" (its first day).
    std::optional<DayPhrase> modifiedDayAt(const Word &modifier) const;
    // Saturday of this weekend, or today while the weekend is on.
    QDate thisWeekend() const;
    // "friday", "fri.", "monday next week", "friday, dec 25", "friday the 25th"
    std::optional<DayPhrase> weekdayPhraseAt(qsizetype i) const;
    // The weekday a name or abbreviation ("fri", "Fri.") spells, and where it ends.
    std::optional<std::pair<int, qsizetype>> weekdayAt(qsizetype i) const;
    std::optional<DayPhrase> calendarDateAt(qsizetype i) const;
    // "2026-12-25"
    std::optional<DayPhrase> isoDateAt(Number year) const;
    // "12/25", "25/12/2026", "12/25/26"
    std::optional<DayPhrase> numericDateAt(Number first) const;
    // "25 December", "25th of Dec 2027", and "25th" alone as a day of the month
    std::optional<DayPhrase> dayFirstDateAt(Number day) const;
    // "25th" on its own names a day of the month, unless a word follows that makes it a rank.
    std::optional<DayPhrase> dayOfMonthAt(int day, qsizetype end) const;
    // "dec 25", "December 25th, 2027"
    std::optional<DayPhrase> monthFirstDateAt(int month, qsizetype monthEnd) const;
    // Where a day of the month ends, with its "st", "nd", "rd" or "th".
    std::optional<qsizetype> ordinalEnd(Number day) const;
    std::optional<DayPhrase> withYear(CalendarDay day, qsizetype end) const;

    const Scanner &m_scan;
    QDate m_today;
    // Whether "3/4" is the 3rd of April.
    bool m_dayFirst;
};

} // namespace DateDetector
