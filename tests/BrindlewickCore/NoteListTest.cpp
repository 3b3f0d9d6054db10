#include "NoteList.h"

#include "QtPrinters.h"
#include "TestNotes.h"

#include <gtest/gtest.h>

namespace {

using namespace TestNotes;

const Date now{760000000};
const Calendar utc = Calendar::named("UTC");

// Each note's text, in list order: the texts name the notes in these tests.
QStringList texts(const QList<StickyNote> &notes)
{
    QStringList result;
    for (const StickyNote &n : notes)
        result.append(n.text);
    return result;
}

QList<StickyNote> reversed(QList<StickyNote> notes)
{
    std::reverse(notes.begin(), notes.end());
    return notes;
}

StickyNote edited(StickyNote n, double secondsAgo)
{
    n.edited = now - secondsAgo;
    return n;
}

StickyNote dueIn(int number, const QString &text, double left, double editedAgo = 500)
{
    StickyNote n = note(number, now - 10000, text);
    n.setDeadline(now + left, now - 10000);
    return edited(n, editedAgo);
}

StickyNote timed(int number, const QString &text, NoteTimer timer, double editedAgo = 500)
{
    StickyNote n = note(number, now - 10000, text);
    n.timer = timer;
    return edited(n, editedAgo);
}

StickyNote plain(int number, const QString &text, double editedAgo)
{
    return edited(note(number, now - 10000, text), editedAgo);
}

TEST(NoteList, UrgencyPutsCountingNotesFirstLeastTimeLeftThenLatestEdit)
{
    const QList<StickyNote> notes{
        plain(1, "plain, edited long ago", 9000),
        dueIn(2, "due in an hour", 3600),
        timed(3, "ready timer, edited just now", NoteTimer(60), 10),
        timed(4, "running, 60 s left", runningTimer(600, 60, now)),
        dueIn(5, "overdue 5 min", -300),
        timed(6, "finished", runningTimer(600, -20, now)),
        timed(7, "paused, 1 s left", pausedTimer(600, 1), 200),
        dueIn(8, "overdue an hour", -3600),
        dueIn(9, "due in 60 s, edited later", 60, 5),
        plain(10, "plain, edited 100 s ago", 100),
    };
    const QStringList expected{
        "overdue an hour",
        "overdue 5 min",
        "finished",
        "due in 60 s, edited later",
        "running, 60 s left",
        "due in an hour",
        "ready timer, edited just now",
        "plain, edited 100 s ago",
        "paused, 1 s left",
        "plain, edited long ago",
    };
    EXPECT_EQ(texts(NoteList::sorted(notes, NoteSort::urgency, now)), expected);
    EXPECT_EQ(texts(NoteList::sorted(reversed(notes), NoteSort::urgency, now)), expected);
}

TEST(NoteList, OrdersAreStableWhereTheRulesSeeNoDifference)
{
    // Equal time left and equal edits, or no countdown and equal edits: input order, whatever the ids.
    const QList<StickyNote> notes{
        dueIn(9, "a: due in an hour", 3600),
        plain(3, "b: plain", 500),
        dueIn(1, "c: due in an hour", 3600),
        timed(7, "d: ready timer", NoteTimer(60)),
        plain(5, "e: plain", 500),
    };
    EXPECT_EQ(texts(NoteList::sorted(notes, NoteSort::urgency, now)),
              QStringList({"a: due in an hour", "c: due in an hour", "b: plain", "d: ready timer", "e: plain"}));
    EXPECT_EQ(texts(NoteList::sorted(reversed(notes), NoteSort::urgency, now)),
              QStringList({"c: due in an hour", "a: due in an hour", "e: plain", "d: ready timer", "b: plain"}));
}

TEST(NoteList, DateOrdersBreakTiesByTheIdentifierTextDescending)
{
    const auto withId = [](const char *id, const QString &text, double editedAgo, double createdAgo) {
        StickyNote n(QUuid::fromString(QLatin1String(id)), text, NoteColor::lemon, now - createdAgo);
        n.edited = now - editedAgo;
        return n;
    };
    // The second and third ids differ in their variant bits, which QUuid's own ordering looks at first.
    const QList<StickyNote> notes{
        withId("10000000-0000-4000-C000-000000000000", "a", 50, 400),
        withId("F0000000-0000-4000-8000-000000000000", "b", 50, 300),
        withId("A0000000-0000-4000-8000-000000000000", "c", 50, 300),
        withId("F0000000-0000-4000-8000-000000000000", "d", 10, 300),
        withId("F0000000-0000-4000-8000-000000000000", "e", 50, 300),
        withId("00000000-0000-4000-8000-0000000000FF", "f", 50, 500),
    };
    EXPECT_EQ(texts(NoteList::sorted(notes, NoteSort::edited, now)), QStringList({"d", "b", "e", "c", "a", "f"}));
    EXPECT_EQ(texts(NoteList::sorted(notes, NoteSort::created, now)), QStringList({"b", "d", "e", "c", "a", "f"}));
    EXPECT_EQ(texts(NoteList::sorted(reversed(notes), NoteSort::created, now)),
              QStringList({"e", "d", "b", "c", "a", "f"}));
}

TEST(NoteList, VisibleFiltersThenSearchesThenSorts)
{
    QList<StickyNote> notes{
        plain(1, "Buy milk", 300),
        plain(2, "Milk and eggs", 100),
        dueIn(3, "Eggs for the cake", 7200),
        plain(4, "Old milk note", 50),
        timed(5, "Tea timer", runningTimer(300, 120, now)),
    };
    notes[3].deletedAt = now - 60;
    notes[1].tucked = true;

    struct Case { const char *name; NoteFilter filter; const char *query; NoteSort sort; QStringList expected; };
    const Case cases[] = {
        {"everything live, by urgency", NoteFilter::all, "", NoteSort::urgency,
         {"Tea timer", "Eggs for the cake", "Milk and eggs", "Buy milk"}},
        {"whitespace query, by last edit", NoteFilter::all, " \t", NoteSort::edited,
         {"Milk and eggs", "Buy milk", "Tea timer", "Eggs for the cake"}},
        {"two words", NoteFilter::all, "eggs milk", NoteSort::edited, {"Milk and eggs"}},
        {"search inside the trash", NoteFilter::deleted, "milk", NoteSort::edited, {"Old milk note"}},
        {"tucked only", NoteFilter::tucked, "", NoteSort::created, {"Milk and eggs"}},
        {"nothing matches", NoteFilter::all, "coffee", NoteSort::urgency, {}},
    };
    for (const Case &c : cases) {
        const QList<StickyNote> shown =
            NoteList::visible(notes, c.filter, NoteQuery(QString::fromUtf8(c.query)), c.sort, now, utc);
        EXPECT_EQ(texts(shown), c.expected) << c.name;
    }
    EXPECT_TRUE(NoteList::visible({}, NoteFilter::all, NoteQuery(), NoteSort::urgency, now, utc).isEmpty());
    EXPECT_TRUE(NoteList::sorted({}, NoteSort::edited, now).isEmpty());
}

TEST(NoteList, SoonestIsTheLiveNoteWithTheLeastTimeLeftFirstOnATie)
{
    StickyNote tuckedSoon = dueIn(1, "tucked, due in 10 min", 600);
    tuckedSoon.tucked = true;
    StickyNote doneOverdue = dueIn(2, "done, overdue", -9000);
    doneOverdue.doneAt = now;
    StickyNote deletedOverdue = dueIn(3, "deleted, overdue", -9000);
    deletedOverdue.deletedAt = now;
    StickyNote pausedWithDeadline = timed(4, "paused, deadline in 2 h", pausedTimer(600, 30));
    pausedWithDeadline.setDeadline(now + 7200, now - 10000);
    const StickyNote readyTimer = timed(5, "ready timer", NoteTimer(30));
    const StickyNote running = timed(6, "running, 5 min left", runningTimer(600, 300, now));
    const StickyNote overdue = dueIn(7, "overdue 1 min", -60);
    const StickyNote alsoRunning = timed(8, "running, 5 min left, later", runningTimer(900, 300, now));
    StickyNote tuckedRunning = timed(9, "tucked, running 5 min", runningTimer(900, 300, now));
    tuckedRunning.tucked = true;

    struct Case {
        const char *name;
        QList<StickyNote> notes;
        bool tuckedOnly;
        std::optional<QString> expected;
        double remaining;
    };
    const Case cases[] = {
        {"empty", {}, false, std::nullopt, 0},
        {"only paused and ready timers", {pausedWithDeadline, readyTimer}, false, std::nullopt, 0},
        {"done and deleted notes do not count", {doneOverdue, deletedOverdue, tuckedSoon}, false,
         "tucked, due in 10 min", 600},
        {"overdue wins over running", {running, tuckedSoon, overdue}, false, "overdue 1 min", -60},
        {"tie: the first in input order", {tuckedSoon, running, alsoRunning}, false, "running, 5 min left", 300},
        {"tie the other way round", {alsoRunning, running}, false, "running, 5 min left, later", 300},
        {"tucked only", {overdue, running, tuckedSoon, tuckedRunning}, true, "tucked, running 5 min", 300},
        {"tucked only without tucked notes", {overdue, running}, true, std::nullopt, 0},
    };
    for (const Case &c : cases) {
        const std::optional<NoteList::NoteCountdown> found = NoteList::soonest(c.notes, now, c.tuckedOnly);
        ASSERT_EQ(found.has_value(), c.expected.has_value()) << c.name;
        if (!found)
            continue;
        EXPECT_EQ(found->note.text, *c.expected) << c.name;
        EXPECT_EQ(found->countdown, Countdowns::primary(found->note, now)) << c.name;
        EXPECT_EQ(found->countdown.remaining, c.remaining) << c.name;
    }
}

} // namespace
