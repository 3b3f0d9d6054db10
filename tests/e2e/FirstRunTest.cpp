// A person's first day with Brindlewick, played on the real binary in a private desktop session
// (Xvfb, openbox, a session bus) with a status area (trayer) and a notification server (dunst).
#include "Desktop.h"
#include "EndToEndTest.h"
#include "QtPrinters.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QSet>
#include <QTest>

namespace {

using Desktop::output;
using Desktop::position;
using Desktop::visibleWindow;
using Desktop::xdotool;

class FirstRunTest : public EndToEndTest {
protected:
    void SetUp() override
    {
        writeFile("config/Brindlewick/settings.json", "{\"notificationsAllowed\": true}");
        writeFile("offer", "#!/bin/sh\ntee '" + path("offered").toUtf8() + "' | grep -m1 -F \"$(cat '" +
                               path("choice").toUtf8() + "')\"\n");
        QFile::setPermissions(path("offer"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        writeFile("dunstrc", "[global]\ndmenu = " + path("offer").toUtf8() + "\n");
        startNotificationServer(path("dunstrc"));
        trayer.start("trayer", {"--edge", "top", "--align", "right", "--width", "10", "--height", "24"});
        ASSERT_TRUE(
            QTest::qWaitFor([] { return !xdotool({"search", "--classname", "trayer"}).isEmpty(); }, patienceMs));
    }

    void TearDown() override
    {
        EndToEndTest::TearDown();
        trayer.terminate();
        trayer.waitForFinished(3000);
    }

    // Watches the window's place from before `at` until it has moved sideways and come back.
    bool shookAround(const QString &window, Date at) const
    {
        const QPoint rest = position(window);
        QSet<int> xs;
        QDeadlineTimer deadline(static_cast<qint64>((at - Date::current()) * 1000) + patienceMs);
        while (!deadline.hasExpired()) {
            const QPoint now = position(window);
            if (now.y() == rest.y())
                xs.insert(now.x() - rest.x());
            if (xs.size() >= 3 && position(window) == rest)
                return true;
        }
        return false;
    }

    QProcess trayer;
};

TEST_F(FirstRunTest, QuickTimerRingsSnoozesAndEverythingIsSavedOnQuit)
{
    launch(brindlewick);
    ASSERT_TRUE(brindlewick.waitForStarted(patienceMs));
    ASSERT_TRUE(QTest::qWaitFor([] { return !visibleWindow("All Notes").isEmpty(); }, patienceMs))
        << "the first run opens All Notes";

    xdotool({"key", "ctrl+alt+n"});
    ASSERT_TRUE(QTest::qWaitFor([] { return !visibleWindow("Quick Note").isEmpty(); }, patienceMs));
    // Long enough that a loaded machine still finds the note's window before it rings.
    xdotool({"type", "--delay", "30", "tea 8s"});
    xdotool({"key", "Return"});

    const std::optional<StickyNote> tea =
        savedNote([](const StickyNote &n) { return n.text == "tea" && n.timer && n.timer->endsAt; });
    ASSERT_TRUE(tea);
    EXPECT_EQ(tea->timer->duration, 8);
    EXPECT_GT(*tea->timer->endsAt, Date::current()) << "a running timer is saved while it runs";
    QString window;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !(window = noteWindow()).isEmpty(); }, patienceMs));

    EXPECT_TRUE(shookAround(window, *tea->timer->endsAt)) << "the note shakes when its timer rings";
    ASSERT_TRUE(QTest::qWaitFor([] { return output("dunstctl", {"count", "displayed"}) == "1"; }, patienceMs));
    writeFile("choice", "+5 min");
    output("dunstctl", {"context"});
    QFile offered(path("offered"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return offered.exists() && offered.size() > 0; }, patienceMs));
    ASSERT_TRUE(offered.open(QIODevice::ReadOnly));
    const QString actions = QString::fromUtf8(offered.readAll());
    EXPECT_TRUE(actions.contains("+5 min") && actions.contains("Done")) << actions.toStdString();

    const std::optional<StickyNote> snoozed = savedNote(
        [](const StickyNote &n) {
            return n.timer && n.timer->endsAt && *n.timer->endsAt > Date::current() + 240;
        });
    ASSERT_TRUE(snoozed) << "+5 min gives the timer five more minutes";

    const QString library = visibleWindow("All Notes");
    ASSERT_FALSE(library.isEmpty());
    xdotool({"windowminimize", "--sync", library});
    launch(second);
    ASSERT_TRUE(second.waitForFinished(patienceMs));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return visibleWindow("All Notes") == library; }, patienceMs))
        << "the running program brings All Notes back";
    EXPECT_TRUE(QTest::qWaitFor([&] { return xdotool({"getactivewindow"}) == library; }, patienceMs));

    xdotool({"mousemove", "--window", window, "125", "150", "click", "1"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return xdotool({"getactivewindow"}) == window; }, patienceMs));
    xdotool({"key", "ctrl+shift+f"});
    // Quit as soon as the note floats, well before its save is due.
    ASSERT_TRUE(QTest::qWaitFor([&] { return floats(window); }, patienceMs));
    ASSERT_TRUE(quit(brindlewick));
    const std::optional<NoteBook> book = notebook();
    ASSERT_TRUE(book);
    ASSERT_EQ(book->notes.size(), 1);
    EXPECT_TRUE(book->notes.first().pinned) << "a change made just before SIGTERM is saved";
    EXPECT_EQ(book->notes.first().timer, snoozed->timer);
}

} // namespace
