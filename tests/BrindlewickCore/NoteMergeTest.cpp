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

struct Case {
    const char *name;
    QList<StickyNote> base;
    QList<StickyNote> ours;
    QList<StickyNote> theirs;
    QList<StickyNote> merged;
    int cameIn;
};

TEST(NoteMerge, MatchesNotesByIdAndKeepsTheLatestChangeOfEach)
{
    StickyNote deletedHere = original(1);
    deletedHere.deletedAt = t0 + 5;
    StickyNote doneThere = original(1);
    doneThere.doneAt = t0 + 7;
    doneThere.edited = t0 + 7;
    StickyNote movedHere = original(2);
    movedHere.frame = NoteFrame{10, 20, 250, 230};
    StickyNote deletedThereLater = rewritten(1, "Note 1", 9);
    deletedThereLater.deletedAt = t0 + 20;

    const Case cases[] = {
        {"nothing changed", {original(1)}, {original(1)}, {original(1)}, {original(1)}, 0},
        {"a new note there comes in after ours", {original(1)}, {original(1), original(2)},
         {original(1), original(3)}, {original(1), original(2), original(3)}, 1},
        {"a note only we changed keeps our copy", {original(1)}, {rewritten(1, "ours", 1)}, {original(1)},
         {rewritten(1, "ours", 1)}, 0},
        {"a note only they changed takes theirs, however old its edit", {original(1)}, {original(1)},
         {rewritten(1, "theirs", -5000)}, {rewritten(1, "theirs", -5000)}, 1},
        {"both changed: the later edit wins as a whole", {original(1), original(2)},
         {rewritten(1, "ours later", 9), rewritten(2, "ours earlier", 3)},
         {rewritten(1, "theirs earlier", 4), rewritten(2, "theirs later", 8)},
         {rewritten(1, "ours later", 9), rewritten(2, "theirs later", 8)}, 1},
        {"both changed at the same moment: the file wins", {original(1)}, {rewritten(1, "ours", 5)},
         {rewritten(1, "theirs", 5)}, {rewritten(1, "theirs", 5)}, 1},
        {"a deletion here travels though it leaves `edited` alone", {original(1)}, {deletedHere}, {original(1)},
         {deletedHere}, 0},
        {"completion there travels", {original(1)}, {original(1)}, {doneThere}, {doneThere}, 1},
        {"both changed: a deletion counts as a change at its moment", {original(1)}, {deletedHere},
         {rewritten(1, "theirs", 2)}, {deletedHere}, 0},
        {"both changed: their later deletion wins over our edit", {original(1)}, {rewritten(1, "ours", 10)},
         {deletedThereLater}, {deletedThereLater}, 1},
        {"a moved window is a change like any other", {original(2)}, {movedHere}, {original(2)}, {movedHere}, 0},
        {"a note we removed for good stays removed while the file holds it unchanged", {original(1), original(2)},
         {original(2)}, {original(1), original(2)}, {original(2)}, 0},
        {"a note we removed for good but they changed since comes back", {original(1)}, {},
         {rewritten(1, "theirs", 3)}, {rewritten(1, "theirs", 3)}, 1},
        {"a note the file lost stays with us", {original(1), original(2)}, {original(1), original(2)},
         {original(2)}, {original(1), original(2)}, 0},
        {"nothing seen before: only edits decide", {}, {rewritten(1, "ours", 1), original(2)},
         {rewritten(1, "theirs", 2), original(3)}, {rewritten(1, "theirs", 2), original(2), original(3)}, 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const NoteMerge::Merged merged = NoteMerge::merge(NoteBook(c.base), NoteBook(c.ours), NoteBook(c.theirs));
        EXPECT_EQ(merged.book, NoteBook(c.merged));
        EXPECT_EQ(merged.cameIn, c.cameIn);
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

    const NoteMerge::Merged same = NoteMerge::merge(NoteBook({base}), NoteBook({ours}), NoteBook({sameTimes}));
    ASSERT_EQ(same.book.notes.size(), 1);
    EXPECT_EQ(same.book.notes[0].text, "theirs");
    EXPECT_EQ(same.book.notes[0].alertedTimerEnd, ours.alertedTimerEnd);
    EXPECT_EQ(same.book.notes[0].alertedDeadline, ours.alertedDeadline);
    EXPECT_EQ(same.book.notes[0].alertedWarning, ours.alertedWarning);

    const NoteMerge::Merged moved = NoteMerge::merge(NoteBook({base}), NoteBook({ours}), NoteBook({newTimes}));
    EXPECT_EQ(moved.book, NoteBook({newTimes})) << "new times alert afresh";
}

} // namespace
