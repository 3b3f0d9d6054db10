#include "WallClockAlarm.h"

#include <QSocketNotifier>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <sys/timerfd.h>
#include <unistd.h>

namespace {

// A zero time would disarm the timer, so the earliest moment is one nanosecond; the latest is what
// 64-bit nanoseconds reach (the year 2255 here).
timespec wallTime(Date at)
{
    constexpr long long perSecond = 1000000000;
    const double unixSeconds = std::clamp(at.unixSeconds(), 1e-9, 9e9);
    const long long nanoseconds = std::llround(unixSeconds * perSecond);
    return timespec{static_cast<time_t>(nanoseconds / perSecond), static_cast<long>(nanoseconds % perSecond)};
}

} // namespace

WallClockAlarm::WallClockAlarm(QObject *parent)
    : QObject(parent), m_fd(::timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC))
{
    if (m_fd < 0)
        return;
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &WallClockAlarm::settle);
}

WallClockAlarm::~WallClockAlarm()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void WallClockAlarm::arm(Date at)
{
    const itimerspec spec{{0, 0}, wallTime(at)};
    ::timerfd_settime(m_fd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &spec, nullptr);
}

void WallClockAlarm::disarm()
{
    const itimerspec spec{};
    ::timerfd_settime(m_fd, 0, &spec, nullptr);
}

// Readable means the moment came (a count of expiries) or the clock was set (ECANCELED); both ring.
void WallClockAlarm::settle()
{
    std::uint64_t expiries = 0;
    const ssize_t read = ::read(m_fd, &expiries, sizeof expiries);
    if (read == sizeof expiries || (read < 0 && errno == ECANCELED))
        emit rang();
}
