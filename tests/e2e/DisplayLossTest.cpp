// The X server dying under the running program (a session that crashed, a display killed): what the
// user typed last must reach the notes file before the program ends. Played on a display of the
// test's own, which it kills.
#include "Desktop.h"
#include "EndToEndTest.h"
#include "ScopedEnv.h"

#include <QFile>
#include <QTest>

namespace {

using Desktop::xdotool;

class DisplayLossTest : public EndToEndTest {
protected:
    void SetUp() override
    {
        const QString displayFile = path("display");
        // No reset when the last client goes, which would turn away openbox connecting just then.
        server.start("sh", {"-c", "exec Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>'" +
                                      displayFile + "'"});
        QFile number(displayFile);
        ASSERT_TRUE(QTest::qWaitFor([&] { return number.size() > 0; }, patienceMs));
        ASSERT_TRUE(number.open(QIODevice::ReadOnly));
        display.emplace("DISPLAY", ":" + number.readAll().trimmed());
        windowManager.start("openbox", {"--sm-disable"});
        ASSERT_TRUE(QTest::qWaitFor(
            [] { return Desktop::output("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}).contains("window id"); },
            patienceMs));
    }

    void TearDown() override
    {
        EndToEndTest::TearDown();
        for (QProcess *process : {&typist, &windowManager, &server}) {
            process->terminate();
            process->waitForFinished(3000);
        }
    }

    QProcess server;
    QProcess windowManager;
    QProcess typist;
    std::optional<ScopedEnv> display;
};

TEST_F(DisplayLossTest, TextTypedJustBeforeTheDisplayDiesIsSaved)
{
    writeFile("config/Brindlewick/settings.json", "{\"welcomeDone\": true}");
    StickyNote note(QUuid::createUuid(), "Before", NoteColor::lemon, Date::current());
    note.frame = NoteFrame{200, 300, 250, 230};
    writeFile("data/notes.json", *NoteCoding::encode(NoteBook{{note}}));
    launch(brindlewick);
    QString window;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !(window = noteWindow()).isEmpty(); }, patienceMs));
    xdotool({"mousemove", "--window", window, "200", "120", "click", "1"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return xdotool({"getactivewindow"}) == window; }, patienceMs));
    xdotool({"key", "ctrl+End"});

    // Keys keep coming faster than the debounced save waits, so only the end of the program can save them.
    const QImage before = Desktop::screenshot(window);
    const QString typed = QStringLiteral(" and after").repeated(6);
    typist.start("xdotool", {"type", "--delay", "80", typed});
    ASSERT_TRUE(QTest::qWaitFor([&] { return Desktop::screenshot(window) != before; }, patienceMs)) << "typing shows";
    server.kill();

    ASSERT_TRUE(brindlewick.waitForFinished(patienceMs)) << "the program ends without its display";
    const std::optional<NoteBook> saved = notebook();
    ASSERT_TRUE(saved && saved->notes.size() == 1);
    const QString text = saved->notes.first().text;
    EXPECT_GT(text.size(), QString("Before").size()) << "what was typed before the display died is saved";
    EXPECT_TRUE(("Before" + typed).startsWith(text)) << text.toStdString();
}

} // namespace
