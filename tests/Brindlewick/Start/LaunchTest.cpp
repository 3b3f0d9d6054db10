#include "Start/BrindlewickApp.h"
#include "Start/Launch.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

QProcessEnvironment environment(const QList<std::pair<QString, QString>> &variables)
{
    QProcessEnvironment env;
    for (const auto &[name, value] : variables)
        env.insert(name, value);
    return env;
}

TEST(Launch, FirstPresentSwitchWinsAndAnEmptyValueCounts)
{
    using Mode = Launch::Mode;
    struct Case {
        QList<std::pair<QString, QString>> variables;
        Launch expected;
    };
    const QList<Case> cases{
        {{}, {Mode::normal, {}}},
        {{{"BRINDLEWICK_DATA_DIR", "/tmp/data"}}, {Mode::normal, {}}},
        {{{"BRINDLEWICK_DEMO_DIR", "/tmp/demo"}}, {Mode::demo, "/tmp/demo"}},
        {{{"BRINDLEWICK_SELFTEST", "/tmp/check"}, {"BRINDLEWICK_DEMO_DIR", "/tmp/demo"}}, {Mode::selfTest, "/tmp/check"}},
        {{{"BRINDLEWICK_SELFTEST", "/tmp/check"}, {"BRINDLEWICK_SNAPSHOT_DIR", "/tmp/shots"}},
         {Mode::snapshots, "/tmp/shots"}},
        {{{"BRINDLEWICK_SNAPSHOT_DIR", ""}, {"BRINDLEWICK_SELFTEST", "/tmp/check"}}, {Mode::snapshots, ""}},
        {{{"BRINDLEWICK_DEMO_DIR", ""}}, {Mode::demo, ""}},
    };
    for (const Case &c : cases) {
        const Launch launch = Launch::from(environment(c.variables));
        EXPECT_EQ(launch.mode, c.expected.mode) << c.variables.size();
        EXPECT_EQ(launch.folder, c.expected.folder);
    }
    EXPECT_FALSE(Launch::from(environment({})).atLogin);
    EXPECT_TRUE(Launch::from(environment({}), {"brindlewick", "--autostart"}).atLogin);
    EXPECT_TRUE(Launch::from(environment({{"BRINDLEWICK_DEMO_DIR", "/tmp/demo"}}), {"brindlewick", "--autostart"}).atLogin);
    EXPECT_TRUE((Launch{Mode::snapshots, {}}.isHarness()));
    EXPECT_TRUE((Launch{Mode::selfTest, {}}.isHarness()));
    EXPECT_FALSE((Launch{Mode::demo, {}}.isHarness()));
}

TEST(Launch, RunsOnX11UnlessTheUserChoseAPlatform)
{
    const QByteArray x11First = "xcb;wayland";
    EXPECT_EQ(BrindlewickApp::platformFor({"brindlewick"}, environment({})), x11First);
    EXPECT_EQ(BrindlewickApp::platformFor({"brindlewick"}, environment({{"WAYLAND_DISPLAY", "wayland-0"}})), x11First);
    EXPECT_EQ(BrindlewickApp::platformFor({"brindlewick"}, environment({{"QT_QPA_PLATFORM", "wayland"}})), std::nullopt);
    EXPECT_EQ(BrindlewickApp::platformFor({"brindlewick", "-platform", "offscreen"}, environment({})), std::nullopt);
}

} // namespace
