#include "App/AlertSound.h"

#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>
#include <algorithm>

namespace {

// A sound server of the session's own with one silent output whose monitor can be recorded.
class AlertSoundTest : public testing::Test {
protected:
    void SetUp() override
    {
        server.start("pulseaudio", {"-n", "--daemonize=no", "--exit-idle-time=-1", "-L",
                                    "module-null-sink sink_name=null", "-L", "module-native-protocol-unix"});
        ASSERT_TRUE(QTest::qWaitFor([] { return QProcess::execute("pactl", {"info"}) == 0; }, 5000));
        recorder.start("parec", {"-d", "null.monitor", "--raw", "--format=s16le", "--rate=8000", "--channels=1",
                                 "--latency-msec=50"});
        ASSERT_TRUE(recorder.waitForStarted());
    }

    void TearDown() override
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
    EXPECT_TRUE(QTest::qWaitFor([&] { return heard(); }, 3000));
}

} // namespace
