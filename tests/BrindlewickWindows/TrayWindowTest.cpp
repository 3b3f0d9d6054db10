#include "Patience.h"
#include "Pixels.h"
#include "QtPrinters.h"
#include "Snapshots.h"
#include "X11Probe.h"

#include "OtherWindow.h"

#include "NotchTray/CardRow.h"
#include "NotchTray/OpenTray.h"
#include "NotchTray/PointerProbe.h"
#include "NotchTray/RestingTray.h"
#include "NotchTray/TrayBanner.h"
#include "NotchTray/TrayButton.h"
#include "NotchTray/TrayCard.h"
#include "NotchTray/TrayController.h"
#include "NotchTray/TrayPanel.h"
#include "NotchTray/TrayView.h"
#include "NoteWindows/NotePanel.h"
#include "NoteWindows/NoteWindows.h"
#include "NoteWindows/ScreenSpace.h"
#include "Platform/X11.h"
#include "SettingsView/SettingsView.h"
#include "Shell/AppActions.h"
#include "Shell/AppCommands.h"
#include "Shell/LibraryWindow.h"
#include "Start/AppDelegate.h"
#include "State/AppModel.h"
#include "State/RecordingNotifier.h"
#include "Theme/Paper.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMouseEvent>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// On the session's 1920 × 1080 screen without a notch or panels the strip is 168 × 20 in the top
// middle, the open tray 640 × 208 and the banner 470 × 90, all hanging from the top edge (y down).
constexpr QPoint onStrip{960, 10};
constexpr QPoint farAway{960, 700};
constexpr QPoint onBanner{960, 45};
constexpr QRect openRect{640, 0, 640, 208};
const QColor desktop(0x3a, 0x6e, 0xa5);

// An ordinary window across the top of the screen, under the tray, that counts the clicks it gets.
class Backdrop : public QWidget {
public:
    Backdrop() : QWidget(nullptr, Qt::FramelessWindowHint)
    {
        setGeometry(0, 0, 1920, 400);
        QPalette palette;
        palette.setColor(QPalette::Window, desktop);
        setPalette(palette);
        setAutoFillBackground(true);
        show();
    }
    QList<QPoint> clicks;

protected:
    void mousePressEvent(QMouseEvent *event) override { clicks.append(event->globalPosition().toPoint()); }
};

// A desktop's top panel: a dock window 30 pixels high across the top that reserves its strip of the
// screen through _NET_WM_STRUT_PARTIAL, and counts the clicks it gets.
class TopPanel : public QWidget {
public:
    static constexpr int height = 30;
    static inline const QColor color{0x55, 0x55, 0x60};

    TopPanel() : QWidget(nullptr, Qt::FramelessWindowHint)
    {
        setGeometry(0, 0, 1920, height);
        QPalette palette;
        palette.setColor(QPalette::Window, color);
        setPalette(palette);
        setAutoFillBackground(true);
        xcb_connection_t *c = X11::connection();
        const auto window = xcb_window_t(winId());
        const xcb_atom_t dock = X11::atom(c, "_NET_WM_WINDOW_TYPE_DOCK");
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, X11::atom(c, "_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM, 32,
                            1, &dock);
        const uint32_t strut[12] = {0, 0, height, 0, 0, 0, 0, 0, 0, 1919, 0, 0};
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, X11::atom(c, "_NET_WM_STRUT_PARTIAL"),
                            XCB_ATOM_CARDINAL, 32, 12, strut);
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, X11::atom(c, "_NET_WM_STRUT"), XCB_ATOM_CARDINAL, 32,
                            4, strut);
        xcb_flush(c);
        show();
    }
    QList<QPoint> clicks;

protected:
    void mousePressEvent(QMouseEvent *event) override { clicks.append(event->globalPosition().toPoint()); }
};

bool xdotool(const QStringList &arguments)
{
    return X11Probe::xdotool(arguments);
}

QStringList moveTo(QPoint p)
{
    return {QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y())};
}

QStringList clickAt(QPoint p)
{
    return moveTo(p) + QStringList{QStringLiteral("click"), QStringLiteral("1")};
}

// The real wiring of a started model: note windows, tray, ringing and showing.
class TrayWindowTest : public testing::Test {
protected:
    TrayWindowTest()
        : model(Paths{dir.filePath(QStringLiteral("data"))}, SettingsStore(dir.filePath(QStringLiteral("settings.json"))),
                std::make_unique<RecordingNotifier>())
    {
        model.clock = [this] { return now; };
        model.load();
        model.setHotkeyEnabled(false);
        model.setTrayEnabled(true);
        delegate.wire(model);
    }

    ~TrayWindowTest() override
    {
        // The keepers outlive this test's model.
        AppActions::setTray(nullptr);
        AppActions::setWindows(nullptr);
    }

    void SetUp() override
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return X11Probe::isViewable(backdrop); }, patienceMs));
        ASSERT_TRUE(QTest::qWaitFor([&] { return panel() && X11Probe::isViewable(panel()); }, patienceMs));
        ASSERT_TRUE(xdotool(moveTo(farAway)));
    }

    TrayController &tray() const { return *AppActions::tray(); }
    TrayPanel *panel() const { return AppActions::tray() ? tray().panel() : nullptr; }
    TrayMode mode() const { return tray().state().mode(); }
    bool becomes(const TrayMode &wanted)
    {
        return QTest::qWaitFor([&] { return mode() == wanted; }, patienceMs);
    }
    // The open tray's button, once the tray has dropped and shows it where it stays.
    QAbstractButton *trayButton(const QString &name)
    {
        QAbstractButton *found = nullptr;
        const bool shows = QTest::qWaitFor([&] {
            if (panel()->view()->spring().state() != QAbstractAnimation::Stopped)
                return false;
            for (auto *button : panel()->findChildren<TrayButton *>())
                if (button->accessibleName() == name && button->isVisible())
                    found = button;
            return found != nullptr;
        }, patienceMs);
        return shows ? found : nullptr;
    }
    QImage screen() const { return QGuiApplication::primaryScreen()->grabWindow(0).toImage(); }

    Date now{786000000};
    QTemporaryDir dir;
    AppModel model;
    AppDelegate delegate{model};
    Backdrop *backdrop = new Backdrop;
    std::unique_ptr<Backdrop> keepBackdrop{backdrop};
};

TEST_F(TrayWindowTest, Resting0_1SecondsKeepsTheStripRestingAndAQuarterOfASecondOpensItUntilThePointerLeaves)
{
    // A loaded machine may keep the pointer on the strip longer than asked: a rest counts only when the
    // whole move, there and away, took less than the tray's hover delay, and is tried again otherwise.
    bool restedBriefly = false;
    for (int tries = 0; tries < 20 && !restedBriefly; ++tries) {
        ASSERT_TRUE(becomes(TrayMode::resting()));
        QElapsedTimer resting;
        resting.start();
        ASSERT_TRUE(xdotool(moveTo(onStrip) + QStringList{"sleep", "0.1"} + moveTo(farAway)));
        restedBriefly = resting.elapsed() < TrayRules::hoverDelay * 1000;
        QTest::qWait(400);
        if (restedBriefly) {
            EXPECT_EQ(mode(), TrayMode::resting());
        }
    }
    EXPECT_TRUE(restedBriefly) << "the pointer never rested briefly enough on this machine";

    ASSERT_TRUE(xdotool(moveTo(onStrip) + QStringList{"sleep", "0.3"}));
    EXPECT_TRUE(becomes(TrayMode::open()));

    // Timed from before the pointer leaves, so a slow xdotool cannot shorten the wait measured.
    QElapsedTimer left;
    left.start();
    ASSERT_TRUE(xdotool(moveTo(farAway)));
    ASSERT_TRUE(becomes(TrayMode::resting()));
    EXPECT_GE(left.elapsed(), 400) << "the tray waits about half a second before it goes back up";
}

// Each answer is where the pointer is when asked, not where an earlier question found it: the poll
// opens and closes the tray a poll interval after the pointer arrived or left, not two.
TEST(PointerProbe, AnswersWhereThePointerIsWhenAsked)
{
    std::optional<QPoint> seen;
    PointerProbe probe([&](QPoint pointer) { seen = pointer; });
    for (const QPoint at : {QPoint(100, 100), QPoint(1500, 300), QPoint(7, 1000), QPoint(960, 10)}) {
        ASSERT_TRUE(xdotool(moveTo(at)));
        seen.reset();
        probe.ask();
        ASSERT_TRUE(QTest::qWaitFor([&] { return seen.has_value(); }, patienceMs));
        EXPECT_EQ(*seen, at);
    }
}

// The keyboard opens the tray for the user to look at without the mouse: it stays until the same
// keys, Escape (typed in any application) or the pointer's coming and going close it.
TEST_F(TrayWindowTest, CtrlShiftOOpensTheTrayUntilPressedAgainOrEscapeOrThePointerCameAndWent)
{
    AppCommands commands(model);
    const QUuid id = model.newNote(QStringLiteral("Keys go here"));
    AppActions::windows()->show(id);
    const auto focusNote = [&] {
        NotePanel *panel = AppActions::windows()->panel(id);
        if (!panel)
            return false;
        panel->activateWindow();
        return QTest::qWaitFor([&] { return panel->isActiveWindow(); }, patienceMs);
    };
    ASSERT_TRUE(QTest::qWaitFor(focusNote, patienceMs));

    ASSERT_TRUE(xdotool({"key", "ctrl+shift+o"}));
    ASSERT_TRUE(becomes(TrayMode::open()));
    QTest::qWait(2000);
    EXPECT_EQ(mode(), TrayMode::open()) << "still open 2 s later, the pointer far away";
    ASSERT_TRUE(xdotool({"key", "ctrl+shift+o"}));
    EXPECT_TRUE(becomes(TrayMode::resting()));

    ASSERT_TRUE(xdotool({"key", "ctrl+shift+o"}));
    ASSERT_TRUE(becomes(TrayMode::open()));
    OtherWindow other(QRect(200, 600, 300, 200));
    ASSERT_TRUE(other.activate());
    QTest::qWait(600);
    EXPECT_EQ(mode(), TrayMode::open());
    ASSERT_TRUE(xdotool({"key", "Escape"}));
    EXPECT_TRUE(becomes(TrayMode::resting())) << "Escape typed in another application";

    ASSERT_TRUE(QTest::qWaitFor(focusNote, patienceMs));
    ASSERT_TRUE(xdotool({"key", "ctrl+shift+o"}));
    ASSERT_TRUE(becomes(TrayMode::open()));
    ASSERT_TRUE(xdotool(moveTo(openRect.center())));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !tray().isHeldOpen(); }, patienceMs));
    ASSERT_TRUE(xdotool(moveTo(farAway)));
    EXPECT_TRUE(becomes(TrayMode::resting())) << "the pointer came and went";
}

// Opened so, the tray takes the keyboard from the window that had it: the arrow keys and Tab go round
// its cards and buttons, Return opens a card's note under it, Escape there puts the note away and
// Escape again the tray, and the keyboard is back where it was.
TEST_F(TrayWindowTest, OpenedByCtrlShiftOTheTrayTakesTheKeyboardWhoseArrowsAndReturnOpenACard)
{
    AppCommands commands(model);
    for (const QString &text : {QStringLiteral("Masala chai"), QStringLiteral("Laundry"), QStringLiteral("Invoice")})
        model.newNote(text, std::nullopt, std::nullopt, false, std::nullopt, true);
    const QUuid id = model.newNote(QStringLiteral("Keys go here"));
    AppActions::windows()->show(id);
    NotePanel *note = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (note = AppActions::windows()->panel(id)) && note->isActiveWindow(); },
                                patienceMs));

    ASSERT_TRUE(xdotool({"key", "ctrl+shift+o"}));
    OpenTray *open = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return (open = panel()->findChild<OpenTray *>()) && panel()->isActiveWindow() && open->row()->hasFocus();
    }, patienceMs)) << "the keyboard is in the tray, on its cards";
    CardRow *row = open->row();
    const std::tuple<const char *, QWidget *, qsizetype> steps[] = {
        {"Right", row, 1}, {"Right", row, 2}, {"Right", open->plusButton(), 2}, {"Tab", open->libraryButton(), 2},
        {"Right", row, 2}, {"Left", row, 1},
    };
    for (const auto &[key, focus, current] : steps) {
        ASSERT_TRUE(xdotool({"key", key}));
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == focus && row->current() == current; },
                                    patienceMs)) << key;
    }
    EXPECT_TRUE(row->cards()[1]->showsFocus() && !row->cards()[0]->showsFocus()) << "the card has the ring";

    const QUuid chosen = model.tuckedNotes()[1].id;
    ASSERT_TRUE(xdotool({"key", "Return"}));
    ASSERT_TRUE(QTest::qWaitFor([&] {
        const NotePanel *peek = AppActions::windows()->panel(chosen);
        return AppActions::windows()->peeking() == chosen && peek && peek->isActiveWindow();
    }, patienceMs)) << "Return opens the card's note under the tray";
    ASSERT_TRUE(xdotool({"key", "Escape"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !AppActions::windows()->peeking() && panel()->isActiveWindow(); }, patienceMs))
        << "Escape puts the note away; the keyboard is back in the tray";
    ASSERT_TRUE(xdotool({"key", "Escape"}));
    EXPECT_TRUE(becomes(TrayMode::resting()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return note->isActiveWindow(); }, patienceMs)) << "and back in the note";
}

// Return presses the tray's button that has the keyboard, as Space does: "+" writes a new note under
// the tray, "All Notes" puts the tray to rest and brings up the library.
TEST_F(TrayWindowTest, ReturnPressesTheTrayButtonThatHasTheKeyboard)
{
    AppCommands commands(model);
    const QUuid id = model.newNote(QStringLiteral("Keys go here"));
    AppActions::windows()->show(id);
    ASSERT_TRUE(QTest::qWaitFor([&] {
        const NotePanel *note = AppActions::windows()->panel(id);
        return note && note->isActiveWindow();
    }, patienceMs));

    ASSERT_TRUE(xdotool({"key", "ctrl+shift+o"}));
    OpenTray *open = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return (open = panel()->findChild<OpenTray *>()) && panel()->isActiveWindow() && open->plusButton()->hasFocus();
    }, patienceMs)) << "with nothing tucked the keyboard is on +";
    ASSERT_TRUE(xdotool({"key", "Return"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return model.tuckedNotes().size() == 1; }, patienceMs)) << "+ wrote a note";
    const QUuid written = model.tuckedNotes().first().id;
    EXPECT_TRUE(QTest::qWaitFor([&] { return AppActions::windows()->peeking() == written; }, patienceMs));

    ASSERT_TRUE(xdotool({"key", "Escape"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !AppActions::windows()->peeking() && open->plusButton()->hasFocus(); },
                                patienceMs)) << "the keyboard is back on +";
    ASSERT_TRUE(xdotool({"key", "Tab"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return open->libraryButton()->hasFocus(); }, patienceMs));
    ASSERT_TRUE(xdotool({"key", "Return"}));
    EXPECT_TRUE(becomes(TrayMode::resting()));
    EXPECT_TRUE(QTest::qWaitFor([&] {
        const QWidget *library = LibraryWindow::shared().window();
        return library && library->isActiveWindow();
    }, 20000)) << "\"All Notes\" comes up, active";
}

// A click while the cards slide in is no click on a card; once the tray has settled the card under the
// still pointer shows its buttons, also after the wheel has scrolled another one under it.
TEST_F(TrayWindowTest, CardsTakeClicksOnlyOnceTheTrayHasSettledAndTheirHoverFollowsThemUnderAStillPointer)
{
    for (int i = 0; i < 6; ++i)
        model.newNote(QStringLiteral("Card %1").arg(i), std::nullopt, std::nullopt, false, std::nullopt, true);
    // On the second card of the open tray, and on the cards while they slide in.
    const QPoint pointer(903, 100);
    ASSERT_TRUE(xdotool(moveTo(pointer)));
    QAbstractAnimation &spring = panel()->view()->spring();
    tray().toggle();
    spring.pause();
    spring.setCurrentTime(120);
    ASSERT_TRUE(xdotool({"click", "1"}));
    QTest::qWait(300);
    EXPECT_EQ(AppActions::windows()->peeking(), std::nullopt) << "no click on a sliding card";
    spring.resume();
    ASSERT_TRUE(QTest::qWaitFor([&] { return spring.state() == QAbstractAnimation::Stopped; }, patienceMs));

    const auto cards = [&](const std::function<bool(const TrayCard *)> &which) {
        QList<QUuid> ids;
        for (const TrayCard *card : panel()->findChildren<TrayCard *>())
            if (card->isVisible() && which(card))
                ids.append(card->note().id);
        return ids;
    };
    const auto underAt = [&](QPoint at) {
        return cards([&](const TrayCard *c) { return c->rect().contains(c->mapFromGlobal(at)); });
    };
    const auto under = [&] { return underAt(pointer); };
    const auto hovered = [&] { return cards([](const TrayCard *c) { return c->showsButtons(); }); };
    const QList<QUuid> first = under();
    ASSERT_EQ(first.size(), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return hovered() == first; }, patienceMs));

    // The pointer's first move takes it straight on to the next card, then back: only the card under
    // it shows its buttons.
    const QPoint next = pointer + QPoint(TrayCard::cardSize.width() + CardRow::spacing, 0);
    for (const QPoint at : {next, pointer}) {
        ASSERT_TRUE(xdotool(moveTo(at)));
        ASSERT_EQ(underAt(at).size(), 1);
        EXPECT_TRUE(QTest::qWaitFor([&] { return hovered() == underAt(at); }, patienceMs))
            << hovered().size() << " cards show their buttons";
    }

    ASSERT_TRUE(xdotool({"click", "5", "click", "5"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel()->findChild<OpenTray *>()->row()->offset() == 120; }, patienceMs));
    ASSERT_NE(under(), first);
    EXPECT_EQ(hovered(), under()) << "the card scrolled under the pointer";
    ASSERT_TRUE(xdotool({"click", "1"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return AppActions::windows()->peeking() == under().value(0); }, patienceMs))
        << "a settled card takes the click";
}

TEST_F(TrayWindowTest, WithTheClickSettingOnlyAClickOpensItOnReleaseAndTheStripTakesThatClick)
{
    model.setTrayOpensOn(TrayOpen::click);
    ASSERT_TRUE(xdotool(moveTo(onStrip) + QStringList{"sleep", "0.5"}));
    QTest::qWait(200);
    EXPECT_EQ(mode(), TrayMode::resting());

    ASSERT_TRUE(xdotool(moveTo(onStrip) + QStringList{"mousedown", "1"}));
    QTest::qWait(300);
    EXPECT_EQ(mode(), TrayMode::resting()) << "a tap acts when it is let go";
    ASSERT_TRUE(xdotool({"mouseup", "1"}));
    EXPECT_TRUE(becomes(TrayMode::open()));
    QTest::qWait(200);
    EXPECT_TRUE(backdrop->clicks.isEmpty()) << "the strip took the click";
}

TEST_F(TrayWindowTest, ClicksBesideAndUnderTheShapeAndOnTheHoverStripReachTheWindowBeneath)
{
    ASSERT_TRUE(xdotool(clickAt(onStrip) + moveTo(farAway)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return backdrop->clicks.size() == 1; }, patienceMs));
    EXPECT_EQ(backdrop->clicks.last(), onStrip) << "the resting strip lets clicks through when it opens on hover";

    // The pointer stays on the open tray but for the two clicks, so it does not close meanwhile.
    ASSERT_TRUE(xdotool(moveTo(openRect.center())));
    tray().toggle();
    ASSERT_TRUE(trayButton(QStringLiteral("All Notes")));
    ASSERT_TRUE(xdotool(clickAt(QPoint(100, 100)) + clickAt(QPoint(960, openRect.bottom() + 20)) +
                        moveTo(openRect.center())));
    ASSERT_TRUE(QTest::qWaitFor([&] { return backdrop->clicks.size() == 3; }, patienceMs));
    EXPECT_EQ(backdrop->clicks.at(1), QPoint(100, 100));
    EXPECT_EQ(backdrop->clicks.at(2), QPoint(960, openRect.bottom() + 20));
}

TEST_F(TrayWindowTest, AllNotesOnTheOpenTrayPutsTheTrayToRestAndBringsUpTheLibrary)
{
    tray().toggle();
    QAbstractButton *library = trayButton(QStringLiteral("All Notes"));
    ASSERT_TRUE(library);
    ASSERT_TRUE(xdotool(clickAt(library->mapToGlobal(library->rect().center()))));
    EXPECT_TRUE(becomes(TrayMode::resting()));
    QWidget *window = nullptr;
    EXPECT_TRUE(QTest::qWaitFor([&] {
        for (QWidget *top : QApplication::topLevelWidgets())
            if (top->windowTitle() == QStringLiteral("All Notes") && X11Probe::isViewable(top))
                window = top;
        return window && window->isActiveWindow();
    }, 20000)) << "\"All Notes\" comes up, active";
}

TEST_F(TrayWindowTest, PlusAddsATuckedNoteShownUnderTheTrayWhichStaysOpenWhileItShows)
{
    tray().toggle();
    QAbstractButton *plus = trayButton(QStringLiteral("New note in the notch"));
    ASSERT_TRUE(plus);
    ASSERT_TRUE(xdotool(clickAt(plus->mapToGlobal(plus->rect().center()))));
    ASSERT_TRUE(QTest::qWaitFor([&] { return model.tuckedNotes().size() == 1; }, patienceMs));
    const QUuid id = model.tuckedNotes().first().id;
    NotePanel *peek = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        peek = AppActions::windows()->panel(id);
        return peek && X11Probe::isViewable(peek) && X11Probe::position(peek) == peek->pos();
    }, patienceMs));
    EXPECT_EQ(AppActions::windows()->peeking(), id);
    EXPECT_EQ(peek->pos(), QPoint(960 - 140, openRect.bottom() + 1 + 8)) << "centred 8 points under the open tray";

    ASSERT_TRUE(xdotool(moveTo(QPoint(200, 900))));
    QTest::qWait(1000);
    EXPECT_EQ(mode(), TrayMode::open()) << "an open tray stays while its note shows under it";
}

TEST_F(TrayWindowTest, ARingingTuckedNoteDropsTheBannerWhichStaysWhileThePointerIsOnIt)
{
    auto *notifier = static_cast<RecordingNotifier *>(&model.notifier());
    notifier->state = NotifyPermission::allowed;
    model.requestPermission();
    const QUuid id = model.newNote(QStringLiteral("Tea"), std::nullopt, 60.0, true, std::nullopt, true);
    ASSERT_TRUE(std::any_of(notifier->scheduled.cbegin(), notifier->scheduled.cend(),
                            [&](const PlannedAlert &alert) { return alert.noteID == id; }))
        << "the ring has its notification";
    now = Date{now.seconds + 61};
    model.tick();
    ASSERT_EQ(mode(), TrayMode::banner(id));
    EXPECT_EQ(AppActions::windows()->panel(id), nullptr) << "a tucked note never rings on the desktop";

    ASSERT_TRUE(xdotool(moveTo(onBanner)));
    QTest::qWait(200);
    model.stopRinging(id);
    QTest::qWait(500);
    EXPECT_EQ(mode(), TrayMode::banner(id)) << "answered, but the pointer is on it";
    ASSERT_TRUE(xdotool(moveTo(farAway)));
    EXPECT_TRUE(becomes(TrayMode::resting()));
}

// The banner's heading follows the clock, not only the notebook: a note that rang for its deadline
// reads "Time’s up" once its timer runs out, though that alert was raised before and changes nothing.
TEST_F(TrayWindowTest, TheBannersHeadingChangesWithTheClockWhileItIsUp)
{
    model.tick();
    const QUuid id = model.newNote(QStringLiteral("Invoice"), std::nullopt, 60.0, true, now, true);
    NoteBook book = model.book();
    StickyNote *note = book.find(id);
    note->alertedDeadline = note->deadline;
    note->alertedTimerEnd = note->timer->endsAt;
    model.setBook(book);
    model.setRinging({id});
    tray().ring(*model.book()[id]);
    TrayBanner *banner = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        banner = panel()->findChild<TrayBanner *>();
        return banner && banner->isVisible();
    }, patienceMs));
    EXPECT_EQ(banner->headingText(), QStringLiteral("Due now"));

    const NoteBook before = model.book();
    now = Date{now.seconds + 61};
    model.tick();
    ASSERT_EQ(model.book(), before) << "nothing in the notebook changed";
    EXPECT_EQ(mode(), TrayMode::banner(id));
    EXPECT_EQ(panel()->findChild<TrayBanner *>(), banner) << "the same banner, still up";
    EXPECT_EQ(banner->headingText(), QStringLiteral("Time’s up"));
}

TEST_F(TrayWindowTest, TurningTheTrayOffInSettingsHidesIt)
{
    SettingsView settings(model, false);
    settings.showTab(SettingsView::Tab::notch);
    QAbstractButton *toggle = nullptr;
    for (auto *button : settings.findChildren<QAbstractButton *>())
        if (button->text() == QStringLiteral("Show tucked notes in a strip at the top of the screen"))
            toggle = button;
    ASSERT_TRUE(toggle);
    tray().toggle();
    toggle->click();
    EXPECT_FALSE(model.trayEnabled());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !X11Probe::isViewable(panel()); }, patienceMs));
    EXPECT_FALSE(tray().isPolling());
    EXPECT_EQ(mode(), TrayMode::resting());
    EXPECT_EQ(tray().openRect(), std::nullopt);
}

// Without a compositing manager the panel shows only the tray shape: the desktop's own pixels lie
// beside and below it, at rest and open.
TEST_F(TrayWindowTest, WithoutACompositorTheDesktopShowsBesideAndBelowTheShape)
{
    QImage resting;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        resting = screen();
        return resting.pixelColor(882, 10) == QColor(Qt::black) && resting.pixelColor(860, 5) == desktop;
    }, patienceMs)) << "the resting strip is drawn";
    Snapshots::write(resting.copy(560, 0, 800, 260), QStringLiteral("tray-windows"),
                     QStringLiteral("resting-on-desktop"));
    EXPECT_EQ(resting.pixelColor(882, 10), QColor(Qt::black)) << "in the strip";
    EXPECT_EQ(resting.pixelColor(860, 5), desktop) << "beside the strip";
    EXPECT_EQ(resting.pixelColor(960, 40), desktop) << "below the strip";
    EXPECT_EQ(resting.pixelColor(960, 230), desktop) << "at the bottom of the panel";
    EXPECT_FALSE(X11Probe::stacking().contains(panel()->winId())) << "no entry in a taskbar or pager";

    ASSERT_TRUE(xdotool(moveTo(openRect.center())));
    tray().toggle();
    ASSERT_TRUE(trayButton(QStringLiteral("All Notes")));
    QImage open;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        open = screen();
        return open.pixelColor(650, 150) == QColor(Qt::black) && open.pixelColor(630, 100) == desktop;
    }, patienceMs)) << "the open tray is drawn";
    Snapshots::write(open.copy(560, 0, 800, 260), QStringLiteral("tray-windows"), QStringLiteral("open-on-desktop"));
    EXPECT_EQ(open.pixelColor(650, 150), QColor(Qt::black)) << "in the open tray";
    EXPECT_EQ(open.pixelColor(630, 100), desktop) << "beside the open tray";
    EXPECT_EQ(open.pixelColor(960, openRect.bottom() + 10), desktop) << "below the open tray";
}

// Paused part way through its spring, the dropping tray shows its cards inside the travelling shape;
// a tray shrinking back keeps the resting strip's small corners, not ones grown from its height.
TEST_F(TrayWindowTest, MidSpringTheCardsTravelInsideTheShapeAndAClosingTrayKeepsTheStripsCorners)
{
    for (const QString &text : {QStringLiteral("Masala chai"), QStringLiteral("Laundry")})
        model.newNote(text, NoteColor::peach, std::nullopt, false, std::nullopt, true);
    const QColor paper = Paper::fill(NoteColor::peach).resolved(Scheme::light);
    ASSERT_TRUE(xdotool(moveTo(openRect.center())));
    TrayView *view = panel()->view();
    QAbstractAnimation &spring = view->spring();

    tray().toggle();
    spring.pause();
    spring.setCurrentTime(120);
    const QRect dropping = view->shapeRect().toRect();
    ASSERT_LT(dropping.height(), openRect.height()) << "part way down";
    QImage shot;
    EXPECT_TRUE(QTest::qWaitFor([&] {
        shot = screen();
        return Pixels::nearest(shot, dropping.adjusted(0, 0, -1, -1), paper) <= 2;
    }, patienceMs)) << "cards show in the shape while it drops";
    Snapshots::write(shot.copy(560, 0, 800, 260), QStringLiteral("tray-windows"), QStringLiteral("mid-spring-open"));
    EXPECT_GT(Pixels::nearest(shot, QRect(dropping.left(), dropping.bottom() + 2, dropping.width(), 30), paper), 40)
        << "no card below the shape";
    spring.resume();
    ASSERT_TRUE(QTest::qWaitFor([&] { return spring.state() == QAbstractAnimation::Stopped; }, patienceMs));

    tray().toggle();
    spring.pause();
    spring.setCurrentTime(60);
    const QRect shrinking = view->shapeRect().toRect();
    ASSERT_GT(shrinking.height(), 100) << "still tall";
    const QPoint nearCorner(shrinking.left() + 15, shrinking.bottom() - 3);
    EXPECT_TRUE(QTest::qWaitFor([&] { return screen().pixelColor(nearCorner) == QColor(Qt::black); }, patienceMs))
        << "the corner's curve is the strip's 10 points, not half the shrinking height";
    spring.resume();
    ASSERT_TRUE(becomes(TrayMode::resting()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return spring.state() == QAbstractAnimation::Stopped; }, patienceMs));
    const QRect strip = view->shapeRect().toRect();
    QImage rest;
    EXPECT_TRUE(QTest::qWaitFor([&] {
        rest = screen();
        return rest.pixelColor(strip.left() + 1, strip.bottom()) == desktop
               && rest.pixelColor(strip.left() + 10, strip.bottom() - 1) == QColor(Qt::black);
    }, patienceMs)) << "the strip is drawn at rest";
    EXPECT_EQ(strip, QRect(876, 0, 168, 20));
    EXPECT_EQ(rest.pixelColor(strip.left() + 1, strip.bottom()), desktop) << "the capsule's rounded end";
    EXPECT_EQ(rest.pixelColor(strip.left() + 10, strip.bottom() - 1), QColor(Qt::black));
}

// The strip's row never spills past the capsule's round ends: a long countdown is cut short with
// "…" and the icon shows whole.
TEST_F(TrayWindowTest, ALongCountdownInTheStripEndsInAnEllipsisAndTheRowStaysInsideTheStrip)
{
    model.tick();
    for (int i = 0; i < 2; ++i)
        model.newNote(QStringLiteral("Invoice %1").arg(i), std::nullopt, std::nullopt, false,
                      Date{now.seconds - 46 * 60 - i}, true);
    const QRect strip(876, 0, 168, 20);
    const auto *resting = panel()->findChild<RestingTray *>();
    ASSERT_TRUE(resting);
    EXPECT_TRUE(resting->stripText().startsWith(QStringLiteral("2 notes · Over"))) << resting->stripText().toStdString();
    EXPECT_TRUE(resting->stripText().endsWith(QStringLiteral("…"))) << resting->stripText().toStdString();

    // Text and icon are white or the urgency's red on black; the desktop and the capsule's edge are not.
    const auto ink = [](const QColor &pixel) { return pixel.red() > 120; };
    QImage shot;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        shot = screen();
        for (int x = strip.left() + 10; x < strip.left() + 24; ++x)
            for (int y = strip.top(); y <= strip.bottom(); ++y)
                if (ink(shot.pixelColor(x, y)))
                    return true;
        return false;
    }, patienceMs)) << "the icon at the row's start";
    Snapshots::write(shot.copy(strip.adjusted(-20, 0, 20, 10)), QStringLiteral("tray-windows"),
                     QStringLiteral("strip-long-countdown"));
    const int roundEnd = strip.height() / 2 - 2;
    for (int y = strip.top(); y <= strip.bottom(); ++y) {
        for (int x = strip.left() - 10; x < strip.left() + roundEnd; ++x)
            EXPECT_FALSE(ink(shot.pixelColor(x, y))) << x << "," << y;
        for (int x = strip.right() - roundEnd; x < strip.right() + 10; ++x)
            EXPECT_FALSE(ink(shot.pixelColor(x, y))) << x << "," << y;
    }
}

// The tray hangs under a panel along the top edge, from the top of the work area, and leaves the
// panel its clicks: resting on the panel's middle, where a clock usually sits, drops nothing.
TEST_F(TrayWindowTest, UnderATopPanelTheStripHangsFromTheWorkAreaAndThePanelKeepsItsClicks)
{
    TopPanel topPanel;
    ASSERT_TRUE(QTest::qWaitFor([&] { return X11Probe::isViewable(&topPanel); }, patienceMs));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return QGuiApplication::primaryScreen()->availableGeometry().top() == TopPanel::height; }, patienceMs))
        << "the window manager reserves the panel's strip";
    ASSERT_TRUE(QTest::qWaitFor([&] { return X11Probe::position(panel()).y() == TopPanel::height; }, patienceMs));
    QImage shot;
    EXPECT_TRUE(QTest::qWaitFor([&] {
        shot = screen();
        return shot.pixelColor(960, TopPanel::height) == QColor(Qt::black)
               && shot.pixelColor(960, 10) == TopPanel::color;
    }, patienceMs)) << "the strip's top edge at y = 30, the panel clear above it";
    EXPECT_EQ(shot.pixelColor(960, TopPanel::height - 1), TopPanel::color);
    EXPECT_EQ(shot.pixelColor(960, TopPanel::height + 19), QColor(Qt::black)) << "20 high, as without a panel";
    EXPECT_EQ(shot.pixelColor(960, TopPanel::height + 21), desktop);
    Snapshots::write(shot.copy(560, 0, 800, 120), QStringLiteral("tray-windows"), QStringLiteral("under-top-panel"));

    ASSERT_TRUE(xdotool(moveTo(QPoint(960, 15)) + QStringList{"sleep", "0.6", "click", "1"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return topPanel.clicks.size() == 1; }, patienceMs));
    EXPECT_EQ(topPanel.clicks.first(), QPoint(960, 15));
    EXPECT_EQ(mode(), TrayMode::resting());

    ASSERT_TRUE(xdotool(moveTo(QPoint(960, TopPanel::height + 10)) + QStringList{"sleep", "0.3"}));
    EXPECT_TRUE(becomes(TrayMode::open())) << "the strip under the panel opens as before";
    EXPECT_EQ(tray().openRect(), ScreenSpace::fromQt(QRect(640, TopPanel::height, 640, 208)));
}

// The window manager does not stack the panel, yet a floating window raised after it stays beneath.
TEST_F(TrayWindowTest, TheStripStaysAboveAFloatingWindowRaisedAfterIt)
{
    QWidget floating(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    floating.setGeometry(800, 0, 400, 150);
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(Qt::yellow));
    floating.setPalette(palette);
    floating.setAutoFillBackground(true);
    floating.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return X11Probe::isViewable(&floating); }, patienceMs));
    ASSERT_TRUE(xdotool(clickAt(QPoint(1100, 100)) + moveTo(farAway)));
    // The click raises the window at once; a strip left beneath it would stay there.
    QTest::qWait(300);
    QImage shown;
    EXPECT_TRUE(QTest::qWaitFor([&] {
        shown = screen();
        return shown.pixelColor(882, 10) == QColor(Qt::black) && shown.pixelColor(1100, 100) == QColor(Qt::yellow);
    }, patienceMs));
    EXPECT_EQ(shown.pixelColor(882, 10), QColor(Qt::black)) << "the strip";
    EXPECT_EQ(shown.pixelColor(1100, 100), QColor(Qt::yellow)) << "the floating window";
}

} // namespace

