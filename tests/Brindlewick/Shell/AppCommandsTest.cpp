#include "LibraryView/CardGrid.h"
#include "LibraryView/FocusSearch.h"
#include "LibraryView/Inspector.h"
#include "Shell/AppCommands.h"
#include "ShellWindows.h"

#include "NoteExport.h"

#include <QAction>
#include <QClipboard>
#include <QMenu>
#include <QSignalSpy>

namespace {

using TestNotes::note;
using TestNotes::pausedTimer;
using TestNotes::runningTimer;

// A note panel's view takes a popover request at once, so requests are watched as they are made.
class AppCommandsTest : public ShellWindowsTest {
protected:
    AppCommandsTest()
    {
        commands.beep = [this] { ++beeps; };
        QObject::connect(&model, &AppModel::popoverChanged, &m_watcher, [this] {
            if (model.popover())
                requests.append(*model.popover());
        });
    }

    bool requested(const QUuid &id, PopoverRequest::Kind kind) const
    {
        return requests == QList<PopoverRequest>{PopoverRequest{id, kind}};
    }

    QAction *action(const QString &title) const
    {
        for (QMenu *menu : commands.menus()) {
            for (QAction *item : menu->actions()) {
                if (item->text() == title)
                    return item;
                if (item->menu()) {
                    for (QAction *inner : item->menu()->actions()) {
                        if (inner->text() == title)
                            return inner;
                    }
                }
            }
        }
        return nullptr;
    }

    static Inspector *inspector() { return library()->findChild<Inspector *>(); }

    AppCommands commands{model};
    int beeps = 0;
    QList<PopoverRequest> requests;

private:
    QObject m_watcher;
};

TEST_F(AppCommandsTest, EveryCommandHasItsLinuxShortcut)
{
    const QList<std::pair<QString, QString>> shortcuts{
        {"New Note", "Ctrl+N"},
        {"Quick Note…", "Ctrl+Shift+N"},
        {"New Note in the Notch", "Ctrl+Alt+Shift+N"},
        {"Copy All Notes as Text", ""},
        {"Search Notes", "Ctrl+F"},
        {"Timer…", "Ctrl+T"},
        {"Deadline…", "Ctrl+D"},
        {"Start or Pause Timer", "Ctrl+Shift+T"},
        {"Add 5 Minutes", "Ctrl+Shift+="},
        {"Float Above Other Windows", "Ctrl+Shift+F"},
        {"Tuck Into the Notch / Put Back", "Ctrl+J"},
        {"Lemon", "Ctrl+1"},
        {"Graphite", "Ctrl+7"},
        {"Mark Done", "Ctrl+Return"},
        {"Delete Note", "Ctrl+Shift+Del"},
        {"All Notes", "Ctrl+0"},
        {"Hide Notes", "Ctrl+Shift+H"},
        {"Open the Notch Tray", "Ctrl+Shift+O"},
    };
    for (const auto &[title, keys] : shortcuts) {
        const QAction *found = action(title);
        ASSERT_NE(found, nullptr) << title.toStdString();
        EXPECT_EQ(found->shortcut().toString(QKeySequence::PortableText), keys) << title.toStdString();
    }
    // The text group shows the keys the text itself takes.
    const std::pair<QString, QKeySequence::StandardKey> textKeys[] = {
        {"&Undo", QKeySequence::Undo}, {"&Redo", QKeySequence::Redo},   {"Cu&t", QKeySequence::Cut},
        {"&Copy", QKeySequence::Copy}, {"&Paste", QKeySequence::Paste}, {"Select &All", QKeySequence::SelectAll},
    };
    for (const auto &[title, key] : textKeys) {
        const QAction *found = action(title);
        ASSERT_NE(found, nullptr) << title.toStdString();
        EXPECT_TRUE(QKeySequence::keyBindings(key).contains(found->shortcut())) << title.toStdString();
    }
    QStringList menus;
    for (const QMenu *menu : commands.menus())
        menus.append(menu->title());
    EXPECT_EQ(menus, (QStringList{"&File", "&Edit", "&Note", "&Window"}));
}

TEST_F(AppCommandsTest, OpenTheNotchTrayIsGreyedOutWhileTheTrayIsOff)
{
    QAction *tray = action("Open the Notch Tray");
    ASSERT_NE(tray, nullptr);
    model.setTrayEnabled(false);
    EXPECT_FALSE(tray->isEnabled());
    model.setTrayEnabled(true);
    EXPECT_TRUE(tray->isEnabled());
}

// Each Note command, pressed on a note's own panel while the library has another note selected.
TEST_F(AppCommandsTest, NoteCommandsActOnTheActivePanelsNote)
{
    struct Case {
        QKeySequence keys;
        std::function<bool(const StickyNote &)> happened;
    };
    const QList<Case> cases{
        {QKeySequence("Ctrl+T"), [&](const StickyNote &n) { return requested(n.id, PopoverRequest::Kind::timer); }},
        {QKeySequence("Ctrl+D"), [&](const StickyNote &n) { return requested(n.id, PopoverRequest::Kind::deadline); }},
        {QKeySequence("Ctrl+Shift+="), [&](const StickyNote &n) { return n.timer->remaining(now) == 600 + 300; }},
        {QKeySequence("Ctrl+Shift+F"), [](const StickyNote &n) { return n.pinned; }},
        {QKeySequence("Ctrl+J"), [](const StickyNote &n) { return n.tucked; }},
        {QKeySequence("Ctrl+3"), [](const StickyNote &n) { return n.color == NoteColor::mint; }},
        {QKeySequence("Ctrl+7"), [](const StickyNote &n) { return n.color == NoteColor::graphite; }},
        {QKeySequence("Ctrl+Return"), [](const StickyNote &n) { return n.isDone(); }},
        {QKeySequence("Ctrl+Shift+Del"), [](const StickyNote &n) { return n.isDeleted(); }},
    };
    StickyNote selected = note(1, t0, "Selected in the library");
    selected.tucked = true;
    put(selected);
    for (const Case &c : cases) {
        requests.clear();
        model.setSelection(selected.id);
        StickyNote onDesktop = note(2, t0, "On the desktop");
        onDesktop.id = QUuid::createUuid();
        onDesktop.timer = runningTimer(900, 600, now);
        const QUuid id = put(onDesktop);
        ASSERT_TRUE(activate(panelOf(id))) << c.keys.toString().toStdString();

        press(c.keys);

        EXPECT_TRUE(c.happened(stored(id))) << c.keys.toString().toStdString();
        EXPECT_EQ(stored(selected.id), selected) << c.keys.toString().toStdString();
    }
    EXPECT_EQ(beeps, 0);
}

TEST_F(AppCommandsTest, NoteCommandsActOnTheLibrarySelectionWhileItIsActive)
{
    StickyNote tucked = note(1, t0, "In the tray");
    tucked.tucked = true;
    StickyNote done = note(2, t0, "Done already");
    done.doneAt = t0;
    put(tucked);
    put(done);
    AppActions::showLibrary(tucked.id);
    ASSERT_TRUE(activate(library()));

    press(QKeySequence("Ctrl+J"));
    EXPECT_FALSE(stored(tucked.id).tucked);

    model.setSelection(done.id);
    press(QKeySequence("Ctrl+Return"));
    EXPECT_FALSE(stored(done.id).isDone());

    model.setSelection(std::nullopt);
    press(QKeySequence("Ctrl+Shift+F"));
    EXPECT_EQ(beeps, 1);

    // The pickers open in the inspector, wherever the note lives; a deleted note has none.
    StickyNote deleted = note(3, t0, "Thrown away");
    deleted.deletedAt = t0;
    put(deleted);
    const std::pair<const char *, bool (Inspector::*)() const> pickers[] = {
        {"Ctrl+T", &Inspector::isTimerPickerOpen}, {"Ctrl+D", &Inspector::isDeadlinePickerOpen}};
    for (const QUuid &id : {tucked.id, deleted.id}) {
        for (const auto &[keys, isOpen] : pickers) {
            model.setSelection(id);
            ASSERT_TRUE(activate(library()));
            press(QKeySequence(keys));
            EXPECT_EQ((inspector()->*isOpen)(), id == tucked.id) << keys;
        }
    }
    EXPECT_EQ(beeps, 3);
    EXPECT_TRUE(requests.isEmpty()) << "no note window is asked";
}

// A command on the cards that takes the selected note out of the list leaves the keyboard on the
// cards, on the note that took its place, as deleting it does.
TEST_F(AppCommandsTest, ACommandThatTakesTheSelectedCardOutOfTheListLeavesTheKeyboardOnTheNextCard)
{
    struct Case {
        const char *keys;
        NoteFilter filter;
        std::function<void(StickyNote &)> make;
        std::function<bool(const StickyNote &)> happened;
    };
    const QList<Case> cases{
        {"Ctrl+Return", NoteFilter::all, [](StickyNote &) {}, [](const StickyNote &n) { return n.isDone(); }},
        {"Ctrl+Shift+Del", NoteFilter::all, [](StickyNote &) {}, [](const StickyNote &n) { return n.isDeleted(); }},
        // Tucked, so no desktop window comes up for it and takes the keyboard.
        {"Ctrl+Return", NoteFilter::done,
         [&](StickyNote &n) {
             n.doneAt = t0;
             n.tucked = true;
         },
         [](const StickyNote &n) { return !n.isDone(); }},
        {"Ctrl+Shift+F", NoteFilter::pinned, [](StickyNote &n) { n.pinned = true; },
         [](const StickyNote &n) { return !n.pinned; }},
    };
    for (const Case &c : cases) {
        model.setBook(NoteBook());
        for (int i = 1; i <= 3; ++i) {
            StickyNote n = note(i, t0);
            c.make(n);
            put(n);
        }
        model.setFilter(c.filter);
        const QList<StickyNote> shown = model.visible();
        ASSERT_EQ(shown.size(), 3) << c.keys;
        model.setSelection(shown[1].id);
        AppActions::showLibrary();
        ASSERT_TRUE(activate(library()));
        CardGrid *cards = library()->findChild<CardGrid *>();
        cards->setFocus(Qt::TabFocusReason);

        press(QKeySequence(c.keys));

        EXPECT_TRUE(c.happened(stored(shown[1].id))) << c.keys << " under " << title(c.filter).toStdString();
        EXPECT_TRUE(QTest::qWaitFor([&] { return model.selection() == shown[2].id && cards->hasFocus(); }, patienceMs))
            << c.keys << " under " << title(c.filter).toStdString() << ": the keyboard is on the next card";
    }
}

TEST_F(AppCommandsTest, WithoutACurrentNoteNoteCommandsOnlyBeep)
{
    const QUuid id = put(note(1, t0));
    model.setSelection(id);
    AppActions::showLibrary();
    ASSERT_TRUE(activate(&otherWindow));
    const NoteBook before = model.book();

    const QStringList keys{"Ctrl+T", "Ctrl+D", "Ctrl+Shift+T", "Ctrl+Shift+=", "Ctrl+Shift+F", "Ctrl+J",
                           "Ctrl+1", "Ctrl+7", "Ctrl+Return", "Ctrl+Shift+Del"};
    for (const QString &key : keys)
        press(QKeySequence(key));

    EXPECT_EQ(beeps, keys.size());
    EXPECT_EQ(model.book(), before);
    EXPECT_TRUE(requests.isEmpty());
}

TEST_F(AppCommandsTest, StartOrPauseTimerAsksStartsOrPauses)
{
    using State = NoteTimer::State;
    struct Case {
        const char *what;
        std::optional<NoteTimer> timer;
        std::optional<State> after;
    };
    const QList<Case> cases{
        {"no timer", std::nullopt, std::nullopt},
        {"ready", NoteTimer(300), State::running},
        {"running", runningTimer(300, 100, now), State::paused},
        {"paused", pausedTimer(300, 100), State::running},
        {"finished", runningTimer(300, -20, now), State::running},
    };
    for (const Case &c : cases) {
        requests.clear();
        StickyNote n = note(1, t0, c.what);
        n.timer = c.timer;
        put(n);
        model.setSelection(n.id);
        AppActions::showLibrary();
        ASSERT_TRUE(activate(library()));

        press(QKeySequence("Ctrl+Shift+T"));

        const StickyNote after = stored(n.id);
        if (c.after) {
            ASSERT_TRUE(after.timer) << c.what;
            EXPECT_EQ(after.timer->state(now), *c.after) << c.what;
            EXPECT_TRUE(requests.isEmpty()) << c.what;
        } else {
            EXPECT_FALSE(after.timer) << c.what;
            EXPECT_TRUE(inspector()->isTimerPickerOpen()) << c.what << ": the inspector asks for one";
            EXPECT_TRUE(requests.isEmpty()) << c.what;
        }
    }
}

TEST_F(AppCommandsTest, CopyAllNotesPutsTheLiveNotesOnTheClipboard)
{
    QGuiApplication::clipboard()->setText("earlier");
    action("Copy All Notes as Text")->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), NoteExport::text({}, now));

    StickyNote first = note(1, t0, "Buy milk");
    StickyNote done = note(2, t0, "Finished");
    done.doneAt = t0;
    StickyNote deleted = note(3, t0, "Thrown away");
    deleted.deletedAt = t0;
    StickyNote last = note(4, t0, "Call Sam");
    last.setDeadline(now + 3600, now);
    for (const StickyNote &n : {first, done, deleted, last})
        put(n);

    action("Copy All Notes as Text")->trigger();

    const QString text = QGuiApplication::clipboard()->text();
    EXPECT_EQ(text, NoteExport::text({first, last}, now));
    EXPECT_TRUE(text.contains("Buy milk") && text.contains("Call Sam"));
    EXPECT_FALSE(text.contains("Finished") || text.contains("Thrown away"));
}

TEST_F(AppCommandsTest, WindowCommandsShowTheLibraryAndHideTheNotes)
{
    QSignalSpy focusSearch(&FocusSearch::instance(), &FocusSearch::posted);
    ASSERT_TRUE(activate(&otherWindow));
    press(QKeySequence("Ctrl+F"));
    ASSERT_NE(library(), nullptr);
    EXPECT_TRUE(library()->isVisible());
    EXPECT_EQ(focusSearch.count(), 1);

    library()->hide();
    ASSERT_TRUE(activate(&otherWindow));
    press(QKeySequence("Ctrl+0"));
    EXPECT_TRUE(library()->isVisible());

    press(QKeySequence("Ctrl+Shift+H"));
    EXPECT_TRUE(model.notesHidden());
    EXPECT_NE(action("Show Notes"), nullptr);
    model.setNotesHidden(false);
    EXPECT_NE(action("Hide Notes"), nullptr);
}

TEST_F(AppCommandsTest, NewNoteCommandsMakeNotesAndOpenThem)
{
    ASSERT_TRUE(activate(&otherWindow));
    press(QKeySequence("Ctrl+N"));
    ASSERT_EQ(model.book().notes.size(), 1);
    const StickyNote made = model.book().notes.first();
    EXPECT_FALSE(made.tucked);
    EXPECT_TRUE(made.text.isEmpty());
    EXPECT_NE(panelOf(made.id), nullptr);

    model.setTrayEnabled(true);
    ASSERT_TRUE(activate(&otherWindow));
    press(QKeySequence("Ctrl+Alt+Shift+N"));
    ASSERT_EQ(model.book().notes.size(), 2);
    EXPECT_TRUE(model.book().notes.last().tucked);
}

} // namespace
