#pragma once

#include "Calendar.h"
#include "Date.h"
#include "QuickNote.h"

#include <QHash>
#include <QLocale>
#include <QString>
#include <optional>

// Reads a one-line note: a duration at its end becomes a timer and leaves the text ("tea 4m"), a date
// or time anywhere becomes a deadline and stays in it ("send invoice by 5pm").
namespace QuickParse {

// Unit words, lower case, to their seconds: s/sec/secs/second/seconds, m/min/..., h/hr/hrs/hour/hours.
const QHash<QString, double> &units();

QuickNote parse(const QString &line, Date now, const Calendar &calendar, const QLocale &locale = QLocale());

// Takes the durations at the end of `text` ("1h 30m", "for 12 minutes") and returns their sum when it
// is a valid timer length (1 s … 99 h). `text` loses them (and a "for" before them) unless nothing
// else would remain; when nothing is returned it is left as it was.
std::optional<double> takeDuration(QString &text);

// The seconds one lower-case word spells with numbers and units written together: "4m", "1.5h", "1h30m".
std::optional<double> compact(QStringView word);

// The first date in `text` that is still ahead, or at most a day past, in which case it moves on a
// day ("at 9am" typed at 10:00 means nine tomorrow). Dates written only in digits ("12/25") never count.
std::optional<Date> findDeadline(const QString &text, Date now, const Calendar &calendar,
                                 const QLocale &locale = QLocale());

} // namespace QuickParse
