#include "DateDetector.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

const Calendar utc = Calendar::named("UTC");
const QLocale american(QLocale::English, QLocale::UnitedStates);
const QLocale british(QLocale::English, QLocale::UnitedKingdom);
// Wednesday 10 June 2026, 10:00.
const QDate wednesday(2026, 6, 10);
const Date now = *utc.date(wednesday, QTime(10, 0));

// The matched texts and their moments as "YYYY-MM-DD HH:MM", in order.
QStringList found(const QString &text, const QLocale &locale = american, Date at = now)
{
    QStringList result;
    for (const DateMatch &match : DateDetector::matches(text, at, utc, locale)) {
        result << text.mid(match.offset, match.length) + QStringLiteral(" = ")
                      + utc.local(match.date).toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    }
    return result;
}

// A text, the locale it is read in, the matches it must give, and when it is typed.
struct Reading {
    const char *text;
    QLocale locale;
    QStringList matches;
    Date at = now;
};

template <std::size_t N>
void expectReadings(const Reading (&readings)[N])
{
    for (const Reading &reading : readings)
        EXPECT_EQ(found(QString::fromUtf8(reading.text), reading.locale, reading.at), reading.matches) << reading.text;
}

TEST(DateDetector, ReadsEachKindOfPhrase)
{
    struct Case { const char *text; const char *match; };
    const Case cases[] = {
        {"5pm", "5pm = 2026-06-10 17:00"},
        {"5:30 pm", "5:30 pm = 2026-06-10 17:30"},
        {"9.30pm", "9.30pm = 2026-06-10 21:30"},
        {"5 P.M.", "5 P.M. = 2026-06-10 17:00"},
        {"17:00", "17:00 = 2026-06-10 17:00"},
        // A time alone is today's reading, passed or not; the quick parser moves a passed one on.
        {"9am", "9am = 2026-06-10 09:00"},
        {"12pm", "12pm = 2026-06-10 12:00"},
        {"12am", "12am = 2026-06-10 00:00"},
        {"noon", "noon = 2026-06-10 12:00"},
        {"midnight", "midnight = 2026-06-11 00:00"},
        {"10:30", "10:30 = 2026-06-10 10:30"},
        {"9:30", "9:30 = 2026-06-10 21:30"},
        {"09:30", "09:30 = 2026-06-10 09:30"},
        {"0:30", "0:30 = 2026-06-10 00:30"},
        {"at 5", "at 5 = 2026-06-10 17:00"},
        {"@6", "@6 = 2026-06-10 18:00"},
        {"till 11", "till 11 = 2026-06-10 11:00"},
        {"by 18", "by 18 = 2026-06-10 18:00"},
        {"today", "today = 2026-06-10 17:00"},
        {"Tonight", "Tonight = 2026-06-10 21:00"},
        {"tonight at 12", "tonight at 12 = 2026-06-11 00:00"},
        {"tonight at 1", "tonight at 1 = 2026-06-11 01:00"},
        {"tonight at 4:30", "tonight at 4:30 = 2026-06-11 04:30"},
        {"tonight at 5", "tonight at 5 = 2026-06-10 17:00"},
        {"tomorrow", "tomorrow = 2026-06-11 09:00"},
        {"friday", "friday = 2026-06-12 09:00"},
        {"Fri.", "Fri. = 2026-06-12 09:00"},
        {"thurs", "thurs = 2026-06-11 09:00"},
        {"wednesday", "wednesday = 2026-06-10 17:00"},
        {"wednesday 9am", "wednesday 9am = 2026-06-17 09:00"},
        {"this friday", "this friday = 2026-06-12 09:00"},
        {"next friday", "next friday = 2026-06-19 09:00"},
        {"last monday", "last monday = 2026-06-08 09:00"},
        {"last wednesday", "last wednesday = 2026-06-03 09:00"},
        {"dec 25", "dec 25 = 2026-12-25 09:00"},
        {"25 December", "25 December = 2026-12-25 09:00"},
        {"25th of Dec", "25th of Dec = 2026-12-25 09:00"},
        {"December 25th 2027", "December 25th 2027 = 2027-12-25 09:00"},
        {"Dec. 25, 2027", "Dec. 25, 2027 = 2027-12-25 09:00"},
        {"june 10", "june 10 = 2026-06-10 17:00"},
        {"june 9", "june 9 = 2027-06-09 09:00"},
        {"feb 29", "feb 29 = 2028-02-29 09:00"},
        {"12/25", "12/25 = 2026-12-25 09:00"},
        {"12/25/27", "12/25/27 = 2027-12-25 09:00"},
        {"2026-12-25", "2026-12-25 = 2026-12-25 09:00"},
        {"tomorrow 9:30", "tomorrow 9:30 = 2026-06-11 09:30"},
        {"tomorrow at 2", "tomorrow at 2 = 2026-06-11 14:00"},
        {"friday at 3pm", "friday at 3pm = 2026-06-12 15:00"},
        {"Friday, 3pm", "Friday, 3pm = 2026-06-12 15:00"},
        {"by 5pm", "by 5pm = 2026-06-10 17:00"},
        {"at 3pm on friday", "at 3pm on friday = 2026-06-12 15:00"},
        {"5pm on dec 25", "5pm on dec 25 = 2026-12-25 17:00"},
        {"on sat", "on sat = 2026-06-13 09:00"},
        {"sun 10am", "sun 10am = 2026-06-14 10:00"},
        {"next wed", "next wed = 2026-06-17 09:00"},
        {"at 1730", "at 1730 = 2026-06-10 17:30"},
        {"midday", "midday = 2026-06-10 12:00"},
        {"tomorrow evening", "tomorrow evening = 2026-06-11 18:00"},
        {"friday in the afternoon", "friday in the afternoon = 2026-06-12 15:00"},
        {"in the morning", "in the morning = 2026-06-10 09:00"},
        {"by the evening", "by the evening = 2026-06-10 18:00"},
        {"at night", "at night = 2026-06-10 21:00"},
        {"at 8 in the evening", "at 8 in the evening = 2026-06-10 20:00"},
        {"end of the week", "end of the week = 2026-06-12 17:00"},
        {"in 3 days", "in 3 days = 2026-06-13 09:00"},
        {"two weeks from now", "two weeks from now = 2026-06-24 09:00"},
        {"next week", "next week = 2026-06-15 09:00"},
        {"this weekend", "this weekend = 2026-06-13 09:00"},
        {"on the 25th", "on the 25th = 2026-06-25 09:00"},
        {"the 9th", "the 9th = 2026-07-09 09:00"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(found(QString::fromUtf8(c.text)), QStringList{QString::fromUtf8(c.match)}) << c.text;
}

TEST(DateDetector, PassesOverWhatOnlyLooksLikeADate)
{
    for (const char *text : {"feb 30", "13/13", "2026-13-01", "25:00", "13pm", "at 0", "afternoon", "x5pm", "5pmx",
                             "sundae", "sit in the sun", "sat down", "this sun is hot", "wed 2 people", "may I",
                             "march on", "read 25", "tomorrow5pm", "5.30", "at 9-5", "1.5pm", "v2/3", "12/25/2026x",
                             "chapter 5:2", "next to me", "last call", "at", "by", "the 2nd draft",
                             "25th anniversary", "good morning", "last night", "every evening", "weekend",
                             "in a way", "room 1730", "2 days", "in the", "end of story"}) {
        EXPECT_EQ(found(QString::fromUtf8(text)), QStringList()) << text;
    }
}

TEST(DateDetector, RangesCountUtf16UnitsAndMatchesComeInOrder)
{
    const QString text = QStringLiteral("🚀 lunch at noon, café tomorrow 9:30; 🎂 dec 25");
    const auto matches = DateDetector::matches(text, now, utc, american);
    ASSERT_EQ(matches.size(), 3u);
    EXPECT_EQ(matches[0], (DateMatch{9, 7, *utc.date(wednesday, QTime(12, 0))}));
    EXPECT_EQ(matches[1], (DateMatch{23, 13, *utc.date(wednesday.addDays(1), QTime(9, 30))}));
    EXPECT_EQ(matches[2], (DateMatch{41, 6, *utc.date(QDate(2026, 12, 25), QTime(9, 0))}));
}

TEST(DateDetector, ReadsAsTheLocaleAndTheHourSay)
{
    // On Sunday 14 June an American week has just begun, a British one ends that day.
    const Date sunday = *utc.date(QDate(2026, 6, 14), QTime(10, 0));
    const Date evening = *utc.date(wednesday, QTime(21, 30));
    struct Case { const char *text; QLocale locale; Date at; QStringList matches; };
    const Case cases[] = {
        // An hour alone is the first daytime reading ahead on either clock; with its minutes, on a
        // 24-hour clock it is read as written.
        {"at 9", american, now, {"at 9 = 2026-06-10 21:00"}},
        {"at 9", british, now, {"at 9 = 2026-06-10 21:00"}},
        {"9:30", american, now, {"9:30 = 2026-06-10 21:30"}},
        {"9:30", british, now, {"9:30 = 2026-06-10 09:30"}},
        {"3/4", american, now, {"3/4 = 2027-03-04 09:00"}},
        {"3/4", british, now, {"3/4 = 2027-04-03 09:00"}},
        {"25/12", american, now, {"25/12 = 2026-12-25 09:00"}},
        {"12/25", british, now, {"12/25 = 2026-12-25 09:00"}},
        // A fraction after a preposition stays the bare number it is.
        {"cut by 1/2", american, now, {"1/2 = 2027-01-02 09:00"}},
        {"by 1/2 at 5pm", american, now, {"by 1/2 at 5pm = 2027-01-02 17:00"}},
        {"next friday", american, sunday, {"next friday = 2026-06-26 09:00"}},
        {"next friday", british, sunday, {"next friday = 2026-06-19 09:00"}},
        // Late in the day, today means its end.
        {"today, tonight, wednesday", american, evening,
         {"today = 2026-06-10 23:59", "tonight = 2026-06-10 23:59", "wednesday = 2026-06-10 23:59"}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(found(QString::fromUtf8(c.text), c.locale, c.at), c.matches) << c.text;
}

TEST(DateDetector, JoinsADayAndATimeWithOnlyOrdinaryWordsBetween)
{
    const Reading readings[] = {
        {"monday meeting at 3pm", american, {"monday meeting at 3pm = 2026-06-15 15:00"}},
        {"tonight dinner with Ana at 9", american, {"tonight dinner with Ana at 9 = 2026-06-10 21:00"}},
        {"tomorrow morning run at 7", british, {"tomorrow morning run at 7 = 2026-06-11 07:00"}},
        {"on sat cleanup at 10am", american, {"on sat cleanup at 10am = 2026-06-13 10:00"}},
        {"dec 25 dinner with the family at 6", american, {"dec 25 dinner with the family at 6 = 2026-12-25 18:00"}},
        {"tomorrow – Ana’s party at 8pm", british, {"tomorrow – Ana’s party at 8pm = 2026-06-11 20:00"}},
        {"friday drinks at 6; monday lunch at 1", american,
         {"friday drinks at 6 = 2026-06-12 18:00", "monday lunch at 1 = 2026-06-15 13:00"}},
        {"tomorrow or 6pm", american, {"tomorrow = 2026-06-11 09:00", "6pm = 2026-06-10 18:00"}},
        {"tomorrow, then at 6pm", american, {"tomorrow = 2026-06-11 09:00", "at 6pm = 2026-06-10 18:00"}},
        {"tomorrow: call at 5pm", american, {"tomorrow = 2026-06-11 09:00", "at 5pm = 2026-06-10 17:00"}},
        {"tomorrow call\nat 5pm", american, {"tomorrow = 2026-06-11 09:00", "at 5pm = 2026-06-10 17:00"}},
        {"tomorrow buy 2 at 5pm", american, {"tomorrow = 2026-06-11 09:00", "at 5pm = 2026-06-10 17:00"}},
        {"tomorrow, friday at 5pm", american, {"tomorrow = 2026-06-11 09:00", "friday at 5pm = 2026-06-12 17:00"}},
        {"last monday notes at 5pm", american, {"last monday = 2026-06-08 09:00", "at 5pm = 2026-06-10 17:00"}},
        {"12/25 party at 5pm", american, {"12/25 = 2026-12-25 09:00", "at 5pm = 2026-06-10 17:00"}},
        {"friday eod report at 3pm", american, {"friday eod = 2026-06-12 17:00", "at 3pm = 2026-06-10 15:00"}},
        {"tomorrow morning, meet at 8 in the evening", american,
         {"tomorrow morning = 2026-06-11 09:00", "at 8 in the evening = 2026-06-10 20:00"}},
        {"at 5pm call about friday", american, {"at 5pm = 2026-06-10 17:00", "friday = 2026-06-12 09:00"}},
    };
    expectReadings(readings);
}

TEST(DateDetector, ReadsHoursAndMinutesWithAFullStopOnlyWhereTheyAreATime)
{
    const Reading readings[] = {
        {"until 6.05", american, {"until 6.05 = 2026-06-10 18:05"}},
        {"until 6.05", british, {"until 6.05 = 2026-06-10 06:05"}},
        {"@ 12.30", british, {"@ 12.30 = 2026-06-10 12:30"}},
        {"10.15 tomorrow", american, {"tomorrow = 2026-06-11 09:00"}},
        {"10.15", american, {}},
        {"at 0.25", american, {}},
        {"at 10.5", american, {}},
        {"at 10.75", american, {}},
        {"at 24.15", british, {}},
        {"by 10.15%", american, {}},
        {"by 10.15€", american, {}},
        {"at 10.15.2", american, {}},
        {"on 10.15", american, {}},
    };
    expectReadings(readings);
}

TEST(DateDetector, ReadsSpokenClockTimes)
{
    const Reading readings[] = {
        {"ten to 6", british, {"ten to 6 = 2026-06-10 17:50"}},
        {"A Quarter to 4", british, {"A Quarter to 4 = 2026-06-10 15:45"}},
        {"twenty-five past seven", american, {"twenty-five past seven = 2026-06-10 19:25"}},
        {"twenty five to 3pm", british, {"twenty five to 3pm = 2026-06-10 14:35"}},
        {"5 past 4", american, {"5 past 4 = 2026-06-10 16:05"}},
        {"quarter after 3", american, {"quarter after 3 = 2026-06-10 15:15"}},
        {"ten to 1", british, {"ten to 1 = 2026-06-10 12:50"}},
        {"quarter past 12", british, {"quarter past 12 = 2026-06-10 12:15"}},
        {"quarter to noon", american, {"quarter to noon = 2026-06-10 11:45"}},
        {"half past midnight", british, {"half past midnight = 2026-06-11 00:30"}},
        {"quarter to 12am", american, {"quarter to 12am = 2026-06-10 23:45"}},
        {"at quarter to 8 tonight", british, {"at quarter to 8 tonight = 2026-06-10 19:45"}},
        {"tomorrow at half past 10", british, {"tomorrow at half past 10 = 2026-06-11 10:30"}},
        {"ten past 9 on friday", british, {"ten past 9 on friday = 2026-06-12 09:10"}},
        {"5 to 6", american, {}},
        {"2 after 3", american, {}},
        {"half to 6", american, {}},
        {"quarter past", american, {}},
        {"one to 3", american, {}},
        {"quarter past 13", british, {}},
        {"quarter to four", british, {"quarter to four = 2026-06-10 15:45"}},
        {"from half past 9", british, {"half past 9 = 2026-06-10 21:30"}},
        {"from ten to 6", british, {}},
        {"between ten to 6", american, {}},
        {"seats for ten to twelve people", american, {}},
    };
    expectReadings(readings);
}

TEST(DateDetector, ReadsFixedDateHolidays)
{
    const Date halloween = *utc.date(QDate(2026, 10, 31), QTime(14, 0));
    const Date halloweenNight = *utc.date(QDate(2026, 10, 31), QTime(18, 0));
    const Reading readings[] = {
        {"by halloween", american, {"by halloween = 2026-10-31 09:00"}},
        {"by Hallowe’en", american, {"by Hallowe’en = 2026-10-31 17:00"}, halloween},
        {"by halloween", american, {"by halloween = 2026-10-31 23:59"}, halloweenNight},
        {"New Years Day", american, {"New Years Day = 2027-01-01 09:00"}},
        {"valentine's day", american, {"valentine's day = 2027-02-14 09:00"}},
        {"St. Patrick's Day", british, {"St. Patrick's Day = 2027-03-17 09:00"}},
        {"april fools' day", american, {"april fools' day = 2027-04-01 09:00"}},
        {"juneteenth", american, {"juneteenth = 2026-06-19 09:00"}},
        {"fourth of july", american, {"fourth of july = 2026-07-04 09:00"}},
        {"on independence day", american, {"on independence day = 2026-07-04 09:00"}},
        {"guy fawkes night", british, {"guy fawkes night = 2026-11-05 21:00"}},
        {"christmas eve at 6", american, {"christmas eve at 6 = 2026-12-24 18:00"}},
        {"on christmas morning", american, {"on christmas morning = 2026-12-25 09:00"}},
        {"till xmas", american, {"till xmas = 2026-12-25 09:00"}},
        {"boxing day", british, {"boxing day = 2026-12-26 09:00"}},
        {"until NYE", british, {"until NYE = 2026-12-31 09:00"}},
        {"by the new year", british, {"by the new year = 2027-01-01 09:00"}},
        {"halloween costume", american, {}},
        {"christmas cards", british, {}},
        {"happy new year", american, {}},
        {"the new year", british, {}},
        {"valentines card", american, {}},
        {"watch independence day", american, {}},
        {"christmassy", american, {}},
        {"boxing days", british, {}},
    };
    expectReadings(readings);
}

TEST(DateDetector, CalendarDaysHoldAcrossDaylightSavingChanges)
{
    // Clocks go forward at 02:00 on Sunday 8 March 2026 in New York: 02:30 does not exist that day.
    const Calendar newYork = Calendar::named("America/New_York");
    const Date saturdayEvening = *newYork.date(QDate(2026, 3, 7), QTime(20, 0));
    const auto matches = DateDetector::matches(QStringLiteral("tomorrow 9:30; tomorrow 2:30am; sunday"), saturdayEvening,
                                               newYork, american);
    ASSERT_EQ(matches.size(), 3u);
    EXPECT_EQ(newYork.local(matches[0].date), QDateTime(QDate(2026, 3, 8), QTime(9, 30), newYork.zone()));
    EXPECT_EQ(newYork.local(matches[1].date), QDateTime(QDate(2026, 3, 8), QTime(3, 30), newYork.zone()));
    EXPECT_EQ(matches[0].date - saturdayEvening, 12.5 * 3600);
    EXPECT_EQ(matches[2].date - saturdayEvening, 12 * 3600);
}

} // namespace
