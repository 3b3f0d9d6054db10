// What a person's notes and settings go through when the disk misbehaves: for each fault, the program
// says so, loses nothing typed, and every file that was on disk keeps its bytes (in place or set aside).
// Everything here holds for root too: no case relies on permission bits.
#include "AppModelFixture.h"

#include "State/Recovery.h"
#include "FileSizeLimit.h"
#include "NoteCoding.h"

#include <QDirIterator>
#include <QTest>
#include <functional>
#include <memory>
#include <sys/stat.h>

namespace {

const QString typed = QStringLiteral("Typed while it fails ") + QString(6000, u'x');

class NotesFaultTest : public AppModelTest {
protected:
    // Every regular file under the test folder, by its bytes.
    QSet<QByteArray> contents() const
    {
        QSet<QByteArray> found;
        QDirIterator it(dir.path(), QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            if (file.open(QIODevice::ReadOnly))
                found.insert(file.readAll());
        }
        return found;
    }

    static bool holdsTyped(const QString &path)
    {
        QFile file(path);
        const std::optional<NoteBook> book =
            file.open(QIODevice::ReadOnly) ? NoteCoding::decode(file.readAll(), t0) : std::nullopt;
        return book && std::any_of(book->notes.begin(), book->notes.end(),
                                   [](const StickyNote &note) { return note.text == typed; });
    }

    void seed() const
    {
        ASSERT_EQ(NoteStore(dataFolder()).save(NoteBook({note("Seed")})), std::nullopt);
    }

    void move(const QString &from, const QString &to) const
    {
        ASSERT_TRUE(QDir().rename(dir.filePath(from), dir.filePath(to))) << from.toStdString();
    }
};

struct Fault {
    const char *name;
    // What stands on disk before the start.
    std::function<void()> arrange;
    // What goes wrong once running; may hand back a guard that keeps it wrong while it lives.
    std::function<std::shared_ptr<void>()> strike;
    // Puts things right as the user would, keeping every file.
    std::function<void()> mend;
    bool loadBlocked;
    bool saveFailing;
    // The fault still holds when the program quits: the typed note goes to a recovery file.
    bool quitWhileBroken;
};

TEST_F(NotesFaultTest, EachFaultIsShownLosesNothingAndKeepsEveryFileOnDisk)
{
    auto none = [] { return std::shared_ptr<void>(); };
    auto nothing = [] {};
    const Fault faults[] = {
        {"data folder is a file", [this] { writeTestFile(dataFolder(), "a file, not a folder"); },
         none, [this] { move("data", "data-file.kept"); }, true, false, true},
        {"notes.json is a folder",
         [this] { writeTestFile(notesPath() + "/inside.txt", "kept inside"); }, none,
         [this] { move("data/notes.json", "data/notes-folder.kept"); }, true, false, true},
        {"notes.json is a FIFO",
         [this] {
             QDir().mkpath(dataFolder());
             ::mkfifo(QFile::encodeName(notesPath()).constData(), 0600);
         },
         none, [this] { QFile::remove(notesPath()); }, true, false, true},
        {"notes.json links to /dev/zero",
         [this] {
             QDir().mkpath(dataFolder());
             QFile::link("/dev/zero", notesPath());
         },
         none, [this] { QFile::remove(notesPath()); }, true, false, true},
        {"notes.json is damaged", [this] { writeTestFile(notesPath(), "{\"notes\": [tru"); }, none,
         nothing, false, false, false},
        {"disk full while saving", [this] { seed(); },
         [] { return std::shared_ptr<void>(std::make_shared<FileSizeLimit>(4096)); },
         nothing, false, true, false},
        {"data folder replaced by a file while running", [this] { seed(); },
         [this] {
             move("data", "data.moved");
             writeTestFile(dataFolder(), "someone else's file");
             return std::shared_ptr<void>();
         },
         [this] {
             move("data", "data-file.kept");
             move("data.moved", "data");
         },
         false, true, true},
        {"notes.json replaced by another program", [this] { seed(); },
         [this] {
             writeTestFile(dir.filePath("backup.json"), *NoteCoding::encode(NoteBook({note("From the backup")})));
             QFile::remove(notesPath());
             move("backup.json", "data/notes.json");
             return std::shared_ptr<void>();
         },
         nothing, false, false, false},
        // What stands at the settings path must neither hold up the start nor be read without end.
        {"settings file is a FIFO",
         [this] { ::mkfifo(QFile::encodeName(settingsPath()).constData(), 0600); }, none, nothing, false, false,
         false},
        {"settings file links to /dev/zero", [this] { QFile::link("/dev/zero", settingsPath()); }, none, nothing,
         false, false, false},
        {"settings file is huge", [this] { writeTestFile(settingsPath(), QByteArray(8 << 20, ' ') + "{}"); }, none,
         nothing, false, false, false},
        {"settings file is damaged", [this] { writeTestFile(settingsPath(), "{\"sort\": \"edited\", \"playSo"); },
         none, nothing, false, false, false},
    };

    for (const Fault &fault : faults) {
        SCOPED_TRACE(fault.name);
        // The last row's settings must not land in this one's folder.
        ASSERT_TRUE(FileWriter::shared().finish(QDeadlineTimer(patienceMs)));
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
        fault.arrange();
        rebuild();
        model->setSaveDelay(std::chrono::milliseconds(10));
        model->setRetryInterval(std::chrono::milliseconds(50));
        model->start();
        // The file this run loaded is its own to replace with newer notes, once it can.
        QFile loaded(notesPath());
        const QByteArray own = model->loadBlocked() || !loaded.open(QIODevice::ReadOnly) ? QByteArray() : loaded.readAll();
        std::shared_ptr<void> guard = fault.strike();
        const QSet<QByteArray> before = contents();

        model->newNote(typed);
        saveAndWait();
        EXPECT_TRUE(model->loadProblem() || model->banner()) << "a message in the window";
        const QString message = model->loadProblem().value_or(model->banner() ? model->banner()->text : QString());
        EXPECT_FALSE(message.contains(QStringLiteral(".).")) || message.contains(QStringLiteral("..")))
            << message.toStdString();
        if (fault.loadBlocked || fault.saveFailing) {
            EXPECT_FALSE(notifier->problems.isEmpty()) << "a desktop notification";
        }
        EXPECT_EQ(model->loadBlocked(), fault.loadBlocked);
        EXPECT_EQ(model->saveFailing(), fault.saveFailing);
        EXPECT_TRUE(contents().contains(before)) << "nothing on disk is touched while it fails";
        if (fault.quitWhileBroken) {
            model->saveBeforeQuit();
            const QStringList recovered = Recovery::pending({dir.filePath("state/Brindlewick")});
            ASSERT_EQ(recovered.size(), 1);
            EXPECT_TRUE(holdsTyped(recovered.first()));
        }

        guard.reset();
        fault.mend();
        EXPECT_TRUE(QTest::qWaitFor([&] { return holdsTyped(notesPath()); }, patienceMs)) << "the typed note is saved";
        EXPECT_TRUE(model->finishSaves(std::chrono::seconds(10)));
        EXPECT_FALSE(model->loadBlocked());
        EXPECT_FALSE(model->saveFailing());
        EXPECT_FALSE(notifier->problems.contains(Notifier::Problem::cannotRead)) << "its notification goes with it";
        EXPECT_FALSE(notifier->problems.contains(Notifier::Problem::cannotSave)) << "its notification goes with it";
        // The message closed in "All Notes" takes the notice of a fresh start with it.
        model->setLoadProblem(std::nullopt);
        EXPECT_TRUE(notifier->problems.isEmpty());
        QSet<QByteArray> others = before;
        others.remove(own);
        EXPECT_TRUE(contents().contains(others)) << "every other file that was on disk keeps its bytes";
    }
}

TEST_F(NotesFaultTest, AnAlertRaisedBeforeTheClockWasSetBackIsNotPostedAgain)
{
    StickyNote tea = note("Tea");
    tea.timer = NoteTimer(60);
    tea.timer->start(t0);
    ASSERT_EQ(NoteStore(dataFolder()).save(NoteBook({tea})), std::nullopt);
    notifier->state = NotifyPermission::allowed;
    model->start();
    ASSERT_EQ(notifier->scheduled.size(), 1);

    now = t0 + 61;
    model->tick();
    saveAndWait();
    ASSERT_TRUE(model->ringing().contains(tea.id));

    // The next run starts with the clock set back before the timer's end.
    now = t0 + 30;
    rebuild();
    notifier->state = NotifyPermission::allowed;
    model->start();
    EXPECT_TRUE(notifier->scheduled.isEmpty());
}

} // namespace
