#include "Start/InstanceList.h"
#include "Start/SingleInstance.h"
#include "OtherUser.h"
#include "ScopedEnv.h"
#include "ShellTestHelper.h"

#include <QFileInfo>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTest>
#include <QTemporaryDir>
#include <csignal>
#include <fcntl.h>
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
        startShellTestHelper(second, {QStringLiteral("instance"), launchList.isEmpty() ? list : launchList, data});
        ASSERT_TRUE(QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, patienceMs));
        EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(second.exitCode(), exitCode);
    }

    void takeOverACrashedRun();

    QStringList listed(const QString &pattern) const
    {
        return QDir(list).entryList({pattern}, QDir::Files | QDir::System);
    }

    // The socket of the one program entered in the list, as its entry names it.
    QString socket() const
    {
        const QStringList entries = listed(QStringLiteral("*.instance"));
        EXPECT_EQ(entries.size(), 1) << entries.join(u' ').toStdString();
        QFile entry(QDir(list).filePath(entries.value(0)));
        entry.open(QIODevice::ReadOnly);
        return QFile::decodeName(entry.readAll().split('\0').value(1));
    }

    QTemporaryDir dir;
    QString list = dir.filePath(QStringLiteral("run"));
    SingleInstance::Places places{list, list};
    QString data = dir.filePath(QStringLiteral("data"));
    // Too deep for a socket's address beside the list: the socket lies in a folder made for it.
    const QString deepList = dir.filePath(QString(110, u'd') + QStringLiteral("/run"));
    // The list of a launch with another home or state folder, as from su or cron.
    const QString otherList = dir.filePath(QStringLiteral("other-home/run"));
    // Where later launches look, when not in the first one's list.
    QString launchList;
};

TEST_F(SingleInstanceTest, SecondLaunchAsksTheFirstToReopenAndExitsAndTheFirstLeavesNothing)
{
    const QString usual = list;
    for (const auto &[folder, launchedFrom] : {std::pair{usual, usual}, {deepList, deepList}, {usual, otherList}}) {
        SCOPED_TRACE(folder.toStdString() + " then " + launchedFrom.toStdString());
        list = folder;
        launchList = launchedFrom;
        QString listening;
        {
            SingleInstance first(data, {list, list});
            ASSERT_TRUE(first.claim());
            QSignalSpy reopened(&first, &SingleInstance::reopen);

            launchAgain();
            ASSERT_TRUE(QTest::qWaitFor([&] { return reopened.count() == 1; }, patienceMs));
            launchAgain();
            ASSERT_TRUE(QTest::qWaitFor([&] { return reopened.count() == 2; }, patienceMs));
            listening = socket();
        }
        EXPECT_TRUE(listed(QStringLiteral("*")).isEmpty());
        EXPECT_FALSE(QFileInfo::exists(folder == deepList ? QFileInfo(listening).path() : listening))
            << "the socket is gone, with the folder made for it";
    }
}

TEST_F(SingleInstanceTest, APeerSendingEndlessTextIsCutOffAndReopensNothing)
{
    SingleInstance first(data, places);
    ASSERT_TRUE(first.claim());
    QSignalSpy reopened(&first, &SingleInstance::reopen);

    QLocalSocket peer;
    peer.connectToServer(socket());
    ASSERT_TRUE(peer.waitForConnected(patienceMs));
    const QByteArray noise(64 * 1024, 'x');
    peer.write(noise + "reopen\n");
    EXPECT_TRUE(QTest::qWaitFor([&] { return peer.state() == QLocalSocket::UnconnectedState; }, patienceMs));
    EXPECT_EQ(reopened.count(), 0);
}

TEST_F(SingleInstanceTest, ARunningProcessKeepsItsClaimUntilItDiesAndACrashedRunIsTakenOver)
{
    for (const QString &folder : {list, deepList}) {
        SCOPED_TRACE(folder.toStdString());
        list = folder;
        takeOverACrashedRun();
    }
}

void SingleInstanceTest::takeOverACrashedRun()
{
    const SingleInstance::Places places{list, list};
    QProcess running;
    startShellTestHelper(running, {QStringLiteral("instance"), list, data});
    ASSERT_TRUE(waitForLine(running, "ready"));

    {
        SingleInstance late(data, places);
        EXPECT_FALSE(late.claim());
        EXPECT_TRUE(waitForLine(running, "reopen"));
    }

    // A crash leaves an entry nobody holds and a socket file nobody listens on.
    ::kill(static_cast<pid_t>(running.processId()), SIGKILL);
    ASSERT_TRUE(running.waitForFinished(patienceMs));
    const QString crashed = socket();
    ASSERT_EQ(listed(QStringLiteral("*.instance")).size(), 1);

    SingleInstance next(data, places);
    ASSERT_TRUE(next.claim());
    QSignalSpy reopened(&next, &SingleInstance::reopen);
    launchAgain();
    EXPECT_TRUE(QTest::qWaitFor([&] { return reopened.count() == 1; }, patienceMs));
    EXPECT_EQ(listed(QStringLiteral("*.instance")).size(), 1) << "the crashed run's entry is gone";
    EXPECT_NE(socket(), crashed);
    EXPECT_FALSE(QFileInfo::exists(list == deepList ? QFileInfo(crashed).path() : crashed))
        << "the crashed run's socket is gone, with the folder made for it";
}

TEST_F(SingleInstanceTest, PeersThatHoldOnOrCrowdInAreCutOffAndALaunchStillGetsThrough)
{
    SingleInstance first(data, places);
    ASSERT_TRUE(first.claim());
    QSignalSpy reopened(&first, &SingleInstance::reopen);

    const QString listening = socket();
    std::vector<std::unique_ptr<QLocalSocket>> silent;
    for (int i = 0; i < 200; ++i) {
        silent.push_back(std::make_unique<QLocalSocket>());
        silent.back()->connectToServer(listening);
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
    // A live process is entered on the folder but nothing listens, as when the first run hangs.
    InstanceList held(list);
    ASSERT_TRUE(held.enter(data, dir.filePath(QStringLiteral("nobody.socket"))));
    launchAgain(1);
}

// Acts as another user while it lives, where this user may (root).
class AsOtherUser {
public:
    AsOtherUser() : m_acting(::seteuid(OtherUser::id) == 0) {}
    ~AsOtherUser()
    {
        if (m_acting) {
            EXPECT_EQ(::seteuid(0), 0);
        }
    }
    AsOtherUser(const AsOtherUser &) = delete;
    AsOtherUser &operator=(const AsOtherUser &) = delete;

    bool acting() const { return m_acting; }

private:
    bool m_acting;
};

// Anyone on the machine may reach the name the folder's program holds, or take it first: another user's
// message is cut off, and another user at the name keeps no program from running.
TEST_F(SingleInstanceTest, AnotherUserAtTheFoldersNameNeitherReopensNorStopsTheProgram)
{
    QDir().mkpath(data);
    const QString name = *InstanceList::meetingName(data);
    {
        SingleInstance first(data, places);
        ASSERT_TRUE(first.claim());
        QSignalSpy reopened(&first, &SingleInstance::reopen);
        QLocalSocket stranger;
        stranger.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
        {
            const AsOtherUser other;
            if (!other.acting())
                GTEST_SKIP() << "only root may act as another user";
            stranger.connectToServer(name);
        }
        ASSERT_TRUE(stranger.waitForConnected(patienceMs));
        stranger.write("reopen\n");
        EXPECT_TRUE(QTest::qWaitFor([&] { return stranger.state() == QLocalSocket::UnconnectedState; }, patienceMs));
        EXPECT_EQ(reopened.count(), 0);
    }
    QLocalServer squatter;
    squatter.setSocketOptions(QLocalServer::AbstractNamespaceOption);
    {
        const AsOtherUser other;
        ASSERT_TRUE(squatter.listen(name));
    }
    SingleInstance late(data, places);
    ASSERT_TRUE(late.claim()) << "the program runs";
    QSignalSpy reopened(&late, &SingleInstance::reopen);
    launchAgain();
    EXPECT_TRUE(QTest::qWaitFor([&] { return reopened.count() == 1; }, patienceMs)) << "and is found in the list";
}

// Two ways to one folder meet in the list whatever the environment of each launch, also when the folder
// is made or a disk is mounted on its way after the first launch; only the demo world is another folder.
TEST_F(SingleInstanceTest, EachRealDataFolderHasOneInstanceHoweverItIsReached)
{
    QDir().mkpath(dir.filePath("runtime"));
    QFile::setPermissions(dir.filePath("runtime"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QDir().mkpath(dir.filePath("data"));
    QFile::link(dir.filePath("data"), dir.filePath("link"));
    QFile::link("data", dir.filePath("relative-link"));
    const auto placesWith = [](const std::optional<QByteArray> &runtime) {
        const ScopedEnv environment("XDG_RUNTIME_DIR", runtime);
        return SingleInstance::places();
    };
    const SingleInstance::Places withRuntime = placesWith(dir.filePath("runtime").toUtf8());
    const SingleInstance::Places without = placesWith(std::nullopt);
    EXPECT_EQ(withRuntime.sockets, dir.filePath("runtime"));
    EXPECT_EQ(withRuntime.list, without.list) << "every launch of the user finds the list";
    const SingleInstance::Places runtimeHere{list, dir.filePath("runtime")};

    // A launch with another home, state and runtime folder finds another list.
    const SingleInstance::Places otherHome{otherList, otherList};

    struct Row {
        const char *first;
        const char *second;
        // Made between the two launches: only a launch that finds the first one's list meets it then.
        const char *madeMeanwhile;
        // Two folders on one disk: two programs.
        bool twoFolders = false;
    };
    const Row rows[] = {
        {"data", "data/", nullptr},
        {"data", "other/../data", nullptr},
        {"data", "link", nullptr},
        {"link/", "relative-link", nullptr},
        {"data/not-yet", "link/not-yet", nullptr},
        {"data/later", "link/later", "data/later"},
        {"link/later/notes", "data/later/notes", "data/later"},
        {"data", "beside-data", nullptr, true},
        {"data/one", "link/two", nullptr, true},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(std::string(row.first) + " then " + row.second);
        QDir(dir.filePath("data")).removeRecursively();
        QDir().mkpath(dir.filePath("data"));
        QDir().mkpath(dir.filePath("beside-data"));
        SingleInstance first(dir.filePath(row.first), runtimeHere);
        ASSERT_TRUE(first.claim());
        if (row.madeMeanwhile)
            QDir().mkpath(dir.filePath(row.madeMeanwhile));
        if (!row.madeMeanwhile) {
            SingleInstance fromElsewhere(dir.filePath(row.second), otherHome);
            EXPECT_EQ(fromElsewhere.claim(false), row.twoFolders) << "launched with another home";
        }
        SingleInstance second(dir.filePath(row.second), places);
        EXPECT_EQ(second.claim(false), row.twoFolders);
        SingleInstance demo(dir.filePath("demo/data"), places);
        EXPECT_TRUE(demo.claim(false));
    }
}

TEST_F(SingleInstanceTest, ARunningProcessOutOfDescriptorsListensAgainOncePeersAreGone)
{
    // The running process may open only ten descriptors, counted past those the test itself was handed
    // down, wherever they lie: it holds seven, so accepting the crowd below runs it out, and once the crowd
    // is gone there is room for a launch and for serving it.
    QProcess running;
    running.setChildProcessModifier([] {
        rlim_t limit = 0;
        for (int free = 0; free < 10; ++limit) {
            const int flags = ::fcntl(int(limit), F_GETFD);
            if (flags < 0 || (flags & FD_CLOEXEC))
                ++free;
        }
        const rlimit few{limit, limit};
        ::setrlimit(RLIMIT_NOFILE, &few);
    });
    startShellTestHelper(running, {QStringLiteral("instance"), list, data});
    ASSERT_TRUE(waitForLine(running, "ready"));

    const QString listening = socket();
    std::vector<std::unique_ptr<QLocalSocket>> crowd;
    for (int i = 0; i < 30; ++i) {
        crowd.push_back(std::make_unique<QLocalSocket>());
        crowd.back()->connectToServer(listening);
    }
    QTest::qWait(300);
    crowd.clear();

    launchAgain();
    EXPECT_TRUE(waitForLine(running, "reopen"));
    running.terminate();
    running.waitForFinished(3000);
}

} // namespace
