// The install script on folders of its own: the swap with and without the one-step helper, what it
// leaves for the next start when it cannot install, and a script killed half-way, after which the
// install folder still runs and the next start tidies up.
#include "Patience.h"
#include "UpdateFixtures.h"

#include "Updater.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

const QString helper = QStringLiteral(BRINDLEWICK_BINARY_DIR "/src/OstrelKit/ostrel-exchange");

class InstallScriptTest : public testing::Test {
protected:
    QString at(const QString &path) const { return dir.filePath(path); }

    // A copy whose program notes in "relaunched" which copy ran and in which folder, plus `extra`
    // bytes of ballast.
    void makeCopy(const QString &folder, const QByteArray &marker, qint64 extra = 0) const
    {
        QDir().mkpath(at(folder + "/bin"));
        QDir().mkpath(at(folder + "/share"));
        QFile program(at(folder + "/bin/kit"));
        ASSERT_TRUE(program.open(QIODevice::WriteOnly));
        program.write("#!/bin/sh\necho " + marker + " \"$PWD\" > '" + at("relaunched").toUtf8() + "'\n");
        program.setPermissions(program.permissions() | QFile::ExeOwner);
        QFile release(at(folder + "/share/release"));
        ASSERT_TRUE(release.open(QIODevice::WriteOnly));
        release.write(marker);
        if (extra > 0) {
            QFile ballast(at(folder + "/share/ballast"));
            ASSERT_TRUE(ballast.open(QIODevice::WriteOnly));
            const QByteArray block(qMin<qint64>(extra, 1024 * 1024), 'b');
            for (qint64 written = 0; written < extra; written += block.size())
                ballast.write(block);
        }
    }

    // Starts the script in a process group of its own, for the program `waitFor` to end, holding the
    // staged folder as the program hands it over.
    void startScript(QProcess &script, qint64 waitFor, const QString &exchange, const QString &target = "app") const
    {
        QFile text(":/ostrel/install.sh");
        ASSERT_TRUE(text.open(QIODevice::ReadOnly));
        const int held = ::open(QFile::encodeName(at("stage/2.0")).constData(), O_RDONLY | O_DIRECTORY);
        ASSERT_EQ(::flock(held, LOCK_SH), 0);
        script.setChildProcessModifier([] { ::setsid(); });
        script.start("/bin/sh", {"-c", QString::fromUtf8(text.readAll()), "ostrel-install", QString::number(waitFor),
                                 at(target), at("stage/2.0"), "1", "bin/kit", exchange, at("work"),
                                 QString::number(held)});
        ::close(held);
        ASSERT_TRUE(script.waitForStarted());
    }

    QString read(const QString &path) const
    {
        QFile file(at(path));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed() : QString();
    }

    // The copies of "app" a script left beside it in `parent`.
    QStringList leftovers(const QString &parent = {}) const
    {
        return QDir(parent.isEmpty() ? dir.path() : parent).entryList({".app.*"}, QDir::Dirs | QDir::Hidden);
    }

    QTemporaryDir dir;
};

struct ScriptRow {
    const char *name;
    QString exchange;
    // What the update meets: nothing, its staged folder gone, a full disk.
    enum class Trouble { none, stageGone, diskFull } trouble = Trouble::none;
    const char *failure = "";
};

TEST_F(InstallScriptTest, SwapsOnceTheProgramHasEndedThenStartsACopyOrSaysWhyNot)
{
    const QList<ScriptRow> rows{
        {"swapped in one step", helper},
        {"swapped in two renames", at("no-such-helper")},
        {"the staged update gone", helper, ScriptRow::Trouble::stageGone, "2.0\nNo such file or directory"},
        {"a full disk", helper, ScriptRow::Trouble::diskFull, "2.0\nNo space left on device"},
    };
    QDir().mkpath(at("work"));
    QStringList skipped;
    for (const ScriptRow &row : rows) {
        SCOPED_TRACE(row.name);
        const bool diskFull = row.trouble == ScriptRow::Trouble::diskFull;
        const SmallDisk disk(at("disk"), "256k");
        if (diskFull && !disk.mounted()) {
            skipped.append(row.name);
            continue;
        }
        const QString target = diskFull ? "disk/app" : "app";
        makeCopy(target, "old");
        makeCopy("stage/2.0", "new", diskFull ? 512 * 1024 : 0);
        // The program runs until the test ends it.
        QProcess running;
        running.start("sleep", {"600"});
        ASSERT_TRUE(running.waitForStarted());
        QProcess script;
        startScript(script, running.processId(), row.exchange, target);
        if (row.trouble == ScriptRow::Trouble::stageGone)
            QDir(at("stage/2.0")).removeRecursively();
        QTest::qWait(200);
        EXPECT_EQ(read(target + "/share/release"), "old") << "nothing moves while the program runs";
        running.kill();
        ASSERT_TRUE(running.waitForFinished());
        ASSERT_TRUE(script.waitForFinished(patienceMs));
        const bool installs = row.trouble == ScriptRow::Trouble::none;
        EXPECT_EQ(read(target + "/share/release"), installs ? "new" : "old");
        EXPECT_EQ(read("relaunched"), QString(installs ? "new " : "old ") + at("work")) << "in the folder it was started in";
        EXPECT_EQ(read("stage/install-failed"), row.failure);
        EXPECT_EQ(leftovers(QFileInfo(at(target)).path()), QStringList());
        EXPECT_FALSE(QFile::exists(at("stage/2.0")));
        QDir(at(target)).removeRecursively();
        QDir(at("stage")).removeRecursively();
        QFile::remove(at("relaunched"));
    }
    if (!skipped.isEmpty())
        GTEST_SKIP() << "this system does not let the test mount a small file system: "
                     << skipped.join("; ").toStdString();
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
    EXPECT_TRUE(read("relaunched").startsWith("old "));
    ASSERT_FALSE(leftovers().isEmpty());
    UpdaterSetup setup;
    setup.bundle = {"Kit", "1.0", QUrl("http://127.0.0.1:9/feed.json"), QByteArray(32, 'k')};
    setup.executable = at("app/bin/kit");
    setup.cacheFolder = at("cache");
    Updater(setup).start();
    EXPECT_EQ(leftovers(), QStringList());
    EXPECT_EQ(read("app/share/release"), "old");
}

} // namespace
