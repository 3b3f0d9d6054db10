#include "Start/SingleInstance.h"
#include "ScopedEnv.h"
#include "ShellTestHelper.h"

#include <QLocalSocket>
#include <QLockFile>
#include <QSignalSpy>
#include <QTest>
#include <QTemporaryDir>
#include <csignal>
#include <sys/resource.h>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

class SingleInstanceTest : public testing::Test {
protected:
    // A second launch: it must find the running process, tell it and exit 0 (1 when nobody answers).
    // The test's own event loop runs meanwhile, for a first instance in this process to answer.
    void launchAgain(int exitCode = 0)
    {
        QProcess second;
        startShellTestHelper(second, {QStringLiteral("instance"), socket});
        ASSERT_TRUE(QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, patienceMs));
        EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(second.exitCode(), exitCode);
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
    ASSERT_TRUE(QTest::qWaitFor([&] { return reopened.count() == 1; }, patienceMs));
    launchAgain();
    ASSERT_TRUE(QTest::qWaitFor([&] { return reopened.count() == 2; }, patienceMs));
}

TEST_F(SingleInstanceTest, APeerSendingEndlessTextIsCutOffAndReopensNothing)
{
    SingleInstance first(socket);
    ASSERT_TRUE(first.claim());
    QSignalSpy reopened(&first, &SingleInstance::reopen);

    QLocalSocket peer;
    peer.connectToServer(socket);
    ASSERT_TRUE(peer.waitForConnected(patienceMs));
    const QByteArray noise(64 * 1024, 'x');
    peer.write(noise + "reopen\n");
    EXPECT_TRUE(QTest::qWaitFor([&] { return peer.state() == QLocalSocket::UnconnectedState; }, patienceMs));
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
    ASSERT_TRUE(running.waitForFinished(patienceMs));
    ASSERT_TRUE(QFileInfo::exists(socket));

    SingleInstance next(socket);
    ASSERT_TRUE(next.claim());
    QSignalSpy reopened(&next, &SingleInstance::reopen);
    launchAgain();
    EXPECT_TRUE(QTest::qWaitFor([&] { return reopened.count() == 1; }, patienceMs));
}

TEST_F(SingleInstanceTest, PeersThatHoldOnOrCrowdInAreCutOffAndALaunchStillGetsThrough)
{
    SingleInstance first(socket);
    ASSERT_TRUE(first.claim());
    QSignalSpy reopened(&first, &SingleInstance::reopen);

    std::vector<std::unique_ptr<QLocalSocket>> silent;
    for (int i = 0; i < 200; ++i) {
        silent.push_back(std::make_unique<QLocalSocket>());
        silent.back()->connectToServer(socket);
    }
    launchAgain();
    EXPECT_TRUE(QTest::qWaitFor([&] { return reopened.count() == 1; }, patienceMs));
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return std::all_of(silent.begin(), silent.end(),
                           [](const auto &peer) { return peer->state() == QLocalSocket::UnconnectedState; });
    }, patienceMs)) << "every silent peer is let go";
}

TEST_F(SingleInstanceTest, ALaunchThatFindsARunningProcessThatDoesNotAnswerFailsInsteadOfPretending)
{
    // A live process holds the lock but nothing listens, as when the first run hangs.
    QLockFile held(socket + QStringLiteral(".lock"));
    ASSERT_TRUE(held.tryLock(0));
    launchAgain(1);
}

TEST_F(SingleInstanceTest, EachRealDataFolderHasOneInstanceHoweverItIsReached)
{
    QDir().mkpath(dir.filePath("runtime"));
    QFile::setPermissions(dir.filePath("runtime"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const ScopedEnv runtime("XDG_RUNTIME_DIR", dir.filePath("runtime").toUtf8());
    QDir().mkpath(dir.filePath("data"));
    QFile::link(dir.filePath("data"), dir.filePath("link"));
    QFile::link("data", dir.filePath("relative-link"));

    const std::optional<QString> here = SingleInstance::pathFor(dir.filePath("data"));
    ASSERT_TRUE(here);
    EXPECT_TRUE(here->startsWith(dir.filePath("runtime/")));
    for (const char *way : {"data/", "other/../data", "link", "link/", "relative-link"})
        EXPECT_EQ(SingleInstance::pathFor(dir.filePath(way)), here) << way;
    EXPECT_EQ(SingleInstance::pathFor(dir.filePath("link/not-yet")), SingleInstance::pathFor(dir.filePath("data/not-yet")));
    EXPECT_NE(SingleInstance::pathFor(dir.filePath("demo/data")), here);

    SingleInstance user(*here);
    SingleInstance demo(*SingleInstance::pathFor(dir.filePath("demo/data")));
    EXPECT_TRUE(user.claim());
    EXPECT_TRUE(demo.claim());
}

TEST_F(SingleInstanceTest, ARunningProcessOutOfDescriptorsListensAgainOncePeersAreGone)
{
    // The running process may open only a few more files, so accepting the crowd below runs it out.
    QProcess running;
    running.setChildProcessModifier([] {
        const rlimit few{12, 12};
        ::setrlimit(RLIMIT_NOFILE, &few);
    });
    startShellTestHelper(running, {QStringLiteral("instance"), socket});
    ASSERT_TRUE(waitForLine(running, "ready"));

    std::vector<std::unique_ptr<QLocalSocket>> crowd;
    for (int i = 0; i < 30; ++i) {
        crowd.push_back(std::make_unique<QLocalSocket>());
        crowd.back()->connectToServer(socket);
    }
    QTest::qWait(300);
    crowd.clear();

    launchAgain();
    EXPECT_TRUE(waitForLine(running, "reopen"));
    running.kill();
    running.waitForFinished(3000);
}

} // namespace
