#include "App/SingleInstance.h"
#include "ShellTestHelper.h"

#include <QLocalSocket>
#include <QSignalSpy>
#include <QTest>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>

namespace {

class SingleInstanceTest : public testing::Test {
protected:
    // A second launch: it must find the running process, tell it and exit 0.
    void launchAgain()
    {
        QProcess second;
        startShellTestHelper(second, {QStringLiteral("instance"), socket});
        ASSERT_TRUE(second.waitForFinished(10000));
        EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(second.exitCode(), 0);
    }

    QTemporaryDir dir;
    QString socket = dir.filePath(QStringLiteral("brindlewick.socket"));
};

TEST_F(SingleInstanceTest, SecondLaunchAsksTheFirstToReopenAndExits)
{
    SingleInstance first(socket);
    ASSERT_TRUE(first.claim());
    QSignalSpy reopened(&first, &SingleInstance::reopen);

    launchAgain();
    ASSERT_TRUE(reopened.wait(5000));
    launchAgain();
    ASSERT_TRUE(reopened.count() == 2 || reopened.wait(5000));
    EXPECT_EQ(reopened.count(), 2);
}

TEST_F(SingleInstanceTest, APeerSendingEndlessTextIsCutOffAndReopensNothing)
{
    SingleInstance first(socket);
    ASSERT_TRUE(first.claim());
    QSignalSpy reopened(&first, &SingleInstance::reopen);

    QLocalSocket peer;
    peer.connectToServer(socket);
    ASSERT_TRUE(peer.waitForConnected(5000));
    const QByteArray noise(64 * 1024, 'x');
    peer.write(noise + "reopen\n");
    EXPECT_TRUE(QTest::qWaitFor([&] { return peer.state() == QLocalSocket::UnconnectedState; }, 5000));
    EXPECT_EQ(reopened.count(), 0);
}

TEST_F(SingleInstanceTest, ARunningProcessKeepsItsClaimUntilItDiesAndACrashedRunIsTakenOver)
{
    QProcess running;
    startShellTestHelper(running, {QStringLiteral("instance"), socket});
    ASSERT_TRUE(waitForLine(running, "ready"));

    {
        SingleInstance late(socket);
        EXPECT_FALSE(late.claim());
        EXPECT_TRUE(waitForLine(running, "reopen"));
    }

    // A crash leaves the lock of a dead process and a socket file nobody listens on.
    ::kill(static_cast<pid_t>(running.processId()), SIGKILL);
    ASSERT_TRUE(running.waitForFinished(10000));
    ASSERT_TRUE(QFileInfo::exists(socket));

    SingleInstance next(socket);
    ASSERT_TRUE(next.claim());
    QSignalSpy reopened(&next, &SingleInstance::reopen);
    launchAgain();
    EXPECT_TRUE(reopened.wait(5000));
}

} // namespace
