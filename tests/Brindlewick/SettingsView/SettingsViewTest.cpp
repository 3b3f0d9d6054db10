#include "../State/AppModelFixture.h"
#include "FocusMarks.h"
#include "HungDisk.h"
#include "SmallFilesDisk.h"
#include "ScopedEnv.h"

#include "NotchTray/NotchIllustration.h"
#include "Ostrel.h"
#include "NotchTray/TrayState.h"
#include "Platform/HotKey.h"
#include "SettingsView/SettingsView.h"
#include "Theme/Appearance.h"
#include "Theme/ColorDots.h"
#include "Theme/Theme.h"
#include "Theme/ThemeLabel.h"
#include "Welcome/WelcomeView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <functional>
#include <thread>

namespace {

class SettingsViewTest : public AppModelTest {
protected:
    ~SettingsViewTest() override { TrayState::forceNotch(std::nullopt); }

    // A view as the window shows it, on the given tab.
    std::unique_ptr<SettingsView> open(SettingsView::Tab tab, std::optional<bool> notch = false)
    {
        auto view = std::make_unique<SettingsView>(*model, notch);
        view->showTab(tab);
        view->show();
        QCoreApplication::sendPostedEvents();
        return view;
    }

    static QCheckBox *checkBox(const QWidget &view, const QString &text)
    {
        for (QCheckBox *box : view.findChildren<QCheckBox *>()) {
            if (box->text() == text)
                return box;
        }
        ADD_FAILURE() << "no check box " << text.toStdString();
        return nullptr;
    }

    // A click where a person clicks: on the box, not in the empty row beside the text.
    static void click(QCheckBox *box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2)); }

    static bool shows(const QWidget &view, const QString &text)
    {
        for (const ThemeLabel *label : view.findChildren<ThemeLabel *>()) {
            if (label->text() == text)
                return label->isVisibleTo(&view);
        }
        for (const QAbstractButton *button : view.findChildren<QAbstractButton *>()) {
            if (button->text() == text)
                return button->isVisibleTo(&view);
        }
        return false;
    }
};

struct ToggleCase {
    SettingsView::Tab tab;
    const char *text;
    const char *key;
    bool before;
};

TEST_F(SettingsViewTest, EachToggleWritesItsSettingThroughToTheSettingsFileAndFollowsTheModel)
{
    const ToggleCase cases[] = {
        {SettingsView::Tab::general, "Float above other windows", "newNotesFloat", false},
        {SettingsView::Tab::general, "Show the next countdown in the panel", "showMenuBarItem", true},
        {SettingsView::Tab::general, "Ctrl+Alt+N opens Quick Note from any app", "hotkeyEnabled", true},
        {SettingsView::Tab::alerts, "Play a sound when notifications are off", "playSound", true},
        {SettingsView::Tab::notch, "Show tucked notes in a strip at the top of the screen", "trayEnabled", false},
    };
    for (const ToggleCase &c : cases) {
        SCOPED_TRACE(c.key);
        const auto view = open(c.tab);
        QCheckBox *box = checkBox(*view, QString::fromUtf8(c.text));
        ASSERT_TRUE(box);
        EXPECT_EQ(box->isChecked(), c.before);
        EXPECT_FALSE(settingsJson().contains(c.key));

        click(box);
        EXPECT_EQ(settingsJson().value(c.key), QJsonValue(!c.before));

        click(box);
        EXPECT_EQ(settingsJson().value(c.key), QJsonValue(c.before));
    }
}

TEST_F(SettingsViewTest, ATogglePressedWhileTheDiskHangsHoldsNothingUpAndReachesTheFileOnceItAnswersOrAtQuit)
{
    const auto view = open(SettingsView::Tab::alerts);
    QCheckBox *box = checkBox(*view, QStringLiteral("Play a sound when notifications are off"));
    ASSERT_TRUE(box);
    // What the file holds now, without waiting for the writer.
    const auto onDisk = [this] {
        QFile file(settingsPath());
        return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object() : QJsonObject();
    };

    HungDisk disk;
    {
        const SmallFilesDisk hanging([&disk] { disk.write(); });
        click(box);
        ASSERT_TRUE(QTest::qWaitFor([&] { return disk.writes() == 1; }, patienceMs));
        // The window goes on answering while the write hangs: the next changes are taken and a timer
        // comes round.
        click(box);
        click(box);
        bool ticked = false;
        QTimer::singleShot(0, [&ticked] { ticked = true; });
        EXPECT_TRUE(QTest::qWaitFor([&] { return ticked; }, patienceMs));
        EXPECT_FALSE(box->isChecked());
        EXPECT_EQ(SettingsStore(settingsPath()).boolValue(SettingsKeys::playSound), false);
        EXPECT_FALSE(onDisk().contains("playSound")) << "the disk never answered";
        disk.answer();
    }
    EXPECT_EQ(onDisk().value("playSound"), QJsonValue(false));
    EXPECT_EQ(disk.writes(), 2) << "the two changes that waited took each other's place";

    // Changed just before quitting on a slow disk: the quit waits for it.
    const SmallFilesDisk slow([] { std::this_thread::sleep_for(std::chrono::milliseconds(200)); });
    click(box);
    model->finishRun();
    EXPECT_EQ(onDisk().value("playSound"), QJsonValue(true));
}

// Every text a label or a button of the widget shows.
QStringList texts(const QWidget &view)
{
    QStringList found;
    for (const ThemeLabel *label : view.findChildren<ThemeLabel *>())
        found << label->text();
    for (const QAbstractButton *button : view.findChildren<QAbstractButton *>())
        found << button->text() << button->toolTip();
    return found;
}

TEST_F(SettingsViewTest, NoTextOfTheSettingsOrTheWelcomeSpeaksOfAMenuBar)
{
    QStringList seen;
    for (const bool notch : {false, true}) {
        seen << texts(*open(SettingsView::Tab::general, notch));
        for (const int step : {0, 1, 2})
            seen << texts(WelcomeView(*model, step, true, notch));
    }
    EXPECT_EQ(seen.filter(QStringLiteral("menu bar"), Qt::CaseInsensitive), QStringList());
    EXPECT_TRUE(seen.contains(QStringLiteral("Show the next countdown in the panel")));
}

TEST_F(SettingsViewTest, ColourDotsSetTheColourOfNewNotesAndControlsFollowSettingsChangedElsewhere)
{
    const auto general = open(SettingsView::Tab::general);
    auto *dots = general->findChild<ColorDots *>("defaultColor");
    ASSERT_TRUE(dots);
    EXPECT_EQ(dots->selection(), NoteColor::lemon);
    QTest::mouseClick(dots->dot(NoteColor::mint), Qt::LeftButton);
    EXPECT_EQ(model->defaultColor(), NoteColor::mint);
    EXPECT_EQ(settingsJson().value("defaultColor"), QJsonValue("mint"));

    model->setDefaultColor(NoteColor::lilac);
    EXPECT_EQ(dots->selection(), NoteColor::lilac);
    model->setNewNotesFloat(true);
    model->setHotkeyEnabled(false);
    EXPECT_TRUE(checkBox(*general, "Float above other windows")->isChecked());
    EXPECT_FALSE(checkBox(*general, "Ctrl+Alt+N opens Quick Note from any app")->isChecked());
}

TEST_F(SettingsViewTest, HeadsUpPickerWritesMinutesAndReschedulesAndShowsNothingForOtherValues)
{
    const auto view = open(SettingsView::Tab::alerts);
    auto *lead = view->findChild<QComboBox *>("warnMinutes");
    ASSERT_TRUE(lead);
    QStringList options;
    for (int i = 0; i < lead->count(); ++i)
        options << lead->itemText(i);
    EXPECT_EQ(options, QStringList({"Off", "5 minutes", "15 minutes", "30 minutes", "1 hour", "1 day"}));
    EXPECT_EQ(lead->currentText(), "15 minutes");

    const std::pair<int, int> choices[] = {{0, 0}, {1, 5}, {3, 30}, {4, 60}, {5, 1440}, {2, 15}};
    for (const auto &[index, minutes] : choices) {
        const int schedules = notifier->schedules;
        lead->setCurrentIndex(index);
        EXPECT_EQ(model->warnMinutes(), minutes);
        EXPECT_EQ(settingsJson().value("warnMinutes"), QJsonValue(minutes));
        EXPECT_EQ(notifier->schedules, schedules + 1) << "pending alerts follow the new heads-up";
    }

    model->setWarnMinutes(7);
    EXPECT_EQ(lead->currentIndex(), -1) << "7 minutes is none of the options";
    model->setWarnMinutes(60);
    EXPECT_EQ(lead->currentText(), "1 hour");
}

// The tab keys turn the tabs round from any control, a drop-down's included, and never change its value.
TEST_F(SettingsViewTest, CtrlTabAndCtrlPageDownTurnTheTabsWhereverTheKeyboardIsAndChangeNoValue)
{
    model->setWarnMinutes(30);
    const auto view = open(SettingsView::Tab::alerts);
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    auto *lead = view->findChild<QComboBox *>("warnMinutes");
    using Tab = SettingsView::Tab;
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier, ctrlShift = ctrl | Qt::ShiftModifier;
    // Ctrl+Shift+Tab comes from an X server as Backtab.
    const std::tuple<Qt::Key, Qt::KeyboardModifiers, Tab, Tab> presses[] = {
        {Qt::Key_PageDown, ctrl, Tab::alerts, Tab::notch},   {Qt::Key_PageUp, ctrl, Tab::alerts, Tab::general},
        {Qt::Key_Tab, ctrl, Tab::alerts, Tab::notch},        {Qt::Key_Tab, ctrlShift, Tab::alerts, Tab::general},
        {Qt::Key_Backtab, ctrlShift, Tab::alerts, Tab::general}, {Qt::Key_PageUp, ctrl, Tab::general, Tab::howItWorks},
        {Qt::Key_Tab, ctrl, Tab::howItWorks, Tab::general},
    };
    for (const auto &[key, modifiers, from, to] : presses) {
        view->showTab(from);
        QWidget *control = from == Tab::alerts ? static_cast<QWidget *>(lead) : view->tabs()->tabBar();
        control->setFocus(Qt::TabFocusReason);
        QTest::keyClick(control, key, modifiers);
        EXPECT_EQ(view->tabs()->currentIndex(), int(to)) << QKeySequence(key | modifiers).toString().toStdString();
        EXPECT_EQ(settingsJson().value("warnMinutes"), QJsonValue(30));
    }
}

// The forms' scroll areas take no focus; a page of text takes it to scroll, and rings its edge.
TEST_F(SettingsViewTest, EveryControlTabReachesShowsThatItHasTheKeyboard)
{
    const auto view = open(SettingsView::Tab::general);
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    for (SettingsView::Tab tab : {SettingsView::Tab::general, SettingsView::Tab::alerts, SettingsView::Tab::notch,
                                  SettingsView::Tab::shortcuts, SettingsView::Tab::howItWorks}) {
        view->showTab(tab);
        view->tabs()->tabBar()->setFocus(Qt::OtherFocusReason);
        EXPECT_EQ(FocusMarks::unmarkedStops(view.get(), 30), QStringList()) << int(tab);
    }
}

TEST_F(SettingsViewTest, TrayTriggerIsGreyedWhileTheTrayIsOffAndKeepsItsChoice)
{
    model->setTrayOpensOn(TrayOpen::click);
    const auto view = open(SettingsView::Tab::notch);
    auto *opens = view->findChild<QComboBox *>("trayOpensOn");
    ASSERT_TRUE(opens);
    EXPECT_FALSE(opens->isEnabled());
    EXPECT_EQ(opens->currentText(), "Click it");

    click(checkBox(*view, "Show tucked notes in a strip at the top of the screen"));
    EXPECT_TRUE(opens->isEnabled());
    opens->setCurrentIndex(0);
    EXPECT_EQ(settingsJson().value("trayOpensOn"), QJsonValue("hover"));
    model->setTrayEnabled(false);
    EXPECT_FALSE(opens->isEnabled());
    EXPECT_EQ(opens->currentText(), "Point at it");
}

struct NotchCase {
    const char *name;
    std::optional<bool> override;
    std::optional<bool> screenNotch;
    bool notch;
};

TEST_F(SettingsViewTest, NotchTabWordingAndDrawingFollowTheOverrideElseTheScreenMeasuredOnce)
{
    const NotchCase cases[] = {
        {"forced notch on a plain screen", true, false, true},
        {"forced strip on a notched screen", false, true, false},
        {"measured notch", std::nullopt, true, true},
        {"measured plain screen", std::nullopt, std::nullopt, false},
    };
    for (const NotchCase &c : cases) {
        SCOPED_TRACE(c.name);
        TrayState::forceNotch(c.screenNotch);
        const auto view = open(SettingsView::Tab::notch, c.override);
        EXPECT_EQ(view->hasNotch(), c.notch);
        EXPECT_EQ(shows(*view, "Tuck notes into the notch"), c.notch);
        EXPECT_EQ(shows(*view, "Show tucked notes in a strip at the top of the screen"), !c.notch);
        EXPECT_EQ(shows(*view, "Tucked notes hide beside the camera. The ears show how many there are and the next "
                               "countdown. Press ⤒ on a note, or Ctrl+J, to tuck it."),
                  c.notch);
        EXPECT_EQ(shows(*view, "The tray hangs from a strip in the middle of the top edge of the screen, whether the "
                               "screen has a notch or not."),
                  !c.notch);
        const auto *illustration = view->findChild<NotchIllustration *>();
        ASSERT_TRUE(illustration);
        EXPECT_EQ(illustration->hasNotch(), c.notch);

        TrayState::forceNotch(!c.notch);
        EXPECT_EQ(view->hasNotch(), c.notch) << "a screen change later does not measure again";
    }
}

struct WarningCase {
    const char *name;
    bool hotkeyEnabled;
    bool demo;
    bool shown;
};

// Here the hot key is never registered (no display to grab it on), as when another app holds it.
TEST_F(SettingsViewTest, HotKeyWarningShowsOnlyWhenTheKeyIsWantedButHeldElsewhereOutsideTheDemo)
{
    ASSERT_FALSE(HotKey::shared().registered());
    const WarningCase cases[] = {
        {"wanted and held elsewhere", true, false, true},
        {"not wanted", false, false, false},
        {"demo", true, true, false},
    };
    for (const WarningCase &c : cases) {
        SCOPED_TRACE(c.name);
        rebuild();
        if (c.demo)
            model->useDemo(dir.filePath("demo"), now, true);
        model->setHotkeyEnabled(c.hotkeyEnabled);
        const auto view = open(SettingsView::Tab::general);
        const auto *warning = view->findChild<ThemeLabel *>("hotkeyWarning");
        ASSERT_TRUE(warning);
        EXPECT_EQ(warning->isVisibleTo(view.get()), c.shown);
        EXPECT_EQ(warning->text(), "Another app is already using Ctrl+Alt+N, so it can’t be used here.");
    }
}

// A stand-in for the desktop's notification settings, on PATH for the life of the object.
class SettingsProgram {
public:
    explicit SettingsProgram(bool installed)
        : m_path("PATH", m_bin.path().toUtf8()), m_desktop("XDG_CURRENT_DESKTOP", QByteArray("GNOME"))
    {
        if (!installed)
            return;
        writeTestFile(program(), "#!/bin/sh\necho \"$@\" > \"$0.ran\"\n");
        QFile::setPermissions(program(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QString program() const { return QDir(m_bin.path()).filePath("gnome-control-center"); }

private:
    QTemporaryDir m_bin;
    ScopedEnv m_path;
    ScopedEnv m_desktop;
};

struct PermissionCase {
    NotifyPermission permission;
    bool settingsInstalled;
    bool on;
    bool switchable;
    bool settingsOffered;
};

TEST_F(SettingsViewTest, TheNotificationSwitchFollowsThePermissionAndTheDesktopsSettingsShowOnlyWhereInstalled)
{
    const PermissionCase cases[] = {
        {NotifyPermission::allowed, true, true, true, false},
        {NotifyPermission::notAsked, true, false, true, false},
        {NotifyPermission::denied, true, false, false, true},
        {NotifyPermission::denied, false, false, false, false},
    };
    for (const PermissionCase &c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.permission) << " installed " << c.settingsInstalled);
        const SettingsProgram settings(c.settingsInstalled);
        model->setPermission(NotifyPermission::notAsked);
        const auto view = open(SettingsView::Tab::alerts);
        model->setPermission(c.permission);
        QCheckBox *box = checkBox(*view, "Show desktop notifications");
        ASSERT_TRUE(box);
        EXPECT_EQ(box->isChecked(), c.on);
        EXPECT_EQ(box->isEnabled(), c.switchable);
        EXPECT_EQ(shows(*view, "Off: no notification server is running."), !c.switchable);
        EXPECT_EQ(shows(*view, "Open Notification Settings…"), c.settingsOffered);
    }
}

QAbstractButton *button(const QWidget &view, const QString &text)
{
    for (QAbstractButton *candidate : view.findChildren<QAbstractButton *>()) {
        if (candidate->text() == text)
            return candidate;
    }
    return nullptr;
}

// Turned off, notifications stop and the alert sound takes over, as "Play a sound when notifications
// are off" says.
TEST_F(SettingsViewTest, TheSwitchTurnsNotificationsOnAndOffAndTheSoundTakesOverWhenOff)
{
    for (bool grant : {true, false}) {
        SCOPED_TRACE(grant);
        rebuild();
        model->load();
        notifier->grantOnRequest = grant;
        StickyNote call = note("call back");
        call.setDeadline(now + 3600, now - 60);
        put(call);
        const auto view = open(SettingsView::Tab::alerts);
        QCheckBox *box = checkBox(*view, "Show desktop notifications");
        ASSERT_TRUE(box);

        click(box);
        EXPECT_EQ(notifier->requests, 1);
        EXPECT_EQ(model->permission(), grant ? NotifyPermission::allowed : NotifyPermission::denied);
        EXPECT_EQ(notifier->scheduled.isEmpty(), !grant) << "alerts are handed over only once allowed";
        EXPECT_EQ(box->isChecked(), grant);
        EXPECT_EQ(shows(*view, "Off: no notification server is running."), !grant);
        if (!grant)
            continue;

        click(box);
        EXPECT_EQ(model->permission(), NotifyPermission::notAsked);
        EXPECT_TRUE(notifier->scheduled.isEmpty());
        EXPECT_FALSE(box->isChecked());
        now = now + 3600;
        model->tick();
        EXPECT_EQ(sounds, 1) << "the note rang with the sound instead of a notification";
    }
}

TEST_F(SettingsViewTest, OpenNotificationSettingsStartsTheDesktopsSettings)
{
    const SettingsProgram settings(true);
    model->setPermission(NotifyPermission::denied);
    const auto view = open(SettingsView::Tab::alerts);
    QTest::mouseClick(button(*view, "Open Notification Settings…"), Qt::LeftButton);
    QFile ran(settings.program() + ".ran");
    EXPECT_TRUE(QTest::qWaitFor([&] { return ran.exists() && ran.size() > 0; }, patienceMs));
}

// "How It Works" names the folder the notes are really kept in, as the environment gives it.
TEST_F(SettingsViewTest, HowItWorksNamesTheFolderTheNotesAreIn)
{
    struct Case {
        std::optional<QByteArray> dataHome;
        std::optional<QByteArray> dataDir;
        QString folder;
    };
    const QByteArray home = dir.filePath("home").toUtf8();
    const Case cases[] = {
        {std::nullopt, std::nullopt, "~/.local/share/Brindlewick"},
        {"/srv/shared/data", std::nullopt, "/srv/shared/data/Brindlewick"},
        {"/srv/shared/data", "/media/usb/notes", "/media/usb/notes"},
        {std::nullopt, home + "/Notes", "~/Notes"},
    };
    const ScopedEnv homeFolder("HOME", home);
    for (const Case &c : cases) {
        const ScopedEnv dataHome("XDG_DATA_HOME", c.dataHome);
        const ScopedEnv dataDir("BRINDLEWICK_DATA_DIR", c.dataDir);
        AppModel live(Paths::live(), SettingsStore(settingsPath()), std::make_unique<RecordingNotifier>());
        SettingsView view(live, false);
        view.showTab(SettingsView::Tab::howItWorks);
        const QString expected = "Notes are saved on this computer in " + c.folder +
                                 ". Deleted notes stay in Recently Deleted for 30 days. There’s no account and no sync.";
        EXPECT_TRUE(shows(view, expected)) << c.folder.toStdString();
    }
}

// The tests are built without an update feed, as a copy that never checks for updates is.
TEST_F(SettingsViewTest, ACopyWithoutUpdatesSaysNothingLeavesTheComputer)
{
    ASSERT_FALSE(Ostrel::updater().enabled());
    const auto view = open(SettingsView::Tab::howItWorks);
    EXPECT_TRUE(shows(*view, "Nothing leaves this computer."));
    EXPECT_FALSE(shows(*view, "Nothing leaves this computer except the check for updates."));
}

TEST_F(SettingsViewTest, TabsAreTheSixInOrderAndStockControlsTakeThePaperPalette)
{
    const auto view = open(SettingsView::Tab::general);
    QStringList titles;
    for (int i = 0; i < view->tabs()->count(); ++i) {
        titles << view->tabs()->tabText(i);
        EXPECT_FALSE(view->tabs()->tabIcon(i).isNull());
    }
    EXPECT_EQ(titles, QStringList({"General", "Alerts", "Notch", "Shortcuts", "Updates", "How It Works"}));
    view->show();
    const QTabBar *bar = view->tabs()->tabBar();
    EXPECT_LE(bar->tabRect(bar->count() - 1).right(), view->width()) << "every tab shows without scrolling";

    QCheckBox *box = checkBox(*view, "Float above other windows");
    for (Scheme scheme : {Scheme::dark, Scheme::light}) {
        Appearance::force(view.get(), scheme);
        view->grab();
        EXPECT_EQ(box->palette().color(QPalette::WindowText), Theme::ink.resolved(scheme));
        EXPECT_EQ(box->palette().color(QPalette::Window), Theme::desk.resolved(scheme));
    }
}

} // namespace
