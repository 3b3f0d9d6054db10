#include "QuickParse.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

const QLocale english(QLocale::English, QLocale::UnitedStates);
const QLocale british(QLocale::English, QLocale::UnitedKingdom);

constexpr char sameOnBothClocks[] = "same";

// A quick line typed on a Saturday (at 14:00 unless `typedAt` says otherwise), and what it must give.
// `deadline` is the local wall clock: "+N HH:MM" counts calendar days from that Saturday,
// "YYYY-MM-DD HH:MM" is a date; nullptr is none. `typedAt` is "HH:MM" on the Saturday, or "+N HH:MM".
// `on24HourClock` is the deadline where the locale's clock has 24 hours, when it differs.
struct Line {
    const char *typed;
    const char *text;
    std::optional<double> timer;
    const char *deadline;
    const char *typedAt = "14:00";
    const char *on24HourClock = sameOnBothClocks;
};

const Line goldenLines[] = {
    // Durations alone.
    {"  tea 4m  ", "tea", 240, nullptr},
    {"Pasta for 12 minutes", "Pasta", 720, nullptr},
    {"Stretch 1h30m", "Stretch", 5400, nullptr},
    {"Stretch 1.5h", "Stretch", 5400, nullptr},
    {"Read 25", "Read 25", {}, nullptr},
    {"25 min", "25 min", 1500, nullptr},
    {"Bake 100h", "Bake 100h", {}, nullptr},
    {"Rest 0 min", "Rest 0 min", {}, nullptr},
    {"Rest 0.5s", "Rest 0.5s", {}, nullptr},
    {"Tea 4M", "Tea", 240, nullptr},
    {"Tea 4m30", "Tea 4m30", {}, nullptr},
    {"nap 1 h 30 min", "nap", 5400, nullptr},
    {"nap 1h 30 min", "nap", 5400, nullptr},
    {"workout 2 hours 15 minutes", "workout", 8100, nullptr},
    {"call mom in 10 min", "call mom in", 600, nullptr},
    {"for 10 min", "for 10 min", 600, nullptr},
    {"rest 30 seconds", "rest", 30, nullptr},
    {"long one 99h", "long one", 356400, nullptr},
    {"too long 99h 1s", "too long 99h 1s", {}, nullptr},
    {"blink 1 sec", "blink", 1, nullptr},
    {"1h30m", "1h30m", 5400, nullptr},
    {"meeting  with   Ana   20m", "meeting with Ana", 1200, nullptr},
    {"tea 5 MIN", "tea", 300, nullptr},
    {"tea 5 min 4m", "tea", 540, nullptr},
    {"tea -5 min", "tea -5 min", {}, nullptr},
    {"laundry 40m for", "laundry 40m for", {}, nullptr},
    {"4m tea", "4m tea", {}, nullptr},
    {"tea 4m 25", "tea 4m 25", {}, nullptr},
    {"tea\t4m\n", "tea", 240, nullptr},
    {"run 5k 20m", "run 5k", 1200, nullptr},
    // Dates alone.
    {"Send invoice by 5pm", "Send invoice by 5pm", {}, "+0 17:00"},
    {"Send invoice by 5pm", "Send invoice by 5pm", {}, "+1 17:00", "18:00"},
    {"standup tomorrow 9:30", "standup tomorrow 9:30", {}, "+1 09:30"},
    {"  standup   tomorrow   9:30  ", "standup   tomorrow   9:30", {}, "+1 09:30"},
    {"Ship it by 5pm!", "Ship it by 5pm!", {}, "+0 17:00"},
    {"report tomorrow", "report tomorrow", {}, "+1 09:00"},
    {"taxes today", "taxes today", {}, "+0 17:00"},
    {"taxes today", "taxes today", {}, "+0 23:59", "18:00"},
    {"party tonight", "party tonight", {}, "+0 21:00"},
    {"party tonight at 8", "party tonight at 8", {}, "+0 20:00"},
    {"meet at 9", "meet at 9", {}, "+0 21:00", "10:00"},
    {"meet at 9", "meet at 9", {}, "+0 09:00", "08:00"},
    {"meet at 9", "meet at 9", {}, "+1 09:00", "22:00"},
    {"pick up at 3", "pick up at 3", {}, "+0 15:00", "10:00"},
    {"dentist 3pm friday", "dentist 3pm friday", {}, "+6 15:00"},
    {"gym monday", "gym monday", {}, "+2 09:00"},
    {"pay rent next friday", "pay rent next friday", {}, "+6 09:00"},
    {"call grandma saturday", "call grandma saturday", {}, "+0 17:00"},
    {"call grandma saturday 10am", "call grandma saturday 10am", {}, "+7 10:00"},
    {"review last monday", "review last monday", {}, nullptr},
    {"brunch sun 11am", "brunch sun 11am", {}, "+1 11:00"},
    {"party fri, dec 25 at 8pm", "party fri, dec 25 at 8pm", {}, "2026-12-25 20:00"},
    {"renew jan 5", "renew jan 5", {}, "2027-01-05 09:00"},
    {"due 12/25", "due 12/25", {}, nullptr},
    {"due 2026-12-25", "due 2026-12-25", {}, nullptr},
    {"due 2026-12-25 17:00", "due 2026-12-25 17:00", {}, "2026-12-25 17:00"},
    {"call on 12/25 at 5pm", "call on 12/25 at 5pm", {}, "2026-12-25 17:00"},
    {"halve it by 1/2", "halve it by 1/2", {}, nullptr},
    {"💡 idea tomorrow 🚀", "💡 idea tomorrow 🚀", {}, "+1 09:00"},
    {"🎂tomorrow", "🎂tomorrow", {}, "+1 09:00"},
    {"tomorrow at 2:30am", "tomorrow at 2:30am", {}, "+1 02:30"},
    // Both.
    {"Call at 17:00 for 10 min", "Call at 17:00", 600, "+0 17:00"},
    {"standup tomorrow 9:30 15m", "standup tomorrow 9:30", 900, "+1 09:30"},
    {"pasta tonight for 12 minutes", "pasta tonight", 720, "+0 21:00"},
    {"dec 25 call 5 min", "dec 25 call", 300, "2026-12-25 09:00"},
    {"🎂 cake tomorrow at noon 20m", "🎂 cake tomorrow at noon", 1200, "+1 12:00"},
    {"meeting 10am 30m", "meeting 10am", 1800, "+0 10:00", "08:00"},
    // Clock times: an hour alone is the first daytime reading ahead on either clock; with its minutes a
    // 12-hour clock takes the first daytime reading ahead, a 24-hour one reads it as written.
    {"standup 10:30", "standup 10:30", {}, "+1 10:30"},
    {"standup 9:15", "standup 9:15", {}, "+0 09:15", "08:00"},
    {"call at 8", "call at 8", {}, "+0 20:00", "14:00"},
    {"call at 7", "call at 7", {}, "+1 07:00", "20:00"},
    {"call at 6", "call at 6", {}, "+0 18:00", "14:00"},
    {"call at 11", "call at 11", {}, "+1 11:00"},
    {"call at 11", "call at 11", {}, "+0 11:00", "08:00"},
    {"call at 12", "call at 12", {}, "+0 12:00", "08:00"},
    {"call today at 11", "call today at 11", {}, "+0 23:00", "14:00"},
    {"tomorrow at 2", "tomorrow at 2", {}, "+1 14:00", "14:00"},
    {"friday at 4", "friday at 4", {}, "+6 16:00", "14:00"},
    {"meeting at 1730", "meeting at 1730", {}, "+0 17:30"},
    {"meeting at 0930", "meeting at 0930", {}, "+1 09:30"},
    {"train 17:30", "train 17:30", {}, "+1 17:30", "18:00"},
    {"call at 9pm", "call at 9pm", {}, "+0 21:00"},
    {"party tonight at 9", "party tonight at 9", {}, "+0 21:00"},
    {"drinks this evening at 7", "drinks this evening at 7", {}, "+0 19:00"},
    {"room 1730", "room 1730", {}, nullptr},
    {"chapter 12 by 3", "chapter 12 by 3", {}, "+0 15:00", "14:00"},
    // Times of day, alone or with a day.
    {"call mum tomorrow evening", "call mum tomorrow evening", {}, "+1 18:00"},
    {"gym friday afternoon", "gym friday afternoon", {}, "+6 15:00"},
    {"water plants this evening", "water plants this evening", {}, "+0 18:00"},
    {"water plants this evening", "water plants this evening", {}, "+0 23:59", "20:00"},
    {"stretch in the morning", "stretch in the morning", {}, "+1 09:00"},
    {"stretch in the morning", "stretch in the morning", {}, "+0 09:00", "07:00"},
    {"bins out tomorrow night", "bins out tomorrow night", {}, "+1 21:00"},
    {"trash at night", "trash at night", {}, "+0 21:00"},
    {"walk by the afternoon", "walk by the afternoon", {}, "+0 15:00", "10:00"},
    {"lunch at noon", "lunch at noon", {}, "+0 12:00", "10:00"},
    {"submit by midday", "submit by midday", {}, "+1 12:00"},
    {"meds at midnight", "meds at midnight", {}, "+1 00:00"},
    {"call tomorrow morning at 8", "call tomorrow morning at 8", {}, "+1 08:00"},
    {"dinner friday evening at 7", "dinner friday evening at 7", {}, "+6 19:00"},
    {"wake up at 6 in the morning", "wake up at 6 in the morning", {}, "+1 06:00"},
    {"slides by end of day", "slides by end of day", {}, "+0 17:00"},
    {"slides by the end of the day", "slides by the end of the day", {}, "+0 23:59", "18:00"},
    {"report EOD", "report EOD", {}, "+0 17:00"},
    {"review end of the week", "review end of the week", {}, "+6 17:00"},
    {"review by end of week", "review by end of week", {}, "+6 17:00"},
    {"finish it this week", "finish it this week", {}, "+6 17:00"},
    {"good morning team", "good morning team", {}, nullptr},
    {"every evening stretch", "every evening stretch", {}, nullptr},
    {"notes from last night", "notes from last night", {}, nullptr},
    {"the night shift", "the night shift", {}, nullptr},
    // Relative days take the morning hour, today the end of the day.
    {"pay bills in 3 days", "pay bills in 3 days", {}, "+3 09:00"},
    {"renew in two weeks", "renew in two weeks", {}, "+14 09:00"},
    {"renew within a week", "renew within a week", {}, "+7 09:00"},
    {"call in a couple of days", "call in a couple of days", {}, "+2 09:00"},
    {"follow up 3 days from now", "follow up 3 days from now", {}, "+3 09:00"},
    {"call in 2 days at 5pm", "call in 2 days at 5pm", {}, "+2 17:00"},
    {"review next week", "review next week", {}, "+2 09:00"},
    {"clean this weekend", "clean this weekend", {}, "+0 17:00"},
    {"clean over the weekend", "clean over the weekend", {}, "+7 09:00", "+2 14:00"},
    {"party next weekend", "party next weekend", {}, "+7 09:00"},
    {"dentist this friday", "dentist this friday", {}, "+6 09:00"},
    {"gym next monday", "gym next monday", {}, "+2 09:00"},
    {"gym monday next week", "gym monday next week", {}, "+2 09:00"},
    {"call the day after tomorrow", "call the day after tomorrow", {}, "+2 09:00"},
    {"tmrw gym", "tmrw gym", {}, "+1 09:00"},
    {"renew in 3 wks", "renew in 3 wks", {}, "+21 09:00"},
    {"report due friday eod", "report due friday eod", {}, "+6 17:00"},
    {"stretch in the afternoon tomorrow", "stretch in the afternoon tomorrow", {}, "+1 15:00"},
    // A duration with a time unit is a timer at the end of the line, and a moment from now elsewhere.
    {"call mom in an hour", "call mom in an hour", {}, "+0 15:00"},
    {"in 2 hours call the plumber", "in 2 hours call the plumber", {}, "+0 16:00"},
    {"call back in 1h 30m", "call back in", 5400, nullptr},
    {"pay bills in 3 days 10m", "pay bills in 3 days", 600, "+3 09:00"},
    {"in 3 minutes", "in", 180, nullptr},
    {"2 days of rain", "2 days of rain", {}, nullptr},
    {"in a way", "in a way", {}, nullptr},
    // The lines first measured, typed on the Monday after at 14:00.
    {"standup 10:30", "standup 10:30", {}, "+3 10:30", "+2 14:00"},
    {"call mum tomorrow evening", "call mum tomorrow evening", {}, "+3 18:00", "+2 14:00"},
    {"friday afternoon", "friday afternoon", {}, "+6 15:00", "+2 14:00"},
    {"pay bills in 3 days", "pay bills in 3 days", {}, "+5 09:00", "+2 14:00"},
    {"review next week", "review next week", {}, "+9 09:00", "+2 14:00"},
    {"this weekend", "this weekend", {}, "+7 09:00", "+2 14:00"},
    {"end of day", "end of day", {}, "+2 17:00", "+2 14:00"},
    // Words inside other words or ordinary sentences stay words.
    {"second draft", "second draft", {}, nullptr},
    {"sat down with Ana", "sat down with Ana", {}, nullptr},
    {"may I come", "may I come", {}, nullptr},
    {"march on", "march on", {}, nullptr},
    {"finish the 2nd draft", "finish the 2nd draft", {}, nullptr},
    {"plan the 25th anniversary", "plan the 25th anniversary", {}, nullptr},
    {"weekend plans", "weekend plans", {}, nullptr},
    // Neither.
    {"", "", {}, nullptr},
    {"   ", "", {}, nullptr},
    {"2 for 1 pizza", "2 for 1 pizza", {}, nullptr},
    {"version 2.0 at 3.5", "version 2.0 at 3.5", {}, nullptr},
};

// Days of the month, typed on Saturday 28 March 2026 in Berlin; clocks go forward that night.
const Line dayOfMonthLines[] = {
    {"rent on the 1st", "rent on the 1st", {}, "2026-04-01 09:00"},
    {"on the 25th", "on the 25th", {}, "2026-04-25 09:00"},
    {"invoice by the 28th", "invoice by the 28th", {}, "2026-03-28 17:00"},
    {"flight the 29th at 2:30am", "flight the 29th at 2:30am", {}, "2026-03-29 02:30"},
    {"call friday the 3rd", "call friday the 3rd", {}, "2026-04-03 09:00"},
    {"the 31st", "the 31st", {}, "2026-03-31 09:00"},
    {"the 31st", "the 31st", {}, "2026-05-31 09:00", "+8 14:00"},
    {"by 15th", "by 15th", {}, "2026-04-15 09:00"},
    {"15th", "15th", {}, nullptr},
    {"taxes end of the month", "taxes end of the month", {}, "2026-03-31 17:00"},
    {"budget next month", "budget next month", {}, "2026-04-01 09:00"},
    {"renew in a month", "renew in a month", {}, "2026-04-28 09:00"},
};

// An hour alone, without minutes or am/pm, means the same on both clocks; "at 16" stays as written.
const Line bareHourLines[] = {
    {"tea at 4", "tea at 4", {}, "+0 16:00"},
    {"tea at 4", "tea at 4", {}, "+1 16:00", "17:00"},
    {"tea at 4", "tea at 4", {}, "+0 16:00", "03:00"},
    {"bins out by 7", "bins out by 7", {}, "+0 19:00"},
    {"lunch at 12", "lunch at 12", {}, "+1 12:00"},
    {"call at 16", "call at 16", {}, "+0 16:00"},
    {"call at 16", "call at 16", {}, "+1 16:00", "17:00"},
    {"call at 16:00", "call at 16:00", {}, "+0 16:00"},
    {"call at 4:30", "call at 4:30", {}, "+0 16:30", "14:00", "+1 04:30"},
    {"tomorrow at 9", "tomorrow at 9", {}, "+1 09:00"},
    {"sunday at 2", "sunday at 2", {}, "+1 14:00"},
    {"sunday at 2:30", "sunday at 2:30", {}, "+1 14:30", "14:00", "+1 02:30"},
};

// A day and a time with ordinary words between them make one deadline.
const Line dayAndTimeApartLines[] = {
    {"monday meeting at 3pm", "monday meeting at 3pm", {}, "+2 15:00"},
    {"tomorrow brunch at 11", "tomorrow brunch at 11", {}, "+1 11:00"},
    {"friday drinks at 6", "friday drinks at 6", {}, "+6 18:00"},
    {"dinner friday at 8pm", "dinner friday at 8pm", {}, "+6 20:00"},
    {"tomorrow brunch with Ana and Ben at half past 11", "tomorrow brunch with Ana and Ben at half past 11", {},
     "+1 11:30"},
    {"tomorrow train to Leeds at 7.45", "tomorrow train to Leeds at 7.45", {}, "+1 07:45"},
    {"sunday meeting at 2:30", "sunday meeting at 2:30", {}, "+1 14:30", "14:00", "+1 02:30"},
    {"tonight pick up Ana at 10", "tonight pick up Ana at 10", {}, "+0 22:00"},
    {"monday meeting at 3pm 30m", "monday meeting at 3pm", 1800, "+2 15:00"},
    {"tomorrow or 6pm", "tomorrow or 6pm", {}, "+1 09:00"},
    {"tomorrow: dentist. call at 5", "tomorrow: dentist. call at 5", {}, "+1 09:00"},
    {"friday buy 2 tickets at 5", "friday buy 2 tickets at 5", {}, "+6 09:00"},
    {"review last monday notes at 3", "review last monday notes at 3", {}, "+0 15:00"},
    {"sat down with Ana at 5", "sat down with Ana at 5", {}, "+0 17:00"},
};

// Hours and minutes with a full stop are a time after a preposition or a day; alone, or before a
// day, they may as well be an amount or a version.
const Line dottedTimeLines[] = {
    {"standup at 10.15", "standup at 10.15", {}, "+1 10:15"},
    {"standup at 10.15", "standup at 10.15", {}, "+0 10:15", "09:00"},
    {"train tomorrow 7.45", "train tomorrow 7.45", {}, "+1 07:45"},
    {"train tomorrow at 7.45pm", "train tomorrow at 7.45pm", {}, "+1 19:45"},
    {"call by 4.30", "call by 4.30", {}, "+0 16:30", "14:00", "+1 04:30"},
    {"dinner tonight 8.15", "dinner tonight 8.15", {}, "+0 20:15"},
    {"dentist friday @ 2.40", "dentist friday @ 2.40", {}, "+6 14:40", "14:00", "+6 02:40"},
    {"flight sunday 2.30", "flight sunday 2.30", {}, "+1 14:30", "14:00", "+1 02:30"},
    {"standup 10.15", "standup 10.15", {}, nullptr},
    {"pay Tom 10.15 tomorrow", "pay Tom 10.15 tomorrow", {}, "+1 09:00"},
    {"update to 3.10 by friday", "update to 3.10 by friday", {}, "+6 09:00"},
    {"cut it by 0.25", "cut it by 0.25", {}, nullptr},
    {"raise by 2.50%", "raise by 2.50%", {}, nullptr},
    {"sell at 10.15€", "sell at 10.15€", {}, nullptr},
    {"ship at 10.15.2", "ship at 10.15.2", {}, nullptr},
    {"grow by 1.75", "grow by 1.75", {}, nullptr},
};

// Spoken clock times name an hour on the 12-hour clock on either clock.
const Line spokenTimeLines[] = {
    {"call mum half past 10", "call mum half past 10", {}, "+1 10:30"},
    {"drinks quarter past 9", "drinks quarter past 9", {}, "+0 21:15"},
    {"pick up kids at quarter to 4", "pick up kids at quarter to 4", {}, "+0 15:45"},
    {"bus ten to 6", "bus ten to 6", {}, "+0 17:50"},
    {"call at twenty past two", "call at twenty past two", {}, "+0 14:20"},
    {"meds at half past 1", "meds at half past 1", {}, "+1 13:30"},
    {"flight sunday half past 2", "flight sunday half past 2", {}, "+1 14:30"},
    {"bins tonight at quarter to 2", "bins tonight at quarter to 2", {}, "+1 01:45"},
    {"bins tonight at half past 2", "bins tonight at half past 2", {}, "+1 02:30"},
    {"tea at five past four 10m", "tea at five past four", 600, "+0 16:05"},
    {"5 to 6 people", "5 to 6 people", {}, nullptr},
    {"half to 6", "half to 6", {}, nullptr},
    {"open from ten to 6", "open from ten to 6", {}, nullptr},
    {"table for ten to twelve", "table for ten to twelve", {}, nullptr},
};

// Holidays on a fixed date; a name that is also a modifier counts only after a preposition.
const Line holidayLines[] = {
    {"book flights before new year's eve", "book flights before new year's eve", {}, "2026-12-31 09:00"},
    {"presents by christmas", "presents by christmas", {}, "2026-12-25 09:00"},
    {"call gran christmas eve at 6", "call gran christmas eve at 6", {}, "2026-12-24 18:00"},
    {"sales boxing day", "sales boxing day", {}, "2026-12-26 09:00"},
    {"fireworks bonfire night at 7", "fireworks bonfire night at 7", {}, "2026-11-05 19:00"},
    {"flowers for Valentine’s Day", "flowers for Valentine’s Day", {}, "2027-02-14 09:00"},
    {"taxes by the new year", "taxes by the new year", {}, "2027-01-01 09:00"},
    {"christmas cards", "christmas cards", {}, nullptr},
    {"happy new year", "happy new year", {}, nullptr},
};

QTime clock(const QString &text)
{
    return QTime::fromString(text, QStringLiteral("HH:mm"));
}

// "HH:MM" on the Saturday, "+N HH:MM" N days after it, or "YYYY-MM-DD HH:MM".
std::optional<Date> wallClockMoment(const char *wall, const Calendar &calendar, QDate saturday)
{
    if (!wall)
        return std::nullopt;
    const QString text = QString::fromLatin1(wall);
    if (!text.contains(u' '))
        return calendar.date(saturday, clock(text));
    const QString day = text.section(u' ', 0, 0);
    const QTime time = clock(text.section(u' ', 1, 1));
    if (day.startsWith(u'+'))
        return calendar.date(saturday.addDays(day.toInt()), time);
    return calendar.date(QDate::fromString(day, Qt::ISODate), time);
}

QString wallClock(std::optional<Date> date, const Calendar &calendar)
{
    return date ? calendar.local(*date).toString(Qt::ISODate) : QStringLiteral("none");
}

template <std::size_t N>
void expectLines(const Line (&lines)[N], const Calendar &calendar, QDate saturday, const QLocale &locale)
{
    const bool twelveHourClock = locale == english;
    for (const Line &line : lines) {
        const Date now = *wallClockMoment(line.typedAt, calendar, saturday);
        const QuickNote parsed = QuickParse::parse(QString::fromUtf8(line.typed), now, calendar, locale);
        const char *expected = twelveHourClock || line.on24HourClock == sameOnBothClocks ? line.deadline
                                                                                           : line.on24HourClock;
        const auto deadline = wallClockMoment(expected, calendar, saturday);
        SCOPED_TRACE(testing::Message() << '"' << line.typed << "\" typed at " << line.typedAt << " in "
                                        << locale.name().toStdString());
        EXPECT_EQ(parsed.text, QString::fromUtf8(line.text));
        EXPECT_EQ(parsed.timer, line.timer);
        EXPECT_EQ(wallClock(parsed.deadline, calendar), wallClock(deadline, calendar));
    }
}

// The same lines in two zones, each on the Saturday before its clocks change, so "tomorrow"
// lasts 23 hours in Berlin and 25 in New York; on a 12-hour and a 24-hour clock.
template <std::size_t N>
void expectGoldenLines(const Line (&lines)[N], const Calendar &calendar, QDate saturday)
{
    for (const QLocale &locale : {english, british})
        expectLines(lines, calendar, saturday, locale);
}

template <std::size_t N>
void expectOnBothEves(const Line (&lines)[N])
{
    expectGoldenLines(lines, Calendar::named("Europe/Berlin"), QDate(2026, 3, 28));
    expectGoldenLines(lines, Calendar::named("America/New_York"), QDate(2026, 10, 31));
}

TEST(QuickParse, GoldenLinesInBerlinOnTheSaturdayBeforeSpringForward)
{
    expectGoldenLines(goldenLines, Calendar::named("Europe/Berlin"), QDate(2026, 3, 28));
}

TEST(QuickParse, GoldenLinesInNewYorkOnTheSaturdayBeforeFallBack)
{
    expectGoldenLines(goldenLines, Calendar::named("America/New_York"), QDate(2026, 10, 31));
}

TEST(QuickParse, ADayAndATimeWithOrdinaryWordsBetweenMakeOneDeadline)
{
    expectOnBothEves(dayAndTimeApartLines);
}

TEST(QuickParse, AnHourAloneIsTheFirstDaytimeHourAheadOnEitherClock)
{
    expectOnBothEves(bareHourLines);
}

TEST(QuickParse, DottedTimesCountAfterAPrepositionOrADay)
{
    expectOnBothEves(dottedTimeLines);
}

TEST(QuickParse, SpokenClockTimesAreReadOnEitherClock)
{
    expectOnBothEves(spokenTimeLines);
}

TEST(QuickParse, FixedDateHolidaysAreTheirNextDate)
{
    expectOnBothEves(holidayLines);
}

TEST(QuickParse, DaysOfTheMonthAreThisMonthsOrTheNextThatHasThem)
{
    for (const QLocale &locale : {english, british})
        expectLines(dayOfMonthLines, Calendar::named("Europe/Berlin"), QDate(2026, 3, 28), locale);
}

TEST(QuickParse, CompactReadsNumbersAndUnitsWrittenTogether)
{
    struct Case { const char *word; std::optional<double> seconds; };
    for (const Case c : {Case{"4m", 240}, Case{"90s", 90}, Case{"1.5h", 5400}, Case{".5m", 30}, Case{"1h30m", 5400},
                         Case{"1m1s", 61}, Case{"1sec", 1}, Case{"2secs", 2}, Case{"1second", 1},
                         Case{"3seconds", 3}, Case{"2min", 120}, Case{"2mins", 120}, Case{"1minute", 60},
                         Case{"10minutes", 600}, Case{"1hr", 3600}, Case{"2hrs", 7200}, Case{"1hour", 3600},
                         Case{"2hours", 7200}, Case{"25", {}}, Case{"4m30", {}}, Case{"m4", {}}, Case{"4x", {}},
                         Case{"4m!", {}}, Case{"0m", {}}, Case{".m", {}}, Case{"1.5.5h", {}}, Case{"4M", {}},
                         Case{"", {}}, Case{"4m😀", {}}}) {
        EXPECT_EQ(QuickParse::compact(QString::fromUtf8(c.word)), c.seconds) << c.word;
    }
}

TEST(QuickParse, TakeDurationLeavesTheTextAloneWhenItTakesNothing)
{
    QString text = QStringLiteral("tea  4m30");
    EXPECT_FALSE(QuickParse::takeDuration(text));
    EXPECT_EQ(text, QStringLiteral("tea  4m30"));

    QString onlyDuration = QStringLiteral("1 h  30 m");
    EXPECT_EQ(QuickParse::takeDuration(onlyDuration), 5400);
    EXPECT_EQ(onlyDuration, QStringLiteral("1 h  30 m"));

    QString empty;
    EXPECT_FALSE(QuickParse::takeDuration(empty));
}

TEST(QuickParse, FindDeadlineTakesTheFirstMatchAheadOrMovesOneUpToADayPastOnByACalendarDay)
{
    // Clocks go forward overnight into Sunday 29 March 2026 in Berlin.
    const Calendar berlin = Calendar::named("Europe/Berlin");
    const QDate saturday(2026, 3, 28);
    const QDate sunday = saturday.addDays(1);
    struct Case { const char *text; QTime typedAt; QDate day; QTime time; };
    const Case cases[] = {
        {"today at 9am", QTime(14, 0), sunday, QTime(9, 0)},
        {"today at 2pm", QTime(14, 0), sunday, QTime(14, 0)},
        {"last friday 3pm", QTime(14, 0), saturday, QTime(15, 0)},
        {"last friday 3pm", QTime(14, 59, 59), saturday, QTime(15, 0)},
        {"last friday 3pm", QTime(15, 0), {}, {}},
        {"last friday 3pm", QTime(16, 0), {}, {}},
        // More than a day past, or digits alone, is no deadline, and a later match gets its turn.
        {"missed last thursday; retry by 5pm", QTime(14, 0), saturday, QTime(17, 0)},
        {"12/25 then 6pm, or tomorrow", QTime(14, 0), saturday, QTime(18, 0)},
        {"tomorrow or 6pm", QTime(14, 0), sunday, QTime(9, 0)},
        {"", QTime(14, 0), {}, {}},
    };
    for (const Case &c : cases) {
        const Date now = *berlin.date(saturday, c.typedAt);
        const auto expected = c.day.isValid() ? berlin.date(c.day, c.time) : std::nullopt;
        EXPECT_EQ(QuickParse::findDeadline(QString::fromUtf8(c.text), now, berlin, english), expected)
            << c.text << " at " << c.typedAt.toString().toStdString();
    }
}

} // namespace
