#include "Patience.h"
#include "State/AlertSound.h"
#include "State/AppModel.h"
#include "State/SystemNotifier.h"

#include <QDBusConnectionInterface>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <algorithm>
#include <atomic>
#include <csignal>
#include <thread>

namespace {

// A sound server of the session's own with one silent output whose monitor can be recorded.
class AlertSoundTest : public testing::Test {
protected:
    void SetUp() override { startSoundServer(); }

    void TearDown() override { stopSoundServer(); }

    void startSoundServer()
    {
        recorded.clear();
        server.start("pulseaudio", {"-n", "--daemonize=no", "--exit-idle-time=-1", "-L",
                                    "module-null-sink sink_name=null", "-L", "module-native-protocol-unix"});
        ASSERT_TRUE(QTest::qWaitFor([] { return QProcess::execute("pactl", {"info"}) == 0; }, patienceMs));
        recorder.start("parec", {"-d", "null.monitor", "--raw", "--format=s16le", "--rate=8000", "--channels=1",
                                 "--latency-msec=50"});
        ASSERT_TRUE(recorder.waitForStarted());
        // Silence comes through once it records; a sound played before that would be missed.
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return !(recorded += recorder.readAllStandardOutput()).isEmpty(); }, patienceMs));
    }

    void stopSoundServer()
    {
        recorder.kill();
        recorder.waitForFinished();
        server.terminate();
        server.waitForFinished();
    }

    // Anything but silence on the output.
    bool heard()
    {
        recorded += recorder.readAllStandardOutput();
        return std::any_of(recorded.begin(), recorded.end(), [](char byte) { return byte != 0; });
    }

    QProcess server;
    QProcess recorder;
    QByteArray recorded;
};

TEST_F(AlertSoundTest, PlaysThroughTheSessionsSoundServer)
{
    QTest::qWait(300);
    ASSERT_FALSE(heard());
    AlertSound::play();
    EXPECT_TRUE(QTest::qWaitFor([&] { return heard(); }, patienceMs));
}

TEST_F(AlertSoundTest, StillPlaysAfterTheSoundServerRestarts)
{
    AlertSound::play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return heard(); }, patienceMs));
    stopSoundServer();
    startSoundServer();
    QTest::qWait(300);
    ASSERT_FALSE(heard());
    AlertSound::play();
    EXPECT_TRUE(QTest::qWaitFor([&] { return heard(); }, patienceMs));
}

// A sound server that stops answering (stopped, as a debugger or a stuck machine leaves it) must not
// hold up whoever asked for the sound; the sound asked for comes once the server answers again.
TEST_F(AlertSoundTest, AStoppedSoundServerHoldsUpNoOneAndPlaysOnceItAnswers)
{
    AlertSound::play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return heard(); }, patienceMs));
    ASSERT_EQ(::kill(static_cast<pid_t>(server.processId()), SIGSTOP), 0);
    recorded.clear();

    std::atomic<int> returned = 0;
    std::thread asker([&] {
        for (int i = 0; i < 3; ++i) {
            AlertSound::play();
            ++returned;
        }
    });
    const bool answered = QTest::qWaitFor([&] { return returned == 3; }, patienceMs);
    ::kill(static_cast<pid_t>(server.processId()), SIGCONT);
    asker.join();
    EXPECT_TRUE(answered) << "play() waited for the stopped server";
    EXPECT_TRUE(QTest::qWaitFor([&] { return heard(); }, patienceMs));
}

// dunst shows notifications but plays no sound of its own (it does not list "sound").
class RingSoundTest : public AlertSoundTest {
protected:
    void SetUp() override
    {
        AlertSoundTest::SetUp();
        dunst.start("dunst", {"-config", "/dev/null"});
        ASSERT_TRUE(QTest::qWaitFor(
            [] {
                return QDBusConnection::sessionBus().interface()->isServiceRegistered("org.freedesktop.Notifications");
            },
            patienceMs));
    }

    void TearDown() override
    {
        dunst.terminate();
        dunst.waitForFinished(3000);
        AlertSoundTest::TearDown();
    }

    QProcess dunst;
};

TEST_F(RingSoundTest, ANoteRingingWhileNotificationsAreAllowedSoundsAsTheSettingSays)
{
    for (const bool playSound : {false, true}) {
        QTemporaryDir dir;
        SettingsStore settings(dir.filePath("settings.json"));
        settings.setBool(SettingsKeys::notificationsAllowed, true);
        settings.setBool(SettingsKeys::playSound, playSound);
        AppModel model(Paths{dir.filePath("data")}, settings,
                       std::make_unique<SystemNotifier>(QDBusConnection::sessionBus(), settings, &Date::current,
                                                        dir.filePath("notifications.json")));
        model.start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return model.permission() == NotifyPermission::allowed; }, patienceMs));
        heard();
        recorded.clear();
        model.newNote("Tea", std::nullopt, 1, true);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !model.ringing().isEmpty(); }, patienceMs));
        // Without the sound, the ring is given as long as a sound would take to come on an idle machine.
        EXPECT_EQ(QTest::qWaitFor([&] { return heard(); }, playSound ? patienceMs : 3000), playSound)
            << "playSound " << playSound;
    }
}

} // namespace
