// Notes after the screens changed between two runs of the real binary: the second run is started on
// a second X server of another height, with its own window manager, as after a night on another monitor.
#include "Desktop.h"
#include "EndToEndTest.h"
#include "QtPrinters.h"

#include <QProcess>
#include <QTest>

namespace {

// Another X server of `size` with openbox on it, for as long as it lives. The server never resets
// when its last client goes: openbox connecting during a reset, right after a probe, would be
// turned away.
class OtherDisplay {
public:
    explicit OtherDisplay(QSize size)
    {
        m_server.start("Xvfb", {"-displayfd", "1", "-screen", "0", QStringLiteral("%1x%2x24").arg(size.width()).arg(size.height()),
                                "-nolisten", "tcp", "-noreset"});
        if (!QTest::qWaitFor([&] { return m_server.canReadLine(); }, patienceMs))
            return;
        m_name = ":" + QString::fromLatin1(m_server.readLine()).trimmed();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DISPLAY", m_name);
        m_windowManager.setProcessEnvironment(environment);
        m_windowManager.start("openbox", {"--sm-disable"});
    }
    ~OtherDisplay()
    {
        for (QProcess *process : {&m_windowManager, &m_server}) {
            process->terminate();
            process->waitForFinished(3000);
        }
    }
    OtherDisplay(const OtherDisplay &) = delete;
    OtherDisplay &operator=(const OtherDisplay &) = delete;

    const QString &name() const { return m_name; }

private:
    QProcess m_server;
    QProcess m_windowManager;
    QString m_name;
};

// Programs started in this scope, the program under test and xdotool among them, use `display`.
class OnDisplay {
public:
    explicit OnDisplay(const QString &display) : m_before(qgetenv("DISPLAY")) { qputenv("DISPLAY", display.toLatin1()); }
    ~OnDisplay() { qputenv("DISPLAY", m_before); }
    OnDisplay(const OnDisplay &) = delete;
    OnDisplay &operator=(const OnDisplay &) = delete;

private:
    QByteArray m_before;
};

bool windowManagerRuns()
{
    return Desktop::output("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}).contains("window id");
}

class ScreenChangeTest : public EndToEndTest {};

// Frames are kept y up from the bottom of the primary screen; a note must not move by the difference
// in height when that bottom moves.
TEST_F(ScreenChangeTest, ANoteOpensWhereItWasSeenAfterARestartOnATallerScreen)
{
    writeFile("config/Brindlewick/settings.json", "{\"welcomeDone\": true}");
    StickyNote tea(QUuid::createUuid(), "Tea", NoteColor::lemon, Date::current());
    tea.frame = NoteFrame{300, 500, 250, 230};
    writeFile("data/notes.json", *NoteCoding::encode(NoteBook{{tea}}));
    launch(brindlewick);
    QString note;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !(note = noteWindow()).isEmpty(); }, patienceMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Desktop::position(note) == QPoint(300, 350); }, patienceMs));
    const QPoint seen(700, 490);
    Desktop::drag(QPoint(300 + 125, 350 + 16), seen + QPoint(125, 16));
    ASSERT_TRUE(savedNote([&](const StickyNote &n) { return n.frame && onScreen(*n.frame).topLeft() == seen; }))
        << "moved to " << testing::PrintToString(Desktop::position(note));
    ASSERT_TRUE(quit(brindlewick));

    const OtherDisplay taller(QSize(1920, 1440));
    ASSERT_FALSE(taller.name().isEmpty());
    const OnDisplay there(taller.name());
    ASSERT_TRUE(QTest::qWaitFor(windowManagerRuns, patienceMs));
    ASSERT_EQ(Desktop::screenSize(), QSize(1920, 1440));
    launch(second);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !(note = noteWindow()).isEmpty(); }, patienceMs));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Desktop::position(note) == seen; }, patienceMs))
        << "at " << testing::PrintToString(Desktop::position(note));
    EXPECT_TRUE(savedNote([&](const StickyNote &n) { return n.frame && onScreen(*n.frame).topLeft() == seen; }))
        << "the frame is stored y up from the taller screen's bottom";
    EXPECT_TRUE(quit(second));
}

} // namespace
