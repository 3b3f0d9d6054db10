#include "Start/BrindlewickApp.h"
#include "Start/CommandLine.h"
#include "Start/Launch.h"
#include "Start/StartFolders.h"
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
    EXPECT_TRUE(Launch::from(environment({}), true).atLogin);
    EXPECT_TRUE(Launch::from(environment({{"BRINDLEWICK_DEMO_DIR", "/tmp/demo"}}), true).atLogin);
    EXPECT_TRUE((Launch{Mode::snapshots, {}}.isHarness()));
    EXPECT_TRUE((Launch{Mode::selfTest, {}}.isHarness()));
    EXPECT_FALSE((Launch{Mode::demo, {}}.isHarness()));
}

TEST(Launch, RunsOnX11UnlessTheUserChoseAPlatform)
{
    const QByteArray x11First = "xcb;wayland";
    const CommandLine plain = CommandLine::read({"brindlewick"});
    EXPECT_EQ(BrindlewickApp::platformFor(plain, environment({})), x11First);
    EXPECT_EQ(BrindlewickApp::platformFor(plain, environment({{"WAYLAND_DISPLAY", "wayland-0"}})), x11First);
    EXPECT_EQ(BrindlewickApp::platformFor(plain, environment({{"QT_QPA_PLATFORM", "wayland"}})), std::nullopt);
    for (const char *option : {"-platform", "--platform"}) {
        const CommandLine chosen = CommandLine::read({"brindlewick", option, "offscreen"});
        EXPECT_EQ(BrindlewickApp::platformFor(chosen, environment({})), std::nullopt) << option;
    }
}

// Our options, as a person types them; Qt's own options are passed over, with their values.
TEST(Launch, ReadsItsOwnOptionsAndRefusesOthers)
{
    using Ask = CommandLine::Ask;
    struct Case {
        QStringList arguments;
        Ask ask;
        bool atLogin;
    };
    const Case cases[] = {
        {{}, Ask::run, false},
        {{"--autostart"}, Ask::run, true},
        {{"-autostart"}, Ask::run, true},
        {{"--help"}, Ask::help, false},
        {{"-h"}, Ask::help, false},
        {{"--version"}, Ask::version, false},
        {{"-v"}, Ask::version, false},
        {{"--autostart", "--version"}, Ask::version, true},
        {{"--frobnicate", "--help"}, Ask::help, false},
        {{"--frobnicate"}, Ask::wrong, false},
        {{"-x"}, Ask::wrong, false},
        {{"--autostart=yes"}, Ask::wrong, true},
        {{"foo"}, Ask::wrong, false},
        {{"--autostart", "foo"}, Ask::wrong, true},
        {{"--", "--help"}, Ask::wrong, false},
        {{"-platform", "xcb", "-style=fusion", "--display", ":1", "-reverse", "-name", "notes", "--autostart"},
         Ask::run, true},
        {{"-stylesheet", "--help", "-title", "foo"}, Ask::run, false},
        {{"-display"}, Ask::run, false},
        {{"-displays", ":1"}, Ask::wrong, false},
    };
    for (const Case &c : cases) {
        const CommandLine line = CommandLine::read(QStringList{"brindlewick"} + c.arguments);
        EXPECT_EQ(line.ask, c.ask) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(line.atLogin, c.atLogin) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(line.error.isEmpty(), c.ask != Ask::wrong) << line.error.toStdString();
    }
    EXPECT_TRUE(CommandLine::read({"brindlewick", "--frobnicate"}).error.contains("frobnicate"));
    EXPECT_TRUE(CommandLine::read({"brindlewick", "-style", "fusion", "foo"}).error.contains("'foo'"));
    EXPECT_EQ(CommandLine::read({"brindlewick", "-display", ":7"}).display, ":7");
    EXPECT_EQ(CommandLine::read({"brindlewick", "--display", ":7"}).display, ":7");
    EXPECT_EQ(CommandLine::read({"brindlewick"}).display, std::nullopt);
    for (const char *option : {"--autostart", "--help", "--version"})
        EXPECT_TRUE(CommandLine::help().contains(option)) << option;
}

// Folders named by the environment come out absolute or not at all, whatever the value, in time
// linear in its length.
TEST(Launch, FoldersFromTheEnvironmentAreSettledAbsoluteAtStart)
{
    using Environment = QMap<QByteArray, QByteArray>;
    using Changes = decltype(StartFolders::Settled::changes);
    const QByteArray working = "/home/ada/work";
    const QByteArray longName(300, 'n');
    struct Case {
        const char *name;
        Environment environment;
        Changes changes;
        // Words of the message that ends the start; none when it goes on.
        const char *problem;
    };
    const Case cases[] = {
        {"nothing set", {}, {}, nullptr},
        {"absolute folders stay",
         {{"BRINDLEWICK_DATA_DIR", "/srv/notes"}, {"XDG_CONFIG_HOME", "/cfg"}, {"XDG_DATA_HOME", "/share"}}, {}, nullptr},
        {"an empty data folder is unset", {{"BRINDLEWICK_DATA_DIR", ""}}, {{"BRINDLEWICK_DATA_DIR", std::nullopt}}, nullptr},
        {"a relative data folder is the working folder's",
         {{"BRINDLEWICK_DATA_DIR", "notes/../mine"}},
         {{"BRINDLEWICK_DATA_DIR", "/home/ada/work/notes/../mine"}}, nullptr},
        {"relative base folders are ignored",
         {{"XDG_DATA_HOME", "share"}, {"XDG_CONFIG_HOME", "./cfg"}, {"XDG_CACHE_HOME", ""}, {"XDG_STATE_HOME", "st"},
          {"XDG_RUNTIME_DIR", "run"}},
         {{"XDG_DATA_HOME", std::nullopt}, {"XDG_CONFIG_HOME", std::nullopt}, {"XDG_CACHE_HOME", std::nullopt},
          {"XDG_STATE_HOME", std::nullopt}, {"XDG_RUNTIME_DIR", std::nullopt}}, nullptr},
        {"a relative demo world", {{"BRINDLEWICK_DEMO_DIR", "demo"}}, {{"BRINDLEWICK_DEMO_DIR", "/home/ada/work/demo"}},
         nullptr},
        {"an empty demo world still asks for one", {{"BRINDLEWICK_DEMO_DIR", ""}}, {}, nullptr},
        {"40 KB of data folder", {{"BRINDLEWICK_DATA_DIR", "/" + QByteArray(40 * 1024, 'a')}}, {}, "40961 bytes long"},
        {"40 KB of folders", {{"BRINDLEWICK_DATA_DIR", "/" + QByteArray("a/").repeated(20 * 1024)}}, {}, "bytes long"},
        {"a name too long for any folder", {{"BRINDLEWICK_DATA_DIR", "/tmp/" + longName}}, {}, "300 bytes long"},
        {"not UTF-8", {{"BRINDLEWICK_DATA_DIR", "/tmp/caf\xe9"}}, {}, "UTF-8"},
        {"too long once made absolute",
         {{"BRINDLEWICK_DATA_DIR", QByteArray("n/").repeated(2045)}},
         {{"BRINDLEWICK_DATA_DIR", working + "/" + QByteArray("n/").repeated(2045)}}, "4105 bytes long"},
    };
    for (const Case &c : cases) {
        const StartFolders::Settled settled = StartFolders::settle(c.environment, working);
        EXPECT_EQ(settled.changes, c.changes) << c.name;
        EXPECT_EQ(settled.problem.has_value(), c.problem != nullptr) << c.name;
        if (c.problem) {
            EXPECT_TRUE(settled.problem->contains(QString::fromUtf8(c.problem))) << c.name << ": " << settled.problem->toStdString();
            EXPECT_TRUE(settled.problem->contains("BRINDLEWICK_DATA_DIR")) << c.name;
        }
    }
}

} // namespace
