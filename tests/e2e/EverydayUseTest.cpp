// Everyday use of the real binary in a private desktop session with a notification server (dunst):
// writing into new notes, the menus of "All Notes" from the keyboard, a ring notification that waits for
// its answer, the note menu's way to "All Notes", and quitting whatever is open.
#include "Desktop.h"
#include "EndToEndTest.h"
#include "Pixels.h"
#include "QtPrinters.h"

#include <QFile>
#include <QTest>
#include <csignal>
#include <functional>

namespace {

using Desktop::output;
using Desktop::visibleWindow;
using Desktop::xdotool;

// Where a note with this frame (y up) opens, so its controls can be found by hand.
const NoteFrame teaFrame{300, 500, 250, 230};

class EverydayUseTest : public EndToEndTest {
protected:
    void SetUp() override { startNotificationServer(); }

    void writeSettings(const QByteArray &json) const { writeFile("config/Brindlewick/settings.json", json); }

    // One note on the desktop and `others` smaller ones clear of it, the welcome done: the program
    // opens with the notes' windows alone.
    void writeTea(int others = 0) const
    {
        writeSettings("{\"welcomeDone\": true}");
        StickyNote tea(QUuid::createUuid(), "Tea", NoteColor::lemon, Date::current());
        tea.frame = teaFrame;
        QList<StickyNote> notes{tea};
        for (int i = 0; i < others; ++i) {
            StickyNote other(QUuid::createUuid(), QStringLiteral("Other %1").arg(i), NoteColor::mint, Date::current());
            other.frame = NoteFrame{600.0 + (i % 25) * 45, 40.0 + (i / 25) * 60, 200, 180};
            notes.append(other);
        }
        writeFile("data/notes.json", *NoteCoding::encode(NoteBook{notes}));
    }

    // The window of the single note, once it shows and is the active window.
    QString activeNoteWindow() const
    {
        QString window;
        const bool active = QTest::qWaitFor(
            [&] { return !(window = noteWindow()).isEmpty() && xdotool({"getactivewindow"}) == window; }, patienceMs);
        return active ? window : QString();
    }

    static void clickAt(const QString &window, QPoint at)
    {
        xdotool({"mousemove", "--window", window, QString::number(at.x()), QString::number(at.y()), "click", "1"});
    }

    static QString displayed() { return output("dunstctl", {"count", "displayed"}); }

};

TEST_F(EverydayUseTest, TextTypedAfterCtrlNLandsInTheNewNote)
{
    writeSettings("{\"welcomeDone\": true}");
    launch(brindlewick);
    ASSERT_TRUE(QTest::qWaitFor([] { return !visibleWindow("All Notes").isEmpty(); }, patienceMs));
    xdotool({"key", "ctrl+n"});
    ASSERT_FALSE(activeNoteWindow().isEmpty());
    xdotool({"type", "--delay", "30", "buy milk"});
    EXPECT_TRUE(savedNote([](const StickyNote &n) { return n.text == "buy milk"; }))
        << notebook().value_or(NoteBook()).notes.value(0).text.toStdString();
}

// Started while the user types elsewhere (as at login), the program shows its notes in front but
// leaves the keyboard where it was: not a key lands in a note.
TEST_F(EverydayUseTest, NotesShownAtStartLeaveTheKeyboardWhereItWas)
{
    writeTea(2);
    QProcess other;
    other.start("xmessage", {"-geometry", "900x700+100+100", "typing here"});
    QString typing;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !(typing = xdotool({"search", "--onlyvisible", "--class", "Xmessage"})).isEmpty(); }, patienceMs));
    xdotool({"windowactivate", "--sync", typing});
    ASSERT_EQ(xdotool({"getactivewindow"}), typing);

    launch(brindlewick);
    ASSERT_TRUE(QTest::qWaitFor([] { return programWindows().size() == 3; }, patienceMs));
    xdotool({"type", "--delay", "30", "abc"});
    EXPECT_EQ(xdotool({"getactivewindow"}), typing);
    ASSERT_TRUE(quit(brindlewick));
    for (const StickyNote &note : notebook().value_or(NoteBook()).notes)
        EXPECT_FALSE(note.text.contains("abc")) << note.text.toStdString();
    other.kill();
    other.waitForFinished();
}

TEST_F(EverydayUseTest, ShowInAllNotesBringsUpTheLibrary)
{
    writeTea();
    launch(brindlewick);
    QString note;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !(note = noteWindow()).isEmpty(); }, patienceMs));
    ASSERT_TRUE(visibleWindow("All Notes").isEmpty());
    // The "…" button is the last of the header's controls, at its right end.
    clickAt(note, QPoint(int(teaFrame.width) - 17, 16));
    ASSERT_TRUE(QTest::qWaitFor([] { return programWindows().size() == 2; }, patienceMs)) << "the menu opens";
    xdotool({"key", "Down", "Down", "Down", "Down", "Return"});
    EXPECT_TRUE(QTest::qWaitFor([] { return !visibleWindow("All Notes").isEmpty(); }, patienceMs));
}

// "All Notes" opens its menus as Linux programs do: by Alt and the title's underlined letter, or by F10
// for the first.
TEST_F(EverydayUseTest, AllNotesOpensItsMenusByAltAndALetterOrByF10)
{
    writeSettings("{\"welcomeDone\": true}");
    launch(brindlewick);
    QString library;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !(library = visibleWindow("All Notes")).isEmpty() && xdotool({"getactivewindow"}) == library; },
        patienceMs));
    for (const char *key : {"alt+f", "alt+w", "F10"}) {
        xdotool({"key", key});
        EXPECT_TRUE(QTest::qWaitFor([] { return programWindows().size() == 2; }, patienceMs)) << key << " opens a menu";
        xdotool({"key", "Escape", "Escape"});
        ASSERT_TRUE(QTest::qWaitFor([] { return programWindows().size() == 1; }, patienceMs)) << key;
    }
}

TEST_F(EverydayUseTest, ARingNotificationStaysUntilTheNoteIsAnsweredInTheApp)
{
    writeSettings("{\"welcomeDone\": true, \"notificationsAllowed\": true}");
    launch(brindlewick);
    ASSERT_TRUE(QTest::qWaitFor([] { return !visibleWindow("All Notes").isEmpty(); }, patienceMs));
    xdotool({"key", "ctrl+alt+n"});
    ASSERT_TRUE(QTest::qWaitFor([] { return !visibleWindow("Quick Note").isEmpty(); }, patienceMs));
    xdotool({"type", "--delay", "30", "tea 1s"});
    xdotool({"key", "Return"});
    const QString note = activeNoteWindow();
    ASSERT_FALSE(note.isEmpty());
    ASSERT_TRUE(QTest::qWaitFor([] { return displayed() == "1"; }, patienceMs));

    // Longer than any server's usual time-out.
    QTest::qWait(30000);
    EXPECT_EQ(displayed(), "1") << "a ring notification waits for its answer";

    // The text still has the focus: Return is the ring bar's "OK".
    xdotool({"key", "Return"});
    EXPECT_TRUE(QTest::qWaitFor([] { return displayed() == "0"; }, patienceMs));
}

// The status icon is a few pixels wide: a ringing note fills it with the alarm red, and once the ring
// is answered the icon lets go of it.
// A finished timer stays the most pressing thing until it is dealt with: answering its ring ("OK")
// leaves the disc, marking it done takes it away.
TEST_F(EverydayUseTest, TheStatusIconShowsAnOverdueTimerAsASymbolUntilItIsDone)
{
    QProcess trayer;
    trayer.start("trayer", {"--edge", "top", "--align", "right", "--width", "10", "--height", "24"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !xdotool({"search", "--classname", "trayer"}).isEmpty(); }, patienceMs));
    // The status area: the top right corner of the screen.
    const auto redPixels = [&] {
        const QSize screen = Desktop::screenSize();
        const QImage shot = Desktop::screenshot("root").copy(screen.width() - 200, 0, 200, 30);
        int count = 0;
        for (int y = 0; y < shot.height(); ++y) {
            for (int x = 0; x < shot.width(); ++x)
                count += Pixels::distance(shot.pixelColor(x, y), QColor(0xD7, 0x37, 0x3F)) <= 40;
        }
        return count;
    };

    writeSettings("{\"welcomeDone\": true}");
    StickyNote tea(QUuid::createUuid(), "Tea", NoteColor::lemon, Date::current());
    tea.frame = teaFrame;
    tea.timer = NoteTimer(60);
    tea.timer->start(Date::current() - 57);
    writeFile("data/notes.json", *NoteCoding::encode(NoteBook{{tea}}));
    launch(brindlewick);
    QString note;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !(note = noteWindow()).isEmpty(); }, patienceMs));

    // A disc, not a mark drawn in a corner of the icon.
    EXPECT_TRUE(QTest::qWaitFor([&] { return redPixels() > 150; }, patienceMs)) << redPixels();
    clickAt(note, QPoint(125, 120));
    ASSERT_EQ(activeNoteWindow(), note);
    const QImage ringing = Desktop::screenshot(note);
    xdotool({"key", "Return"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return Desktop::screenshot(note) != ringing; }, patienceMs))
        << "the ring bar goes";
    EXPECT_GT(redPixels(), 150) << "the answered timer is still over";
    xdotool({"key", "ctrl+Return"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return redPixels() == 0; }, patienceMs)) << redPixels();
    trayer.terminate();
    trayer.waitForFinished(3000);
}

// Each state is set up on a fresh launch; each way of quitting must end the program with 0, every note
// saved, a change made just before the quit too.
TEST_F(EverydayUseTest, QuittingExitsCleanlyWhateverIsOpen)
{
    struct State {
        const char *name;
        // Notes on the desktop, Tea among them; with none, "All Notes" opens.
        int notes;
        std::function<void(const QString &note)> open;
        // Whether `open` made Tea float above other windows, a change still waiting for its save.
        bool floatsTea = false;
    };
    const QList<State> states{
        {"the Quick Note panel", 0,
         [](const QString &) {
             xdotool({"key", "ctrl+alt+n"});
             ASSERT_TRUE(QTest::qWaitFor([] { return !visibleWindow("Quick Note").isEmpty(); }, patienceMs));
         }},
        {"All Notes", 0, [](const QString &) {}},
        {"the settings", 0,
         [](const QString &) {
             xdotool({"key", "ctrl+comma"});
             ASSERT_TRUE(QTest::qWaitFor([] { return programWindows().size() == 2; }, patienceMs));
         }},
        {"a note's timer popover", 1,
         [](const QString &) {
             xdotool({"key", "ctrl+t"});
             ASSERT_TRUE(QTest::qWaitFor([] { return programWindows().size() == 2; }, patienceMs));
         }},
        {"a note's menu", 1,
         [](const QString &note) {
             clickAt(note, QPoint(int(teaFrame.width) - 17, 16));
             ASSERT_TRUE(QTest::qWaitFor([] { return programWindows().size() == 2; }, patienceMs));
         }},
        {"200 notes", 200,
         [](const QString &note) {
             xdotool({"key", "ctrl+shift+f"});
             // Quit as soon as the note floats, well before its save is due.
             ASSERT_TRUE(QTest::qWaitFor([&] { return floats(note); }, patienceMs));
         },
         true},
    };
    struct Way {
        const char *name;
        std::function<void(QProcess &)> quit;
    };
    const QList<Way> ways{
        {"Ctrl+Q", [](QProcess &) { xdotool({"key", "ctrl+q"}); }},
        {"SIGTERM", [](QProcess &p) { ::kill(static_cast<pid_t>(p.processId()), SIGTERM); }},
        {"SIGHUP", [](QProcess &p) { ::kill(static_cast<pid_t>(p.processId()), SIGHUP); }},
        {"SIGINT", [](QProcess &p) { ::kill(static_cast<pid_t>(p.processId()), SIGINT); }},
    };
    for (const State &state : states) {
        for (const Way &way : ways) {
            SCOPED_TRACE(std::string(way.name) + " with " + state.name + " open");
            QFile::remove(path("data/notes.json"));
            if (state.notes > 0)
                writeTea(state.notes - 1);
            else
                writeSettings("{\"welcomeDone\": true}");
            QProcess program;
            launch(program);
            QString note;
            if (state.notes > 0) {
                ASSERT_TRUE(QTest::qWaitFor([&] { return programWindows().size() == state.notes; }, patienceMs));
                note = noteWindow();
                clickAt(note, QPoint(125, 120));
                ASSERT_EQ(activeNoteWindow(), note);
            } else {
                ASSERT_TRUE(QTest::qWaitFor([] { return !visibleWindow("All Notes").isEmpty(); }, patienceMs));
            }
            state.open(note);
            way.quit(program);
            ASSERT_TRUE(program.waitForFinished(patienceMs));
            EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
            EXPECT_EQ(program.exitCode(), 0);
            if (state.notes > 0) {
                const std::optional<NoteBook> book = notebook();
                ASSERT_TRUE(book);
                ASSERT_EQ(book->notes.size(), state.notes);
                EXPECT_EQ(book->notes.first().pinned, state.floatsTea);
            }
        }
    }
}

} // namespace
