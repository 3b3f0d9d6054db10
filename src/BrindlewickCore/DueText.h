#pragma once

#include "Calendar.h"
#include "Date.h"

#include <QLocale>
#include <QString>
#include <optional>

// One deadline's due text ("Today, 5:00 PM"), made again only when the deadline, the day, the zone
// or the locale changes: making it converts between zones and formats a date, too slow for every
// shown note on every tick.
class DueText {
public:
    const QString &of(Date deadline, Date now, const Calendar &calendar, const QLocale &locale = QLocale());
    // The brief form of the text `of` last gave (TimeText::DueParts::brief).
    const QString &brief() const { return m_brief; }

private:
    struct Made {
        Date deadline;
        // The day of `now` the text was made on, as moments: [start, end).
        Date dayStart;
        Date dayEnd;
        Calendar calendar;
        QLocale locale;
    };
    bool holds(Date deadline, Date now, const Calendar &calendar, const QLocale &locale) const;

    std::optional<Made> m_made;
    QString m_text;
    QString m_brief;
};
