#include "Platform/GlobalShortcutsPortal.h"
#include "Platform/HotKey.h"
#include "FakeShortcutsPortal.h"
#include "Patience.h"
#include "QtPrinters.h"
#include "ScopedEnv.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class PortalHotKeyTest : public testing::Test {
protected:
    void SetUp() override
    {
        hotKey.action = [this] { ++presses; };
    }

    void registerAndWait()
    {
        QSignalSpy changed(&hotKey, &HotKey::registeredChanged);
        hotKey.registerKey();
        ASSERT_TRUE(changed.wait(patienceMs));
    }

    const ScopedEnv wayland{"XDG_SESSION_TYPE", QByteArray("wayland")};
    HotKey hotKey;
    int presses = 0;
};

TEST_F(PortalHotKeyTest, WaylandSessionBindsTheKeyThroughThePortalAndClosesItsSessionOnRelease)
{
    FakeShortcutsPortal portal;
    ASSERT_TRUE(portal.registered());

    registerAndWait();
    EXPECT_TRUE(hotKey.registered());
    EXPECT_EQ(portal.calls(), (QStringList{"CreateSession", "BindShortcuts"}));
    ASSERT_EQ(portal.boundShortcuts().size(), 1);
    EXPECT_EQ(portal.boundShortcuts()[0].id, "quick-note");
    EXPECT_EQ(portal.boundShortcuts()[0].properties.value("preferred_trigger").toString(), "CTRL+ALT+n");

    // Signals arrive in the order sent: only the last one is this session's shortcut.
    portal.activate(portal.session(), QStringLiteral("another"));
    portal.activate(portal.session() + QStringLiteral("x"), QStringLiteral("quick-note"));
    portal.activate(portal.session(), QStringLiteral("quick-note"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return presses > 0; }, patienceMs));
    QCoreApplication::processEvents();
    EXPECT_EQ(presses, 1);

    hotKey.release();
    EXPECT_FALSE(hotKey.registered());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !portal.closedSession().isEmpty(); }, patienceMs));
    EXPECT_EQ(portal.closedSession(), portal.session());
}

TEST_F(PortalHotKeyTest, RefusedOrMissingPortalFallsBackToTheXGrab)
{
    for (const bool portalRuns : {true, false}) {
        std::optional<FakeShortcutsPortal> portal;
        if (portalRuns) {
            portal.emplace();
            portal->refuse = true;
        }
        registerAndWait();
        EXPECT_TRUE(hotKey.registered()) << portalRuns;
        EXPECT_EQ(QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("ctrl+alt+n")}), 0);
        EXPECT_TRUE(QTest::qWaitFor([&] { return presses > 0; }, patienceMs)) << portalRuns;
        presses = 0;
        hotKey.release();
    }
}

TEST(GlobalShortcutsPortal, WithoutAPortalOnTheBusNothingIsBound)
{
    GlobalShortcutsPortal portal(QStringLiteral("quick-note"), QStringLiteral("Quick Note"), QStringLiteral("CTRL+ALT+n"));
    QSignalSpy finished(&portal, &GlobalShortcutsPortal::finished);
    portal.bind();
    ASSERT_TRUE(finished.wait(patienceMs));
    EXPECT_EQ(finished.at(0).at(0).toBool(), false);
    EXPECT_FALSE(portal.bound());
}

} // namespace
