#include "TimeText.h"

#include "TimeLocale.h"

#include <QStringList>

#include <unicode/dtptngen.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr qint64 minute = 60;
constexpr qint64 hour = 3600;
constexpr qint64 day = 86400;
constexpr qint64 twoDays = 2 * day;
// Far beyond any timer, and still exact as an integer.
constexpr double longestSpoken = 1e15;

QString twoDigits(qint64 value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

// The locale's date and time formats for one locale, made once per thread: making them is slow.
class Formats {
public:
    explicit Formats(const QLocale &locale) : m_locale(locale)
    {
        const icu::Locale icuLocale(icuName(locale).constData());
        UErrorCode status = U_ZERO_ERROR;
        const std::unique_ptr<icu::DateTimePatternGenerator> generator(
            icu::DateTimePatternGenerator::createInstance(icuLocale, status));
        m_time = makeFormat(generator.get(), u"jmm", u"HH:mm", icuLocale);
        m_weekday = makeFormat(generator.get(), u"EEE", u"EEE", icuLocale);
        m_dayMonth = makeFormat(generator.get(), u"dMMM", u"d MMM", icuLocale);
        m_dayMonthYear = makeFormat(generator.get(), u"dMMMy", u"d MMM y", icuLocale);
    }

    const QLocale &locale() const { return m_locale; }

    // `wallClock` is the local reading as if it were UTC; the formats work in GMT, so the zone rules
    // stay with the calendar that also counts the days.
    QString time(UDate wallClock) const { return format(*m_time, wallClock); }
    QString weekday(UDate wallClock) const { return format(*m_weekday, wallClock); }
    QString dayMonth(UDate wallClock, bool withYear) const
    {
        return format(withYear ? *m_dayMonthYear : *m_dayMonth, wallClock);
    }

private:
    static QByteArray icuName(const QLocale &locale)
    {
        QStringList parts{QLocale::languageToCode(locale.language())};
        if (locale.script() != QLocale::AnyScript)
            parts << QLocale::scriptToCode(locale.script());
        if (locale.territory() != QLocale::AnyTerritory)
            parts << QLocale::territoryToCode(locale.territory());
        // The clock the locale's own time format uses, which the date detector reads too.
        const char *hours = TimeLocale::usesTwelveHourClock(locale) ? "@hours=h12" : "@hours=h23";
        return parts.join(u'_').toLatin1() + hours;
    }

    static std::unique_ptr<icu::SimpleDateFormat> makeFormat(icu::DateTimePatternGenerator *generator,
                                                             const char16_t *skeleton, const char16_t *fallback,
                                                             const icu::Locale &locale)
    {
        UErrorCode status = U_ZERO_ERROR;
        icu::UnicodeString pattern;
        if (generator)
            pattern = generator->getBestPattern(icu::UnicodeString(skeleton), status);
        if (!generator || U_FAILURE(status) || pattern.isEmpty())
            pattern = icu::UnicodeString(fallback);
        status = U_ZERO_ERROR;
        auto format = std::make_unique<icu::SimpleDateFormat>(pattern, locale, status);
        format->adoptTimeZone(icu::TimeZone::getGMT()->clone());
        return format;
    }

    static QString format(const icu::SimpleDateFormat &formatter, UDate wallClock)
    {
        icu::UnicodeString text;
        formatter.format(wallClock, text);
        QString result(reinterpret_cast<const QChar *>(text.getBuffer()), text.length());
        // Some locales put a (narrow) no-break space before AM/PM; the texts always use a plain one.
        result.replace(QChar(0x202F), u' ').replace(QChar(0x00A0), u' ');
        return result;
    }

    QLocale m_locale;
    std::unique_ptr<icu::SimpleDateFormat> m_time;
    std::unique_ptr<icu::SimpleDateFormat> m_weekday;
    std::unique_ptr<icu::SimpleDateFormat> m_dayMonth;
    std::unique_ptr<icu::SimpleDateFormat> m_dayMonthYear;
};

const Formats &formatsFor(const QLocale &locale)
{
    // A handful of locales at most; the oldest goes when a new one comes.
    constexpr std::size_t kept = 4;
    thread_local std::vector<std::unique_ptr<Formats>> cache;
    const auto found = std::find_if(cache.begin(), cache.end(),
                                    [&](const auto &formats) { return formats->locale() == locale; });
    if (found != cache.end())
        return **found;
    if (cache.size() == kept)
        cache.erase(cache.begin());
    cache.push_back(std::make_unique<Formats>(locale));
    return *cache.back();
}

TimeText::SpanUnits unitsOfWhole(qint64 s)
{
    TimeText::SpanUnits units;
    const qint64 minutes = (s + minute - 1) / minute;
    if (s <= 59) {
        units.seconds = s;
    } else if (minutes <= 59) {
        units.minutes = minutes;
    } else if (s >= twoDays) {
        units.days = s / day;
    } else {
        // Just under an hour rounds up to the hour, as every shorter span rounds up.
        const qint64 counted = std::max(s, hour);
        units.hours = counted / hour;
        units.minutes = (counted % hour) / minute;
    }
    return units;
}

UDate wallClockAsUtc(const QDateTime &local)
{
    return static_cast<UDate>(local.toMSecsSinceEpoch() + qint64(local.offsetFromUtc()) * 1000);
}

} // namespace

namespace TimeText {

qint64 wholeSeconds(double seconds)
{
    if (!(seconds > 0))
        return 0;
    return static_cast<qint64>(std::ceil(std::min(seconds, longestSpoken)));
}

SpanUnits spanUnits(double seconds)
{
    return unitsOfWhole(wholeSeconds(seconds));
}

SpanRun spanRun(qint64 seconds)
{
    const qint64 s = std::clamp<qint64>(seconds, 0, qint64(longestSpoken));
    const SpanUnits units = unitsOfWhole(s);
    // Each reading covers one unbroken run of whole seconds, a day at most, so its ends are found by
    // halving within a day either side.
    qint64 low = std::max<qint64>(0, s - day);
    qint64 high = s;
    while (low < high) {
        const qint64 middle = low + (high - low) / 2;
        if (unitsOfWhole(middle) == units)
            high = middle;
        else
            low = middle + 1;
    }
    const qint64 first = low;
    high = std::min(qint64(longestSpoken), s + day);
    low = s;
    while (low < high) {
        const qint64 middle = low + (high - low + 1) / 2;
        if (unitsOfWhole(middle) == units)
            low = middle;
        else
            high = middle - 1;
    }
    return {first, low};
}

QString span(double seconds)
{
    const SpanUnits units = spanUnits(seconds);
    if (units.days > 0)
        return QString::number(units.days) + QStringLiteral(" days");
    if (units.hours > 0) {
        const QString hours = QString::number(units.hours) + QStringLiteral(" h");
        return units.minutes == 0 ? hours : hours + u' ' + QString::number(units.minutes) + QStringLiteral(" min");
    }
    if (units.minutes > 0)
        return QString::number(units.minutes) + QStringLiteral(" min");
    return QString::number(units.seconds) + QStringLiteral(" s");
}

QString clock(double seconds)
{
    const qint64 s = wholeSeconds(seconds);
    if (s < hour)
        return QString::number(s / minute) + u':' + twoDigits(s % minute);
    return QString::number(s / hour) + u':' + twoDigits(s % hour / minute) + u':' + twoDigits(s % minute);
}

QString left(double seconds)
{
    if (seconds > 0)
        return span(seconds) + QStringLiteral(" left");
    if (seconds > -60)
        return QStringLiteral("Due now");
    return QStringLiteral("Overdue by ") + span(-seconds);
}

QString DueParts::full() const
{
    return day + QStringLiteral(", ") + time;
}

QString DueParts::brief() const
{
    return today ? time : day;
}

DueParts dueParts(Date date, Date now, const Calendar &calendar, const QLocale &locale)
{
    const Formats &formats = formatsFor(locale);
    const QDateTime local = calendar.local(date);
    const QDate today = calendar.day(now);
    const UDate wallClock = wallClockAsUtc(local);
    const QString time = formats.time(wallClock);
    const qint64 days = today.daysTo(local.date());
    switch (days) {
    case 0: return {QStringLiteral("Today"), time, true};
    case 1: return {QStringLiteral("Tomorrow"), time};
    case -1: return {QStringLiteral("Yesterday"), time};
    }
    if (days >= 2 && days <= 6)
        return {formats.weekday(wallClock), time};
    return {formats.dayMonth(wallClock, local.date().year() != today.year()), time};
}

QString due(Date date, Date now, const Calendar &calendar, const QLocale &locale)
{
    return dueParts(date, now, calendar, locale).full();
}

QString time(Date date, const Calendar &calendar, const QLocale &locale)
{
    return formatsFor(locale).time(wallClockAsUtc(calendar.local(date)));
}

} // namespace TimeText
