// A person's first day with Brindlewick, played on the real binary in a private desktop session
// (Xvfb, openbox, a session bus) with a status area (trayer) and a notification server (dunst).
#include "Desktop.h"
#include "EndToEndTest.h"
#include "QtPrinters.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QSet>
#include <QTest>
#include <QThread>

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
        ASSERT_TRUE(QTest::qWaitFor([] { return !xdotool({"search", "--classname", "trayer"}).isEmpty(); }, 5000));
    }

    void TearDown() override
    {
        EndToEndTest::TearDown();
        trayer.terminate();
        trayer.waitForFinished(3000);
    }

    // Watches the window's place from just before `at` until it has moved sideways and come back.
    bool shookAround(const QString &window, Date at) const
    {
        const QPoint rest = position(window);
        QSet<int> xs;
        QDeadlineTimer deadline(static_cast<qint64>((at - Date::current()) * 1000) + 3000);
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
    ASSERT_TRUE(brindlewick.waitForStarted(5000));
    ASSERT_TRUE(QTest::qWaitFor([] { return !visibleWindow("All Notes").isEmpty(); }, 10000))
        << "the first run opens All Notes";

    xdotool({"key", "ctrl+alt+n"});
    ASSERT_TRUE(QTest::qWaitFor([] { return !visibleWindow("Quick Note").isEmpty(); }, 5000));
    xdotool({"type", "--delay", "30", "tea 3s"});
    xdotool({"key", "Return"});

    const std::optional<StickyNote> tea = savedNote(
        [](const StickyNote &n) { return n.text == "tea" && n.timer && n.timer->endsAt; }, 1400);
    ASSERT_TRUE(tea) << "a running timer is saved within a second of the 400 ms save";
    EXPECT_EQ(tea->timer->duration, 3);
    EXPECT_GT(*tea->timer->endsAt, Date::current());
    QString window;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !(window = noteWindow()).isEmpty(); }, 3000));

    EXPECT_TRUE(shookAround(window, *tea->timer->endsAt)) << "the note shakes when its timer rings";
    ASSERT_TRUE(QTest::qWaitFor([] { return output("dunstctl", {"count", "displayed"}) == "1"; }, 3000));
    writeFile("choice", "+5 min");
    output("dunstctl", {"context"});
    QFile offered(path("offered"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return offered.exists() && offered.size() > 0; }, 3000));
    ASSERT_TRUE(offered.open(QIODevice::ReadOnly));
    const QString actions = QString::fromUtf8(offered.readAll());
    EXPECT_TRUE(actions.contains("+5 min") && actions.contains("Done")) << actions.toStdString();

    const std::optional<StickyNote> snoozed = savedNote(
        [](const StickyNote &n) {
            return n.timer && n.timer->endsAt && *n.timer->endsAt > Date::current() + 240;
        },
        3000);
    ASSERT_TRUE(snoozed) << "+5 min gives the timer five more minutes";

    const QString library = visibleWindow("All Notes");
    ASSERT_FALSE(library.isEmpty());
    xdotool({"windowminimize", "--sync", library});
    launch(second);
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return visibleWindow("All Notes") == library; }, 5000))
        << "the running program brings All Notes back";
    EXPECT_TRUE(QTest::qWaitFor([&] { return xdotool({"getactivewindow"}) == library; }, 5000));

    xdotool({"mousemove", "--window", window, "125", "150", "click", "1"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return xdotool({"getactivewindow"}) == window; }, 3000));
    xdotool({"key", "ctrl+shift+f"});
    QThread::msleep(100);
    ASSERT_TRUE(quit(brindlewick));
    const std::optional<NoteBook> book = notebook();
    ASSERT_TRUE(book);
    ASSERT_EQ(book->notes.size(), 1);
    EXPECT_TRUE(book->notes.first().pinned) << "a change made just before SIGTERM is saved";
    EXPECT_EQ(book->notes.first().timer, snoozed->timer);
}

} // namespace
