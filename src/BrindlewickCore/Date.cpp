#include "Date.h"

#include <QTimeZone>
#include <chrono>
#include <cmath>

Date Date::fromDateTime(const QDateTime &dateTime)
{
    return fromUnix(static_cast<double>(dateTime.toMSecsSinceEpoch()) / 1000.0);
}

Date Date::current()
{
    using namespace std::chrono;
    const auto sinceEpoch = duration<double>(system_clock::now().time_since_epoch());
    return fromUnix(sinceEpoch.count());
}

Date Date::bounded() const
{
    return Date{std::fmin(std::fmax(seconds, earliestSeconds), latestSeconds)};
}

QDateTime Date::toDateTime() const
{
    return QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(std::floor(bounded().unixSeconds() * 1000.0)),
                                          QTimeZone::utc());
}
