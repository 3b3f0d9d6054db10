#include "Calendar.h"

#include <gtest/gtest.h>

namespace {

TEST(Calendar, AReadingInsideADaylightSavingGapMovesForwardPastIt)
{
    struct Case { const char *zone; QDate day; QTime time; QTime expected; };
    // New York and Berlin both skip an hour at 02:00 local time on these Sundays.
    for (const Case c : {Case{"America/New_York", QDate(2026, 3, 8), QTime(2, 30), QTime(3, 30)},
                         Case{"America/New_York", QDate(2026, 3, 8), QTime(2, 0), QTime(3, 0)},
                         Case{"Europe/Berlin", QDate(2026, 3, 29), QTime(2, 59), QTime(3, 59)},
                         Case{"Europe/Berlin", QDate(2026, 3, 29), QTime(3, 0), QTime(3, 0)},
                         Case{"Europe/Berlin", QDate(2026, 3, 29), QTime(1, 59), QTime(1, 59)}}) {
        const Calendar calendar = Calendar::named(c.zone);
        const auto date = calendar.date(c.day, c.time);
        ASSERT_TRUE(date) << c.zone << ' ' << c.time.toString().toStdString();
        EXPECT_EQ(calendar.local(*date), QDateTime(c.day, c.expected, calendar.zone()))
            << c.zone << ' ' << c.time.toString().toStdString();
    }
}

TEST(Calendar, AddingADayAcrossTheGapKeepsTheWallClock)
{
    const Calendar berlin = Calendar::named("Europe/Berlin");
    const Date saturday = *berlin.date(QDate(2026, 3, 28), QTime(2, 30));
    const auto sunday = berlin.addingDays(saturday, 1);
    ASSERT_TRUE(sunday);
    EXPECT_EQ(berlin.local(*sunday), QDateTime(QDate(2026, 3, 29), QTime(3, 30), berlin.zone()));
}

} // namespace
