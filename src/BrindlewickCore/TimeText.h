#pragma once

#include "Calendar.h"
#include "Date.h"

#include <QLocale>
#include <QString>

// Every text that tells time, so notes, tapes, the tray, alerts and the export word it alike.
// Durations and clocks are fixed English; only the when-text of a date follows the locale.
namespace TimeText {
// Seconds as every text counts them: rounded up; negative and NaN read as 0, absurd values stay in range.
qint64 wholeSeconds(double seconds);
// The numbers `span` prints: equal units read alike, and they are cheap enough to compare every tick.
struct SpanUnits {
    qint64 days = 0;
    qint64 hours = 0;
    qint64 minutes = 0;
    qint64 seconds = 0;

    bool operator==(const SpanUnits &) const = default;
};
SpanUnits spanUnits(double seconds);
// The whole seconds that read as `seconds` does, `first` … `last`: "2 min" is 61 … 120.
struct SpanRun {
    qint64 first = 0;
    qint64 last = 0;
};
SpanRun spanRun(qint64 seconds);
// "45 s", "2 min", "1 h 1 min", "4 days". Negative reads as 0.
QString span(double seconds);
// "0:05", "59:59", "1:02:05", rounded up to the second. Negative reads as 0.
QString clock(double seconds);
// "30 s left", "Due now", "Overdue by 1 min"; negative while overdue.
QString left(double seconds);
// The two parts of a due text: the day ("Today", "Tomorrow", "Fri", "12 Mar 2027") and the time of day.
struct DueParts {
    QString day;
    QString time;
    bool today = false;

    // "Today, 5:00 PM".
    QString full() const;
    // The one part that still says when on its own, where the whole does not fit: the time of a
    // date today, else the day.
    QString brief() const;
};
DueParts dueParts(Date date, Date now, const Calendar &calendar, const QLocale &locale);
// "Today, 5:00 PM", "Tomorrow, …", "Yesterday, …", "Fri, …", "12 Mar, …", "12 Mar 2027, …".
QString due(Date date, Date now, const Calendar &calendar, const QLocale &locale);
// The time of day of `due`: "5:00 PM", "17:00", in the locale's hour style.
QString time(Date date, const Calendar &calendar, const QLocale &locale);
}
