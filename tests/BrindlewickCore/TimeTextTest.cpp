#include "Countdown.h"
#include "DueText.h"
#include "TimeLocale.h"
#include "TimeText.h"

#include "QtPrinters.h"
#include "ScopedEnv.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

TEST(TimeText, SpanWordsADurationRoundedUp)
{
    struct Case { double seconds; const char *text; };
    for (const Case c : {Case{0, "0 s"}, Case{0.2, "1 s"}, Case{59, "59 s"}, Case{59.01, "1 min"}, Case{60, "1 min"},
                         Case{61, "2 min"}, Case{3540, "59 min"}, Case{3541, "1 h"}, Case{3599, "1 h"},
                         Case{3600, "1 h"}, Case{3659, "1 h"}, Case{3660, "1 h 1 min"}, Case{9000, "2 h 30 min"},
                         Case{172799, "47 h 59 min"}, Case{172800, "2 days"}, Case{356400, "4 days"},
                         Case{-5, "0 s"}, Case{NAN, "0 s"}}) {
        EXPECT_EQ(TimeText::span(c.seconds), QString::fromUtf8(c.text)) << c.seconds;
    }
}

// Walking the runs from 0 must land on every change of text and on none inside a run.
TEST(TimeText, SpanRunsCoverEachTextExactly)
{
    qint64 seconds = 0;
    QString previous;
    while (seconds < 4 * 86400) {
        const TimeText::SpanRun run = TimeText::spanRun(seconds);
        ASSERT_EQ(run.first, seconds);
        const QString text = TimeText::span(double(run.first));
        ASSERT_NE(text, previous) << seconds;
        ASSERT_EQ(TimeText::span(double(run.last)), text) << seconds;
        ASSERT_EQ(TimeText::spanRun((run.first + run.last) / 2).last, run.last) << seconds;
        previous = text;
        seconds = run.last + 1;
    }
}

TEST(TimeText, ClockCountsMinutesAndSecondsThenHours)
{
    struct Case { double seconds; const char *text; };
    for (const Case c : {Case{0, "0:00"}, Case{0.2, "0:01"}, Case{59.5, "1:00"}, Case{65, "1:05"},
                         Case{3599, "59:59"}, Case{3600, "1:00:00"}, Case{3725, "1:02:05"},
                         Case{356400, "99:00:00"}, Case{-3, "0:00"}}) {
        EXPECT_EQ(TimeText::clock(c.seconds), QString::fromUtf8(c.text)) << c.seconds;
    }
}

TEST(TimeText, LeftSaysDueNowForTheFirstMinuteOverdue)
{
    struct Case { double seconds; const char *text; };
    for (const Case c : {Case{30, "30 s left"}, Case{0.5, "1 s left"}, Case{0, "Due now"}, Case{-59, "Due now"},
                         Case{-60, "Overdue by 1 min"}, Case{-7200, "Overdue by 2 h"}}) {
        EXPECT_EQ(TimeText::left(c.seconds), QString::fromUtf8(c.text)) << c.seconds;
    }
}

TEST(Countdown, ShortAndSpokenTextsFollowTheKind)
{
    using State = NoteTimer::State;
    struct Case { Countdown::Kind kind; double remaining; const char *shortText; const char *spokenText; };
    const Case cases[] = {
        {Countdown::Kind::timer(State::ready), 1500, "25:00", "Timer set for 25 min, not started"},
        {Countdown::Kind::timer(State::running), 299.4, "5:00", "Timer, 5 min left"},
        {Countdown::Kind::timer(State::paused), 90, "1:30", "Timer paused, 2 min left"},
        {Countdown::Kind::timer(State::finished), 0, "Time’s up", "Timer finished"},
        {Countdown::Kind::deadline(), 9000, "2 h 30 min", "2 h 30 min left"},
        {Countdown::Kind::deadline(), 0, "Due now", "Due now"},
        {Countdown::Kind::deadline(), -59, "Due now", "Due now"},
        {Countdown::Kind::deadline(), -60, "Overdue 1 min", "Overdue by 1 min"},
        {Countdown::Kind::deadline(), -3 * 86400, "Overdue 3 days", "Overdue by 3 days"},
    };
    for (const Case &c : cases) {
        const Countdown countdown{c.kind, c.remaining, 0.5, Urgency::calm};
        EXPECT_EQ(countdown.shortText(), QString::fromUtf8(c.shortText)) << c.remaining;
        EXPECT_EQ(countdown.spokenText(), QString::fromUtf8(c.spokenText)) << c.remaining;
    }
}

struct DueCase {
    const char *name;
    QDate nowDay;
    QTime nowTime;
    QDate day;
    QTime time;
    const char *text;
};

void expectDueTexts(const Calendar &calendar, const QLocale &locale, std::initializer_list<DueCase> cases)
{
    for (const DueCase &c : cases) {
        const Date now = *calendar.date(c.nowDay, c.nowTime);
        const Date date = *calendar.date(c.day, c.time);
        EXPECT_EQ(TimeText::due(date, now, calendar, locale), QString::fromUtf8(c.text)) << c.name;
    }
}

// Friday 14 March 2025, mid-morning.
const QDate friday(2025, 3, 14);
const QTime morning(10, 0);

TEST(TimeText, DueNamesTheDayRelativeToNowInTheUnitedStates)
{
    expectDueTexts(Calendar::named("America/New_York"), QLocale(QLocale::English, QLocale::UnitedStates), {
        {"later today, plain space before PM", friday, morning, friday, QTime(17, 0), "Today, 5:00 PM"},
        {"earlier today", friday, morning, friday, QTime(8, 5), "Today, 8:05 AM"},
        {"tomorrow", friday, morning, friday.addDays(1), QTime(9, 30), "Tomorrow, 9:30 AM"},
        {"yesterday", friday, morning, friday.addDays(-1), QTime(23, 59), "Yesterday, 11:59 PM"},
        {"six days ahead", friday, morning, friday.addDays(6), QTime(17, 0), "Thu, 5:00 PM"},
        {"a week ahead", friday, morning, friday.addDays(7), QTime(17, 0), "Mar 21, 5:00 PM"},
        {"two days ago", friday, morning, friday.addDays(-2), QTime(17, 0), "Mar 12, 5:00 PM"},
        {"next year", friday, morning, QDate(2026, 1, 5), QTime(12, 0), "Jan 5, 2026, 12:00 PM"},
        {"next year within the week", QDate(2025, 12, 30), morning, QDate(2026, 1, 2), QTime(9, 0), "Fri, 9:00 AM"},
        {"across midnight", friday, QTime(23, 50), friday.addDays(1), QTime(0, 30), "Tomorrow, 12:30 AM"},
    });
}

// A hand-edited date beyond the calendar's years reads as its first or last day, in any zone. (The
// formats count the days before 1582 as the Julian calendar does, hence the 2nd to the 4th of January.)
TEST(TimeText, DatesBeyondTheYearsTheCalendarReachesShowItsFirstOrLastDay)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    struct Case { const char *zone; double seconds; const char *text; };
    const Case cases[] = {
        {"UTC", 1e300, "^Dec 30, 9999, 11:59 PM$"},
        {"UTC", -1e300, "^Jan [2-4], 1, 12:00 AM$"},
        {"UTC", NAN, "^Jan [2-4], 1, 12:00 AM$"},
        {"Pacific/Kiritimati", 1e300, "^Dec 31, 9999, 1:59 PM$"},
        {"America/New_York", 1e20, "^Dec 30, 9999, 6:59 PM$"},
    };
    for (const Case &c : cases) {
        const Calendar calendar = Calendar::named(c.zone);
        const Date now = *calendar.date(friday, morning);
        const QString text = DueText().of(Date{c.seconds}, now, calendar, english);
        EXPECT_TRUE(QRegularExpression(c.text).match(text).hasMatch()) << c.zone << " " << c.seconds << ": "
                                                                        << text.toStdString();
    }
}

// Where the whole due text does not fit, its brief form still says when: the time today, else the day.
TEST(TimeText, TheBriefDueTextIsTheTimeTodayAndElseTheDay)
{
    const Calendar calendar = Calendar::named("America/New_York");
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const Date now = *calendar.date(friday, morning);
    struct Case {
        QDate day;
        const char *brief;
    };
    for (const Case &c : {Case{friday, "5:00 PM"}, Case{friday.addDays(1), "Tomorrow"},
                          Case{friday.addDays(-1), "Yesterday"}, Case{friday.addDays(6), "Thu"},
                          Case{friday.addDays(7), "Mar 21"}, Case{QDate(2026, 1, 5), "Jan 5, 2026"}}) {
        const Date date = *calendar.date(c.day, QTime(17, 0));
        const TimeText::DueParts parts = TimeText::dueParts(date, now, calendar, english);
        EXPECT_EQ(parts.brief(), QString::fromUtf8(c.brief)) << c.brief;
        EXPECT_EQ(parts.full(), TimeText::due(date, now, calendar, english)) << c.brief;
        DueText cached;
        cached.of(date, now, calendar, english);
        EXPECT_EQ(cached.brief(), QString::fromUtf8(c.brief)) << c.brief;
    }
}

TEST(TimeText, DueCountsCalendarDaysAcrossDaylightSavingChanges)
{
    // Clocks go forward on 9 March 2025 in New York and on 30 March in Berlin, back on 2 November
    // and 26 October: those days last 23 and 25 hours.
    expectDueTexts(Calendar::named("America/New_York"), QLocale(QLocale::English, QLocale::UnitedStates), {
        {"spring, before midnight", QDate(2025, 3, 8), QTime(23, 50), QDate(2025, 3, 9), QTime(0, 30),
         "Tomorrow, 12:30 AM"},
        {"spring, after the gap", QDate(2025, 3, 9), QTime(0, 30), QDate(2025, 3, 9), QTime(23, 30),
         "Today, 11:30 PM"},
        {"spring, 47.5 hours is two days", QDate(2025, 3, 8), QTime(12, 0), QDate(2025, 3, 10), QTime(11, 30),
         "Mon, 11:30 AM"},
        {"autumn, 48.5 hours is two days", QDate(2025, 11, 1), QTime(0, 0), QDate(2025, 11, 2), QTime(23, 30),
         "Tomorrow, 11:30 PM"},
        {"autumn, late the day before", QDate(2025, 11, 1), QTime(23, 0), QDate(2025, 11, 3), QTime(0, 0),
         "Mon, 12:00 AM"},
    });
    expectDueTexts(Calendar::named("Europe/Berlin"), QLocale(QLocale::German, QLocale::Germany), {
        {"spring, 47.5 hours is two days", QDate(2025, 3, 29), QTime(12, 0), QDate(2025, 3, 31), QTime(11, 30),
         "Mo, 11:30"},
        {"autumn, the day after the change", QDate(2025, 10, 26), QTime(0, 30), QDate(2025, 10, 27),
         QTime(0, 10), "Tomorrow, 00:10"},
    });
}

TEST(TimeText, DueUsesTheLocalesFormatsInGermany)
{
    expectDueTexts(Calendar::named("Europe/Berlin"), QLocale(QLocale::German, QLocale::Germany), {
        {"tomorrow", friday, morning, friday.addDays(1), QTime(9, 30), "Tomorrow, 09:30"},
        {"three days ahead", friday, morning, friday.addDays(3), QTime(17, 0), "Mo, 17:00"},
        {"ten days ahead", friday, morning, friday.addDays(10), QTime(17, 0), "24. März, 17:00"},
        {"next year", friday, morning, QDate(2026, 1, 5), QTime(12, 0), "5. Jan. 2026, 12:00"},
    });
}

TEST(TimeText, DueReadsTheDayInTheCalendarsZone)
{
    // 23:30 UTC on a Friday is Friday evening in New York and Saturday night in Berlin.
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const Date now = *Calendar::named("UTC").date(friday, QTime(12, 0));
    const Date date = *Calendar::named("UTC").date(friday, QTime(23, 30));
    EXPECT_EQ(TimeText::due(date, now, Calendar::named("America/New_York"), english), "Today, 7:30 PM");
    EXPECT_EQ(TimeText::due(date, now, Calendar::named("Europe/Berlin"), english), "Tomorrow, 12:30 AM");
}

TEST(TimeText, DueKeepsEachLocaleApartWhenSeveralAreUsedInTurn)
{
    const Calendar berlin = Calendar::named("Europe/Berlin");
    const Date now = *berlin.date(friday, morning);
    const Date date = *berlin.date(friday, QTime(17, 0));
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(TimeText::due(date, now, berlin, QLocale(QLocale::German, QLocale::Germany)), "Today, 17:00");
        EXPECT_EQ(TimeText::due(date, now, berlin, QLocale(QLocale::English, QLocale::UnitedStates)),
                  "Today, 5:00 PM");
        EXPECT_EQ(TimeText::due(date, now, berlin, QLocale(QLocale::English, QLocale::UnitedKingdom)), "Today, 17:00");
        EXPECT_EQ(TimeText::due(date, now, berlin, QLocale(QLocale::French, QLocale::France)), "Today, 17:00");
        EXPECT_EQ(TimeText::due(date, now, berlin, QLocale(QLocale::Japanese, QLocale::Japan)), "Today, 17:00");
    }
}

TEST(TimeText, DueShowsTheClockOfLcTimeWhenItDiffersFromLang)
{
    const Calendar berlin = Calendar::named("Europe/Berlin");
    const Date now = *berlin.date(friday, morning);
    const Date date = *berlin.date(friday.addDays(3), QTime(17, 0));
    const ScopedEnv all("LC_ALL", std::nullopt);
    const ScopedEnv lang("LANG", "en_US.UTF-8");
    {
        const ScopedEnv time("LC_TIME", "en_GB.UTF-8");
        EXPECT_EQ(TimeText::due(date, now, berlin, TimeLocale::current()), "Mon, 17:00");
    }
    const ScopedEnv time("LC_TIME", std::nullopt);
    EXPECT_EQ(TimeText::due(date, now, berlin, TimeLocale::current()), "Mon, 5:00 PM");
}

} // namespace
