// The install script on folders of its own: the swap with and without the one-step helper, and a
// script killed half-way, after which the install folder still runs and the next start tidies up.
#include "Patience.h"
#include "UpdateFixtures.h"

#include "Updater.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

const QString helper = QStringLiteral(BRINDLEWICK_BINARY_DIR "/src/OstrelKit/ostrel-exchange");

class InstallScriptTest : public testing::Test {
protected:
    QString at(const QString &path) const { return dir.filePath(path); }

    // A copy whose program notes in "relaunched" which copy ran, plus `extra` bytes of ballast.
    void makeCopy(const QString &folder, const QByteArray &marker, qint64 extra = 0) const
    {
        QDir().mkpath(at(folder + "/bin"));
        QDir().mkpath(at(folder + "/share"));
        QFile program(at(folder + "/bin/kit"));
        ASSERT_TRUE(program.open(QIODevice::WriteOnly));
        program.write("#!/bin/sh\necho " + marker + " > '" + at("relaunched").toUtf8() + "'\n");
        program.setPermissions(program.permissions() | QFile::ExeOwner);
        QFile release(at(folder + "/share/release"));
        ASSERT_TRUE(release.open(QIODevice::WriteOnly));
        release.write(marker);
        if (extra > 0) {
            QFile ballast(at(folder + "/share/ballast"));
            ASSERT_TRUE(ballast.open(QIODevice::WriteOnly));
            const QByteArray block(1024 * 1024, 'b');
            for (qint64 written = 0; written < extra; written += block.size())
                ballast.write(block);
        }
    }

    // Starts the script in a process group of its own, for the program `waitFor` to end.
    void startScript(QProcess &script, qint64 waitFor, const QString &exchange) const
    {
        QFile text(":/ostrel/install.sh");
        ASSERT_TRUE(text.open(QIODevice::ReadOnly));
        script.setChildProcessModifier([] { ::setsid(); });
        script.start("/bin/sh", {"-c", QString::fromUtf8(text.readAll()), "ostrel-install", QString::number(waitFor),
                                 at("app"), at("stage/2.0"), at("stage"), "1", "bin/kit", exchange});
        ASSERT_TRUE(script.waitForStarted());
    }

    QString read(const QString &path) const
    {
        QFile file(at(path));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed() : QString();
    }

    QStringList leftovers() const { return QDir(dir.path()).entryList({".app.*"}, QDir::Dirs | QDir::Hidden); }

    QTemporaryDir dir;
};

TEST_F(InstallScriptTest, SwapsOnceTheProgramHasEndedThenStartsTheNewCopy)
{
    for (const QString &exchange : {helper, at("no-such-helper")}) {
        SCOPED_TRACE(exchange.toStdString());
        makeCopy("app", "old");
        makeCopy("stage/2.0", "new");
        // The program runs until the test ends it.
        QProcess running;
        running.start("sleep", {"600"});
        ASSERT_TRUE(running.waitForStarted());
        QProcess script;
        startScript(script, running.processId(), exchange);
        QTest::qWait(200);
        EXPECT_EQ(read("app/share/release"), "old") << "nothing moves while the program runs";
        running.kill();
        ASSERT_TRUE(running.waitForFinished());
        ASSERT_TRUE(script.waitForFinished(patienceMs));
        EXPECT_EQ(read("app/share/release"), "new");
        EXPECT_EQ(read("relaunched"), "new");
        EXPECT_EQ(leftovers(), QStringList());
        EXPECT_FALSE(QFile::exists(at("stage")));
        QDir(at("app")).removeRecursively();
        QFile::remove(at("relaunched"));
    }
}

TEST_F(InstallScriptTest, AScriptKilledHalfWayLeavesACopyThatRunsAndTheNextStartTidiesUp)
{
    makeCopy("app", "old");
    makeCopy("stage/2.0", "new", 256LL * 1024 * 1024);
    QProcess ended;
    ended.start("true");
    ASSERT_TRUE(ended.waitForStarted());
    const qint64 endedPid = ended.processId();
    ASSERT_TRUE(ended.waitForFinished());
    QProcess script;
    startScript(script, endedPid, helper);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !leftovers().isEmpty(); }, patienceMs))
        << "the copy beside the folder begins";
    ::kill(-pid_t(script.processId()), SIGKILL);
    ASSERT_TRUE(script.waitForFinished(patienceMs));

    EXPECT_EQ(QProcess::execute(at("app/bin/kit")), 0);
    EXPECT_EQ(read("relaunched"), "old");
    ASSERT_FALSE(leftovers().isEmpty());
    UpdaterSetup setup;
    setup.bundle = {"Kit", "1.0", QUrl("http://127.0.0.1:9/feed.json"), QByteArray(32, 'k')};
    setup.executable = at("app/bin/kit");
    setup.stageRoot = at("stage");
    Updater(setup).start();
    EXPECT_EQ(leftovers(), QStringList());
    EXPECT_FALSE(QFile::exists(at("stage")));
    EXPECT_EQ(read("app/share/release"), "old");
}

} // namespace
