#pragma once

#include "Calendar.h"
#include "Date.h"

#include <QLocale>
#include <QString>
#include <vector>

// The one-click deadlines the deadline picker offers, and the time it suggests otherwise.
namespace QuickDeadlines {

// The hours the choices name; a day given without a time takes one of them too.
inline constexpr int morningHour = 9;
inline constexpr int endOfDayHour = 17;
inline constexpr int tonightHour = 21;

struct Option {
    // Shown as it is: "In 1 hour", or a fixed day word and the time in the locale's hour style
    // ("Tomorrow, 9:00 AM", "Tomorrow, 09:00"); unique in a list.
    QString label;
    Date date;

    bool operator==(const Option &) const = default;
};

// In picker order: "In 1 hour"; today at 17:00 and tonight at 21:00 while more than half an hour
// ahead; tomorrow at 9:00; Friday at 17:00 when more than 36 hours ahead; Monday at 9:00.
std::vector<Option> options(Date now, const Calendar &calendar, const QLocale &locale);
// The next full hour, or the one after it when the next is less than 15 minutes away.
Date nextHour(Date date, const Calendar &calendar);

} // namespace QuickDeadlines
