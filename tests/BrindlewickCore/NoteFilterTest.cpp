#include "NoteFilter.h"
#include "NoteList.h"
#include "NoteSort.h"

#include "QtPrinters.h"
#include "TestNotes.h"

#include <gtest/gtest.h>
#include <set>

namespace {

using namespace TestNotes;
using F = NoteFilter;

std::set<NoteFilter> filtersIncluding(const StickyNote &note, Date now, const Calendar &calendar)
{
    std::set<NoteFilter> found;
    for (NoteFilter filter : NoteFilters::allCases) {
        if (includes(filter, note, now, calendar))
            found.insert(filter);
    }
    return found;
}

TEST(NoteFilter, EachNoteIsInExactlyTheFiltersItsStateCallsFor)
{
    const Calendar calendar = Calendar::named("Europe/Berlin");
    const Date now = *calendar.date(QDate(2024, 6, 12), QTime(14, 35));
    const Date created = now - 7 * 86400;
    const auto with = [&](auto change) {
        StickyNote n = note(1, created);
        change(n);
        return n;
    };
    const auto due = [&](double offset) { return with([&](StickyNote &n) { n.setDeadline(now + offset, created); }); };
    const auto timed = [&](NoteTimer timer) { return with([&](StickyNote &n) { n.timer = timer; }); };

    struct Case { const char *name; StickyNote note; std::set<NoteFilter> filters; };
    const Case cases[] = {
        {"plain", note(1, created), {F::all}},
        {"pinned", with([](StickyNote &n) { n.pinned = true; }), {F::all, F::pinned}},
        {"tucked", with([](StickyNote &n) { n.tucked = true; }), {F::all, F::tucked}},
        {"done", with([&](StickyNote &n) { n.doneAt = now; }), {F::done}},
        {"done with a finished timer and pinned", with([&](StickyNote &n) {
             n.doneAt = now;
             n.pinned = true;
             n.timer = runningTimer(60, -10, now);
         }),
         {F::done}},
        {"deleted", with([&](StickyNote &n) { n.deletedAt = now; }), {F::deleted}},
        {"done and deleted", with([&](StickyNote &n) { n.doneAt = n.deletedAt = now; }), {F::deleted}},
        {"deadline three days ago", due(-3 * 86400), {F::all, F::today, F::overdue}},
        {"deadline exactly now", due(0), {F::all, F::today, F::overdue}},
        {"deadline later today", due(3600), {F::all, F::today}},
        {"deadline tomorrow", due(86400), {F::all}},
        {"running timer", timed(runningTimer(600, 300, now)), {F::all, F::timers, F::today}},
        {"finished timer", timed(runningTimer(600, -5, now)), {F::all, F::timers, F::today, F::overdue}},
        {"paused timer", timed(pausedTimer(600, 300)), {F::all, F::timers}},
        {"ready timer", timed(NoteTimer(600)), {F::all, F::timers}},
        {"paused timer and a passed deadline", with([&](StickyNote &n) {
             n.timer = pausedTimer(600, 300);
             n.setDeadline(now - 3600, created);
         }),
         {F::all, F::timers, F::today, F::overdue}},
        {"running timer and a deadline next week", with([&](StickyNote &n) {
             n.timer = runningTimer(600, 300, now);
             n.setDeadline(now + 7 * 86400, created);
         }),
         {F::all, F::timers, F::today}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(filtersIncluding(c.note, now, calendar), c.filters) << c.name;
}

// Deadlines around midnight in Berlin, counted in Berlin and in New York (six hours behind).
TEST(NoteFilter, DueTodayFollowsTheCalendarsDay)
{
    const Calendar berlin = Calendar::named("Europe/Berlin");
    const Calendar newYork = Calendar::named("America/New_York");
    struct Case {
        const char *name;
        QDateTime now;
        QDateTime deadline;
        bool todayInBerlin;
        bool todayInNewYork;
    };
    const auto inBerlin = [&](QDate day, QTime time) { return QDateTime(day, time, berlin.zone()); };
    const QDate june12(2024, 6, 12);
    const QDate june13(2024, 6, 13);
    const Case cases[] = {
        {"last second of the day in both", inBerlin(june12, QTime(23, 0)), inBerlin(june12, QTime(23, 59, 59)),
         true, true},
        {"after midnight in Berlin, evening in New York", inBerlin(june12, QTime(23, 0)),
         inBerlin(june13, QTime(0, 10)), false, true},
        {"tomorrow morning in New York", inBerlin(june12, QTime(23, 0)), inBerlin(june13, QTime(6, 0)), false,
         false},
        {"just past midnight in Berlin, still yesterday in New York", inBerlin(june13, QTime(0, 5)),
         inBerlin(june13, QTime(7, 0)), true, false},
        {"the 25-hour day when summer time ends", inBerlin(QDate(2024, 10, 27), QTime(0, 30)),
         inBerlin(QDate(2024, 10, 27), QTime(23, 30)), true, false},
        {"the 23-hour day when summer time starts", inBerlin(QDate(2024, 3, 31), QTime(0, 30)),
         inBerlin(QDate(2024, 4, 1), QTime(0, 10)), false, false},
    };
    for (const Case &c : cases) {
        const Date now = Date::fromDateTime(c.now);
        StickyNote n = note(1, now - 86400);
        n.setDeadline(Date::fromDateTime(c.deadline), now - 86400);
        EXPECT_EQ(includes(NoteFilter::today, n, now, berlin), c.todayInBerlin) << c.name;
        EXPECT_EQ(includes(NoteFilter::today, n, now, newYork), c.todayInNewYork) << c.name;
        EXPECT_FALSE(includes(NoteFilter::overdue, n, now, berlin)) << c.name;
    }
}

TEST(NoteFilter, CountsFollowTheFilterAndTheZone)
{
    const Calendar berlin = Calendar::named("Europe/Berlin");
    const Calendar newYork = Calendar::named("America/New_York");
    const Date now = *berlin.date(QDate(2024, 6, 12), QTime(23, 0));
    QList<StickyNote> notes;
    for (int i = 0; i < 6; ++i) {
        // Deadlines at 23:30, 00:30, … Berlin time: only the first is today in Berlin, all six are in New York.
        StickyNote n = note(i, now - 3600);
        n.setDeadline(now + 1800 + i * 3600, now - 3600);
        notes.append(n);
    }
    StickyNote done = note(6, now - 3600);
    done.setDeadline(now + 1800, now - 3600);
    done.doneAt = now;
    notes.append(done);

    EXPECT_EQ(NoteList::count(notes, NoteFilter::today, now, berlin), 1);
    EXPECT_EQ(NoteList::count(notes, NoteFilter::today, now, newYork), 6);
    EXPECT_EQ(NoteList::count(notes, NoteFilter::all, now, berlin), 6);
    EXPECT_EQ(NoteList::count(notes, NoteFilter::done, now, berlin), 1);
    EXPECT_EQ(NoteList::count(notes, NoteFilter::overdue, now + 1800, berlin), 1);
    for (NoteFilter filter : NoteFilters::allCases)
        EXPECT_EQ(NoteList::count({}, filter, now, berlin), 0) << toString(filter).toStdString();
}

TEST(NoteFilter, RawValuesAndTitlesOfFiltersAndSortsInMenuOrder)
{
    QStringList filters;
    for (NoteFilter filter : NoteFilters::allCases) {
        EXPECT_EQ(noteFilterFromString(toString(filter)), filter);
        filters << toString(filter) + u'=' + title(filter);
    }
    EXPECT_EQ(filters, QStringList({"all=All notes", "pinned=Floating", "timers=Timers", "today=Due today",
                                    "overdue=Overdue", "tucked=In the notch", "done=Done",
                                    "deleted=Recently deleted"}));
    QStringList sorts;
    for (NoteSort sort : NoteSorts::allCases) {
        EXPECT_EQ(noteSortFromString(toString(sort)), sort);
        sorts << toString(sort) + u'=' + title(sort);
    }
    EXPECT_EQ(sorts, QStringList({"urgency=Time left", "edited=Last edited", "created=Date created"}));
    for (const char *raw : {"All", "", "due", " all", "Urgency"}) {
        EXPECT_FALSE(noteFilterFromString(QLatin1String(raw))) << raw;
        EXPECT_FALSE(noteSortFromString(QLatin1String(raw))) << raw;
    }
}

} // namespace
