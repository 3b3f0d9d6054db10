#pragma once

#include "Calendar.h"
#include "Date.h"

#include <QString>
#include <vector>

// The one-click deadlines the deadline picker offers, and the time it suggests otherwise.
namespace QuickDeadlines {

// The hours the choices name; a day given without a time takes one of them too.
inline constexpr int morningHour = 9;
inline constexpr int endOfDayHour = 17;
inline constexpr int tonightHour = 21;

struct Option {
    // One of six fixed texts, shown as it is ("In 1 hour", "Tomorrow, 9 AM", …); unique in a list.
    QString label;
    Date date;

    bool operator==(const Option &) const = default;
};

// In picker order: "In 1 hour"; "Today, 5 PM" and "Tonight, 9 PM" while more than half an hour
// ahead; "Tomorrow, 9 AM"; "Friday, 5 PM" when more than 36 hours ahead; "Monday, 9 AM".
std::vector<Option> options(Date now, const Calendar &calendar);
// The next full hour, or the one after it when the next is less than 15 minutes away.
Date nextHour(Date date, const Calendar &calendar);

} // namespace QuickDeadlines
