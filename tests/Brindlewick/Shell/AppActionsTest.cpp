#include "Shell/LibraryRoot.h"
#include "ShellWindows.h"

namespace {

using TestNotes::note;

class AppActionsTest : public ShellWindowsTest {};

TEST_F(AppActionsTest, CurrentNoteIsTheActivePanelsElseTheLibrarySelection)
{
    const QUuid onPanel = put(note(1, t0, "On its panel"));
    const QUuid selected = put(note(2, t0, "Selected"));
    model.setSelection(selected);
    AppActions::showLibrary();

    ASSERT_TRUE(activate(panelOf(onPanel)));
    EXPECT_EQ(AppActions::currentNote(), onPanel);

    ASSERT_TRUE(activate(library()));
    EXPECT_EQ(AppActions::currentNote(), selected);
    model.setSelection(std::nullopt);
    EXPECT_EQ(AppActions::currentNote(), std::nullopt);

    model.setSelection(selected);
    ASSERT_TRUE(activate(&otherWindow));
    EXPECT_EQ(AppActions::currentNote(), std::nullopt);
}

TEST_F(AppActionsTest, NewNoteGoesIntoTheTrayOnlyWhileItIsEnabled)
{
    QList<QUuid> shown;
    model.onShow = [&](const QUuid &id) { shown.append(id); };
    model.setNotesHidden(true);

    AppActions::newNote(true);
    ASSERT_EQ(model.book().notes.size(), 1);
    const StickyNote first = model.book().notes.first();
    EXPECT_FALSE(first.tucked);
    EXPECT_FALSE(model.notesHidden());
    EXPECT_EQ(first.color, model.defaultColor());
    EXPECT_EQ(first.created, now);
    EXPECT_FALSE(first.hasTime());

    model.setTrayEnabled(true);
    AppActions::newNote(true);
    AppActions::newNote(false);
    ASSERT_EQ(model.book().notes.size(), 3);
    EXPECT_TRUE(model.book().notes[1].tucked);
    EXPECT_FALSE(model.book().notes[2].tucked);
    EXPECT_EQ(shown, (QList<QUuid>{first.id, model.book().notes[1].id, model.book().notes[2].id}));
}

TEST_F(AppActionsTest, NewDesktopNoteOpensItsPanelAsTheActiveWindow)
{
    AppActions::newNote(false);
    ASSERT_EQ(model.book().notes.size(), 1);
    NotePanel *panel = panelOf(model.book().notes.first().id);
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(QTest::qWaitForWindowActive(panel));
}

TEST_F(AppActionsTest, ShowingANoteInTheLibrarySwitchesToTheOnlyFilterThatListsIt)
{
    StickyNote live = note(1, t0, "Live");
    StickyNote done = note(2, t0, "Done");
    done.doneAt = t0;
    StickyNote deleted = note(3, t0, "Deleted");
    deleted.deletedAt = t0;
    for (const StickyNote &n : {live, done, deleted})
        put(n);
    struct Case {
        NoteFilter before;
        QUuid select;
        NoteFilter after;
    };
    const QList<Case> cases{
        {NoteFilter::all, done.id, NoteFilter::done},
        {NoteFilter::all, deleted.id, NoteFilter::deleted},
        {NoteFilter::done, done.id, NoteFilter::done},
        {NoteFilter::pinned, deleted.id, NoteFilter::deleted},
        {NoteFilter::pinned, live.id, NoteFilter::pinned},
        {NoteFilter::done, live.id, NoteFilter::done},
        {NoteFilter::timers, QUuid::createUuid(), NoteFilter::timers},
    };
    for (const Case &c : cases) {
        model.setFilter(c.before);
        AppActions::showLibrary(c.select);
        EXPECT_EQ(model.selection(), c.select);
        EXPECT_EQ(model.filter(), c.after) << toString(c.before).toStdString();
    }
}

TEST_F(AppActionsTest, LibraryWindowIsMadeOnceAndComesBackAfterClosing)
{
    AppActions::showLibrary();
    QMainWindow *window = library();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(QTest::qWaitForWindowActive(window));
    EXPECT_EQ(window->windowTitle(), "All Notes");
    EXPECT_EQ(window->centralWidget()->minimumSize(), QSize(960, 600));
    EXPECT_NE(qobject_cast<LibraryRoot *>(window->centralWidget()), nullptr);

    window->close();
    EXPECT_FALSE(window->isVisible());
    AppActions::showLibrary();
    EXPECT_EQ(library(), window);
    EXPECT_TRUE(window->isVisible());
}

} // namespace
