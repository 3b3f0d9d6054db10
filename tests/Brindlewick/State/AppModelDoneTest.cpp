#include "AppModelFixture.h"

#include <functional>

namespace {

class AppModelDoneTest : public AppModelTest {
protected:
    AppModelDoneTest() { model->load(); }

    QUuid putNote(const QString &text, const std::function<void(StickyNote &)> &setup = {})
    {
        StickyNote n = note(text);
        if (setup)
            setup(n);
        return put(n);
    }

    QList<QUuid> ids(const QList<StickyNote> &notes) const
    {
        QList<QUuid> result;
        for (const StickyNote &n : notes)
            result.append(n.id);
        return result;
    }
};

TEST_F(AppModelDoneTest, MarkingDoneOffersAnUndoThatPutsTheWholeNoteBack)
{
    const QUuid id = putNote("Buy milk\nand eggs", [](StickyNote &n) { n.alertedTimerEnd = t0 - 60; });
    const StickyNote before = stored(id);
    model->setRinging({id});
    now = t0 + 1;
    model->toggleDone(id);
    EXPECT_EQ(stored(id).doneAt, t0 + 1);
    EXPECT_EQ(stored(id).edited, t0 + 1);
    EXPECT_FALSE(model->ringing().contains(id));
    EXPECT_EQ(notifier->schedules, 1);
    ASSERT_TRUE(model->banner());
    EXPECT_EQ(model->banner()->text, "Marked “Buy milk” done");
    EXPECT_EQ(model->banner()->undo, QList<StickyNote>{before});

    model->setText(id, "Changed since");
    now = t0 + 2;
    model->undo();
    StickyNote putBack = before;
    putBack.changedAt = t0 + 2;
    EXPECT_EQ(stored(id), putBack) << "as it was, changed now";
    EXPECT_EQ(model->banner(), std::nullopt);
    EXPECT_EQ(notifier->schedules, 2);
    EXPECT_TRUE(model->ringing().isEmpty()) << "undo leaves ringing alone";
}

TEST_F(AppModelDoneTest, MarkingNotDoneLeavesThePreviousBanner)
{
    const QUuid id = putNote("Walk", [](StickyNote &n) { n.doneAt = t0 - 100; });
    const Banner earlier("Deleted “Other”");
    model->setBanner(earlier);
    model->toggleDone(id);
    EXPECT_TRUE(stored(id).isLive());
    EXPECT_EQ(model->banner(), earlier);
}

TEST_F(AppModelDoneTest, DeletingNamesOneNoteOrCountsSeveral)
{
    struct Case { QList<int> listed; QList<int> alreadyDeleted; QString text; QList<int> undone; };
    const Case cases[] = {
        {{0}, {}, "Deleted “First”", {0}},
        {{0, 1, 2}, {}, "Deleted 3 notes", {0, 1, 2}},
        {{2, 0}, {0}, "Deleted “Third”", {2}},
        {{1, 1}, {}, "Deleted “Second”", {1}},
    };
    for (const Case &c : cases) {
        rebuild();
        model->load();
        QList<QUuid> notes;
        for (const char *text : {"First", "Second", "Third"})
            notes.append(putNote(text));
        QList<StickyNote> expectedUndo;
        for (int i : c.alreadyDeleted)
            put([&] { StickyNote n = stored(notes[i]); n.deletedAt = t0 - 500; return n; }());
        for (int i : c.undone)
            expectedUndo.append(stored(notes[i]));
        QList<QUuid> listed;
        for (int i : c.listed)
            listed.append(notes[i]);
        model->setRinging(QSet<QUuid>(notes.cbegin(), notes.cend()));

        now = t0 + 2;
        model->deleteNotes(listed);
        ASSERT_TRUE(model->banner()) << c.text.toStdString();
        EXPECT_EQ(model->banner()->text, c.text);
        EXPECT_EQ(model->banner()->undo, expectedUndo) << c.text.toStdString();
        for (const QUuid &id : listed) {
            EXPECT_EQ(stored(id).deletedAt, t0 + 2) << c.text.toStdString();
            EXPECT_EQ(stored(id).edited, t0 - 3600);
            EXPECT_FALSE(model->ringing().contains(id));
        }
        EXPECT_EQ(model->ringing().size(), 3 - QSet<QUuid>(listed.cbegin(), listed.cend()).size());
        EXPECT_EQ(notifier->schedules, 1);
    }
}

TEST_F(AppModelDoneTest, DeletingNothingNewChangesNothing)
{
    const QUuid gone = putNote("Gone", [](StickyNote &n) { n.deletedAt = t0 - 5; });
    const NoteBook before = model->book();
    model->setRinging({gone});
    for (const QList<QUuid> &listed : {QList<QUuid>{}, QList<QUuid>{gone, QUuid::createUuid()}}) {
        model->deleteNotes(listed);
        EXPECT_EQ(model->book(), before);
        EXPECT_EQ(model->banner(), std::nullopt);
        EXPECT_TRUE(model->ringing().contains(gone));
        EXPECT_EQ(notifier->schedules, 0);
    }
}

TEST_F(AppModelDoneTest, DeletingClearsTheSelectionOnlyWhenItIsListed)
{
    const QUuid a = putNote("A");
    const QUuid b = putNote("B");
    model->setSelection(a);
    model->deleteNotes({b});
    EXPECT_EQ(model->selection(), a);
    model->deleteNotes({a});
    EXPECT_EQ(model->selection(), std::nullopt);

    model->setSelection(b);
    model->deleteForever(b);
    EXPECT_EQ(model->selection(), std::nullopt);
}

TEST_F(AppModelDoneTest, RestoringBringsADoneAndDeletedNoteBackLive)
{
    const QUuid id = putNote("Back", [](StickyNote &n) { n.doneAt = t0 - 20; n.deletedAt = t0 - 10; });
    now = t0 + 5;
    model->restore(id);
    EXPECT_TRUE(stored(id).isLive());
    EXPECT_EQ(stored(id).edited, t0 - 3600);
    EXPECT_EQ(stored(id).changedAt, t0 + 5);
    EXPECT_TRUE(model->savePending());
    EXPECT_EQ(notifier->schedules, 1);
    model->restore(id);
    EXPECT_EQ(notifier->schedules, 1) << "restoring a live note changes nothing";
}

TEST_F(AppModelDoneTest, DeletingForeverAlwaysSavesAndReschedulesAndUndoAppendsTheNoteAgain)
{
    model->deleteForever(QUuid::createUuid());
    EXPECT_TRUE(model->savePending());
    EXPECT_EQ(notifier->schedules, 1);

    const QUuid first = putNote("First");
    const QUuid second = putNote("Second");
    model->deleteNotes({first});
    model->deleteForever(first);
    model->undo();
    EXPECT_EQ(ids(model->book().notes), QList<QUuid>({second, first}));
    EXPECT_TRUE(stored(first).isLive());
}

TEST_F(AppModelDoneTest, EmptyingTheDeletedKeepsTheOrderOfTheRest)
{
    const QUuid a = putNote("A");
    putNote("B", [](StickyNote &n) { n.deletedAt = t0 - 1; });
    const QUuid c = putNote("C", [](StickyNote &n) { n.doneAt = t0 - 1; });
    putNote("D", [](StickyNote &n) { n.deletedAt = t0 - 1; n.doneAt = t0 - 2; });
    const QUuid e = putNote("E");
    model->emptyDeleted();
    EXPECT_EQ(ids(model->book().notes), QList<QUuid>({a, c, e}));
    EXPECT_TRUE(model->savePending());
    EXPECT_EQ(notifier->schedules, 0);
}

TEST_F(AppModelDoneTest, UndoWithoutAnUndoListDoesNothing)
{
    const QUuid id = putNote("A");
    model->setBanner(Banner("Couldn’t save notes: disk full"));
    model->undo();
    EXPECT_TRUE(model->banner());
    EXPECT_FALSE(model->savePending());
    EXPECT_TRUE(stored(id).isLive());
}

TEST_F(AppModelDoneTest, ListsSplitTheNotesForTheDesktopTrayAndLibrary)
{
    model->setSort(NoteSort::created);
    const QUuid desk1 = putNote("Desk one");
    const QUuid trayLater = putNote("Tray later", [](StickyNote &n) {
        n.tucked = true;
        n.created = t0 - 100;
        n.setDeadline(t0 + 3600, t0 - 3600);
    });
    putNote("Done", [](StickyNote &n) { n.doneAt = t0 - 1; });
    const QUuid traySooner = putNote("Tray sooner", [](StickyNote &n) {
        n.tucked = true;
        n.setDeadline(t0 + 60, t0 - 3600);
    });
    putNote("Deleted tray", [](StickyNote &n) { n.tucked = true; n.deletedAt = t0 - 1; });
    const QUuid desk2 = putNote("Desk two milk");
    model->tick();

    EXPECT_EQ(ids(model->desktopNotes()), QList<QUuid>({desk1, desk2}));
    EXPECT_EQ(ids(model->tuckedNotes()), QList<QUuid>({traySooner, trayLater}));
    EXPECT_EQ(model->count(NoteFilter::all), 4);
    EXPECT_EQ(model->count(NoteFilter::tucked), 2);
    EXPECT_EQ(model->count(NoteFilter::deleted), 1);
    model->setQuery("MILK");
    EXPECT_EQ(ids(model->visible()), QList<QUuid>({desk2}));
    model->setQuery("");
    model->setFilter(NoteFilter::tucked);
    EXPECT_EQ(ids(model->visible()), QList<QUuid>({trayLater, traySooner})) << "the library follows its sort";
}

TEST_F(AppModelDoneTest, NotificationAnswersOpenSnoozeOrFinishTheNote)
{
    QList<QUuid> shown;
    model->onShow = [&](const QUuid &id) { shown.append(id); };
    const QUuid id = putNote("Tea", [](StickyNote &n) {
        n.timer = NoteTimer(60);
        n.timer->start(t0 - 100);
    });
    const QUuid missing = QUuid::createUuid();

    model->setNotesHidden(true);
    model->setRinging({id, missing});
    notifier->onAction(missing, NotifyAction::open);
    EXPECT_FALSE(model->notesHidden());
    EXPECT_EQ(model->ringing(), QSet<QUuid>{id});
    EXPECT_EQ(shown, QList<QUuid>{missing});

    notifier->onAction(id, NotifyAction::snooze);
    EXPECT_EQ(stored(id).timer->endsAt, t0 + 300);
    EXPECT_TRUE(model->ringing().isEmpty());

    notifier->onAction(id, NotifyAction::done);
    EXPECT_TRUE(stored(id).isDone());
    const StickyNote done = stored(id);
    now = t0 + 50;
    notifier->onAction(id, NotifyAction::done);
    EXPECT_EQ(stored(id), done) << "a done note stays done";
    notifier->onAction(missing, NotifyAction::done);
    EXPECT_EQ(model->book().notes.size(), 1);
}

// A notification left on screen answers nothing once its note is finished or deleted, and every
// way a ring ends takes the note's notifications away.
TEST_F(AppModelDoneTest, LateAnswersChangeNothingAndEndingARingWithdrawsItsNotifications)
{
    const auto ranDown = [](StickyNote &n) {
        n.timer = NoteTimer(60);
        n.timer->start(t0 - 100);
    };
    const QUuid done = putNote("Done", ranDown);
    model->toggleDone(done);
    const QUuid deleted = putNote("Deleted", ranDown);
    model->deleteNotes({deleted});
    for (const QUuid &id : {done, deleted}) {
        const StickyNote before = stored(id);
        for (const NotifyAction action : {NotifyAction::snooze, NotifyAction::done})
            notifier->onAction(id, action);
        EXPECT_EQ(stored(id), before) << before.text.toStdString();
    }

    struct Ending {
        const char *name;
        std::function<void(const QUuid &)> end;
    };
    const QList<Ending> endings{
        {"OK", [&](const QUuid &id) { model->stopRinging(id); }},
        {"Done", [&](const QUuid &id) { model->toggleDone(id); }},
        {"Delete", [&](const QUuid &id) { model->deleteNotes({id}); }},
        {"a new deadline", [&](const QUuid &id) { model->setDeadline(id, t0 + 600); }},
        {"+5", [&](const QUuid &id) { model->addTime(id, 300); }},
        {"delete for good", [&](const QUuid &id) { model->deleteForever(id); }},
    };
    for (const Ending &ending : endings) {
        const QUuid id = putNote(ending.name, ranDown);
        model->setRinging({id});
        notifier->withdrawn.clear();
        ending.end(id);
        EXPECT_EQ(notifier->withdrawn, QList<QUuid>{id}) << ending.name;
        EXPECT_TRUE(model->ringing().isEmpty()) << ending.name;
    }
}

} // namespace
