// Updating an installed copy, played on the real program: the build is installed into a prefix of the
// test's own, a release of it is made with scripts/release and a key made here, and served from
// 127.0.0.1. The installed program is the one built to update from this machine, so the test can name
// its feed and key, and it says it is an older version, so the release is newer. A note is on the
// desktop, as it usually is, and its window does not close when asked.
#include "Desktop.h"
#include "EndToEndTest.h"
#include "LoopbackServer.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <csignal>

namespace {

using Desktop::visibleWindow;
using Desktop::xdotool;

// Taller than the window while it checks: it shows the release notes.
constexpr int offerHeight = 200;

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// How the program's folders are named when it starts: in full, or from the folder it is started in.
enum class Folders { absolute, relative };

class UpdateTest : public EndToEndTest {
protected:
    void SetUp() override
    {
        ASSERT_EQ(QProcess::execute("cmake", {"--install", BRINDLEWICK_BINARY_DIR, "--prefix", path("app")}), 0);
        ASSERT_TRUE(QFile::remove(program()));
        ASSERT_TRUE(QFile::copy(BRINDLEWICK_BINARY_DIR "/tests/brindlewick-updating-here", program()));
        writeFile("app/share/brindlewick/installed-before", "the old copy");
        ASSERT_EQ(QProcess::execute("openssl", {"genpkey", "-algorithm", "ed25519", "-out", path("maker.pem")}), 0);
        const QByteArray publicDer =
            Desktop::run("openssl", {"pkey", "-in", path("maker.pem"), "-pubout", "-outform", "DER"});
        publicKey = publicDer.right(32).toBase64();

        QProcess release;
        release.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        release.start(QStringLiteral(BRINDLEWICK_TEST_SUPPORT "/../../scripts/release"),
                      {"--key", path("maker.pem"), "--url", server.url(""), "--notes", "Rounder tape.", "--build",
                       BRINDLEWICK_BINARY_DIR, "--out", path("www")});
        ASSERT_TRUE(release.waitForFinished(120000));
        const QByteArray feed = release.readAllStandardOutput();
        const QJsonObject announced = QJsonDocument::fromJson(feed).object();
        ASSERT_FALSE(announced.isEmpty()) << feed.toStdString();
        const QString archive = path("www/" + announced["url"].toString().section('/', -1));
        server.serve("/feed.json", {200, feed});
        server.serve("/" + QFileInfo(archive).fileName(), {200, readAll(archive)});
        releasedProgram = Desktop::run("tar", {"-xJOf", archive, "./bin/brindlewick"});
        ASSERT_FALSE(releasedProgram.isEmpty());

        writeFile("config/Brindlewick/settings.json", "{\"welcomeDone\": true}");
        StickyNote milk(QUuid::createUuid(), "Milk", NoteColor::mint, Date::current());
        milk.frame = NoteFrame{200, 300, 250, 230};
        writeFile("data/notes.json", *NoteCoding::encode(NoteBook{{milk}}));
    }

    void TearDown() override
    {
        EndToEndTest::TearDown();
        for (const QString &pid : runningCopies())
            ::kill(pid.toInt(), SIGTERM);
        // Its windows must be gone before the next test looks for the program's windows.
        EXPECT_TRUE(QTest::qWaitFor([&] { return runningCopies().isEmpty(); }, patienceMs))
            << "the relaunched copy ends on SIGTERM";
    }

    QString program() const { return path("app/bin/brindlewick"); }

    QStringList runningCopies() const
    {
        return Desktop::output("pgrep", {"-f", program()}).split('\n', Qt::SkipEmptyParts);
    }

    // A relative cache folder is one the XDG rules say to ignore, so the home's is used instead.
    QString cacheFolder() const
    {
        return folders == Folders::absolute ? path("cache/Brindlewick") : path("home/.cache/Brindlewick");
    }

    void launchInstalled(QProcess &process)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("BRINDLEWICK_DATA_DIR", path("data"));
        environment.insert("XDG_CONFIG_HOME", path("config"));
        environment.insert("XDG_CACHE_HOME", path("cache"));
        if (folders == Folders::relative) {
            process.setWorkingDirectory(dir.path());
            environment.insert("BRINDLEWICK_DATA_DIR", "data");
            environment.insert("XDG_CACHE_HOME", "cache");
            environment.insert("HOME", path("home"));
        }
        environment.insert("XDG_STATE_HOME", path("state"));
        environment.insert("OstrelUpdateFeedURL", server.url("/feed.json"));
        environment.insert("OstrelUpdatePublicKey", QString::fromLatin1(publicKey));
        environment.insert("CFBundleShortVersionString", "0.0.9");
        environment.remove("QT_QPA_PLATFORM");
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start(program(), {});
    }

    // Launching the program again brings up "All Notes" in the running one.
    QString reopenLibrary()
    {
        launchInstalled(second);
        QString library;
        EXPECT_TRUE(QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, patienceMs));
        EXPECT_TRUE(QTest::qWaitFor([&] { return !(library = visibleWindow("All Notes")).isEmpty(); }, patienceMs));
        EXPECT_TRUE(QTest::qWaitFor([&] { return xdotool({"getactivewindow"}) == library; }, patienceMs));
        return library;
    }

    // The File menu of "All Notes" by pointer, then its "Check for Updates…" by keyboard: the last
    // items are "Check for Updates…", "Settings…" and "Quit Brindlewick".
    static void chooseCheckForUpdates(const QString &library)
    {
        const qsizetype windows = programWindows().size();
        xdotool({"mousemove", "--window", library, "18", "10", "click", "1"});
        ASSERT_TRUE(QTest::qWaitFor([&] { return programWindows().size() > windows; }, patienceMs))
            << "the File menu opens";
        xdotool({"key", "--delay", "80", "Up", "Up", "Up", "Return"});
    }

    void expectTheReleaseInstalledAndTheNotesIntact() const
    {
        EXPECT_EQ(readAll(program()), releasedProgram) << "the folder holds the release's program";
        EXPECT_FALSE(QFile::exists(path("app/share/brindlewick/installed-before"))) << "the folder is the release's";
        EXPECT_EQ(QDir(dir.path()).entryList({".app.*"}, QDir::Dirs | QDir::Hidden), QStringList()) << "no old copy left";
        EXPECT_TRUE(QDir(cacheFolder() + "/updates").isEmpty()) << "no stage left";
        const std::optional<NoteBook> book = notebook();
        ASSERT_TRUE(book);
        ASSERT_EQ(book->notes.size(), 1);
        EXPECT_EQ(book->notes.first().text, "Milk");
    }

    LoopbackServer server;
    QByteArray publicKey;
    QByteArray releasedProgram;
    Folders folders = Folders::absolute;
};

class RelaunchTest : public UpdateTest, public testing::WithParamInterface<Folders> {};

// The new version starts in the folder and with the environment the old one had, so it finds the same
// notes however their folder is named.
TEST_P(RelaunchTest, InstallAndRelaunchEndsTheProgramAndTheNewVersionRunsFromTheSameFolder)
{
    folders = GetParam();
    launchInstalled(brindlewick);
    ASSERT_TRUE(brindlewick.waitForStarted(patienceMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !noteWindow().isEmpty(); }, patienceMs));
    chooseCheckForUpdates(reopenLibrary());
    QString window;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !(window = visibleWindow("Software Update")).isEmpty(); }, patienceMs))
        << "Check for Updates… opens the update window";
    ASSERT_TRUE(QTest::qWaitFor([&] { return Desktop::size(window).height() > offerHeight; }, patienceMs))
        << "the window offers the release with its notes";
    EXPECT_TRUE(server.requests().contains("GET /feed.json Brindlewick/0.0.9"));
    xdotool({"windowactivate", "--sync", window});
    xdotool({"key", "Return"});

    // Waiting with the event loop running, so the server in this process keeps serving.
    ASSERT_TRUE(QTest::qWaitFor([&] { return brindlewick.state() == QProcess::NotRunning; }, patienceMs))
        << "Install and Relaunch ends the program, its note window open or not";
    EXPECT_EQ(brindlewick.exitCode(), 0);
    QString relaunched;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !(relaunched = runningCopies().value(0)).isEmpty(); }, patienceMs))
        << "the new version is started";
    EXPECT_EQ(QFileInfo("/proc/" + relaunched + "/exe").symLinkTarget(), program()) << "from the same folder";
    EXPECT_TRUE(QTest::qWaitFor([&] {
        const QString note = noteWindow();
        return !note.isEmpty() && xdotool({"getwindowpid", note}) == relaunched;
    }, patienceMs)) << "the new version shows the note";
    expectTheReleaseInstalledAndTheNotesIntact();
    EXPECT_EQ(settings().value("OstrelAnnounced-0.1.0"), true) << "the kit keeps its settings in the program's file";
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther |
                                      QFile::WriteOther | QFile::ExeOther;
    EXPECT_FALSE(QFileInfo(cacheFolder()).permissions() & others) << "the cache folder is the user's alone";
}

INSTANTIATE_TEST_SUITE_P(Folders, RelaunchTest, testing::Values(Folders::absolute, Folders::relative));

TEST_F(UpdateTest, AQuitAfterAQuietDownloadInstallsTheNewVersionWithoutStartingIt)
{
    writeFile("config/Brindlewick/settings.json", "{\"welcomeDone\": true, \"OstrelAutoUpdate\": true}");
    launchInstalled(brindlewick);
    ASSERT_TRUE(brindlewick.waitForStarted(patienceMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !noteWindow().isEmpty(); }, patienceMs));
    // The stage of this copy: the only one there is.
    const auto staged = [&] {
        QDir updates(cacheFolder() + "/updates");
        const QStringList copies = updates.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        return copies.size() == 1 ? QDir(updates.filePath(copies.first())).entryList(QDir::AllEntries | QDir::Hidden |
                                                                                        QDir::NoDotAndDotDot)
                                  : QStringList();
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return staged() == QStringList{"0.1.0"}; }, 60000))
        << "the daily check downloads and stages the release by itself, and keeps nothing else";

    const QString library = reopenLibrary();
    const qint64 quitting = brindlewick.processId();
    ASSERT_FALSE(library.isEmpty());
    xdotool({"key", "ctrl+q"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return brindlewick.state() == QProcess::NotRunning; }, patienceMs));
    EXPECT_EQ(brindlewick.exitCode(), 0);
    const QString installer = "ostrel-install " + QString::number(quitting) + " ";
    ASSERT_TRUE(QTest::qWaitFor([&] { return Desktop::output("pgrep", {"-f", installer}).isEmpty(); }, patienceMs))
        << "the install script has done its work";
    EXPECT_EQ(runningCopies(), QStringList()) << "a quit the user made is not undone";
    expectTheReleaseInstalledAndTheNotesIntact();
}

} // namespace
