#include "Calendar.h"

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
    const QDateTime wall(day, time, m_zone);
    if (wall.isValid())
        return Date::fromDateTime(wall);
    // Qt gives no moment for a reading inside a DST gap. Read it with the offset in force a day
    // earlier, before the clocks jumped: that lands as far past the gap as the reading was into it.
    const QDateTime dayBefore = QDateTime(day.addDays(-1), time, QTimeZone::utc());
    const QDateTime shifted(day, time, QTimeZone(m_zone.offsetFromUtc(dayBefore)));
    if (!shifted.isValid())
        return std::nullopt;
    return Date::fromDateTime(shifted);
}

Date Calendar::startOfDay(Date date) const
{
    return Date::fromDateTime(day(date).startOfDay(m_zone));
}

std::optional<Date> Calendar::addingDays(Date date, int days) const
{
    // Move by the wall-clock difference, so fractions of a second survive untouched.
    const QDateTime wall = local(date);
    const auto from = this->date(wall.date(), wall.time());
    const auto to = this->date(wall.date().addDays(days), wall.time());
    if (!from || !to)
        return std::nullopt;
    return date + (*to - *from);
}
