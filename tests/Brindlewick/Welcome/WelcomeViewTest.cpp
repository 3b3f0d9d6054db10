#include "../State/AppModelFixture.h"
#include "FocusMarks.h"

#include "NotchTray/NotchIllustration.h"
#include "NotchTray/TrayState.h"
#include "Theme/DesktopAppearance.h"
#include "Theme/SegmentedPicker.h"
#include "Theme/ThemeLabel.h"
#include "Welcome/ChoiceCard.h"
#include "Welcome/PageDots.h"
#include "Welcome/WelcomeView.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QTest>

namespace {

// Tells the app what the desktop's animation setting says, as the settings portal would.
class DesktopAnimations {
public:
    explicit DesktopAnimations(bool enabled) { announce(enabled); }
    ~DesktopAnimations() { announce(true); }

private:
    static void announce(bool enabled)
    {
        QDBusMessage change = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/portal/desktop"),
                                                         QStringLiteral("org.freedesktop.portal.Settings"),
                                                         QStringLiteral("SettingChanged"));
        change << QStringLiteral("org.gnome.desktop.interface") << QStringLiteral("enable-animations")
               << QVariant::fromValue(QDBusVariant(enabled));
        DesktopAppearance::instance().settingChanged(change);
    }
};

class WelcomeViewTest : public AppModelTest {
protected:
    WelcomeViewTest() { model->setShowWelcome(true); }
    ~WelcomeViewTest() override { TrayState::forceNotch(std::nullopt); }

    std::unique_ptr<WelcomeView> open(int step = 0, std::optional<bool> notch = false)
    {
        auto view = std::make_unique<WelcomeView>(*model, step, true, notch);
        view->show();
        QCoreApplication::sendPostedEvents();
        return view;
    }

    static QAbstractButton *button(const QWidget &view, const QString &text)
    {
        for (QAbstractButton *candidate : view.findChildren<QAbstractButton *>()) {
            if (candidate->text() == text && candidate->isVisibleTo(&view))
                return candidate;
        }
        return nullptr;
    }

    // Whether a label, symbol label or button with exactly this text is on show.
    static bool shows(const QWidget &view, const QString &text)
    {
        for (const QWidget *widget : view.findChildren<QWidget *>()) {
            const auto *label = qobject_cast<const ThemeLabel *>(widget);
            const auto *pressable = qobject_cast<const QAbstractButton *>(widget);
            const QString shown = label ? label->text() : pressable ? pressable->text() : QString();
            if (shown == text && widget->isVisibleTo(&view))
                return true;
        }
        return false;
    }

    static void press(QWidget &view, Qt::Key key) { QTest::keyClick(&view, key); }
};

TEST_F(WelcomeViewTest, ContinueAndBackWalkTheThreePagesAndReturnAnswersTheMainButton)
{
    DesktopAnimations off(false);
    const auto view = open();
    const PageDots *dots = view->findChild<PageDots *>();
    ASSERT_TRUE(dots);

    EXPECT_EQ(view->step(), 0);
    EXPECT_EQ(dots->accessibleName(), "Page 1 of 3");
    QAbstractButton *back = nullptr;
    for (QAbstractButton *candidate : view->findChildren<QAbstractButton *>())
        back = candidate->text() == "Back" ? candidate : back;
    ASSERT_TRUE(back);
    EXPECT_FALSE(back->isVisibleTo(view.get()));
    EXPECT_FALSE(back->isEnabled());
    EXPECT_TRUE(shows(*view, "Sticky notes that keep time"));

    QTest::mouseClick(button(*view, "Continue"), Qt::LeftButton);
    EXPECT_EQ(view->step(), 1);
    EXPECT_EQ(dots->accessibleName(), "Page 2 of 3");
    EXPECT_TRUE(back->isVisibleTo(view.get()) && back->isEnabled());
    EXPECT_TRUE(shows(*view, "A nudge when time’s up"));

    press(*view, Qt::Key_Return);
    EXPECT_EQ(view->step(), 2);
    EXPECT_EQ(dots->accessibleName(), "Page 3 of 3");
    EXPECT_FALSE(button(*view, "Continue"));
    EXPECT_TRUE(button(*view, "Start Writing"));

    QTest::mouseClick(back, Qt::LeftButton);
    EXPECT_EQ(view->step(), 1);
    press(*view, Qt::Key_Enter);
    EXPECT_EQ(view->step(), 2);
    EXPECT_TRUE(model->showWelcome());
    EXPECT_FALSE(settingsJson().contains("welcomeDone"));

    press(*view, Qt::Key_Return);
    EXPECT_FALSE(model->showWelcome());
    EXPECT_EQ(settingsJson().value("welcomeDone"), QJsonValue(true));
    EXPECT_EQ(settingsJson().value("trayEnabled"), QJsonValue(true)) << "the tray answer starts as yes";
}

TEST_F(WelcomeViewTest, PagesStayWithinTheThree)
{
    DesktopAnimations off(false);
    const auto view = open(1);
    const std::pair<int, int> moves[] = {{5, 2}, {1, 2}, {-9, 0}, {-1, 0}, {1, 1}};
    for (const auto &[delta, step] : moves) {
        view->go(delta);
        EXPECT_EQ(view->step(), step) << delta;
    }
    EXPECT_EQ(WelcomeView(*model, 7, true, false).step(), 2);
}

TEST_F(WelcomeViewTest, WithoutAnimationsThePageChangesAtOnceAndWithThemItSlidesInFromTheTrailingEdge)
{
    {
        DesktopAnimations off(false);
        const auto view = open();
        view->go(1);
        EXPECT_FALSE(view->isTurning());
        EXPECT_EQ(view->page()->pos(), QPoint(0, 0));
        EXPECT_EQ(view->page()->graphicsEffect(), nullptr);
    }
    DesktopAnimations on(true);
    const auto view = open();
    QWidget *first = view->page();
    view->go(1);
    QWidget *second = view->page();
    EXPECT_NE(second, first);
    EXPECT_TRUE(view->isTurning());
    EXPECT_GT(second->x(), view->width() / 2) << "the new page starts at the trailing edge";

    view->go(-1);
    EXPECT_GT(view->page()->x(), view->width() / 2) << "going back also brings the page in from the trailing edge";
    EXPECT_EQ(second->x(), 0) << "a turn under way is finished first";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view->isTurning(); }, patienceMs));
    EXPECT_EQ(view->page()->pos(), QPoint(0, 0));
    EXPECT_EQ(view->page()->graphicsEffect(), nullptr);
}

struct TrayCase {
    const char *name;
    QStringList clicks;
    bool enabled;
    bool pickerShown;
};

TEST_F(WelcomeViewTest, TheTrayAnswerIsStoredByStartWriting)
{
    const TrayCase cases[] = {
        {"untouched", {}, true, true},
        {"not now", {"Not now"}, false, false},
        {"changed mind", {"Not now", "Use the strip"}, true, true},
        {"yes twice", {"Use the strip", "Use the strip"}, true, true},
    };
    for (const TrayCase &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(settingsPath());
        rebuild();
        model->setShowWelcome(true);
        const auto view = open(2);
        ChoiceCard *yes = nullptr;
        ChoiceCard *no = nullptr;
        for (ChoiceCard *card : view->findChildren<ChoiceCard *>())
            (card->text() == "Not now" ? no : yes) = card;
        ASSERT_TRUE(yes && no);
        for (const QString &answer : c.clicks)
            QTest::mouseClick(answer == "Not now" ? no : yes, Qt::LeftButton);

        EXPECT_EQ(view->useTray(), c.enabled);
        EXPECT_EQ(yes->isSelected(), c.enabled);
        EXPECT_EQ(no->isSelected(), !c.enabled);
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(c.enabled ? yes : no);
        EXPECT_TRUE(accessible->state().checked) << "the chosen card reads as selected";
        EXPECT_EQ(view->findChild<QWidget *>("trigger")->isVisibleTo(view.get()), c.pickerShown);
        EXPECT_FALSE(settingsJson().contains("trayEnabled")) << "nothing is stored before Start Writing";

        QTest::mouseClick(button(*view, "Start Writing"), Qt::LeftButton);
        EXPECT_EQ(settingsJson().value("trayEnabled"), QJsonValue(c.enabled));
        EXPECT_EQ(model->trayEnabled(), c.enabled);
    }
}

// From the keyboard each answer shows when it has the keyboard, and Space picks it.
TEST_F(WelcomeViewTest, EveryStopOfTheTrayPageShowsTheKeyboardAndSpacePicksTheAnswerThatHasIt)
{
    const auto view = open(2);
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    button(*view, "Back")->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(FocusMarks::unmarkedStops(view.get(), 20), QStringList());
    ChoiceCard *no = view->findChildren<ChoiceCard *>().last();
    ASSERT_EQ(no->text(), "Not now");
    QTest::keyClick(no, Qt::Key_Space);
    EXPECT_FALSE(view->useTray());
}

TEST_F(WelcomeViewTest, TheTrayTriggerIsStoredAtOnce)
{
    const auto view = open(2);
    auto *picker = view->findChild<SegmentedPicker *>();
    ASSERT_TRUE(picker);
    EXPECT_EQ(picker->current(), 0);
    EXPECT_EQ(picker->segment(0)->text(), "Point at it");
    EXPECT_EQ(picker->segment(1)->text(), "Click it");
    EXPECT_EQ(picker->accessibleName(), "Open it when I");

    QTest::mouseClick(picker->segment(1), Qt::LeftButton);
    EXPECT_EQ(settingsJson().value("trayOpensOn"), QJsonValue("click"));
    EXPECT_FALSE(settingsJson().contains("trayEnabled"));
    EXPECT_TRUE(picker->segment(1)->isChecked());
    EXPECT_FALSE(picker->segment(0)->isChecked());

    model->setTrayOpensOn(TrayOpen::hover);
    EXPECT_EQ(picker->current(), 0);
}

struct PermissionCase {
    NotifyPermission permission;
    bool settingsInstalled;
    QStringList shown;
};

// The desktop's notification settings are offered only where a settings program is installed.
TEST_F(WelcomeViewTest, PermissionRowFollowsThePermissionAndAsksThroughTheModel)
{
    QTemporaryDir bin;
    const QString program = QDir(bin.path()).filePath("gnome-control-center");
    const ScopedEnv path("PATH", bin.path().toUtf8());
    const ScopedEnv desktop("XDG_CURRENT_DESKTOP", QByteArray("GNOME"));
    const QStringList texts{"Notifications are on", "Notifications are off", "Open Notification Settings",
                            "Allow Notifications…", "Or press Continue to decide later in Settings."};
    const PermissionCase cases[] = {
        {NotifyPermission::denied, false, {"Notifications are off"}},
        {NotifyPermission::allowed, true, {"Notifications are on"}},
        {NotifyPermission::denied, true, {"Notifications are off", "Open Notification Settings"}},
        {NotifyPermission::notAsked, true, {"Allow Notifications…", "Or press Continue to decide later in Settings."}},
    };
    const auto view = open(1);
    for (const PermissionCase &c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.permission) << " installed " << c.settingsInstalled);
        if (c.settingsInstalled) {
            writeTestFile(program, "#!/bin/sh\n");
            QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner);
        }
        model->setPermission(c.permission);
        for (const QString &text : texts)
            EXPECT_EQ(shows(*view, text), c.shown.contains(text)) << text.toStdString();
    }

    notifier->grantOnRequest = false;
    QTest::mouseClick(button(*view, "Allow Notifications…"), Qt::LeftButton);
    EXPECT_EQ(notifier->requests, 1);
    EXPECT_EQ(model->permission(), NotifyPermission::denied);
    EXPECT_TRUE(shows(*view, "Open Notification Settings"));
    EXPECT_EQ(view->step(), 1) << "asking does not move the page";
}

TEST_F(WelcomeViewTest, WhatYouGetNamesTheHeadsUp)
{
    const std::pair<int, QString> leads[] = {
        {0, "(if you like) a little before"},
        {15, "(if you like) 15 minutes before"},
        {1440, "(if you like) 1440 minutes before"},
    };
    const auto view = open(1);
    auto *what = view->findChild<ThemeLabel *>("whatYouGet");
    ASSERT_TRUE(what);
    for (const auto &[minutes, lead] : leads) {
        model->setWarnMinutes(minutes);
        EXPECT_TRUE(what->text().contains(lead)) << what->text().toStdString();
    }
}

struct NotchCase {
    const char *name;
    std::optional<bool> override;
    std::optional<bool> screenNotch;
    bool notch;
};

TEST_F(WelcomeViewTest, TrayPageSpeaksOfTheNotchOrTheStrip)
{
    const NotchCase cases[] = {
        {"forced strip on a notched screen", false, true, false},
        {"forced notch", true, std::nullopt, true},
        {"measured notch", std::nullopt, true, true},
        {"measured plain screen", std::nullopt, std::nullopt, false},
    };
    for (const NotchCase &c : cases) {
        SCOPED_TRACE(c.name);
        TrayState::forceNotch(c.screenNotch);
        const auto view = open(2, c.override);
        EXPECT_EQ(view->hasNotch(), c.notch);
        EXPECT_EQ(shows(*view, "Tuck notes into the notch"), c.notch);
        EXPECT_EQ(shows(*view, "A strip at the top of the screen"), !c.notch);
        EXPECT_EQ(shows(*view, "Use the notch"), c.notch);
        EXPECT_EQ(shows(*view, "Use the strip"), !c.notch);
        EXPECT_EQ(shows(*view, "Tucked notes live in a slim strip in the middle of the top edge of the screen, showing "
                               "how many there are and the next countdown. Point at it and they drop down."),
                  !c.notch);
        EXPECT_EQ(view->findChild<NotchIllustration *>()->hasNotch(), c.notch);
    }
}

} // namespace
