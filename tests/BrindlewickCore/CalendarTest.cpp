#include "Calendar.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

QString reading(const Calendar &calendar, std::optional<Date> date)
{
    return date ? calendar.local(*date).toString(Qt::ISODate) : QStringLiteral("none");
}

TEST(Calendar, ASkippedReadingMovesPastTheGapAndARepeatedOneTakesTheEarlierMoment)
{
    struct Case { const char *zone; QDate day; QTime time; const char *moment; };
    // New York and Berlin skip the hour after 02:00 on these spring Sundays and repeat the hour
    // before 03:00 (Berlin) or 02:00 (New York) on these autumn Sundays.
    for (const Case c : {Case{"America/New_York", QDate(2026, 3, 8), QTime(2, 30), "2026-03-08T03:30:00-04:00"},
                         Case{"America/New_York", QDate(2026, 3, 8), QTime(2, 0), "2026-03-08T03:00:00-04:00"},
                         Case{"Europe/Berlin", QDate(2026, 3, 29), QTime(2, 59), "2026-03-29T03:59:00+02:00"},
                         Case{"Europe/Berlin", QDate(2026, 3, 29), QTime(3, 0), "2026-03-29T03:00:00+02:00"},
                         Case{"Europe/Berlin", QDate(2026, 3, 29), QTime(1, 59), "2026-03-29T01:59:00+01:00"},
                         Case{"Europe/Berlin", QDate(2026, 10, 25), QTime(2, 30), "2026-10-25T02:30:00+02:00"},
                         Case{"Europe/Berlin", QDate(2026, 10, 25), QTime(3, 0), "2026-10-25T03:00:00+01:00"},
                         Case{"America/New_York", QDate(2026, 11, 1), QTime(1, 0), "2026-11-01T01:00:00-04:00"}}) {
        const Calendar calendar = Calendar::named(c.zone);
        EXPECT_EQ(reading(calendar, calendar.date(c.day, c.time)), QString::fromLatin1(c.moment))
            << c.zone << ' ' << c.time.toString().toStdString();
    }
}

TEST(Calendar, AddingDaysKeepsTheWallClockAcrossClockChanges)
{
    const Calendar berlin = Calendar::named("Europe/Berlin");
    const Date repeatedFirst = *berlin.date(QDate(2026, 10, 25), QTime(2, 30));
    struct Case { const char *name; Date from; int days; const char *moment; };
    const Case cases[] = {
        {"into the spring gap", *berlin.date(QDate(2026, 3, 28), QTime(2, 30)), 1, "2026-03-29T03:30:00+02:00"},
        {"from the first of a repeated hour", repeatedFirst, 1, "2026-10-26T02:30:00+01:00"},
        {"from the second of a repeated hour", repeatedFirst + 3600, 1, "2026-10-26T02:30:00+01:00"},
        {"back into a repeated hour", *berlin.date(QDate(2026, 10, 26), QTime(2, 30)), -1,
         "2026-10-25T02:30:00+02:00"},
        {"over a 25-hour day", *berlin.date(QDate(2026, 10, 24), QTime(12, 0)), 2, "2026-10-26T12:00:00+01:00"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(reading(berlin, berlin.addingDays(c.from, c.days)), QString::fromLatin1(c.moment)) << c.name;

    const Date withFraction = *berlin.date(QDate(2026, 6, 1), QTime(9, 0)) + 0.0004567;
    EXPECT_NEAR(*berlin.addingDays(withFraction, 1) - withFraction, 86400, 1e-6);
}

} // namespace
