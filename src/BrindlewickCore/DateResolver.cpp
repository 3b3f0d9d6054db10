#include "DateResolver.h"

#include "QuickDeadlines.h"
#include "TimeLocale.h"

#include <algorithm>

namespace DateDetector {

namespace {

// "tonight at 1" is the small hours after the evening, not one in the afternoon.
constexpr int eveningStart = 17 * 60;
// An hour that may be either half of the day is not read as one in the night: "at 11" is not 23:00.
constexpr int nightStart = 22 * 60;
constexpr int nightEnd = 7 * 60;
// Minutes after midnight of the times a day named without one takes: the deadline picker's own.
constexpr int comingDayDefault = QuickDeadlines::morningHour * 60;
constexpr int endOfDayDefault = QuickDeadlines::endOfDayHour * 60;
constexpr int lastMinuteOfDay = 23 * 60 + 59;

bool isNight(int minutes)
{
    const int time = minutes % minutesPerDay;
    return time >= nightStart || time < nightEnd;
}

int partMinutes(DayPart part)
{
    switch (part) {
    case DayPart::morning: return comingDayDefault;
    case DayPart::afternoon: return 15 * 60;
    case DayPart::evening: return 18 * 60;
    case DayPart::night: return QuickDeadlines::tonightHour * 60;
    case DayPart::none: break;
    }
    return endOfDayDefault;
}

} // namespace

DateResolver::DateResolver(Date now, const Calendar &calendar, const QLocale &locale)
    : m_now(now), m_calendar(calendar), m_locale(locale), m_today(calendar.day(now)),
      m_twelveHourClock(TimeLocale::usesTwelveHourClock(locale))
{
}

std::optional<Date> DateResolver::resolve(const Phrase &phrase) const
{
    if (phrase.later)
        return m_now + *phrase.later;
    if (!phrase.day)
        return withoutDay(phrase.when);
    if (const auto *day = std::get_if<QDate>(&*phrase.day))
        return onDay(*day, phrase.when);
    if (const auto *weekday = std::get_if<NamedWeekday>(&*phrase.day))
        return onWeekday(*weekday, phrase.when);
    if (const auto *monthDay = std::get_if<MonthDay>(&*phrase.day)) {
        const auto day = nextDayOfMonth(monthDay->day);
        return day ? onDay(*day, phrase.when) : std::nullopt;
    }
    const auto day = dayOf(std::get<CalendarDay>(*phrase.day));
    return day ? onDay(*day, phrase.when) : std::nullopt;
}

std::optional<Date> DateResolver::withoutDay(const When &when) const
{
    if (!when.time)
        return partOfDay(m_today, when.part);
    const Readings readings = readingsOf(*when.time, when.part);
    if (!readsEitherHalf(*when.time) || when.part != DayPart::none)
        return moment(m_today, readings.front());
    Readings daytime;
    std::copy_if(readings.begin(), readings.end(), std::back_inserter(daytime), [](int r) { return !isNight(r); });
    if (const auto ahead = firstAhead(m_today, daytime))
        return ahead;
    return moment(m_today.addDays(1), daytime.front());
}

std::optional<Date> DateResolver::onDay(QDate day, const When &when) const
{
    if (!when.time)
        return when.part == DayPart::none ? untimed(day, when.endOfDay) : partOfDay(day, when.part);
    const Readings readings = readingsOf(*when.time, when.part);
    if (const auto ahead = firstAhead(day, readings))
        return ahead;
    return moment(day, readings.front());
}

std::optional<Date> DateResolver::onWeekday(NamedWeekday named, const When &when) const
{
    const int today = m_today.dayOfWeek();
    switch (named.week) {
    case NamedWeekday::Week::coming:
        for (const int week : {0, 7}) {
            const QDate day = m_today.addDays((named.weekday - today + 7) % 7 + week);
            const auto date = onDay(day, when);
            if (date && *date > m_now)
                return date;
        }
        return std::nullopt;
    case NamedWeekday::Week::next: {
        const int first = m_locale.firstDayOfWeek();
        const QDate weekStart = m_today.addDays(-((today - first + 7) % 7));
        return onDay(weekStart.addDays(7 + (named.weekday - first + 7) % 7), when);
    }
    case NamedWeekday::Week::last: {
        const int back = (today - named.weekday + 7) % 7;
        return onDay(m_today.addDays(-(back == 0 ? 7 : back)), when);
    }
    }
    return std::nullopt;
}

std::optional<QDate> DateResolver::dayOf(CalendarDay day) const
{
    if (day.year)
        return QDate(*day.year, day.month, day.day);
    // Eight years always hold a 29 February.
    for (int year = m_today.year(); year <= m_today.year() + 8; ++year) {
        const QDate date(year, day.month, day.day);
        if (date.isValid() && date >= m_today)
            return date;
    }
    return std::nullopt;
}

std::optional<QDate> DateResolver::nextDayOfMonth(int dayOfMonth) const
{
    const QDate firstOfMonth(m_today.year(), m_today.month(), 1);
    for (int months = 0; months <= 2; ++months) {
        const QDate month = firstOfMonth.addMonths(months);
        const QDate date(month.year(), month.month(), dayOfMonth);
        if (date.isValid() && date >= m_today)
            return date;
    }
    return std::nullopt;
}

std::optional<Date> DateResolver::untimed(QDate day, bool endOfDay) const
{
    if (day != m_today)
        return moment(day, endOfDay ? endOfDayDefault : comingDayDefault);
    return endingToday(endOfDayDefault);
}

std::optional<Date> DateResolver::partOfDay(QDate day, DayPart part) const
{
    const int minutes = partMinutes(part);
    if (day == m_today && (part == DayPart::evening || part == DayPart::night))
        return endingToday(minutes);
    return moment(day, minutes);
}

std::optional<Date> DateResolver::endingToday(int minutes) const
{
    const auto preferred = moment(m_today, minutes);
    if (preferred && *preferred > m_now)
        return preferred;
    return moment(m_today, lastMinuteOfDay);
}

bool DateResolver::readsEitherHalf(ClockTime time) const
{
    return time.half == ClockTime::Half::either
           || (time.half == ClockTime::Half::eitherOnTwelveHourClock && m_twelveHourClock);
}

DateResolver::Readings DateResolver::readingsOf(ClockTime time, DayPart part) const
{
    if (!time.halfUnwritten())
        return {time.minutes};
    const int morning = time.minutes % halfDay;
    const int afternoon = morning + halfDay;
    switch (part) {
    case DayPart::morning: return {morning};
    case DayPart::afternoon: return {afternoon};
    case DayPart::evening:
    case DayPart::night: return {afternoon < eveningStart ? morning + minutesPerDay : afternoon};
    case DayPart::none: break;
    }
    if (!readsEitherHalf(time))
        return {time.minutes};
    if (isNight(morning))
        return {afternoon, morning};
    return {morning, afternoon};
}

std::optional<Date> DateResolver::firstAhead(QDate day, const Readings &readings) const
{
    for (const int minutes : readings) {
        const auto date = moment(day, minutes);
        if (date && *date > m_now)
            return date;
    }
    return std::nullopt;
}

std::optional<Date> DateResolver::moment(QDate day, int minutes) const
{
    const QTime time((minutes % minutesPerDay) / 60, minutes % 60);
    return m_calendar.date(day.addDays(minutes / minutesPerDay), time);
}

} // namespace DateDetector
