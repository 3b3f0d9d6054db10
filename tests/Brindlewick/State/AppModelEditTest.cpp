#include "AppModelFixture.h"

#include <QSignalSpy>

namespace {

using Operation = std::function<void(AppModel &, const QUuid &)>;
using Prepare = std::function<void(StickyNote &)>;

class AppModelEditTest : public AppModelTest {
protected:
    AppModelEditTest() { model->load(); }

    // "Tea": a running five-minute timer with 200 s left, a deadline in two hours, and ringing.
    QUuid putRingingTea(const Prepare &setup = {})
    {
        StickyNote tea = note("Tea");
        tea.timer = NoteTimer(300);
        tea.timer->start(t0 - 100);
        tea.setDeadline(t0 + 7200, t0 - 3600);
        if (setup)
            setup(tea);
        put(tea);
        model->setRinging({tea.id});
        return tea.id;
    }

    // The five-minute timer ran out 100 s before t0.
    static void runDown(StickyNote &n)
    {
        n.timer = NoteTimer(300);
        n.timer->start(t0 - 400);
    }

    void freshModel()
    {
        rebuild();
        model->load();
    }
};

TEST_F(AppModelEditTest, EachEditFollowsItsRulesForRingingAlertsAndTheEditedStamp)
{
    struct Case {
        const char *name;
        Operation operation;
        bool answersRing;
        bool reschedules;
        bool stampsEdited;
        Prepare setup;
    };
    const Case cases[] = {
        {"setText", [](AppModel &m, const QUuid &id) { m.setText(id, "Milk"); }, false, false, true, {}},
        {"setColor", [](AppModel &m, const QUuid &id) { m.setColor(id, NoteColor::mint); }, false, false, true, {}},
        {"togglePinned", [](AppModel &m, const QUuid &id) { m.togglePinned(id); }, false, false, true, {}},
        {"setFrame", [](AppModel &m, const QUuid &id) { m.setFrame(id, QRectF(10, 20, 250, 230)); }, false, false,
         false, {}},
        {"setTucked", [](AppModel &m, const QUuid &id) { m.setTucked(id, true); }, false, false, true, {}},
        {"setTimer", [](AppModel &m, const QUuid &id) { m.setTimer(id, 60, false); }, true, true, true, {}},
        {"startTimer", [](AppModel &m, const QUuid &id) { m.startTimer(id); }, true, true, true,
         [](StickyNote &n) { n.timer->pause(t0 - 50); }},
        {"pauseTimer", [](AppModel &m, const QUuid &id) { m.pauseTimer(id); }, false, true, true, {}},
        {"resetTimer", [](AppModel &m, const QUuid &id) { m.resetTimer(id); }, true, true, true, {}},
        {"addTime", [](AppModel &m, const QUuid &id) { m.addTime(id, 60); }, true, true, true, {}},
        {"removeTimer", [](AppModel &m, const QUuid &id) { m.removeTimer(id); }, true, true, true, {}},
        {"setDeadline", [](AppModel &m, const QUuid &id) { m.setDeadline(id, t0 + 9000); }, true, true, true, {}},
    };
    for (const Case &c : cases) {
        freshModel();
        const QUuid id = putRingingTea(c.setup);
        const StickyNote before = stored(id);
        QSignalSpy bookChanged(model.get(), &AppModel::bookChanged);
        now = t0 + 1;
        c.operation(*model, id);
        const StickyNote after = stored(id);
        EXPECT_NE(after, before) << c.name;
        EXPECT_EQ(bookChanged.count(), 1) << c.name;
        EXPECT_EQ(model->ringing().contains(id), !c.answersRing) << c.name;
        EXPECT_EQ(notifier->schedules, c.reschedules ? 1 : 0) << c.name;
        EXPECT_EQ(after.edited, c.stampsEdited ? t0 + 1 : before.edited) << c.name;
        EXPECT_TRUE(model->savePending()) << c.name;
    }
}

TEST_F(AppModelEditTest, AnEditThatChangesNothingStoresNothing)
{
    struct Case { const char *name; Operation operation; bool answersRing; };
    const Case cases[] = {
        {"same text", [](AppModel &m, const QUuid &id) { m.setText(id, "Tea"); }, false},
        {"same colour", [](AppModel &m, const QUuid &id) { m.setColor(id, NoteColor::lemon); }, false},
        {"same frame", [](AppModel &m, const QUuid &id) { m.setFrame(id, QRectF(1, 2, 250, 230)); }, false},
        {"same tray flag", [](AppModel &m, const QUuid &id) { m.setTucked(id, false); }, false},
        {"start without timer", [](AppModel &m, const QUuid &id) { m.startTimer(id); }, true},
        {"pause without timer", [](AppModel &m, const QUuid &id) { m.pauseTimer(id); }, false},
        {"reset without timer", [](AppModel &m, const QUuid &id) { m.resetTimer(id); }, true},
        {"add without timer", [](AppModel &m, const QUuid &id) { m.addTime(id, 60); }, true},
        {"remove without timer", [](AppModel &m, const QUuid &id) { m.removeTimer(id); }, true},
        {"clear no deadline", [](AppModel &m, const QUuid &id) { m.setDeadline(id, std::nullopt); }, true},
    };
    for (const Case &c : cases) {
        for (bool known : {true, false}) {
            freshModel();
            StickyNote plain = note("Tea");
            plain.frame = NoteFrame{1, 2, 250, 230};
            const QUuid id = known ? put(plain) : QUuid::createUuid();
            model->setRinging({id});
            const NoteBook before = model->book();
            QSignalSpy bookChanged(model.get(), &AppModel::bookChanged);
            c.operation(*model, id);
            EXPECT_EQ(model->book(), before) << c.name;
            EXPECT_EQ(bookChanged.count(), 0) << c.name;
            EXPECT_FALSE(model->savePending()) << c.name;
            EXPECT_EQ(notifier->schedules, 0) << c.name;
            EXPECT_EQ(model->ringing().contains(id), !c.answersRing) << c.name << " known " << known;
        }
    }
}

TEST_F(AppModelEditTest, SetTimerClampsAndReplacesAnyTimer)
{
    struct Case { double seconds; bool start; NoteTimer expected; };
    NoteTimer running(90);
    running.start(t0);
    for (const Case &c : {Case{0, false, NoteTimer(1)}, Case{500000, false, NoteTimer(356400)},
                          Case{120, false, NoteTimer(120)}, Case{90, true, running}}) {
        const QUuid id = putRingingTea();
        model->setTimer(id, c.seconds, c.start);
        EXPECT_EQ(stored(id).timer, c.expected) << c.seconds;
    }
}

TEST_F(AppModelEditTest, PausingARunDownTimerChangesNothingAndKeepsItRinging)
{
    const QUuid id = putRingingTea(runDown);
    const StickyNote before = stored(id);
    model->pauseTimer(id);
    EXPECT_EQ(stored(id), before);
    EXPECT_TRUE(model->ringing().contains(id));
    EXPECT_FALSE(model->savePending());
}

TEST_F(AppModelEditTest, OnlyRemoveTimerAndSetDeadlineClearAlertStamps)
{
    const QUuid id = putRingingTea([](StickyNote &n) {
        n.alertedTimerEnd = t0 - 10;
        n.alertedDeadline = t0 + 7200;
        n.alertedWarning = t0 + 6300;
    });
    model->addTime(id, 60);
    EXPECT_EQ(stored(id).alertedTimerEnd, t0 - 10);
    model->removeTimer(id);
    EXPECT_EQ(stored(id).timer, std::nullopt);
    EXPECT_EQ(stored(id).alertedTimerEnd, std::nullopt);
    EXPECT_EQ(stored(id).alertedDeadline, t0 + 7200);

    // The same date again still counts as a new deadline.
    now = t0 + 5;
    model->setDeadline(id, t0 + 7200);
    EXPECT_EQ(stored(id).deadlineSetAt, t0 + 5);
    EXPECT_EQ(stored(id).alertedDeadline, std::nullopt);
    EXPECT_EQ(stored(id).alertedWarning, std::nullopt);
    EXPECT_EQ(notifier->schedules, 3);
}

TEST_F(AppModelEditTest, SnoozeExtendsARunDownTimerFirstThenAPassedDeadline)
{
    struct Case {
        const char *name;
        Prepare setup;
        std::optional<Date> endsAt;
        std::optional<Date> deadline;
        bool changes;
    };
    const Case cases[] = {
        {"timer ran down, deadline passed",
         [](StickyNote &n) { runDown(n); n.setDeadline(t0 - 30, t0 - 3600); }, t0 + 300, t0 - 30,
         true},
        {"deadline passed, timer still running", [](StickyNote &n) { n.setDeadline(t0 - 30, t0 - 3600); },
         t0 + 200, t0 + 300, true},
        {"deadline passed, no timer",
         [](StickyNote &n) { n.timer.reset(); n.setDeadline(t0 - 30, t0 - 3600); }, std::nullopt, t0 + 300, true},
        {"running timer, future deadline", {}, t0 + 200, t0 + 7200, false},
    };
    for (const Case &c : cases) {
        freshModel();
        const QUuid id = putRingingTea(c.setup);
        const StickyNote before = stored(id);
        model->snooze(id, 300);
        const StickyNote after = stored(id);
        EXPECT_FALSE(model->ringing().contains(id)) << c.name;
        EXPECT_EQ(after.timer ? after.timer->endsAt : std::nullopt, c.endsAt) << c.name;
        EXPECT_EQ(after.deadline, c.deadline) << c.name;
        EXPECT_EQ(after != before, c.changes) << c.name;
        EXPECT_EQ(notifier->schedules, c.changes ? 1 : 0) << c.name;
        if (before.deadline != after.deadline) {
            EXPECT_EQ(after.deadlineSetAt, t0) << c.name;
        }
    }

    const QUuid unknown = QUuid::createUuid();
    model->setRinging({unknown});
    model->snooze(unknown, 300);
    EXPECT_TRUE(model->ringing().contains(unknown));
}

TEST_F(AppModelEditTest, NewNoteTakesTheSettingsAndArgumentsAndReschedulesOnlyWithTime)
{
    model->setDefaultColor(NoteColor::sky);
    model->setNewNotesFloat(true);
    model->setNotesHidden(true);
    const int schedulesBefore = notifier->schedules;
    QList<StickyNote> seenOnSignal;
    QObject::connect(model.get(), &AppModel::bookChanged, [&] { seenOnSignal = model->book().notes; });

    const QUuid plain = model->newNote("Plain", std::nullopt, std::nullopt, true, std::nullopt, true);
    StickyNote expected(plain, "Plain", NoteColor::sky, t0);
    expected.pinned = true;
    expected.tucked = true;
    EXPECT_EQ(stored(plain), expected);
    EXPECT_EQ(seenOnSignal, model->book().notes);
    EXPECT_FALSE(model->notesHidden());
    EXPECT_TRUE(model->savePending());
    EXPECT_EQ(notifier->schedules, schedulesBefore);

    const QUuid framed = model->newNote("", NoteColor::rose, std::nullopt, false, t0 + 600, false,
                                       QRectF(100, 500, 280, -240));
    EXPECT_EQ(stored(framed).color, NoteColor::rose);
    EXPECT_EQ(stored(framed).frame, (NoteFrame{100, 260, 280, 240}));
    EXPECT_EQ(stored(framed).deadline, t0 + 600);
    EXPECT_EQ(stored(framed).deadlineSetAt, t0);
    EXPECT_EQ(notifier->schedules, schedulesBefore + 1);
    EXPECT_EQ(model->book().notes.last().id, framed);

    struct Case { double seconds; bool start; NoteTimer expected; };
    NoteTimer running(240);
    running.start(t0);
    for (const Case &c : {Case{0, false, NoteTimer(1)}, Case{400000, false, NoteTimer(356400)},
                          Case{240, true, running}}) {
        const QUuid id = model->newNote("Timed", std::nullopt, c.seconds, c.start);
        EXPECT_EQ(stored(id).timer, c.expected) << c.seconds;
    }
}

TEST_F(AppModelEditTest, QuickNoteMakesANoteFromATypedLine)
{
    struct Case { QString line; QString text; double seconds; };
    for (const Case &c : {Case{"tea 4m", "tea", 240}, Case{"25 min", "25 min", 1500}}) {
        const std::optional<QUuid> id = model->quickNote(c.line, NoteColor::mint, true);
        ASSERT_TRUE(id) << c.line.toStdString();
        const StickyNote made = stored(*id);
        EXPECT_EQ(made.text, c.text);
        EXPECT_EQ(made.color, NoteColor::mint);
        EXPECT_TRUE(made.tucked);
        ASSERT_TRUE(made.timer);
        EXPECT_EQ(made.timer->duration, c.seconds);
        EXPECT_EQ(made.timer->endsAt, t0 + c.seconds);
    }
    const NoteBook before = model->book();
    EXPECT_EQ(model->quickNote("   "), std::nullopt);
    EXPECT_EQ(model->book(), before);
}

TEST_F(AppModelEditTest, DuplicateCopiesTextAndPlaceButStartsItsOwnClock)
{
    struct Case { const char *name; Prepare setup; };
    const Case cases[] = {
        {"running", {}},
        {"finished", runDown},
        {"paused, done, pinned, framed", [](StickyNote &n) {
             n.timer->pause(t0 - 50);
             n.doneAt = t0 - 10;
             n.pinned = true;
             n.tucked = true;
             n.frame = NoteFrame{100, 500, 280, 240};
             n.alertedDeadline = t0 - 20;
         }},
    };
    for (const Case &c : cases) {
        freshModel();
        const QUuid sourceId = putRingingTea(c.setup);
        const StickyNote source = stored(sourceId);
        now = t0 + 7;
        model->duplicate(sourceId);
        ASSERT_EQ(model->book().notes.size(), 2) << c.name;
        const StickyNote copy = model->book().notes.last();
        EXPECT_NE(copy.id, source.id);
        EXPECT_EQ(copy.text, source.text);
        EXPECT_EQ(copy.pinned, source.pinned) << c.name;
        EXPECT_EQ(copy.tucked, source.tucked) << c.name;
        EXPECT_EQ(copy.timer, NoteTimer(300)) << c.name;
        EXPECT_EQ(copy.deadline, source.deadline);
        EXPECT_EQ(copy.deadlineSetAt, t0 + 7);
        EXPECT_EQ(copy.created, t0 + 7);
        EXPECT_TRUE(copy.isLive()) << c.name;
        EXPECT_EQ(copy.alertedDeadline, std::nullopt);
        EXPECT_EQ(copy.frame, source.frame ? std::optional(NoteFrame{128, 472, 280, 240}) : std::nullopt);
        EXPECT_EQ(notifier->schedules, 1) << c.name;
        EXPECT_TRUE(model->ringing().contains(sourceId)) << "a copy answers nothing";
    }
}

TEST_F(AppModelEditTest, FinishingTheWelcomeAddsTheWelcomeNoteOnlyToAnEmptyNotebook)
{
    model->setDefaultColor(NoteColor::graphite);
    model->setShowWelcome(true);
    model->finishWelcome(true);
    EXPECT_TRUE(model->trayEnabled());
    EXPECT_FALSE(model->showWelcome());
    EXPECT_EQ(settingsJson()["trayEnabled"], QJsonValue(true));
    EXPECT_EQ(settingsJson()["welcomeDone"], QJsonValue(true));
    ASSERT_EQ(model->book().notes.size(), 1);
    const StickyNote welcome = model->book().notes.first();
    EXPECT_EQ(welcome.color, NoteColor::lemon);
    EXPECT_EQ(welcome.title(), "Welcome to Brindlewick 👋");
    EXPECT_EQ(welcome.text.count('\n'), 2);
    EXPECT_TRUE(welcome.text.endsWith("Quick Note: press Ctrl+Alt+N anywhere and type “tea 4m”."));
    EXPECT_EQ(notifier->schedules, 0);

    freshModel();
    StickyNote gone = note("Gone");
    gone.deletedAt = t0 - 5;
    put(gone);
    model->finishWelcome(false);
    EXPECT_FALSE(model->trayEnabled());
    EXPECT_EQ(model->book().notes.size(), 1);
    EXPECT_FALSE(model->savePending());
}

} // namespace
