#include "FakeSettingsPortal.h"
#include "OtherWindow.h"
#include "Patience.h"
#include "X11Probe.h"

#include "NoteView/ColorButton.h"
#include "NoteView/DeadlineButton.h"
#include "NoteView/NoteFooter.h"
#include "NoteView/NoteHeader.h"
#include "NoteView/NoteMenu.h"
#include "NoteView/NoteView.h"
#include "NoteView/Popover.h"
#include "NoteWindows/NotePanel.h"
#include "NoteWindows/NoteWindows.h"
#include "Platform/X11.h"
#include "Shell/QuickNote/KeyPanel.h"
#include "Shell/QuickNote/QuickNoteController.h"
#include "State/AppModel.h"
#include "State/RecordingNotifier.h"
#include "Pixels.h"
#include "QtPrinters.h"
#include "Snapshots.h"
#include "Theme/Appearance.h"
#include "Theme/Paper.h"
#include "Theme/PaperEditor.h"
#include "Theme/PaperIconButton.h"
#include "TimeText.h"

#include <QAnimationDriver>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTransform>
#include <QWindow>
#include <array>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Qt's animations advance only when the test says so, so every key frame can be looked at.
class SteppedAnimationDriver : public QAnimationDriver {
public:
    SteppedAnimationDriver() { install(); }
    ~SteppedAnimationDriver() override { uninstall(); }

    qint64 elapsed() const override { return m_now; }
    void stepTo(qint64 milliseconds)
    {
        m_now = milliseconds;
        advance();
    }

protected:
    void start() override
    {
        m_now = 0;
        QAnimationDriver::start();
    }

private:
    qint64 m_now = 0;
};

// The session's screen is 1920 × 1080 with nothing reserved, so y up and Qt's y down meet at
// y_qt = 1080 − y − height.
constexpr int screenHeight = 1080;

// Where the session wrapper lets openbox write.
QString windowManagerLog()
{
    QFile log(qEnvironmentVariable("XDG_RUNTIME_DIR") + QStringLiteral("/openbox.log"));
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QStringLiteral("(none)");
}

QRect qtRect(const QRectF &yUp)
{
    return QRect(int(yUp.x()), screenHeight - int(yUp.y() + yUp.height()), int(yUp.width()), int(yUp.height()));
}

// The session's screen, 900 pixels high instead of 1080 for as long as it lives, as when a monitor
// is swapped or a laptop's lid closes; changed through RandR as a display settings tool does.
class ShorterScreen {
public:
    ShorterScreen()
    {
        m_changed = xrandr({"--newmode", "short", "0", "1920", "1920", "1920", "1920", "900", "900", "900", "900"})
                    && xrandr({"--addmode", "screen", "short"}) && xrandr({"--output", "screen", "--mode", "short"});
    }
    ~ShorterScreen()
    {
        xrandr({"--output", "screen", "--mode", "1920x1080"});
        xrandr({"--delmode", "screen", "short"});
        xrandr({"--rmmode", "short"});
        if (!QTest::qWaitFor([] { return QGuiApplication::primaryScreen()->geometry().height() == 1080; }, patienceMs))
            ADD_FAILURE() << "the screen is not 1080 high again";
    }
    ShorterScreen(const ShorterScreen &) = delete;
    ShorterScreen &operator=(const ShorterScreen &) = delete;

    bool changed() const { return m_changed; }

private:
    static bool xrandr(const QStringList &arguments) { return QProcess::execute("xrandr", arguments) == 0; }

    bool m_changed = false;
};

class NoteWindowsTest : public testing::Test {
protected:
    static constexpr Date t0{786000000};

    NoteWindowsTest()
        : model(Paths{dir.filePath(QStringLiteral("data"))}, SettingsStore(dir.filePath(QStringLiteral("settings.json"))),
                std::make_unique<RecordingNotifier>())
    {
        model.clock = [] { return t0; };
        model.load();
    }

    void SetUp() override
    {
        ASSERT_EQ(QGuiApplication::primaryScreen()->availableGeometry(), QRect(0, 0, 1920, screenHeight));
        // The session's window manager may still be starting on a busy machine.
        ASSERT_TRUE(QTest::qWaitFor(
            [] { return X11Probe::xprop(0, QStringLiteral("_NET_SUPPORTING_WM_CHECK")).contains("window id"); },
            patienceMs))
            << "no window manager on " << qgetenv("DISPLAY").toStdString() << "; its log:\n"
            << windowManagerLog().toStdString();
    }

    QUuid add(std::optional<QRectF> frame = std::nullopt, bool tucked = false)
    {
        return model.newNote(QStringLiteral("Tea\nGreen, two minutes"), std::nullopt, std::nullopt, false,
                             std::nullopt, tucked, frame);
    }

    // The note's panel once the window manager shows it where Qt has it; null if it never does.
    NotePanel *shown(const QUuid &id)
    {
        NotePanel *panel = nullptr;
        const bool ready = QTest::qWaitFor([&] {
            panel = windows.panel(id);
            return panel && panel->windowHandle()->isExposed() && X11Probe::isViewable(panel)
                   && X11Probe::position(panel) == panel->pos();
        }, patienceMs);
        return ready ? panel : nullptr;
    }

    std::optional<NoteFrame> stored(const QUuid &id) const
    {
        const std::optional<StickyNote> note = model.book()[id];
        return note ? note->frame : std::nullopt;
    }

    bool storedBecomes(const QUuid &id, const NoteFrame &frame)
    {
        return QTest::qWaitFor([&] { return stored(id) == frame; }, patienceMs);
    }

    // Activates the other window and waits until it lies over the panel.
    static bool covers(const OtherWindow &other, const NotePanel *panel)
    {
        return other.id() && other.activate()
               && QTest::qWaitFor([&] { return X11Probe::isAbove(other.id(), panel->winId()); }, patienceMs);
    }

    // Once the server answers, every event it sent before is on its way to Qt; then Qt handles them.
    static void settleX()
    {
        xcb_connection_t *connection = X11::connection();
        std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
        QTest::qWait(0);
    }

    // Presses at `from`, moves there in a few steps and lets go, as a hand on the mouse would.
    static bool drag(QPoint from, QPoint to)
    {
        QStringList steps{QStringLiteral("mousemove"), QString::number(from.x()), QString::number(from.y()),
                          QStringLiteral("mousedown"), QStringLiteral("1")};
        for (int i = 1; i <= 4; ++i) {
            const QPoint at = from + (to - from) * i / 4;
            steps += {QStringLiteral("sleep"), QStringLiteral("0.05"), QStringLiteral("mousemove"),
                      QString::number(at.x()), QString::number(at.y())};
        }
        steps += {QStringLiteral("sleep"), QStringLiteral("0.1"), QStringLiteral("mouseup"), QStringLiteral("1")};
        return X11Probe::xdotool(steps);
    }

    QTemporaryDir dir;
    AppModel model;
    NoteWindows windows{model};
};

TEST_F(NoteWindowsTest, NewNotesFollowTheCascadeAndTheirFramesAreStoredAtOnce)
{
    const QUuid first = add();
    const QUuid second = add();
    windows.sync();
    EXPECT_EQ(stored(first), (NoteFrame{1634, 814, 250, 230}));
    EXPECT_EQ(stored(second), (NoteFrame{1606, 786, 250, 230}));

    NotePanel *firstPanel = shown(first);
    NotePanel *secondPanel = shown(second);
    ASSERT_TRUE(firstPanel && secondPanel);
    EXPECT_EQ(X11Probe::position(firstPanel), QPoint(1634, 36));
    EXPECT_EQ(X11Probe::position(secondPanel), QPoint(1606, 64));
    EXPECT_EQ(firstPanel->size(), QSize(250, 230));
    EXPECT_EQ(firstPanel->noteID(), first);
    EXPECT_EQ(firstPanel->accessibleName(), QStringLiteral("Note: Tea"));

    // The note's "Show in All Notes" reaches whoever keeps the library window.
    QSignalSpy library(&windows, &NoteWindows::showInLibrary);
    auto *header = secondPanel->findChild<NoteHeader *>();
    ASSERT_TRUE(header);
    QTest::mouseClick(header->moreButton(), Qt::LeftButton);
    auto *menu = secondPanel->findChild<NoteMenu *>();
    ASSERT_TRUE(menu && menu->isVisible());
    const QList<QAction *> actions = menu->actions();
    const auto show = std::find_if(actions.begin(), actions.end(),
                                   [](const QAction *a) { return a->text() == QStringLiteral("Show in All Notes"); });
    ASSERT_NE(show, actions.end());
    (*show)->trigger();
    menu->close();
    ASSERT_EQ(library.count(), 1);
    EXPECT_EQ(library.first().first().toUuid(), second);
}

TEST_F(NoteWindowsTest, DraggingTheHeaderMovesThePanelAndStoresItsFrameYUp)
{
    const QUuid id = add(QRectF(400, 500, 250, 230));
    NotePanel *panel = shown(id);
    ASSERT_TRUE(panel);
    ASSERT_EQ(X11Probe::position(panel), QPoint(400, 350));

    ASSERT_TRUE(drag(QPoint(525, 366), QPoint(325, 566)));
    EXPECT_TRUE(storedBecomes(id, NoteFrame{200, 300, 250, 230})) << stored(id)->x << ", " << stored(id)->y;
    EXPECT_EQ(X11Probe::position(panel), QPoint(200, 550));
}

TEST_F(NoteWindowsTest, ResizingFromAnEdgeStoresTheNewSizeOnceTheResizeEnds)
{
    const QUuid id = add(QRectF(400, 500, 250, 230));
    NotePanel *panel = shown(id);
    ASSERT_TRUE(panel);

    // The bottom right corner, a little inside the rounded outline that cuts the panel without a
    // compositing manager: the panel grows down, so its y-up origin moves down with it.
    ASSERT_TRUE(drag(QPoint(646, 576), QPoint(706, 616)));
    EXPECT_TRUE(storedBecomes(id, NoteFrame{400, 460, 310, 270}));
    EXPECT_EQ(panel->size(), QSize(310, 270));

    // The left edge moves the origin too; a panel never gets smaller than 190 × 150.
    ASSERT_TRUE(drag(QPoint(401, 480), QPoint(600, 480)));
    EXPECT_TRUE(storedBecomes(id, NoteFrame{520, 460, 190, 270}));
}

TEST_F(NoteWindowsTest, ThePointerShowsAResizeCursorOnlyAlongThePanelsEdges)
{
    const QUuid id = add(QRectF(400, 500, 250, 230));
    ASSERT_TRUE(shown(id));
    struct Case { QPoint at; Qt::CursorShape shape; };
    const Case cases[] = {
        {QPoint(401, 465), Qt::SizeHorCursor},   {QPoint(648, 465), Qt::SizeHorCursor},
        {QPoint(525, 578), Qt::SizeVerCursor},   {QPoint(403, 353), Qt::SizeFDiagCursor},
        {QPoint(646, 576), Qt::SizeFDiagCursor}, {QPoint(646, 353), Qt::SizeBDiagCursor},
        {QPoint(525, 465), Qt::IBeamCursor},
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(X11Probe::xdotool({QStringLiteral("mousemove"), QString::number(c.at.x()), QString::number(c.at.y())}));
        EXPECT_TRUE(QTest::qWaitFor([&] {
            const QWidget *under = QApplication::widgetAt(c.at);
            return under && under->cursor().shape() == c.shape;
        }, patienceMs)) << c.at.x() << ", " << c.at.y();
    }
}

TEST_F(NoteWindowsTest, PinnedPanelsFloatAboveOtherWindowsOnEveryDesktop)
{
    const QString above = QStringLiteral("_NET_WM_STATE_ABOVE");
    const QString everyDesktop = QStringLiteral("_NET_WM_DESKTOP(CARDINAL) = 4294967295");
    const QString firstDesktop = QStringLiteral("_NET_WM_DESKTOP(CARDINAL) = 0");
    const QString stateProperty = QStringLiteral("_NET_WM_STATE");
    const QString desktopProperty = QStringLiteral("_NET_WM_DESKTOP");

    const QUuid pinned = add(QRectF(150, 700, 250, 230));
    model.togglePinned(pinned);
    const QUuid plain = add(QRectF(300, 650, 250, 230));
    NotePanel *pinnedPanel = shown(pinned);
    NotePanel *plainPanel = shown(plain);
    ASSERT_TRUE(pinnedPanel && plainPanel);
    OtherWindow other(QRect(100, 100, 600, 400));
    ASSERT_NE(other.id(), 0u);
    ASSERT_TRUE(other.activate());

    EXPECT_TRUE(QTest::qWaitFor([&] { return X11Probe::isAbove(pinnedPanel->winId(), other.id()); }, patienceMs));
    EXPECT_TRUE(X11Probe::isAbove(other.id(), plainPanel->winId()));
    EXPECT_TRUE(X11Probe::xprop(pinnedPanel->winId(), stateProperty).contains(above));
    EXPECT_EQ(X11Probe::xprop(pinnedPanel->winId(), desktopProperty), everyDesktop);
    EXPECT_FALSE(X11Probe::xprop(plainPanel->winId(), stateProperty).contains(above));
    EXPECT_EQ(X11Probe::xprop(plainPanel->winId(), desktopProperty), firstDesktop);

    ASSERT_TRUE(X11Probe::xdotool({QStringLiteral("set_desktop"), QStringLiteral("1")}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !X11Probe::isViewable(plainPanel); }, patienceMs));
    EXPECT_TRUE(X11Probe::isViewable(pinnedPanel));
    ASSERT_TRUE(X11Probe::xdotool({QStringLiteral("set_desktop"), QStringLiteral("0")}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return X11Probe::isViewable(plainPanel); }, patienceMs));

    // Pinning and unpinning shown panels: the window manager is asked, the panels stay.
    model.togglePinned(pinned);
    model.togglePinned(plain);
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return X11Probe::xprop(plainPanel->winId(), desktopProperty) == everyDesktop
               && X11Probe::xprop(pinnedPanel->winId(), desktopProperty) == firstDesktop;
    }, patienceMs));
    EXPECT_EQ(windows.panel(pinned), pinnedPanel);
    EXPECT_TRUE(X11Probe::xprop(plainPanel->winId(), stateProperty).contains(above));
    EXPECT_FALSE(X11Probe::xprop(pinnedPanel->winId(), stateProperty).contains(above));
    ASSERT_TRUE(other.activate());
    EXPECT_TRUE(QTest::qWaitFor([&] { return X11Probe::isAbove(plainPanel->winId(), other.id()); }, patienceMs));
    EXPECT_TRUE(X11Probe::isAbove(other.id(), pinnedPanel->winId()));
}

TEST_F(NoteWindowsTest, HidingNotesRemovesEveryPanelAndShowingMakesThemAfreshAtTheirFrames)
{
    const QRectF firstFrame(200, 600, 250, 230);
    const QRectF secondFrame(900, 300, 320, 260);
    const QUuid first = add(firstFrame);
    const QUuid second = add(secondFrame);
    NotePanel *firstPanel = shown(first);
    ASSERT_TRUE(firstPanel && shown(second));
    const WId firstWindow = firstPanel->winId();

    model.setNotesHidden(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !windows.panel(first) && !windows.panel(second); }, patienceMs));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !X11Probe::stacking().contains(firstWindow); }, patienceMs));
    // A note that rings meanwhile neither shows nor shakes.
    windows.ring(*model.book()[first]);
    EXPECT_EQ(windows.panel(first), nullptr);

    model.setNotesHidden(false);
    NotePanel *firstAgain = shown(first);
    NotePanel *secondAgain = shown(second);
    ASSERT_TRUE(firstAgain && secondAgain);
    EXPECT_NE(firstAgain->winId(), firstWindow);
    EXPECT_EQ(QRect(X11Probe::position(firstAgain), firstAgain->size()), qtRect(firstFrame));
    EXPECT_EQ(QRect(X11Probe::position(secondAgain), secondAgain->size()), qtRect(secondFrame));
}

TEST_F(NoteWindowsTest, ManyNotesGetTheirPanelsAFewPerTurnOfTheEventLoopAndAShownNoteAtOnce)
{
    NoteBook book;
    for (int i = 0; i < 60; ++i) {
        StickyNote note(QUuid::createUuid(), QStringLiteral("Note %1").arg(i), NoteColor::mint, model.now());
        note.frame = NoteFrame{100.0 + 10 * i, 200, 250, 230};
        book.notes.append(note);
    }
    model.setBook(book);
    const auto panels = [&] {
        return std::count_if(book.notes.cbegin(), book.notes.cend(),
                             [&](const StickyNote &note) { return windows.panel(note.id) != nullptr; });
    };
    windows.sync();
    EXPECT_GT(panels(), 0);
    EXPECT_LT(panels(), 60);
    const QUuid last = book.notes.last().id;
    ASSERT_EQ(windows.panel(last), nullptr);
    windows.show(last);
    EXPECT_NE(windows.panel(last), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return panels() == 60; }, patienceMs));
}

TEST_F(NoteWindowsTest, ShowingADesktopNoteMakesItTheActiveWindowUnlessNotesAreHidden)
{
    const QUuid id = add(QRectF(300, 500, 250, 230));
    model.setNotesHidden(true);
    windows.show(id);
    EXPECT_EQ(windows.panel(id), nullptr);

    model.setNotesHidden(false);
    NotePanel *panel = shown(id);
    ASSERT_TRUE(panel);
    OtherWindow other(QRect(200, 200, 600, 500));
    ASSERT_TRUE(covers(other, panel));
    windows.show(id);
    EXPECT_TRUE(QTest::qWaitFor([&] { return panel->isActiveWindow(); }, patienceMs));
    EXPECT_TRUE(X11Probe::isAbove(panel->winId(), other.id()));
}

TEST_F(NoteWindowsTest, ARingingNoteComesToTheFrontAndShakesThroughTheOffsets)
{
    const QRectF frame(300, 500, 250, 230);
    const QUuid id = add(frame);
    NotePanel *panel = shown(id);
    ASSERT_TRUE(panel);
    OtherWindow other(QRect(200, 200, 600, 500));
    ASSERT_TRUE(covers(other, panel));
    const QPoint origin = X11Probe::position(panel);

    SteppedAnimationDriver driver;
    // Animations already running (the note's controls fading in) take up the time that passed
    // before the driver was installed, so the shake starts from a clean tick.
    driver.stepTo(0);
    windows.ring(*model.book()[id]);
    EXPECT_TRUE(QTest::qWaitFor([&] { return X11Probe::isAbove(panel->winId(), other.id()); }, patienceMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return driver.isRunning(); }, patienceMs));
    // The window manager answers the raise with the panel's place as it was; taken before the
    // shake's first step, that answer cannot overtake it.
    settleX();
    const qint64 start = driver.elapsed();

    constexpr std::array<int, 8> offsets{0, -10, 10, -8, 8, -4, 4, 0};
    for (std::size_t frameIndex = 0; frameIndex < offsets.size(); ++frameIndex) {
        EXPECT_TRUE(panel->isShaking()) << frameIndex;
        driver.stepTo(start + qRound(500.0 * double(frameIndex) / double(offsets.size() - 1)));
        const QPoint expected = origin + QPoint(offsets[frameIndex], 0);
        EXPECT_TRUE(QTest::qWaitFor([&] { return X11Probe::position(panel) == expected; }, patienceMs))
            << "key frame " << frameIndex << ": at " << X11Probe::position(panel).x() << ", expected " << expected.x();
    }
    EXPECT_FALSE(panel->isShaking());
    EXPECT_EQ(X11Probe::position(panel), origin);
    EXPECT_TRUE(storedBecomes(id, NoteFrame::fromRect(frame)));
}

TEST_F(NoteWindowsTest, WithoutAnimationsARingingNoteOnlyComesToTheFront)
{
    const QString group = QStringLiteral("org.gnome.desktop.interface");
    const QString animations = QStringLiteral("enable-animations");
    FakeSettingsPortal portal;
    portal.set(group, animations, false);
    ASSERT_TRUE(portal.start());
    ASSERT_TRUE(QTest::qWaitFor([] { return Appearance::reduceMotion(); }, patienceMs));
    const QUuid id = add(QRectF(300, 500, 250, 230));
    NotePanel *panel = shown(id);
    ASSERT_TRUE(panel);
    OtherWindow other(QRect(200, 200, 600, 500));
    ASSERT_TRUE(covers(other, panel));
    const QPoint origin = X11Probe::position(panel);

    windows.ring(*model.book()[id]);
    EXPECT_TRUE(QTest::qWaitFor([&] { return X11Probe::isAbove(panel->winId(), other.id()); }, patienceMs));
    // In front, but the keyboard stays with the window the user works in.
    EXPECT_EQ(X11::activeWindow(X11::connection()), other.id());
    EXPECT_FALSE(panel->isActiveWindow());
    EXPECT_FALSE(panel->isShaking());
    EXPECT_EQ(X11Probe::position(panel), origin);

    portal.change(group, animations, true);
    EXPECT_TRUE(QTest::qWaitFor([] { return !Appearance::reduceMotion(); }, patienceMs));
}

// A notes file as a person may leave it: a frame from a screen that is gone, one far larger than any
// screen, two notes that share an id. Each note opens in a window of its own, on the main screen.
TEST_F(NoteWindowsTest, NotesOfAHandEditedFileOpenEachInAWindowOfItsOwnOnTheScreen)
{
    const char *twinId = "0F8FAD5B-D9CB-469F-A165-70867728950E";
    struct Case { const char *text; const char *id; const char *frame; QRectF opens; };
    const Case cases[] = {
        {"Unplugged", "6F3C1D2E-0000-4000-8000-000000000001", R"({"x": 2500, "y": -900, "width": 300, "height": 200})",
         QRectF(1620, 0, 300, 200)},
        {"Tall", "6F3C1D2E-0000-4000-8000-000000000002", R"({"x": 100, "y": 100, "width": 250, "height": 1e300})",
         QRectF(100, 0, 250, screenHeight)},
        {"First twin", twinId, R"({"x": 500, "y": 500, "width": 250, "height": 230})", QRectF(500, 500, 250, 230)},
        {"Second twin", twinId, R"({"x": 900, "y": 500, "width": 250, "height": 230})", QRectF(900, 500, 250, 230)},
    };
    QByteArrayList notes;
    for (const Case &c : cases)
        notes.append(QStringLiteral(R"({"id": "%1", "text": "%2", "frame": %3})").arg(c.id, c.text, c.frame).toUtf8());
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("data"))));
    QFile file(dir.filePath(QStringLiteral("data/notes.json")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"version": 1, "notes": [)" + notes.join(',') + "]}");
    file.close();
    model.load();

    const QList<StickyNote> loaded = model.book().notes;
    ASSERT_EQ(loaded.size(), std::size(cases));
    for (const StickyNote &note : loaded) {
        const auto c = std::find_if(std::begin(cases), std::end(cases), [&](const Case &c) { return note.text == c.text; });
        ASSERT_NE(c, std::end(cases));
        NotePanel *panel = shown(note.id);
        ASSERT_TRUE(panel) << c->text;
        // Twins under one id would share one panel, in the place of only one of them.
        EXPECT_EQ(QRect(X11Probe::position(panel), panel->size()), qtRect(c->opens)) << c->text;
    }
    // Kept until the user moves the note: the screen may come back.
    EXPECT_EQ(stored(loaded.first().id), (NoteFrame{2500, -900, 300, 200}));
}

TEST_F(NoteWindowsTest, AfterTheScreensChangeAPanelOffEveryScreenIsPulledBackAndStored)
{
    const QUuid id = add(QRectF(300, 500, 250, 230));
    NotePanel *panel = shown(id);
    ASSERT_TRUE(panel);
    panel->place(QRect(-1000, 300, 250, 230));
    ASSERT_TRUE(storedBecomes(id, NoteFrame{-1000, 550, 250, 230}));

    windows.rescue();
    EXPECT_TRUE(storedBecomes(id, NoteFrame{0, 550, 250, 230}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return X11Probe::position(panel) == QPoint(0, 300); }, patienceMs));
}

TEST_F(NoteWindowsTest, ATuckedNotePeeksUnderTheTrayWithoutTouchingItsFrame)
{
    windows.peekAnchor = [] { return std::optional<QRectF>(QRectF(660, 900, 600, 180)); };
    const QRectF frame(100, 100, 400, 200);
    const QUuid first = add(frame, true);
    const QUuid second = add(std::nullopt, true);

    windows.show(first);
    NotePanel *panel = shown(first);
    ASSERT_TRUE(panel);
    EXPECT_EQ(windows.peeking(), first);
    // 400 × 240, centred under the tray, its top 8 below the tray's bottom edge.
    EXPECT_EQ(QRect(X11Probe::position(panel), panel->size()), qtRect(QRectF(760, 652, 400, 240)));
    EXPECT_TRUE(panel->isFloating());

    // A live peek outlasts hiding the desktop notes; moving it is not the note's move.
    model.setNotesHidden(true);
    ASSERT_TRUE(drag(QPoint(960, 204), QPoint(860, 304)));
    ASSERT_EQ(windows.panel(first), panel);
    EXPECT_TRUE(QTest::qWaitFor([&] { return X11Probe::position(panel) == QPoint(660, 288); }, patienceMs));
    EXPECT_EQ(stored(first), NoteFrame::fromRect(frame));

    windows.peek(second);
    NotePanel *secondPanel = shown(second);
    ASSERT_TRUE(secondPanel);
    EXPECT_EQ(windows.panel(first), nullptr);
    EXPECT_EQ(QRect(X11Probe::position(secondPanel), secondPanel->size()), qtRect(QRectF(820, 652, 280, 240)));
}

TEST_F(NoteWindowsTest, ThePeekClosesShortlyAfterAnotherWindowTakesTheFocus)
{
    const QUuid id = add(std::nullopt, true);
    windows.show(id);
    NotePanel *panel = shown(id);
    ASSERT_TRUE(panel);
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel->isActiveWindow(); }, patienceMs));

    // A popover of the note's own keeps the peek, past the moment the close check runs.
    auto *face = panel->findChild<NoteView *>();
    ASSERT_TRUE(face);
    face->openPopover(PopoverRequest::Kind::color);
    ASSERT_TRUE(QTest::qWaitFor([&] { return face->popover() && face->popover()->isVisible(); }, patienceMs));
    QTest::qWait(400);
    EXPECT_EQ(windows.peeking(), id);
    face->popover()->close();

    OtherWindow other(QRect(100, 100, 300, 200));
    ASSERT_TRUE(other.activate());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !windows.peeking() && !windows.panel(id); }, patienceMs));
    EXPECT_TRUE(model.book()[id]->tucked);
}

} // namespace

namespace {

// Clicks the middle of a widget on the screen, as a hand on the mouse would.
bool click(const QWidget *widget)
{
    const QPoint at = widget->mapToGlobal(widget->rect().center());
    return X11Probe::xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
                              QStringLiteral("click"), QStringLiteral("1")});
}

bool type(const QString &text)
{
    return X11Probe::xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), text});
}

} // namespace

TEST_F(NoteWindowsTest, AShownNoteTakesTypingAndItsPaperButtonsLeaveTheFocusInTheText)
{
    const QUuid id = model.newNote(QString(), std::nullopt, std::nullopt, false, std::nullopt, false,
                                   QRectF(300, 500, 250, 230));
    windows.show(id);
    NotePanel *panel = shown(id);
    ASSERT_TRUE(panel);
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel->isActiveWindow(); }, patienceMs));
    const auto *face = panel->findChild<NoteView *>();
    ASSERT_TRUE(face);

    ASSERT_TRUE(type(QStringLiteral("tea")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return model.book()[id]->text == QStringLiteral("tea"); }, patienceMs))
        << model.book()[id]->text.toStdString();

    // Each click acts once; the Space typed next goes into the text, not to the button again.
    struct Click {
        QWidget *button;
        std::function<bool()> acted;
    };
    const std::array<Click, 2> clicks{{
        {face->header()->floatButton(), [&] { return model.book()[id]->pinned; }},
        {face->header()->colorButton(), [&] { return face->popover() != nullptr; }},
    }};
    for (const Click &c : clicks) {
        const QString before = model.book()[id]->text;
        ASSERT_TRUE(click(c.button));
        ASSERT_TRUE(QTest::qWaitFor(c.acted, patienceMs));
        if (Popover *popover = face->popover())
            popover->close();
        ASSERT_TRUE(type(QStringLiteral(" x")));
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return model.book()[id]->text == before + QStringLiteral(" x"); }, patienceMs))
            << model.book()[id]->text.toStdString();
        EXPECT_TRUE(model.book()[id]->pinned);
        EXPECT_EQ(face->popover(), nullptr);
        EXPECT_EQ(QApplication::focusWidget(), face->editor());
    }
}

TEST_F(NoteWindowsTest, ReturnInTheTextOfARingingNoteAnswersTheRing)
{
    const QUuid id = add(QRectF(300, 500, 250, 230));
    windows.show(id);
    NotePanel *panel = shown(id);
    ASSERT_TRUE(panel);
    const auto *face = panel->findChild<NoteView *>();
    ASSERT_TRUE(face);
    ASSERT_TRUE(click(face->editor()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == face->editor(); }, patienceMs));
    model.setRinging({id});

    ASSERT_TRUE(X11Probe::xdotool({QStringLiteral("key"), QStringLiteral("Return")}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return model.ringing().isEmpty(); }, patienceMs));
    EXPECT_EQ(model.book()[id]->text, QStringLiteral("Tea\nGreen, two minutes"));
}

TEST_F(NoteWindowsTest, TheTapeLiesBetweenTheHeaderButtonsFromTheNarrowestToTheWidestNote)
{
    // The first frame asks for less than the smallest panel, the last for the whole screen.
    struct Case { const char *name; QRectF frame; };
    const Case cases[] = {
        {"narrowest", QRectF(400, 500, 100, 230)}, {"new", QRectF(400, 500, 250, 230)},
        {"medium", QRectF(400, 500, 300, 230)},    {"wide", QRectF(400, 500, 360, 230)},
        {"widest", QRectF(0, 500, 1920, 230)},
    };
    model.tick();
    for (const Case &c : cases) {
        const QUuid id = add(c.frame);
        model.setTimer(id, 21 * 3600 + 13 * 60, true);
        NotePanel *panel = shown(id);
        ASSERT_TRUE(panel) << c.name;
        EXPECT_EQ(panel->width(), std::max(int(c.frame.width()), panel->minimumWidth())) << c.name;
        NoteHeader *header = panel->findChild<NoteView *>()->header();
        const QRectF tape = header->tapeRect();
        const QRectF tilted = QTransform()
                                  .translate(tape.center().x(), tape.center().y())
                                  .rotate(-1.2)
                                  .translate(-tape.center().x(), -tape.center().y())
                                  .mapRect(tape);
        EXPECT_GE(tape.width(), 70) << c.name << ": the tape stays long enough to read";
        for (QWidget *button : std::initializer_list<QWidget *>{header->colorButton(), header->floatButton(),
                                                                header->tuckButton(), header->moreButton()}) {
            const QRectF place(button->mapTo(header, QPoint()), button->size());
            EXPECT_FALSE(place.intersects(tilted))
                << c.name << " at " << panel->width() << " points: " << button->accessibleName().toStdString()
                << " covers the tape from " << place.left() << " to " << place.right() << ", the tape runs from "
                << tilted.left() << " to " << tilted.right();
        }
        // The buttons show as under the pointer, for the person looking at the picture.
        header->setControlsOpacity(1);
        Snapshots::write(Pixels::grab(panel), QStringLiteral("note-windows"), QStringLiteral("tape-") + c.name);
        model.deleteForever(id);
    }
}

// At start the notes come up in front of what the user works in, but the keyboard stays there:
// keys typed meanwhile never land in a note.
TEST_F(NoteWindowsTest, NotesShownAtStartComeToTheFrontWithoutTheKeyboard)
{
    OtherWindow other(QRect(100, 100, 1200, 800));
    ASSERT_TRUE(other.activate());
    ASSERT_TRUE(QTest::qWaitFor([&] { return X11::activeWindow(X11::connection()) == other.id(); }, patienceMs));
    const QList<QUuid> ids{add(QRectF(300, 500, 250, 230)), add(QRectF(600, 500, 250, 230)),
                           add(QRectF(900, 500, 250, 230))};
    for (const QUuid &id : ids) {
        NotePanel *panel = shown(id);
        ASSERT_TRUE(panel);
        EXPECT_TRUE(QTest::qWaitFor([&] { return X11Probe::isAbove(panel->winId(), other.id()); }, patienceMs));
    }
    // Shown and stacked: whatever the window manager was going to do with the focus is done.
    settleX();
    EXPECT_EQ(X11::activeWindow(X11::connection()), other.id());
    EXPECT_EQ(QGuiApplication::focusWindow(), nullptr);
    for (const QUuid &id : ids)
        EXPECT_FALSE(windows.panel(id)->isActiveWindow());
}

// Task switchers and screen readers tell notes apart by their windows' titles.
TEST_F(NoteWindowsTest, EachNoteWindowIsTitledAfterItsNote)
{
    const QUuid tea = add(QRectF(300, 500, 250, 230));
    const QUuid blank = model.newNote(QStringLiteral("  \n"), std::nullopt, std::nullopt, false, std::nullopt, false,
                                      QRectF(600, 500, 250, 230));
    NotePanel *teaPanel = shown(tea);
    NotePanel *blankPanel = shown(blank);
    ASSERT_TRUE(teaPanel && blankPanel);
    const auto title = [](const NotePanel *panel) {
        return X11Probe::xprop(panel->winId(), QStringLiteral("_NET_WM_NAME"));
    };
    EXPECT_EQ(title(teaPanel), QStringLiteral("_NET_WM_NAME(UTF8_STRING) = \"Tea\""));
    EXPECT_EQ(title(blankPanel), QStringLiteral("_NET_WM_NAME(UTF8_STRING) = \"Brindlewick\""));
    EXPECT_EQ(blankPanel->accessibleName(), QStringLiteral("Note: Empty note"));

    model.setText(tea, QStringLiteral("Green tea\nTwo minutes"));
    model.setText(blank, QStringLiteral("Call Ana"));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return title(teaPanel).endsWith(QStringLiteral("\"Green tea\"")); }, patienceMs));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return title(blankPanel).endsWith(QStringLiteral("\"Call Ana\"")); }, patienceMs));
    EXPECT_EQ(teaPanel->accessibleName(), QStringLiteral("Note: Green tea"));
}

// The pointer on a panel's resize edge is still on the note: its buttons stay.
TEST_F(NoteWindowsTest, TheNotesButtonsStayWhileThePointerIsOnItsResizeEdge)
{
    const QUuid id = add(QRectF(400, 500, 250, 230));
    NotePanel *panel = shown(id);
    ASSERT_TRUE(panel);
    const NoteView *face = panel->findChild<NoteView *>();
    const auto pointAt = [](QPoint at) {
        return X11Probe::xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y())});
    };
    ASSERT_TRUE(pointAt(QPoint(525, 465)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return face->controlsShown(); }, patienceMs));

    // Once the edge shows its resize cursor, the pointer's move off the note's face has been handled.
    // The corner a little inside the rounded outline that cuts the panel without a compositing manager.
    for (const QPoint edge : {QPoint(401, 465), QPoint(525, 578), QPoint(646, 353)}) {
        ASSERT_TRUE(pointAt(edge));
        ASSERT_TRUE(QTest::qWaitFor([&] {
            const QWidget *under = QApplication::widgetAt(edge);
            return under && under->cursor().shape() != Qt::IBeamCursor && under->cursor().shape() != Qt::ArrowCursor;
        }, patienceMs));
        EXPECT_TRUE(face->controlsShown()) << edge.x() << ", " << edge.y();
    }
    ASSERT_TRUE(pointAt(QPoint(900, 465)));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !face->controlsShown(); }, patienceMs));
}

// Without a compositing manager the translucent corners of a rounded window would show black: a note
// and the Quick Note panel are cut to their outlines, so the desktop shows at their corners, and a
// popover is opaque to its square corners.
TEST_F(NoteWindowsTest, WithoutACompositorNoRoundedWindowHasBlackCorners)
{
    const QColor desktop(0x3a, 0x6e, 0xa5);
    // A desktop window: the window manager keeps it beneath every other.
    QWidget backdrop(nullptr, Qt::FramelessWindowHint);
    backdrop.setGeometry(0, 0, 1920, 1080);
    Pixels::paintBackground(&backdrop, desktop);
    xcb_connection_t *c = X11::connection();
    const xcb_atom_t desktopType = X11::atom(c, "_NET_WM_WINDOW_TYPE_DESKTOP");
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, xcb_window_t(backdrop.winId()), X11::atom(c, "_NET_WM_WINDOW_TYPE"),
                        XCB_ATOM_ATOM, 32, 1, &desktopType);
    backdrop.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return X11Probe::isViewable(&backdrop); }, patienceMs));

    const auto corners = [](const QRect &window) {
        return std::array{window.topLeft(), window.topRight(), window.bottomLeft(), window.bottomRight()};
    };
    const auto screenShows = [](const QList<QPoint> &points, const QColor &color) {
        return QTest::qWaitFor([&] {
            const QImage shot = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
            return std::all_of(points.cbegin(), points.cend(), [&](QPoint p) { return shot.pixelColor(p) == color; });
        }, patienceMs);
    };

    NotePanel *panel = shown(add(QRectF(300, 500, 250, 230)));
    ASSERT_TRUE(panel);
    const QRect note = panel->frameGeometry();
    const std::array noteCorners = corners(note);
    EXPECT_TRUE(screenShows({noteCorners.begin(), noteCorners.end()}, desktop)) << "the note's corners";
    const QImage shot = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    Snapshots::write(shot.copy(note.adjusted(-10, -10, 10, 10)), QStringLiteral("note-windows"),
                     QStringLiteral("corners-without-compositor"));
    EXPECT_NE(shot.pixelColor(note.topLeft() + QPoint(1, 1)), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(note.center()), Paper::fill(NoteColor::lemon).resolved(Scheme::light));

    NoteView *face = panel->findChild<NoteView *>();
    face->openPopover(PopoverRequest::Kind::timer);
    ASSERT_TRUE(QTest::qWaitFor([&] { return face->popover() && X11Probe::isViewable(face->popover()); }, patienceMs));
    const std::array popoverCorners = corners(face->popover()->frameGeometry());
    EXPECT_TRUE(QTest::qWaitFor([&] {
        const QImage popoverShot = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
        return std::none_of(popoverCorners.cbegin(), popoverCorners.cend(),
                            [&](QPoint p) { return popoverShot.pixelColor(p) == QColor(Qt::black); });
    }, patienceMs)) << "the popover's corners";
    face->popover()->close();

    QuickNoteController quickNote;
    quickNote.show(model);
    ASSERT_TRUE(QTest::qWaitFor([&] { return X11Probe::isViewable(quickNote.panel()); }, patienceMs));
    const std::array lineCorners = corners(quickNote.panel()->frameGeometry());
    EXPECT_TRUE(screenShows({lineCorners.begin(), lineCorners.end()}, desktop)) << "the Quick Note's corners";
    quickNote.panel()->hide();
}

// The primary screen's bottom edge, where frames are measured from, moves while notes show: their
// frames are stored anew, so a note made again from its frame opens where it was seen.
TEST_F(NoteWindowsTest, WhenThePrimaryScreenChangesHeightTheStoredFramesFollowItsBottomEdge)
{
    const QUuid id = add(QRectF(300, 500, 250, 230));
    ASSERT_TRUE(shown(id));
    const ShorterScreen shorter;
    ASSERT_TRUE(shorter.changed());
    ASSERT_TRUE(
        QTest::qWaitFor([] { return QGuiApplication::primaryScreen()->geometry().height() == 900; }, patienceMs));
    EXPECT_TRUE(storedBecomes(id, NoteFrame{300, 320, 250, 230})) << stored(id)->x << ", " << stored(id)->y;

    model.setNotesHidden(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return windows.panel(id) == nullptr; }, patienceMs));
    model.setNotesHidden(false);
    NotePanel *again = shown(id);
    ASSERT_TRUE(again);
    EXPECT_EQ(X11Probe::position(again), QPoint(300, 350));
}

// On the narrowest note the deadline keeps to the note and says when in a form that means it: the
// whole due text where it fits, else its brief form (the time today, else the day), never a text
// cut short.
TEST_F(NoteWindowsTest, TheDeadlineTextKeepsToTheNarrowestNoteAndKeepsItsMeaning)
{
    model.tick();
    const Calendar calendar = model.calendar();
    const QDateTime local = calendar.local(model.now());
    const auto at = [&](int days, QTime time) { return *calendar.date(local.date().addDays(days), time); };
    const Date deadlines[] = {at(0, QTime(23, 57)), at(1, QTime(15, 57)), at(3, QTime(15, 57)),
                              at(40, QTime(15, 57)), at(400, QTime(15, 57))};
    for (const double width : {100.0, 400.0}) {
        for (const Date deadline : deadlines) {
            const QUuid id = add(QRectF(400, 500, width, 230));
            model.setTimer(id, 600, false);
            model.setDeadline(id, deadline);
            NotePanel *panel = shown(id);
            ASSERT_TRUE(panel);
            const DeadlineButton *button = panel->findChild<NoteView *>()->footer()->deadlineButton();
            ASSERT_TRUE(QTest::qWaitFor([&] { return button->hasDeadline(); }, patienceMs));
            const TimeText::DueParts parts = TimeText::dueParts(deadline, model.now(), calendar, QLocale());
            const QString shown = button->shownText();
            const QString where = parts.full() + QStringLiteral(" at ") + QString::number(panel->width());
            if (width > 300)
                EXPECT_EQ(shown, parts.full()) << where.toStdString();
            else
                EXPECT_TRUE(shown == parts.full() || shown == parts.brief()) << where.toStdString() << ": " << shown.toStdString();
            const QRect place(button->mapTo(panel, QPoint(0, 0)), button->size());
            EXPECT_LE(place.right(), panel->width() - 5) << where.toStdString();
            model.deleteForever(id);
        }
    }
}
