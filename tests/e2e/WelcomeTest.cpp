// The first-run welcome played through on the real binary, read from the screen as a person reads it:
// its page dots, the welcome note it leaves on the desktop, the autostart entry it writes, and the next
// session's launch by that entry going straight to that note.
#include "Desktop.h"
#include "EndToEndTest.h"
#include "Pixels.h"
#include "QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QTest>

namespace {

using Desktop::position;
using Desktop::xdotool;

const QString welcomeText = QStringLiteral("Welcome to Brindlewick 👋\n"
                                           "Type anything here. ⏱ adds a timer and ⚑ a deadline: the tape at the "
                                           "top counts down.\n"
                                           "Quick Note: press Ctrl+Alt+N anywhere and type “tea 4m”.");

const QColor accent(0xE0, 0x60, 0x1E);

bool isAccent(const QColor &color)
{
    return Pixels::distance(color, accent) <= 8;
}

// The welcome sits in the middle of "All Notes"; its footer is in the lower part of the window, with
// the page dots near the middle and the main button to their right.
QRect footerBand(const QImage &shot)
{
    return QRect(0, shot.height() / 2 + 150, shot.width(), shot.height() / 2 - 150);
}

QRect dotsArea(const QImage &shot)
{
    const QRect band = footerBand(shot);
    return QRect(shot.width() / 2 - 80, band.top(), 160, band.height());
}

QRect buttonArea(const QImage &shot)
{
    const QRect band = footerBand(shot);
    return QRect(shot.width() / 2 + 80, band.top(), shot.width() / 2 - 80, band.height());
}

// The bounds of the accent-coloured pixels of the area; empty when there are none.
QRect accentBounds(const QImage &shot, const QRect &area)
{
    QRect bounds;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (isAccent(shot.pixelColor(x, y)))
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

// The page dots from left to right, as a person reads them: "O" for the wide accent one of the page
// shown, "o" for each other; empty when no welcome shows.
QString pageDots(const QImage &shot)
{
    const QRect area = dotsArea(shot);
    const QRect current = accentBounds(shot, area);
    if (current.isEmpty())
        return {};
    const int y = current.center().y();
    const QColor paper = shot.pixelColor(area.left(), y);
    QString dots;
    bool inDot = false;
    for (int x = area.left(); x <= area.right(); ++x) {
        const QColor color = shot.pixelColor(x, y);
        const bool inside = Pixels::distance(color, paper) > 6;
        if (inside && !inDot)
            dots += 'o';
        if (isAccent(color))
            dots.back() = 'O';
        inDot = inside;
    }
    return dots;
}

// The middle of the welcome's accent button ("Continue" or "Start Writing").
QPoint mainButton(const QImage &shot)
{
    return accentBounds(shot, buttonArea(shot)).center();
}

class WelcomeTest : public EndToEndTest {
protected:
    // Takes screenshots of "All Notes" until its page dots read `dots`.
    bool showsDots(const QString &dots)
    {
        return QTest::qWaitFor([&] {
            shot = Desktop::screenshot(library);
            return pageDots(shot) == dots;
        }, patienceMs);
    }

    void clickMainButton() const
    {
        const QPoint button = mainButton(shot);
        xdotool({"mousemove", "--window", library, QString::number(button.x()), QString::number(button.y()),
                 "click", "1"});
    }

    QString library;
    QImage shot;
};

TEST_F(WelcomeTest, WalkingThroughTheWelcomeLeavesOneWelcomeNoteThatTheNextSessionShowsAlone)
{
    launch(brindlewick);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !(library = Desktop::visibleWindow("All Notes")).isEmpty(); }, patienceMs))
        << "the first run opens All Notes";
    ASSERT_TRUE(showsDots("Ooo")) << "the welcome's first page shows over All Notes; the dots read "
                                  << pageDots(shot).toStdString();
    const QPoint corner(shot.width() - 10, shot.height() - 10);
    const QColor dimmed = shot.pixelColor(corner);

    ASSERT_TRUE(QTest::qWaitFor([&] { return xdotool({"getactivewindow"}) == library; }, patienceMs));
    xdotool({"key", "Return"});
    ASSERT_TRUE(showsDots("oOo")) << "Return turns to the alerts page; the dots read " << pageDots(shot).toStdString();
    clickMainButton();
    ASSERT_TRUE(showsDots("ooO")) << "Continue turns to the tray page; the dots read " << pageDots(shot).toStdString();
    clickMainButton();
    ASSERT_TRUE(showsDots("")) << "Start Writing closes the welcome; the dots read " << pageDots(shot).toStdString();
    EXPECT_LT(dimmed.lightness() + 30, shot.pixelColor(corner).lightness())
        << "All Notes is dimmed behind the welcome and clear after it";

    const std::optional<StickyNote> welcome = savedNote([](const StickyNote &n) { return n.frame.has_value(); });
    ASSERT_TRUE(welcome) << "the notes file holds one note, placed on the desktop";
    EXPECT_EQ(welcome->text, welcomeText);
    EXPECT_EQ(welcome->color, NoteColor::lemon);
    EXPECT_TRUE(welcome->isLive());
    EXPECT_FALSE(welcome->tucked);
    const QJsonObject answers = settings();
    EXPECT_EQ(answers.value("welcomeDone"), QJsonValue(true)) << QJsonDocument(answers).toJson().toStdString();
    EXPECT_EQ(answers.value("trayEnabled"), QJsonValue(true)) << "the tray page's first answer was left chosen";
    const QString entryPath = path("config/autostart/brindlewick.desktop");
    QFile entry(entryPath);
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly)) << "the end of the welcome writes the autostart entry";
    QString exec;
    for (const QString &line : QString::fromUtf8(entry.readAll()).split('\n')) {
        if (line.startsWith("Exec="))
            exec = line.mid(5);
    }
    const QStringList atLogin = QProcess::splitCommand(exec);
    ASSERT_EQ(atLogin.size(), 2) << exec.toStdString();
    EXPECT_EQ(atLogin[0], QFileInfo(BRINDLEWICK_BINARY_DIR "/src/Brindlewick/brindlewick").canonicalFilePath());

    QStringList panels;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        panels = programWindows();
        panels.removeAll(library);
        return !panels.isEmpty();
    }, patienceMs));
    ASSERT_EQ(panels.size(), 1) << "one note on the desktop";
    const QString panel = panels.first();
    EXPECT_EQ(QRect(position(panel), Desktop::size(panel)), onScreen(*welcome->frame));

    // Moved by its tape, so that the next launch can only find it there through the stored frame.
    const QPoint placed = position(panel);
    const QPoint moved = placed + QPoint(-400, 300);
    Desktop::drag(placed + QPoint(125, 16), moved + QPoint(125, 16));
    ASSERT_TRUE(savedNote([&](const StickyNote &n) { return n.frame && onScreen(*n.frame).topLeft() == moved; }))
        << "the moved note is stored at " << testing::PrintToString(position(panel));
    ASSERT_TRUE(quit(brindlewick));
    const std::optional<NoteBook> saved = notebook();
    ASSERT_TRUE(saved && saved->notes.size() == 1 && saved->notes.first().frame);
    const QRect stored = onScreen(*saved->notes.first().frame);

    // Notes kept from a failed save are a problem a plain launch shows in "All Notes"; at login, only
    // the notes show.
    writeFile("state/Brindlewick/notes.unsaved-1765000000.json", "{}");
    launch(second, atLogin);
    QString note;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !(note = noteWindow()).isEmpty(); }, patienceMs))
        << "the welcome note comes back on the desktop";
    EXPECT_TRUE(QTest::qWaitFor([&] { return QRect(position(note), Desktop::size(note)) == stored; }, patienceMs))
        << "at " << testing::PrintToString(QRect(position(note), Desktop::size(note))) << ", stored "
        << testing::PrintToString(stored);
    // A launch asks for "All Notes" before any note is put on the desktop, so by now it would exist.
    EXPECT_EQ(Desktop::window("All Notes"), QString()) << "started with the session, no window opens but the notes";
    EXPECT_EQ(programWindows(), QStringList{note});
    // Started with the session again while it still runs (out and back in at once): nothing comes up.
    QProcess again;
    launch(again, atLogin);
    ASSERT_TRUE(again.waitForFinished(patienceMs));
    EXPECT_EQ(again.exitCode(), 0);
    QTest::qWait(1000);
    EXPECT_EQ(Desktop::window("All Notes"), QString()) << "a login start leaves the running program as it is";
    ASSERT_TRUE(quit(second));

    // The user took it out of their startup applications: it stays out.
    ASSERT_TRUE(QFile::remove(entryPath));
    launch(brindlewick);
    ASSERT_TRUE(QTest::qWaitFor([] { return !Desktop::visibleWindow("All Notes").isEmpty(); }, patienceMs))
        << "a plain launch shows the problem";
    ASSERT_TRUE(quit(brindlewick));
    EXPECT_FALSE(QFile::exists(entryPath));

    // A damaged settings file is set aside and says nothing of a first run: no welcome, no entry.
    writeFile("config/Brindlewick/settings.json", R"({"welcomeDone": tr)");
    launch(brindlewick);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !(library = Desktop::visibleWindow("All Notes")).isEmpty(); }, patienceMs))
        << "a plain launch shows the set-aside settings as a problem";
    QTest::qWait(1000);
    EXPECT_EQ(pageDots(Desktop::screenshot(library)), QString()) << "no welcome over All Notes";
    ASSERT_TRUE(quit(brindlewick));
    EXPECT_EQ(QDir(path("config/Brindlewick")).entryList({"settings.damaged-*.json"}, QDir::Files).size(), 1);
    EXPECT_EQ(settings().value("welcomeDone"), QJsonValue(true));
    EXPECT_FALSE(QFile::exists(entryPath));
}

} // namespace
