#include "QuickDeadlines.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <vector>

namespace {

// A moment named by its wall-clock reading; the tests use days without clock changes at those times.
Date at(const Calendar &calendar, QDate day, QTime time)
{
    return *calendar.date(day, time);
}

struct Expected {
    const char *label;
    int daysAhead;
    QTime time;
};

struct Case {
    const char *what;
    QDate day;
    QTime time;
    std::vector<Expected> options;
};

const QDate wednesday(2026, 3, 4);
const QLocale english(QLocale::English, QLocale::UnitedStates);

TEST(QuickDeadlines, OptionsAcrossTheWeekInTwoZones)
{
    const QDate thursday = wednesday.addDays(1), friday = wednesday.addDays(2), sunday = wednesday.addDays(4),
                monday = wednesday.addDays(5);
    const Case cases[] = {
        {"all six in order while 17:00 is still more than half an hour away", wednesday, QTime(16, 29, 59),
         {{"In 1 hour", 0, QTime(17, 29, 59)}, {"Today, 5:00 PM", 0, QTime(17, 0)}, {"Tonight, 9:00 PM", 0, QTime(21, 0)},
          {"Tomorrow, 9:00 AM", 1, QTime(9, 0)}, {"Friday, 5:00 PM", 2, QTime(17, 0)}, {"Monday, 9:00 AM", 5, QTime(9, 0)}}},
        {"17:00 exactly half an hour away is left out", wednesday, QTime(16, 30),
         {{"In 1 hour", 0, QTime(17, 30)}, {"Tonight, 9:00 PM", 0, QTime(21, 0)}, {"Tomorrow, 9:00 AM", 1, QTime(9, 0)},
          {"Friday, 5:00 PM", 2, QTime(17, 0)}, {"Monday, 9:00 AM", 5, QTime(9, 0)}}},
        {"after 20:30 nothing is left today", wednesday, QTime(20, 30),
         {{"In 1 hour", 0, QTime(21, 30)}, {"Tomorrow, 9:00 AM", 1, QTime(9, 0)}, {"Friday, 5:00 PM", 2, QTime(17, 0)},
          {"Monday, 9:00 AM", 5, QTime(9, 0)}}},
        {"Friday 17:00 is more than 36 hours away", thursday, QTime(4, 59),
         {{"In 1 hour", 0, QTime(5, 59)}, {"Today, 5:00 PM", 0, QTime(17, 0)}, {"Tonight, 9:00 PM", 0, QTime(21, 0)},
          {"Tomorrow, 9:00 AM", 1, QTime(9, 0)}, {"Friday, 5:00 PM", 1, QTime(17, 0)}, {"Monday, 9:00 AM", 4, QTime(9, 0)}}},
        {"Friday 17:00 exactly 36 hours away is left out", thursday, QTime(5, 0),
         {{"In 1 hour", 0, QTime(6, 0)}, {"Today, 5:00 PM", 0, QTime(17, 0)}, {"Tonight, 9:00 PM", 0, QTime(21, 0)},
          {"Tomorrow, 9:00 AM", 1, QTime(9, 0)}, {"Monday, 9:00 AM", 4, QTime(9, 0)}}},
        {"on a Friday evening Friday means next week", friday, QTime(18, 0),
         {{"In 1 hour", 0, QTime(19, 0)}, {"Tonight, 9:00 PM", 0, QTime(21, 0)}, {"Tomorrow, 9:00 AM", 1, QTime(9, 0)},
          {"Friday, 5:00 PM", 7, QTime(17, 0)}, {"Monday, 9:00 AM", 3, QTime(9, 0)}}},
        {"on a Sunday tomorrow and Monday are the same morning", sunday, QTime(7, 0),
         {{"In 1 hour", 0, QTime(8, 0)}, {"Today, 5:00 PM", 0, QTime(17, 0)}, {"Tonight, 9:00 PM", 0, QTime(21, 0)},
          {"Tomorrow, 9:00 AM", 1, QTime(9, 0)}, {"Friday, 5:00 PM", 5, QTime(17, 0)}, {"Monday, 9:00 AM", 1, QTime(9, 0)}}},
        {"early on a Monday, Monday is this morning", monday, QTime(8, 0),
         {{"In 1 hour", 0, QTime(9, 0)}, {"Today, 5:00 PM", 0, QTime(17, 0)}, {"Tonight, 9:00 PM", 0, QTime(21, 0)},
          {"Tomorrow, 9:00 AM", 1, QTime(9, 0)}, {"Friday, 5:00 PM", 4, QTime(17, 0)}, {"Monday, 9:00 AM", 0, QTime(9, 0)}}},
        {"at 9:00 on a Monday, Monday is next week", monday, QTime(9, 0),
         {{"In 1 hour", 0, QTime(10, 0)}, {"Today, 5:00 PM", 0, QTime(17, 0)}, {"Tonight, 9:00 PM", 0, QTime(21, 0)},
          {"Tomorrow, 9:00 AM", 1, QTime(9, 0)}, {"Friday, 5:00 PM", 4, QTime(17, 0)}, {"Monday, 9:00 AM", 7, QTime(9, 0)}}},
    };
    for (const char *zone : {"Europe/Berlin", "America/New_York"}) {
        const Calendar calendar = Calendar::named(zone);
        for (const Case &c : cases) {
            SCOPED_TRACE(std::string(zone) + ": " + c.what);
            const auto options = QuickDeadlines::options(at(calendar, c.day, c.time), calendar, english);
            ASSERT_EQ(options.size(), c.options.size());
            for (size_t i = 0; i < options.size(); ++i) {
                const Expected &expected = c.options[i];
                EXPECT_EQ(options[i].label, QString::fromUtf8(expected.label));
                EXPECT_EQ(options[i].date, at(calendar, c.day.addDays(expected.daysAhead), expected.time))
                    << expected.label;
            }
        }
    }
}

TEST(QuickDeadlines, LabelsWriteTheTimeInTheLocalesHourStyle)
{
    struct Case { QLocale locale; QStringList labels; };
    const Case cases[] = {
        {english, {"In 1 hour", "Today, 5:00 PM", "Tonight, 9:00 PM", "Tomorrow, 9:00 AM", "Friday, 5:00 PM",
                   "Monday, 9:00 AM"}},
        {QLocale(QLocale::English, QLocale::UnitedKingdom),
         {"In 1 hour", "Today, 17:00", "Tonight, 21:00", "Tomorrow, 09:00", "Friday, 17:00", "Monday, 09:00"}},
        {QLocale(QLocale::German, QLocale::Germany),
         {"In 1 hour", "Today, 17:00", "Tonight, 21:00", "Tomorrow, 09:00", "Friday, 17:00", "Monday, 09:00"}},
    };
    const Calendar berlin = Calendar::named("Europe/Berlin");
    for (const Case &c : cases) {
        QStringList labels;
        for (const QuickDeadlines::Option &option : QuickDeadlines::options(at(berlin, wednesday, QTime(10, 0)), berlin, c.locale))
            labels << option.label;
        EXPECT_EQ(labels, c.labels) << c.locale.name().toStdString();
    }
}

TEST(QuickDeadlines, TomorrowMorningIsNineOClockOnTheNextCalendarDayAcrossClockChanges)
{
    struct Case { const char *zone; QDate eve; double hoursFromNineToNine; };
    // Berlin springs forward on 29 March 2026; New York falls back on 1 November 2026.
    for (const Case c : {Case{"Europe/Berlin", QDate(2026, 3, 28), 23}, Case{"America/New_York", QDate(2026, 10, 31), 25}}) {
        const Calendar calendar = Calendar::named(c.zone);
        const auto options = QuickDeadlines::options(at(calendar, c.eve, QTime(20, 0)), calendar, english);
        const auto tomorrow = std::find_if(options.begin(), options.end(), [](const auto &option) {
            return option.label == QStringLiteral("Tomorrow, 9:00 AM");
        });
        ASSERT_NE(tomorrow, options.end()) << c.zone;
        EXPECT_EQ(tomorrow->date, at(calendar, c.eve.addDays(1), QTime(9, 0))) << c.zone;
        EXPECT_EQ(tomorrow->date - at(calendar, c.eve, QTime(9, 0)), c.hoursFromNineToNine * 3600) << c.zone;
    }
}

TEST(QuickDeadlines, NextHourSkipsAFullHourLessThanAQuarterAway)
{
    struct Case { QTime now; int daysAhead; QTime expected; };
    const Case cases[] = {
        {QTime(10, 50), 0, QTime(12, 0)},    {QTime(10, 20), 0, QTime(11, 0)}, {QTime(10, 0), 0, QTime(11, 0)},
        {QTime(10, 45), 0, QTime(11, 0)},    {QTime(10, 45, 1), 0, QTime(12, 0)},
        {QTime(23, 50), 1, QTime(1, 0)},
    };
    // Kolkata is 5:30 ahead of UTC: its full hours are not UTC's.
    for (const char *zone : {"Europe/Berlin", "Asia/Kolkata"}) {
        const Calendar calendar = Calendar::named(zone);
        for (const Case &c : cases) {
            EXPECT_EQ(QuickDeadlines::nextHour(at(calendar, wednesday, c.now), calendar),
                      at(calendar, wednesday.addDays(c.daysAhead), c.expected))
                << zone << " " << c.now.toString().toStdString();
        }
    }
    // Fractions of a second before the quarter still count as less than 15 minutes away.
    const Calendar berlin = Calendar::named("Europe/Berlin");
    EXPECT_EQ(QuickDeadlines::nextHour(at(berlin, wednesday, QTime(10, 45)) + 0.25, berlin),
              at(berlin, wednesday, QTime(12, 0)));
}

} // namespace
