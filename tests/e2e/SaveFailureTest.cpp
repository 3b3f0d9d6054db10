// Notes typed while the disk refuses them survive the end of the program: the real binary, killed
// with a failed save pending, leaves them in a recovery file and says where.
#include "Desktop.h"
#include "EndToEndTest.h"

#include <QDir>
#include <QProcess>
#include <QTest>

namespace {

using Desktop::output;
using Desktop::xdotool;

// With a notification server, so the failure can be seen outside the program's own windows.
class SaveFailureTest : public EndToEndTest {
protected:
    void SetUp() override { startNotificationServer(); }

};

TEST_F(SaveFailureTest, KilledWithAFailedSavePendingTheTypedNotesAreInTheRecoveryFile)
{
    writeFile("config/Brindlewick/settings.json", R"({"welcomeDone": true})");
    StickyNote seed(QUuid::createUuid(), "Shopping", NoteColor::mint, Date::current());
    seed.frame = NoteFrame{200, 300, 250, 230};
    writeFile("data/notes.json", *NoteCoding::encode(NoteBook({seed})));

    launch(brindlewick);
    ASSERT_TRUE(brindlewick.waitForStarted(patienceMs));
    QString window;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !(window = noteWindow()).isEmpty(); }, patienceMs));

    // The data folder goes away under the running program and a file takes its place.
    ASSERT_TRUE(QDir().rename(path("data"), path("data.moved")));
    writeFile("data", "not a folder");

    xdotool({"mousemove", "--window", window, "125", "150", "click", "1"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return xdotool({"getactivewindow"}) == window; }, patienceMs));
    xdotool({"key", "ctrl+End"});
    xdotool({"type", "--delay", "20", " and milk"});
    EXPECT_TRUE(QTest::qWaitFor([] { return output("dunstctl", {"count", "displayed"}) == "1"; }, patienceMs))
        << "the failed save is on the desktop, with every window of the program closed or not";
    // Keys are taken in order: once the note floats, the text typed before is in it.
    xdotool({"key", "ctrl+shift+f"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return floats(window); }, patienceMs));

    ASSERT_TRUE(quit(brindlewick));
    const QStringList kept = QDir(path("state/Brindlewick")).entryList({"notes.unsaved-*.json"});
    ASSERT_EQ(kept.size(), 1);
    QFile recovery(QDir(path("state/Brindlewick")).filePath(kept.first()));
    ASSERT_TRUE(recovery.open(QIODevice::ReadOnly));
    const std::optional<NoteBook> book = NoteCoding::decode(recovery.readAll(), Date::current());
    ASSERT_TRUE(book);
    ASSERT_EQ(book->notes.size(), 1);
    EXPECT_EQ(book->notes.first().text, "Shopping and milk");
    EXPECT_TRUE(book->notes.first().pinned) << "the last change too";

    QFile in(path("data"));
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    EXPECT_EQ(in.readAll(), "not a folder") << "the file in the way is left alone";
}

} // namespace
