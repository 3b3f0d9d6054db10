#include "AppModelFixture.h"

#include "NoteCoding.h"

#include <QSignalSpy>
#include <QTest>

namespace {

NoteBook readNotes(const QString &folder)
{
    const NoteStore::Loaded loaded = NoteStore(folder).load(Date{0});
    const auto *book = std::get_if<NoteBook>(&loaded);
    return book ? *book : NoteBook();
}

TEST_F(AppModelTest, FirstRunShowsTheWelcomeUntilItIsFinished)
{
    struct Case {
        const char *name;
        std::optional<QByteArray> settings;
        bool shows;
    };
    const Case cases[] = {
        {"no settings file", std::nullopt, true},
        {"the welcome left unfinished", R"({"welcomeDone": false})", true},
        {"the welcome finished", R"({"welcomeDone": true})", false},
        {"a damaged settings file, set aside", R"({"welcomeDone": tr)", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(settingsPath());
        if (c.settings)
            writeTestFile(settingsPath(), *c.settings);
        for (const char *run : {"first start", "next start"}) {
            rebuild();
            model->start();
            EXPECT_EQ(model->showWelcome(), c.shows) << run;
        }
    }
}

TEST_F(AppModelTest, StartWithoutAFileLeavesAnEmptyNotebookAndWritesNothing)
{
    model->start();
    EXPECT_EQ(model->book(), NoteBook());
    EXPECT_EQ(model->loadProblem(), std::nullopt);
    EXPECT_FALSE(QFileInfo::exists(dataFolder()));
    saveAndWait();
    EXPECT_TRUE(QFileInfo::exists(notesPath()));
}

TEST_F(AppModelTest, AnUnusableFileIsSetAsideAndNamedInTheLoadProblem)
{
    const QString expected = QStringLiteral("Your notes file couldn’t be read, so Brindlewick started fresh. "
                                            "The old file was kept as “notes.damaged-1765000000.json” in %1.")
                                 .arg(dataFolder());
    // A file that is not JSON. (A folder standing where the file should be is not set aside but
    // waited for: see the fault test.)
    writeTestFile(notesPath(), "not json");
    model->start();
    EXPECT_EQ(model->book(), NoteBook());
    EXPECT_EQ(model->loadProblem(), expected);
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("data/notes.damaged-1765000000.json")));
    const QUuid id = model->newNote("Fresh start");
    saveAndWait();
    EXPECT_TRUE(readNotes(dataFolder())[id]);
}

TEST_F(AppModelTest, StartDropsNotesDeletedMoreThanThirtyDaysAgo)
{
    const double thirtyDays = 30 * 24 * 3600;
    StickyNote old = note("Old");
    old.deletedAt = t0 - thirtyDays - 1;
    StickyNote kept = note("Kept");
    kept.deletedAt = t0 - thirtyDays;
    const StickyNote live = note("Live");
    ASSERT_EQ(NoteStore(dataFolder()).save(NoteBook({old, kept, live})), std::nullopt);

    model->start();
    EXPECT_EQ(model->book(), NoteBook({kept, live}));
    EXPECT_EQ(readNotes(dataFolder()).notes.size(), 3) << "the purge reaches the file with the next save";
}

TEST_F(AppModelTest, ASecondStartReadsNothingAgain)
{
    model->start();
    const QUuid id = model->newNote("Only in memory");
    ASSERT_EQ(NoteStore(dataFolder()).save(NoteBook()), std::nullopt);
    notifier->state = NotifyPermission::allowed;
    model->start();
    EXPECT_TRUE(model->book()[id]);
    EXPECT_EQ(model->permission(), NotifyPermission::notAsked);
}

TEST_F(AppModelTest, StartReadsThePermissionThenReschedules)
{
    StickyNote timed = note("Tea");
    timed.timer = NoteTimer(240);
    timed.timer->start(t0);
    ASSERT_EQ(NoteStore(dataFolder()).save(NoteBook({timed})), std::nullopt);
    notifier->state = NotifyPermission::allowed;
    model->start();
    EXPECT_EQ(model->permission(), NotifyPermission::allowed);
    ASSERT_EQ(notifier->scheduled.size(), 1);
    EXPECT_EQ(notifier->scheduled[0].fireAt, t0 + 240);
}

TEST_F(AppModelTest, ABurstOfChangesIsWrittenOnceAfterTheLast)
{
    model->setSaveDelay(std::chrono::milliseconds(300));
    model->load();
    const QUuid id = model->newNote("a");
    for (const QString text : {"ab", "abc"}) {
        QTest::qWait(100);
        model->setText(id, text);
    }
    QTest::qWait(100);
    EXPECT_FALSE(QFileInfo::exists(notesPath())) << "300 ms after the first change nothing is written yet";
    EXPECT_TRUE(model->savePending());
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(notesPath()); }, patienceMs));
    EXPECT_EQ(readNotes(dataFolder()), model->book());
    EXPECT_FALSE(model->savePending());
}

TEST_F(AppModelTest, SaveNowWritesWithoutWaitingForTheDelayAndDropsThePendingSave)
{
    model->setSaveDelay(std::chrono::milliseconds(50));
    model->load();
    model->newNote("a");
    saveAndWait();
    EXPECT_EQ(readNotes(dataFolder()), model->book());
    EXPECT_FALSE(model->savePending());
    const std::optional<FileStamp> written = FileStamp::of(notesPath());
    QTest::qWait(150);
    EXPECT_EQ(FileStamp::of(notesPath()), written) << "the dropped save never writes";
    saveAndWait();
    saveAndWait();
    EXPECT_EQ(readNotes(dataFolder()), model->book());
}

TEST_F(AppModelTest, AModelThatNeverReadTheFileDoesNotOverwriteIt)
{
    const StickyNote kept = note("Precious");
    ASSERT_EQ(NoteStore(dataFolder()).save(NoteBook({kept})), std::nullopt);
    model->newNote("Made before loading");
    saveAndWait();
    EXPECT_EQ(readNotes(dataFolder()), NoteBook({kept}));
}

TEST_F(AppModelTest, AFailedSaveShowsTheErrorKeepsTheNotesAndTheNextSaveWritesThem)
{
    // A plain file where the data folder should be, put there after the start: the folder cannot
    // be made, even by root.
    model->load();
    writeTestFile(dataFolder(), "in the way");
    const QUuid id = model->newNote("Keep me");
    const std::optional<QString> error = NoteStore(dataFolder()).save(model->book());
    ASSERT_TRUE(error);

    saveAndWait();
    ASSERT_TRUE(model->banner());
    EXPECT_EQ(model->banner()->text, "Couldn’t save notes: " + *error);
    EXPECT_TRUE(model->banner()->undo.isEmpty());
    EXPECT_TRUE(model->book()[id]);

    QFile::remove(dataFolder());
    saveAndWait();
    EXPECT_TRUE(readNotes(dataFolder())[id]);
}

TEST_F(AppModelTest, DemoWorldRunsOnItsOwnFolderSettingsAndFrozenClock)
{
    SettingsStore stale = SettingsStore::demo();
    stale.setBool(QStringLiteral("leftOver"), true);
    stale.setString(SettingsKeys::sort, QStringLiteral("created"));
    model->setPermission(NotifyPermission::allowed);
    model->setQuery("milk");
    model->setRinging({QUuid::createUuid()});
    model->setBanner(Banner("Old news"));

    const QString root = dir.filePath("demo");
    const Date start = t0 + 100000;
    model->useDemo(root, start, true);
    EXPECT_TRUE(model->isDemo());
    EXPECT_EQ(model->clock(), start);
    EXPECT_EQ(model->now(), start);
    EXPECT_EQ(model->store().url(), root + "/data/notes.json");
    EXPECT_EQ(model->defaults(), SettingsStore::demo());
    QStringList keys = SettingsStore::demo().keys();
    keys.sort();
    EXPECT_EQ(keys, QStringList({"defaultColor", "hotkeyEnabled", "newNotesFloat", "playSound", "showMenuBarItem",
                                 "sort", "trayEnabled", "trayOpensOn", "warnMinutes"}));
    EXPECT_EQ(model->sort(), NoteSort::urgency);
    EXPECT_TRUE(model->trayEnabled());
    EXPECT_FALSE(model->hotkeyEnabled());
    EXPECT_TRUE(model->query().isEmpty());
    EXPECT_TRUE(model->ringing().isEmpty());
    EXPECT_EQ(model->banner(), std::nullopt);
    EXPECT_FALSE(settingsJson().contains("trayEnabled")) << "the user's settings stay as they were";

    auto &demoNotifier = dynamic_cast<RecordingNotifier &>(model->notifier());
    EXPECT_EQ(demoNotifier.state, NotifyPermission::notAsked);
    StickyNote tea = note("Tea");
    tea.timer = NoteTimer(30);
    tea.timer->start(start);
    put(tea);
    model->reschedule();
    EXPECT_EQ(demoNotifier.scheduled.size(), 1) << "the model's permission still says allowed";

    QSignalSpy nowChanged(model.get(), &AppModel::nowChanged);
    model->setPermission(NotifyPermission::denied);
    model->advance(60);
    EXPECT_EQ(model->clock(), start + 60);
    EXPECT_EQ(model->now(), start + 60);
    EXPECT_EQ(nowChanged.count(), 1);
    EXPECT_TRUE(model->ringing().contains(tea.id));
    EXPECT_EQ(model->soundsPlayed(), 1) << "the demo's silent sound still counts";
    EXPECT_EQ(sounds, 0);

    saveAndWait();
    EXPECT_EQ(readNotes(root + "/data").notes.size(), 1);
}

} // namespace
