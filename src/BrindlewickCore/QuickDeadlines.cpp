#include "QuickDeadlines.h"

#include "TimeText.h"

#include <cmath>
#include <optional>

namespace {

constexpr double hour = 3600;

// h o'clock on the calendar day `daysAhead` after the day of `now`.
std::optional<Date> dayAt(int daysAhead, int h, Date now, const Calendar &calendar)
{
    return calendar.date(calendar.day(now).addDays(daysAhead), QTime(h, 0));
}

// The first moment strictly after `now` that is h o'clock on that weekday (Qt numbering, Monday 1).
std::optional<Date> nextWeekdayAt(Qt::DayOfWeek weekday, int h, Date now, const Calendar &calendar)
{
    const QDate today = calendar.day(now);
    for (int ahead = 0; ahead <= 7; ++ahead) {
        const QDate day = today.addDays(ahead);
        if (day.dayOfWeek() != weekday)
            continue;
        const auto candidate = calendar.date(day, QTime(h, 0));
        if (candidate && *candidate > now)
            return candidate;
    }
    return std::nullopt;
}

} // namespace

namespace QuickDeadlines {

std::vector<Option> options(Date now, const Calendar &calendar, const QLocale &locale)
{
    std::vector<Option> list;
    // The time as every note writes it, so a 24-hour desktop never sees "5 PM" here.
    auto offer = [&](const char *day, std::optional<Date> date) {
        if (date)
            list.push_back({QString::fromLatin1(day) + QStringLiteral(", ") + TimeText::time(*date, calendar, locale), *date});
    };
    auto laterThan = [](std::optional<Date> date, Date limit) {
        return date && *date > limit ? date : std::nullopt;
    };

    list.push_back({QStringLiteral("In 1 hour"), now + hour});
    offer("Today", laterThan(dayAt(0, endOfDayHour, now, calendar), now + 1800));
    offer("Tonight", laterThan(dayAt(0, tonightHour, now, calendar), now + 1800));
    offer("Tomorrow", dayAt(1, morningHour, now, calendar));
    offer("Friday", laterThan(nextWeekdayAt(Qt::Friday, endOfDayHour, now, calendar), now + 129600));
    offer("Monday", nextWeekdayAt(Qt::Monday, morningHour, now, calendar));
    return list;
}

Date nextHour(Date date, const Calendar &calendar)
{
    // The calendar hour runs from a full hour of local time, whatever the zone's offset.
    const double local = date.unixSeconds() + calendar.local(date).offsetFromUtc();
    double intoHour = std::fmod(local, hour);
    if (intoHour < 0)
        intoHour += hour;
    const Date end = date - intoHour + hour;
    return end - date < 900 ? end + hour : end;
}

} // namespace QuickDeadlines
