#include "Calendar.h"

#include <algorithm>

Calendar Calendar::current()
{
    return Calendar(QTimeZone::systemTimeZone());
}

Calendar Calendar::named(const QByteArray &ianaId)
{
    QTimeZone zone(ianaId);
    return Calendar(zone.isValid() ? zone : QTimeZone::utc());
}

QDateTime Calendar::local(Date date) const
{
    return date.toDateTime().toTimeZone(m_zone);
}

std::optional<Date> Calendar::date(QDate day, QTime time) const
{
    if (!day.isValid() || !time.isValid())
        return std::nullopt;
    // A reading names the moment `asUtc` less the offset in force then. Around a clock change that is
    // the offset of the day before or of the day after: a repeated reading fits both (the earlier
    // moment wins), a skipped one neither. Qt picks on its own for both, so the choice is made here.
    const QDateTime asUtc(day, time, QTimeZone::utc());
    const int offsetBefore = m_zone.offsetFromUtc(asUtc.addDays(-1));
    const int offsetAfter = m_zone.offsetFromUtc(asUtc.addDays(1));
    for (const int offset : {std::max(offsetBefore, offsetAfter), std::min(offsetBefore, offsetAfter)}) {
        const QDateTime moment = asUtc.addSecs(-offset);
        const QDateTime reading = moment.toTimeZone(m_zone);
        if (reading.date() == day && reading.time() == time)
            return Date::fromDateTime(moment);
    }
    // Inside a gap: read with the offset from before the jump, as far past the gap as it was into it.
    return Date::fromDateTime(asUtc.addSecs(-offsetBefore));
}

Date Calendar::startOfDay(Date date) const
{
    return Date::fromDateTime(day(date).startOfDay(m_zone));
}

Date Calendar::startOfNextDay(Date date) const
{
    constexpr double oneDay = 86400;
    const Date start = startOfDay(date);
    return this->date(day(date).addDays(1)).value_or(start + oneDay);
}

std::optional<Date> Calendar::addingDays(Date date, int days) const
{
    const QDateTime wall = local(date);
    const auto moved = this->date(wall.date().addDays(days), wall.time());
    if (!moved)
        return std::nullopt;
    // The wall clock keeps milliseconds; what lies below them is carried over as it was.
    return *moved + (date - Date::fromDateTime(wall));
}
