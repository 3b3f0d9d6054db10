// Updating an installed copy, played on the real binary: the build is installed into a prefix of the
// test's own, a release of it is made with scripts/release and a key made here, and served from
// 127.0.0.1. The running copy says it is an older version, so the feed's version is newer.
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

class UpdateTest : public EndToEndTest {
protected:
    void SetUp() override
    {
        ASSERT_EQ(QProcess::execute("cmake", {"--install", BRINDLEWICK_BINARY_DIR, "--prefix", path("app")}), 0);
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
        QFile archive(path("www/" + announced["url"].toString().section('/', -1)));
        ASSERT_TRUE(archive.open(QIODevice::ReadOnly));
        server.serve("/feed.json", {200, feed});
        server.serve("/" + QFileInfo(archive).fileName(), {200, archive.readAll()});

        writeFile("config/Brindlewick/settings.json", "{\"welcomeDone\": true}");
        StickyNote milk(QUuid::createUuid(), "Milk", NoteColor::mint, Date::current());
        milk.tucked = true;
        writeFile("data/notes.json", *NoteCoding::encode(NoteBook{{milk}}));
    }

    void TearDown() override
    {
        EndToEndTest::TearDown();
        const QString relaunched = Desktop::output("pgrep", {"-f", path("app/bin/brindlewick")});
        for (const QString &pid : relaunched.split('\n', Qt::SkipEmptyParts))
            ::kill(pid.toInt(), SIGTERM);
        // Its windows must be gone before the next test looks for the program's windows.
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return Desktop::output("pgrep", {"-f", path("app/bin/brindlewick")}).isEmpty(); }, 5000))
            << "the relaunched copy ends on SIGTERM";
    }

    void launchInstalled(const QString &version)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("BRINDLEWICK_DATA_DIR", path("data"));
        environment.insert("XDG_CONFIG_HOME", path("config"));
        environment.insert("XDG_CACHE_HOME", path("cache"));
        environment.insert("OstrelUpdateFeedURL", server.url("/feed.json"));
        environment.insert("OstrelUpdatePublicKey", QString::fromLatin1(publicKey));
        environment.insert("CFBundleShortVersionString", version);
        environment.remove("QT_QPA_PLATFORM");
        brindlewick.setProcessEnvironment(environment);
        brindlewick.setProcessChannelMode(QProcess::ForwardedChannels);
        brindlewick.start(path("app/bin/brindlewick"), {});
    }

    // The File menu of "All Notes" by pointer, then its "Check for Updates…" by keyboard: the last
    // items are "Check for Updates…", "Settings…" and "Quit Brindlewick".
    static void chooseCheckForUpdates(const QString &library)
    {
        xdotool({"mousemove", "--window", library, "18", "10", "click", "1"});
        QTest::qWait(400);
        xdotool({"key", "--delay", "80", "Up", "Up", "Up", "Return"});
    }

    LoopbackServer server;
    QByteArray publicKey;
};

TEST_F(UpdateTest, CheckForUpdatesInstallsTheNewVersionOnQuitAndRelaunchesIt)
{
    launchInstalled("0.0.9");
    ASSERT_TRUE(brindlewick.waitForStarted(5000));
    QString library;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !(library = visibleWindow("All Notes")).isEmpty(); }, 10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return xdotool({"getactivewindow"}) == library; }, 5000));

    chooseCheckForUpdates(library);
    QString window;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !(window = visibleWindow("Software Update")).isEmpty(); }, 5000))
        << "Check for Updates… opens the update window";
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.requests().contains("GET /feed.json Brindlewick/0.0.9"); }, 5000));
    QTest::qWait(500);
    xdotool({"windowactivate", "--sync", window});
    xdotool({"key", "Return"});

    // Waiting with the event loop running, so the server in this process keeps serving.
    ASSERT_TRUE(QTest::qWaitFor([&] { return brindlewick.state() == QProcess::NotRunning; }, 20000))
        << "Install and Relaunch quits the program once the update is staged";
    EXPECT_EQ(brindlewick.exitCode(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.requests().contains("GET /feed.json Brindlewick/0.1.0"); }, 20000))
        << "the new version runs from the install folder and checks as itself";
    EXPECT_FALSE(Desktop::output("pgrep", {"-f", path("app/bin/brindlewick")}).isEmpty());

    EXPECT_FALSE(QFile::exists(path("app/share/brindlewick/installed-before"))) << "the folder is the release's";
    EXPECT_TRUE(QFileInfo(path("app/bin/brindlewick")).isExecutable());
    EXPECT_EQ(QDir(dir.path()).entryList({".app.*"}, QDir::Dirs | QDir::Hidden), QStringList()) << "no old copy left";
    EXPECT_FALSE(QFile::exists(path("cache/Brindlewick/updates"))) << "no stage left";
    const std::optional<NoteBook> book = notebook();
    ASSERT_TRUE(book);
    ASSERT_EQ(book->notes.size(), 1);
    EXPECT_EQ(book->notes.first().text, "Milk");
    EXPECT_EQ(settings().value("OstrelAnnounced-0.1.0"), true) << "the kit keeps its settings in the program's file";
}

} // namespace
