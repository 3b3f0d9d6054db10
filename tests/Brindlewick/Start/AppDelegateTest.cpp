#include "Start/AppDelegate.h"
#include "Start/SingleInstance.h"
#include "State/FileWriter.h"
#include "State/RecordingNotifier.h"
#include "OtherUser.h"
#include "ShellWindows.h"

#include "NotchTray/TrayController.h"

#include "NoteStore.h"


namespace {

using TestNotes::note;

// A launch of its own model on its own folders, around the shared model the library shows.
class AppDelegateTest : public ShellWindowsTest {
protected:
    AppDelegateTest()
        : m_config("XDG_CONFIG_HOME", folder.filePath("config").toUtf8()),
          m_state("XDG_STATE_HOME", folder.filePath("state").toUtf8())
    {
    }
    // The note windows and the tray made by the launch must not outlive the model they watch.
    ~AppDelegateTest() override
    {
        AppActions::setWindows(nullptr);
        AppActions::setTray(nullptr);
    }

    void writeNotes(const QList<StickyNote> &notes) const
    {
        ASSERT_EQ(NoteStore(folder.filePath("data")).save(NoteBook(notes)), std::nullopt);
    }

    void finishWelcomeEarlier() { SettingsStore(settingsPath()).setBool(SettingsKeys::welcomeDone, true); }

    // Starts the launched model on the shared model's clock.
    AppModel &launch(const Launch &how = {})
    {
        AppActions::setWindows(nullptr);
        AppActions::setTray(nullptr);
        delegate.reset();
        launched = std::make_unique<AppModel>(Paths{folder.filePath("data")}, SettingsStore(settingsPath()),
                                              std::make_unique<RecordingNotifier>());
        launched->clock = [this] { return now; };
        delegate = std::make_unique<AppDelegate>(*launched);
        delegate->applicationDidFinishLaunching(how);
        return *launched;
    }

    bool libraryShown() const { return library() && library()->isVisible(); }

    QString settingsPath() const { return folder.filePath("settings.json"); }

    QTemporaryDir folder;
    std::unique_ptr<AppModel> launched;
    std::unique_ptr<AppDelegate> delegate;

private:
    ScopedEnv m_config;
    ScopedEnv m_state;
};

TEST_F(AppDelegateTest, AllNotesOpensWhenTheWelcomeIsPendingOrTheDesktopIsEmpty)
{
    struct Case {
        const char *what;
        bool welcomeDone;
        std::function<void(StickyNote &)> make;
        bool libraryOpens;
        bool atLogin = false;
    };
    const QList<Case> cases{
        {"first run with a desktop note", false, [](StickyNote &) {}, true},
        {"a desktop note", true, [](StickyNote &) {}, false},
        {"only a tucked note", true, [](StickyNote &n) { n.tucked = true; }, true},
        {"only a done note", true, [](StickyNote &n) { n.doneAt = t0; }, true},
        {"only a deleted note", true, [](StickyNote &n) { n.deletedAt = t0 - 60; }, true},
        {"only a tucked note, at login", true, [](StickyNote &n) { n.tucked = true; }, false, true},
        {"the welcome pending, at login", false, [](StickyNote &) {}, false, true},
    };
    for (const Case &c : cases) {
        if (library())
            library()->hide();
        QFile::remove(settingsPath());
        if (c.welcomeDone)
            finishWelcomeEarlier();
        StickyNote n = note(1, t0, c.what);
        c.make(n);
        writeNotes({n});

        const AppModel &model = launch(Launch{Launch::Mode::normal, {}, c.atLogin});

        EXPECT_EQ(model.book().notes.size(), 1) << c.what;
        EXPECT_EQ(model.showWelcome(), !c.welcomeDone) << c.what;
        EXPECT_EQ(libraryShown(), c.libraryOpens) << c.what;
    }
}

// Said once, with the notes shown as they are: notes a past run could not save, and folders another user
// could change, the program's own refused and the data folder used as the user chose.
TEST_F(AppDelegateTest, AllNotesOpensToShowAProblemFoundAtStartEvenWithNotesOnTheDesktop)
{
    const QString data = folder.filePath("data");
    const QString state = folder.filePath("state/Brindlewick");
    const QString theirs = folder.filePath("theirs");
    const auto openToAll = [](const QString &path) { return ::chmod(QFile::encodeName(path).constData(), 0777) == 0; };
    struct Row {
        const char *name;
        // Lays the folders out once the notes are written; false where only root could.
        std::function<bool()> arrange;
        QString told;
    };
    const Row rows[] = {
        {"notes a past run could not save",
         [&] {
             QDir().mkpath(state);
             QFile kept(state + "/notes.unsaved-1765000000.json");
             return kept.open(QIODevice::WriteOnly) && kept.write("{}") == 2;
         },
         "“notes.unsaved-1765000000.json” in " + state},
        {"a data folder others may write in", [&] { return openToAll(data); },
         "Your notes are kept in " + data + " as you chose, though other users may write in “" + data +
             "”, so others may change or remove them."},
        {"a data folder of another user's", [&] { return OtherUser::owns(data); },
         "Your notes are kept in " + data + " as you chose, though “" + data + "” belongs to another user"},
        {"a state folder that is another user's link to a folder of theirs",
         [&] {
             QDir().mkpath(theirs);
             QDir().mkpath(folder.filePath("state"));
             QFile::link(theirs, state);
             return openToAll(theirs) && OtherUser::owns(theirs) && OtherUser::owns(state);
         },
         "Brindlewick keeps none of its own files in " + state + ", as “" + state + "” is a link that another user made."},
    };
    QStringList skipped;
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        for (const QString &made : {data, folder.filePath("state"), theirs})
            QDir(made).removeRecursively();
        if (library())
            library()->hide();
        finishWelcomeEarlier();
        writeNotes({note(1, t0, "On the desktop")});
        if (!row.arrange()) {
            skipped.append(row.name);
            continue;
        }

        const AppModel &model = launch();
        ASSERT_TRUE(model.loadProblem());
        EXPECT_EQ(model.loadProblem()->count(row.told), 1) << model.loadProblem()->toStdString();
        EXPECT_TRUE(libraryShown());
        EXPECT_EQ(model.desktopNotes().size(), 1);
        // What the program keeps in the state folder: its entry among the running programs, unsaved notes.
        EXPECT_TRUE(SingleInstance(data).claim(false));
        launched->saveBeforeQuit();
        EXPECT_TRUE(QDir(theirs).isEmpty()) << "nothing of the program's own in another user's folder";
    }
    if (!skipped.isEmpty())
        GTEST_SKIP() << "only root may arrange: " << skipped.join("; ").toStdString();
}

TEST_F(AppDelegateTest, WiringShowsAndShakesDesktopNotesButLeavesTuckedOnesToTheTray)
{
    finishWelcomeEarlier();
    StickyNote desk = note(1, t0, "On the desk");
    StickyNote tray = note(2, t0, "In the tray");
    tray.tucked = true;
    writeNotes({desk, tray});
    AppModel &model = launch();
    NoteWindows *windows = AppActions::windows();
    ASSERT_NE(windows, nullptr);

    ASSERT_TRUE(model.onShow);
    model.onShow(desk.id);
    NotePanel *panel = panelOf(desk.id);
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(QTest::qWaitForWindowActive(panel));

    ASSERT_TRUE(model.onRing);
    model.onRing(tray);
    EXPECT_FALSE(panel->isShaking());
    model.onRing(desk);
    EXPECT_TRUE(panel->isShaking());
}

TEST_F(AppDelegateTest, ReopenBringsUpTheLibraryWindow)
{
    finishWelcomeEarlier();
    writeNotes({note(1, t0)});
    launch();
    settle();
    EXPECT_FALSE(libraryShown());

    EXPECT_TRUE(delegate->applicationShouldHandleReopen());
    EXPECT_TRUE(libraryShown());
}

TEST_F(AppDelegateTest, QuittingWritesTheChangeStillWaitingToBeSaved)
{
    finishWelcomeEarlier();
    writeNotes({note(1, t0, "Before")});
    AppModel &model = launch();
    model.setText(model.book().notes.first().id, "After");
    ASSERT_TRUE(model.savePending());

    delegate->applicationWillTerminate();

    const NoteStore::Loaded loaded = NoteStore(folder.filePath("data")).load(now);
    ASSERT_TRUE(std::holds_alternative<NoteBook>(loaded));
    EXPECT_EQ(std::get<NoteBook>(loaded).notes.first().text, "After");
}

// The welcome's end makes the program start with the session; a demo run's welcome does not.
TEST_F(AppDelegateTest, FinishingTheWelcomeWritesTheAutostartEntryForThisProgram)
{
    const QString entry = folder.filePath("config/autostart/brindlewick.desktop");
    launch(Launch{Launch::Mode::demo, folder.filePath("demo")}).finishWelcome(true);
    ASSERT_TRUE(FileWriter::shared().finish(QDeadlineTimer(patienceMs)));
    EXPECT_FALSE(QFile::exists(entry));

    AppModel &model = launch();
    ASSERT_TRUE(model.showWelcome());
    EXPECT_FALSE(QFile::exists(entry));
    model.finishWelcome(false);
    ASSERT_TRUE(FileWriter::shared().finish(QDeadlineTimer(patienceMs)));
    QFile written(entry);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().contains("\nExec=" + QCoreApplication::applicationFilePath().toUtf8() + " --autostart\n"));
}

TEST_F(AppDelegateTest, DemoLaunchStartsOnAFreshDemoWorld)
{
    writeNotes({note(1, t0, "The user's own note")});
    const QString world = folder.filePath("demo");
    ASSERT_EQ(NoteStore(world + "/data").save(NoteBook({note(2, t0, "An earlier demo's note")})), std::nullopt);

    const AppModel &model = launch(Launch{Launch::Mode::demo, world});

    EXPECT_TRUE(model.isDemo());
    EXPECT_FALSE(model.showWelcome());
    EXPECT_GT(model.book().notes.size(), 1);
    for (const StickyNote &n : model.book().notes) {
        EXPECT_NE(n.text, "The user's own note");
        EXPECT_NE(n.text, "An earlier demo's note");
    }
    EXPECT_EQ(libraryShown(), model.desktopNotes().isEmpty());
}

} // namespace
