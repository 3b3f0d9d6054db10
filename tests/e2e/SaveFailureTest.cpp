// Notes typed while the disk refuses them survive the end of the program: the real binary, killed
// with a failed save pending, leaves them in a recovery file and says where; one quit while its disk
// does not answer leaves the screen at once and ends all the same.
#include "Desktop.h"
#include "EndToEndTest.h"
#include "HungDisk.h"
#include "RivalKeyGrab.h"

#include <QDir>
#include <QProcess>
#include <QTest>
#include <csignal>

namespace {

using Desktop::output;
using Desktop::xdotool;

// With a notification server, so the failure can be seen outside the program's own windows.
class SaveFailureTest : public EndToEndTest {
protected:
    void SetUp() override { startNotificationServer(); }

    // A note on the desktop with "Shopping" in it, started.
    void launchWithANote()
    {
        writeFile("config/Brindlewick/settings.json", R"({"welcomeDone": true})");
        StickyNote seed(QUuid::createUuid(), "Shopping", NoteColor::mint, Date::current());
        seed.frame = NoteFrame{200, 300, 250, 230};
        writeFile("data/notes.json", *NoteCoding::encode(NoteBook({seed})));
        launch(brindlewick);
    }

    // Types at the end of the note's text, then floats the note: keys are taken in order, so once it
    // floats, the text typed before is in it.
    static void typeIntoTheNote(const QString &window, const QString &text)
    {
        xdotool({"mousemove", "--window", window, "125", "150", "click", "1"});
        ASSERT_TRUE(QTest::qWaitFor([&] { return xdotool({"getactivewindow"}) == window; }, patienceMs));
        xdotool({"key", "ctrl+End"});
        xdotool({"type", "--delay", "20", text});
        xdotool({"key", "ctrl+shift+f"});
        ASSERT_TRUE(QTest::qWaitFor([&] { return floats(window); }, patienceMs));
    }

    QStringList recoveryFiles() const
    {
        return QDir(path("state/Brindlewick")).entryList({"notes.unsaved-*.json"});
    }

    // The notes in the one recovery file.
    std::optional<NoteBook> recovered() const
    {
        const QStringList kept = recoveryFiles();
        QFile recovery(QDir(path("state/Brindlewick")).filePath(kept.value(0)));
        if (kept.size() != 1 || !recovery.open(QIODevice::ReadOnly))
            return std::nullopt;
        return NoteCoding::decode(recovery.readAll(), Date::current());
    }

    // The process's main thread has ended: the process is gone, or only threads the kernel holds in a
    // wait for a disk are left of it.
    static bool mainThreadEnded(qint64 pid)
    {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            return true;
        const QByteArray line = stat.readAll();
        const QByteArray state = line.mid(line.lastIndexOf(')') + 2, 1);
        return state == "Z" || state == "X";
    }
};

TEST_F(SaveFailureTest, KilledWithAFailedSavePendingTheTypedNotesAreInTheRecoveryFile)
{
    launchWithANote();
    QString window;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !(window = noteWindow()).isEmpty(); }, patienceMs));

    // The data folder goes away under the running program and a file takes its place.
    ASSERT_TRUE(QDir().rename(path("data"), path("data.moved")));
    writeFile("data", "not a folder");

    typeIntoTheNote(window, " and milk");
    EXPECT_TRUE(QTest::qWaitFor([] { return output("dunstctl", {"count", "displayed"}) == "1"; }, patienceMs))
        << "the failed save is on the desktop, with every window of the program closed or not";

    ASSERT_TRUE(quit(brindlewick));
    const std::optional<NoteBook> book = recovered();
    ASSERT_TRUE(book);
    ASSERT_EQ(book->notes.size(), 1);
    EXPECT_EQ(book->notes.first().text, "Shopping and milk");
    EXPECT_TRUE(book->notes.first().pinned) << "the last change too";

    QFile in(path("data"));
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    EXPECT_EQ(in.readAll(), "not a folder") << "the file in the way is left alone";
}

// The disk of the notes stops answering and the user quits: the windows go at once, before the quit
// waits for the disk; after that wait the notes go to a recovery file and the program ends, its
// writing thread left waiting in the kernel with nothing of it on the X server.
TEST_F(SaveFailureTest, QuitWhileTheDiskDoesNotAnswerTheWindowsGoAtOnceAndTheProgramEnds)
{
    ASSERT_TRUE(QDir().mkpath(path("disk")) && QDir().mkpath(path("data")));
    HungMount disk(path("disk"), path("data"));
    if (disk.unavailable())
        GTEST_SKIP() << "no FUSE disk can be mounted here: " << disk.unavailable()->toStdString();
    launchWithANote();
    QString window;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !(window = noteWindow()).isEmpty(); }, patienceMs));
    disk.hang();
    typeIntoTheNote(window, " and bread");
    ASSERT_FALSE(RivalKeyGrab().held()) << "the program holds the global key";

    const qint64 pid = brindlewick.processId();
    ::kill(static_cast<pid_t>(pid), SIGTERM);
    ASSERT_TRUE(QTest::qWaitFor([] { return programWindows().isEmpty(); }, patienceMs));
    EXPECT_TRUE(RivalKeyGrab().held()) << "the global key is free";
    EXPECT_TRUE(recoveryFiles().isEmpty()) << "the windows and the key went before the wait for the disk";
    ASSERT_TRUE(QTest::qWaitFor([&] { return mainThreadEnded(pid); }, patienceMs)) << "ended with the disk silent";
    EXPECT_EQ(xdotool({"search", "--pid", QString::number(pid)}), "") << "its connection to the X server is closed";
    const std::optional<NoteBook> book = recovered();
    ASSERT_TRUE(book);
    ASSERT_EQ(book->notes.size(), 1);
    EXPECT_EQ(book->notes.first().text, "Shopping and bread");

    disk.answer();
    ASSERT_TRUE(brindlewick.waitForFinished(patienceMs));
    EXPECT_EQ(brindlewick.exitCode(), 0);
}

} // namespace
