#include "NoteMerge.h"

#include "QtPrinters.h"
#include "TestNotes.h"

#include <gtest/gtest.h>
#include <functional>

namespace {

using namespace TestNotes;

const Date t0{780000000};

// The note numbered `number` as the file had it when this run last saw it.
StickyNote original(int number)
{
    StickyNote n = note(number, t0 - 1000, QStringLiteral("Note %1").arg(number));
    n.edited = t0 - 1000;
    return n;
}

StickyNote rewritten(int number, const QString &text, double at)
{
    StickyNote n = original(number);
    n.text = text;
    n.edited = t0 + at;
    return n;
}

StickyNote deleted(StickyNote n, double at)
{
    n.deletedAt = t0 + at;
    return n;
}

StickyNote done(StickyNote n, double at)
{
    n.doneAt = t0 + at;
    n.edited = t0 + at;
    return n;
}

// Put back live (a restore, an undo) at `at`: neither `edited` nor a deletion says when.
StickyNote restored(StickyNote n, double at)
{
    n.deletedAt.reset();
    n.doneAt.reset();
    n.changedAt = t0 + at;
    return n;
}

struct Case {
    const char *name;
    // The file as last read, and as last written when that differs.
    QList<StickyNote> base;
    QList<StickyNote> ours;
    QList<StickyNote> theirs;
    QList<StickyNote> merged;
    int cameIn;
    // An edit made here lost, so the notes in hand are to be kept.
    bool oursLost = false;
    std::optional<QList<StickyNote>> written = std::nullopt;
};

TEST(NoteMerge, MatchesNotesByIdAndKeepsTheLatestChangeOfEach)
{
    StickyNote deletedHere = deleted(original(1), 5);
    StickyNote doneThere = done(original(1), 7);
    StickyNote movedHere = original(2);
    movedHere.frame = NoteFrame{10, 20, 250, 230};
    StickyNote deletedThereLater = deleted(rewritten(1, "Note 1", 9), 20);
    const StickyNote saved = rewritten(2, "saved", 3);
    StickyNote savedThenMoved = saved;
    savedThenMoved.frame = NoteFrame{10, 20, 250, 230};

    const Case cases[] = {
        {"nothing changed", {original(1)}, {original(1)}, {original(1)}, {original(1)}, 0},
        {"a new note there comes in after ours", {original(1)}, {original(1), original(2)},
         {original(1), original(3)}, {original(1), original(2), original(3)}, 1},
        {"a note only we changed keeps our copy", {original(1)}, {rewritten(1, "ours", 1)}, {original(1)},
         {rewritten(1, "ours", 1)}, 0},
        {"a note only they changed, later, takes theirs", {original(1)}, {original(1)},
         {rewritten(1, "theirs", 5)}, {rewritten(1, "theirs", 5)}, 1},
        {"a copy there older than the one we read loses to it", {original(1)}, {original(1)},
         {rewritten(1, "theirs", -5000)}, {original(1)}, 0},
        {"an older copy of a note we saved loses to it", {original(1)}, {rewritten(1, "ours", 9)},
         {rewritten(1, "theirs", 5)}, {rewritten(1, "ours", 9)}, 0, false, {{rewritten(1, "ours", 9)}}},
        {"a newer copy of a note we saved wins, and ours is to be kept", {original(1)}, {rewritten(1, "ours", 5)},
         {rewritten(1, "theirs", 9)}, {rewritten(1, "theirs", 9)}, 1, true, {{rewritten(1, "ours", 5)}}},
        {"the copy we wrote gives way to what we did since, though `edited` stayed", {original(2)}, {savedThenMoved},
         {saved}, {savedThenMoved}, 0, false, {{saved}}},
        {"both changed: the later edit wins as a whole", {original(1), original(2)},
         {rewritten(1, "ours later", 9), rewritten(2, "ours earlier", 3)},
         {rewritten(1, "theirs earlier", 4), rewritten(2, "theirs later", 8)},
         {rewritten(1, "ours later", 9), rewritten(2, "theirs later", 8)}, 1, true},
        {"both changed at the same moment: the file wins", {original(1)}, {rewritten(1, "ours", 5)},
         {rewritten(1, "theirs", 5)}, {rewritten(1, "theirs", 5)}, 1, true},
        {"a deletion here travels though it leaves `edited` alone", {original(1)}, {deletedHere}, {original(1)},
         {deletedHere}, 0},
        {"completion there travels", {original(1)}, {original(1)}, {doneThere}, {doneThere}, 1},
        {"our deletion beats an earlier edit there", {original(1)}, {deletedHere},
         {rewritten(1, "theirs", 2)}, {deletedHere}, 0},
        {"our deletion loses to a later edit there", {original(1)}, {deletedHere},
         {rewritten(1, "theirs", 8)}, {rewritten(1, "theirs", 8)}, 1, true},
        {"their later deletion beats our edit", {original(1)}, {rewritten(1, "ours", 10)},
         {deletedThereLater}, {deletedThereLater}, 1, true},
        {"their deletion loses to a later edit here", {original(1)}, {rewritten(1, "ours", 30)},
         {deletedThereLater}, {rewritten(1, "ours", 30)}, 0},
        {"our completion beats an earlier edit there", {original(1)}, {done(original(1), 9)},
         {rewritten(1, "theirs", 4)}, {done(original(1), 9)}, 0},
        {"their completion beats an earlier edit here", {original(1)}, {rewritten(1, "ours", 4)},
         {doneThere}, {doneThere}, 1, true},
        {"a restore here beats an earlier deletion there", {original(1)}, {restored(original(1), 30)},
         {deleted(original(1), 5)}, {restored(original(1), 30)}, 0},
        {"an undone completion here beats an earlier completion there", {original(1)}, {restored(original(1), 30)},
         {doneThere}, {restored(original(1), 30)}, 0},
        {"a restore there beats an earlier deletion here", {original(1)}, {deletedHere},
         {restored(original(1), 8)}, {restored(original(1), 8)}, 1, true},
        {"a restore here loses to a later edit there", {original(1)}, {restored(original(1), 3)},
         {rewritten(1, "theirs", 4)}, {rewritten(1, "theirs", 4)}, 1, true},
        {"a moved window is a change like any other", {original(2)}, {movedHere}, {original(2)}, {movedHere}, 0},
        {"a note we removed for good stays removed while the file holds it as seen", {original(1), original(2)},
         {original(2)}, {original(1), original(2)}, {original(2)}, 0},
        {"a note we removed for good but they changed since comes back", {original(1)}, {},
         {rewritten(1, "theirs", 3)}, {rewritten(1, "theirs", 3)}, 1},
        {"a note the file lost stays with us", {original(1), original(2)}, {original(1), original(2)},
         {original(2)}, {original(1), original(2)}, 0},
        {"nothing seen before: only edits decide", {}, {rewritten(1, "ours", 1), original(2)},
         {rewritten(1, "theirs", 2), original(3)}, {rewritten(1, "theirs", 2), original(2), original(3)}, 2,
         true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const NoteMerge::Seen seen{NoteBook(c.base), NoteBook(c.written.value_or(c.base))};
        const NoteMerge::Merged merged = NoteMerge::merge(seen, NoteBook(c.ours), NoteBook(c.theirs));
        EXPECT_EQ(merged.book, NoteBook(c.merged));
        EXPECT_EQ(merged.cameIn, c.cameIn);
        EXPECT_EQ(merged.oursLost, c.oursLost);
    }
}

TEST(NoteMerge, AnAlertRaisedHereForTheSameTimeStaysRaisedWhenTheirCopyWins)
{
    StickyNote base = original(1);
    base.timer = runningTimer(60, 30, t0);
    base.setDeadline(t0 + 100, t0 - 1000);
    StickyNote ours = base;
    ours.alertedTimerEnd = ours.timer->endsAt;
    ours.alertedDeadline = ours.deadline;
    ours.alertedWarning = *ours.deadline - 60;
    StickyNote sameTimes = rewritten(1, "theirs", 5);
    sameTimes.timer = base.timer;
    sameTimes.deadline = base.deadline;
    StickyNote newTimes = sameTimes;
    newTimes.timer = runningTimer(60, 50, t0);
    newTimes.setDeadline(t0 + 500, t0 + 5);

    const NoteMerge::Merged same = NoteMerge::merge({NoteBook({base}), NoteBook({base})}, NoteBook({ours}), NoteBook({sameTimes}));
    ASSERT_EQ(same.book.notes.size(), 1);
    EXPECT_EQ(same.book.notes[0].text, "theirs");
    EXPECT_EQ(same.book.notes[0].alertedTimerEnd, ours.alertedTimerEnd);
    EXPECT_EQ(same.book.notes[0].alertedDeadline, ours.alertedDeadline);
    EXPECT_EQ(same.book.notes[0].alertedWarning, ours.alertedWarning);

    const NoteMerge::Merged moved = NoteMerge::merge({NoteBook({base}), NoteBook({base})}, NoteBook({ours}), NoteBook({newTimes}));
    EXPECT_EQ(moved.book, NoteBook({newTimes})) << "new times alert afresh";
}

} // namespace
