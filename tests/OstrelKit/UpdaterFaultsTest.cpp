// The updater against a feed and archives served from 127.0.0.1, signed with a key made here: the
// good update is staged, and every fault leaves the stage empty, the install folder as it was and
// one sentence for the user.
#include "LoopbackServer.h"
#include "OtherUser.h"
#include "Patience.h"
#include "UpdateFixtures.h"

#include "Ostrel.h"
#include "OstrelCommands.h"
#include "Transfer.h"
#include "UpdateSettingsView.h"
#include "UpdateStage.h"
#include "UpdateWindow.h"
#include "Updater.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

const QString program = QStringLiteral("kit");

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What one row serves: a feed announcing an archive, both changeable before they are served.
struct Release {
    TestKey key;
    TestKey otherKey;
    QJsonObject feed;
    QByteArray archive;
    QByteArray rawFeed;
    // The path the server sends one byte at a time.
    QString dripping;
    // Answers served instead of the feed's and the archive's.
    QHash<QString, LoopbackServer::Response> routes;

    void pack(const QList<TestEntry> &entries)
    {
        archive = makeArchive(entries);
        sign("2.0");
    }

    // The maker's signature over the archive as version `version` of `name`.
    void sign(const QString &version, const QString &name = "Kit")
    {
        const QByteArray manifest = "name " + name.toUtf8() + "\nversion " + version.toUtf8() + "\nsize " +
                                    QByteArray::number(archive.size()) + "\nsha256 " +
                                    QCryptographicHash::hash(archive, QCryptographicHash::Sha256).toHex() + "\n";
        feed["manifest"] = QString::fromUtf8(manifest);
        feed["signature"] = QString::fromLatin1(key.sign(manifest).toBase64());
        signNotes(key);
    }

    void signNotes(const TestKey &signer)
    {
        const QByteArray notes = feed.value("manifest").toString().toUtf8() + feed.value("notes").toString().toUtf8();
        feed["notesSignature"] = QString::fromLatin1(signer.sign(notes).toBase64());
    }
};

// Makes the folder unwritable even for root, where the file system allows it.
bool lock(const QString &folder, bool locked)
{
    if (::geteuid() != 0)
        return QFile::setPermissions(folder, locked ? QFile::ReadOwner | QFile::ExeOwner
                                                    : QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return QProcess::execute("chattr", {locked ? "+i" : "-i", folder}) == 0;
}

// The window shows every line of what it says, and Return closes it once there is nothing to choose.
void expectToldInFull(UpdateWindow &window)
{
    window.show();
    for (const QLabel *label : window.findChildren<QLabel *>()) {
        if (label->isVisible()) {
            EXPECT_GE(label->height(), label->heightForWidth(label->width())) << label->text().toStdString();
        }
    }
    const auto buttons = window.findChildren<QPushButton *>();
    const bool onlyOk = std::none_of(buttons.begin(), buttons.end(), [](const QPushButton *button) {
        return button->isVisible() && button->text() != "OK";
    });
    QTest::keyClick(&window, Qt::Key_Return);
    EXPECT_EQ(window.isVisible(), !onlyOk);
    window.close();
}

// Where the program lies and stages: as usual, in a folder it cannot write, on a small disk, on a disk
// with room for few files, through another user's link.
enum class Place { usual, locked, smallDisk, fewFiles, plantedLink };

struct Row {
    const char *fault;
    std::function<void(Release &)> arrange;
    Updater::State ends;
    const char *told;
    Place place = Place::usual;
};

QByteArray noise(qsizetype size)
{
    QByteArray bytes(size, '\0');
    QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(bytes.data()), size / 4);
    return bytes;
}

class UpdaterFaultsTest : public testing::Test {
protected:
    void SetUp() override
    {
        for (const TestEntry &entry : installEntries(program, "old")) {
            if (entry.kind == TestEntry::Kind::directory)
                QDir().mkpath(install(entry.path));
            else {
                QFile file(install(entry.path));
                ASSERT_TRUE(file.open(QIODevice::WriteOnly));
                file.write(entry.content);
                file.setPermissions(file.permissions() | QFile::ExeOwner);
            }
        }
    }

    QString install(const QString &path = {}) const { return dir.filePath("app/" + path); }
    QString cache() const { return dir.filePath("cache"); }
    UpdateStage stage() const { return UpdateStage(cache(), QFileInfo(install()).canonicalFilePath()); }
    QStringList staged() const
    {
        return QDir(stage().folder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    UpdaterSetup setup(const LoopbackServer &server, const QByteArray &publicKey, const QString &cacheFolder = {}) const
    {
        UpdaterSetup setup;
        setup.bundle = {"Kit", "1.0", QUrl(server.url("/feed.json")), publicKey};
        setup.executable = install("bin/" + program);
        setup.cacheFolder = cacheFolder.isEmpty() ? cache() : cacheFolder;
        // Short limits, each well apart from the byte every 100 ms of a dripping answer.
        setup.feedTimeoutMs = 2000;
        setup.downloadTimeoutMs = 2000;
        setup.feedTimeLimitMs = 5000;
        setup.downloadTimeLimitBaseMs = 5000;
        return setup;
    }

    // A good release of 2.0 on `server`.
    static void publish(Release &release, LoopbackServer &server)
    {
        release.feed = {{"version", "2.0"}, {"url", server.url("/kit-2.0.tar.xz")}};
        release.pack(installEntries(program, "new"));
        server.serve("/feed.json", {200, QJsonDocument(release.feed).toJson()});
        server.serve("/kit-2.0.tar.xz", {200, release.archive});
    }

    // A cache folder shared by everyone, sticky as /tmp is, where another user made the program's own name
    // a link to a folder of theirs that anyone may write in; false where only root could arrange it.
    bool plantLink() const
    {
        QDir().mkpath(shared());
        QDir().mkpath(theirs());
        QFile::link(theirs(), shared() + "/Kit");
        return ::chmod(QFile::encodeName(shared()).constData(), 01777) == 0 &&
               ::chmod(QFile::encodeName(theirs()).constData(), 0777) == 0 && OtherUser::owns(theirs()) &&
               OtherUser::owns(shared() + "/Kit");
    }
    QString shared() const { return dir.filePath("shared"); }
    QString theirs() const { return dir.filePath("theirs"); }

    bool installUntouched() const
    {
        return readAll(install("share/kit/release")) == "old" && QDir(dir.filePath(".")).entryList(QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot).filter("app").size() == 1;
    }

    QTemporaryDir dir;
};

TEST_F(UpdaterFaultsTest, TheGoodUpdateIsStagedAndEveryFaultIsRefusedAndTold)
{
    const QList<Row> rows{
        {"a good update", [](Release &) {}, Updater::State::ready, "ready to install when you quit"},
        {"signed with another key",
         [](Release &r) {
             r.feed["signature"] = QString::fromLatin1(r.otherKey.sign(r.feed["manifest"].toString().toUtf8()).toBase64());
         },
         Updater::State::failed, "not signed by the maker"},
        {"one byte changed", [](Release &r) { r.archive[r.archive.size() / 2] = char(r.archive[r.archive.size() / 2] ^ 1); },
         Updater::State::failed, "not the one signed by the maker"},
        {"a rolled-back version behind a newer feed version", [](Release &r) { r.sign("0.9"); }, Updater::State::failed,
         "offered as 2.0 is signed as version 0.9, which is not newer than the 1.0 you have"},
        {"the running version inside the signed data", [](Release &r) { r.sign("1.0"); }, Updater::State::failed,
         "signed as version 1.0, which is not newer"},
        {"a signed version other than the feed's", [](Release &r) { r.sign("3.0"); }, Updater::State::failed,
         "offered as 2.0 is signed as version 3.0"},
        {"signed for another program", [](Release &r) { r.sign("2.0", "Other"); }, Updater::State::failed,
         "signed for another program"},
        {"a manifest that is not one", [](Release &r) { r.feed["manifest"] = "version 2.0"; }, Updater::State::failed,
         "is not valid"},
        {"shorter than announced", [](Release &r) { r.archive.chop(7); }, Updater::State::failed,
         "ended before it was complete"},
        {"cut off by the server",
         [](Release &r) { r.routes["/kit-2.0.tar.xz"] = {200, r.archive.left(r.archive.size() / 2), {}, r.archive.size()}; },
         Updater::State::failed, "The download ended before it was complete."},
        {"sent on to a file on this computer",
         [](Release &r) { r.routes["/kit-2.0.tar.xz"] = {302, {}, "file:///etc/passwd"}; }, Updater::State::failed,
         "The update server sent Kit to an address that is not secure."},
        {"sent on to data", [](Release &r) { r.routes["/feed.json"] = {302, {}, "data:,{}"}; }, Updater::State::failed,
         "to an address that is not secure"},
        {"sent round in a loop", [](Release &r) { r.routes["/feed.json"] = {302, {}, "/feed.json"}; },
         Updater::State::failed, "kept sending Kit on to other addresses"},
        {"a full disk during the download",
         [](Release &r) {
             r.pack(installEntries(program, "new") << TestEntry{"share/kit/noise", TestEntry::Kind::file, noise(512 * 1024), {}});
         },
         Updater::State::failed, "The update could not be saved because the disk is full.", Place::smallDisk},
        {"longer than announced", [](Release &r) { r.archive.append("trailing bytes"); }, Updater::State::failed,
         "larger than announced"},
        {"an entry with ../",
         [](Release &r) { r.pack(installEntries(program, "new") << TestEntry{"bin/../../evil", TestEntry::Kind::file, "x", {}}); },
         Updater::State::failed, "outside its folder"},
        {"an absolute path",
         [](Release &r) { r.pack(installEntries(program, "new") << TestEntry{"/tmp/ostrel-evil", TestEntry::Kind::file, "x", {}}); },
         Updater::State::failed, "outside its folder"},
        {"a link out of the stage",
         [](Release &r) { r.pack(installEntries(program, "new") << TestEntry{"share/kit/out", TestEntry::Kind::symlink, {}, "../../../.."}); },
         Updater::State::failed, "a link that leads out of its folder"},
        {"a link out through another link",
         [](Release &r) {
             r.pack(installEntries(program, "new") << TestEntry{"share/here", TestEntry::Kind::symlink, {}, "."}
                                                   << TestEntry{"share/up", TestEntry::Kind::symlink, {}, "here/../.."});
         },
         Updater::State::failed, "a link that leads out of its folder"},
        {"a file written through a link",
         [](Release &r) {
             r.pack(installEntries(program, "new") << TestEntry{"share/bin", TestEntry::Kind::symlink, {}, "../bin"}
                                                   << TestEntry{"share/bin/evil", TestEntry::Kind::file, "x", {}});
         },
         Updater::State::failed, "a link that leads out of its folder"},
        {"a hard link to a file it does not hold",
         [](Release &r) { r.pack(installEntries(program, "new") << TestEntry{"share/kit/passwd", TestEntry::Kind::hardlink, {}, "etc/passwd"}); },
         Updater::State::failed, "a link that leads out of its folder"},
        {"a device file",
         [](Release &r) { r.pack(installEntries(program, "new") << TestEntry{"share/kit/pipe", TestEntry::Kind::fifo, {}, {}}); },
         Updater::State::failed, "special file"},
        // On a disk with room for fewer files than it holds, so that writing before the check would meet a
        // full disk.
        {"more entries than a program has",
         [](Release &r) {
             QList<TestEntry> entries = installEntries(program, "new");
             for (int i = 0; i < 5000; ++i)
                 entries.append({"share/kit/" + QString::number(i), TestEntry::Kind::file, {}, {}});
             r.pack(entries);
         },
         Updater::State::failed, "The update holds too many files, so it was not installed.", Place::fewFiles},
        // On a disk smaller than the bomb, so that writing before the check would meet a full disk.
        {"a bomb", [](Release &r) {
             r.pack(installEntries(program, "new") << TestEntry{"share/kit/zeros", TestEntry::Kind::file, QByteArray(16 << 20, '\0'), {}});
         },
         Updater::State::failed, "too large once unpacked", Place::smallDisk},
        {"not a copy of the program", [](Release &r) { r.pack({{"share/readme", TestEntry::Kind::file, "hello", {}}}); },
         Updater::State::failed, "not a complete copy"},
        {"an older program under the signed number", [](Release &r) { r.pack(installEntries(program, "new", "1.5")); },
         Updater::State::failed, "The update signed as version 2.0 holds Kit 1.5, so it was not installed."},
        {"a program that names no version", [](Release &r) { r.pack(installEntries(program, "new").mid(0, 5)); },
         Updater::State::failed, "does not say which version of Kit it holds"},
        {"a garbage feed", [](Release &r) { r.rawFeed = "<html>surprise</html>"; }, Updater::State::failed,
         "is not valid"},
        {"a feed of wrong types", [](Release &r) { r.feed["manifest"] = 42; }, Updater::State::failed, "is not valid"},
        {"a feed too large", [](Release &r) { r.feed["notes"] = QString(70 * 1024, 'a'); }, Updater::State::failed,
         "too large to be genuine"},
        {"an archive over plain HTTP elsewhere", [](Release &r) { r.feed["url"] = "http://example.invalid/u.tar.xz"; },
         Updater::State::failed, "is not valid"},
        {"a lower version", [](Release &r) { r.feed["version"] = "0.9"; }, Updater::State::upToDate, "Kit 1.0 is up to date."},
        {"the same version", [](Release &r) { r.feed["version"] = "1.0.0"; }, Updater::State::upToDate, "is up to date"},
        {"a 404", [](Release &r) { r.rawFeed = "404"; }, Updater::State::failed, "error 404"},
        {"a server that never answers", [](Release &r) { r.rawFeed = "silent"; }, Updater::State::failed,
         "did not answer in time"},
        {"a dripping feed", [](Release &r) { r.dripping = "/feed.json"; }, Updater::State::failed,
         "sent the update information too slowly"},
        {"a dripping archive", [](Release &r) { r.dripping = "/kit-2.0.tar.xz"; }, Updater::State::failed,
         "download was too slow to finish in time"},
        {"an install folder that cannot be written", [](Release &) {}, Updater::State::available, "cannot be written",
         Place::locked},
        {"a stage reached through another user's link in a shared cache folder", [](Release &) {},
         Updater::State::failed, "The update was not downloaded, as “", Place::plantedLink},
    };

    QStringList skipped;
    for (const Row &row : rows) {
        SCOPED_TRACE(row.fault);
        Release release;
        LoopbackServer server;
        release.feed = {{"version", "2.0"}, {"url", server.url("/kit-2.0.tar.xz")}, {"notes", "Faster tape."}};
        release.pack(installEntries(program, "new"));
        row.arrange(release);
        if (release.rawFeed == "silent")
            server.silence("/feed.json");
        else if (release.rawFeed != "404")
            server.serve("/feed.json", {200, release.rawFeed.isEmpty() ? QJsonDocument(release.feed).toJson() : release.rawFeed});
        server.serve("/kit-2.0.tar.xz", {200, release.archive});
        for (const auto &[path, response] : release.routes.asKeyValueRange())
            server.serve(path, response);
        if (!release.dripping.isEmpty())
            server.drip(release.dripping, 100);
        if (row.place == Place::locked && !lock(install(), true)) {
            skipped.append(QString(row.fault) + ": this file system cannot make a folder unwritable for root");
            continue;
        }
        const std::optional<SmallDisk> disk =
            row.place == Place::smallDisk  ? std::make_optional<SmallDisk>(cache(), "256k")
            : row.place == Place::fewFiles ? std::make_optional<SmallDisk>(cache(), "1m", 100)
                                           : std::nullopt;
        if (disk && !disk->mounted()) {
            skipped.append(QString(row.fault) + ": this system does not let the test mount a small file system");
            continue;
        }
        const bool planted = row.place == Place::plantedLink;
        if (planted && !plantLink()) {
            skipped.append(QString(row.fault) + ": only root can act for another user");
            continue;
        }

        Updater updater(setup(server, release.key.publicKey(), planted ? shared() + "/Kit" : QString()));
        UpdateWindow window(updater);
        updater.checkNow();
        EXPECT_EQ(window.headline(), "Checking…");
        ASSERT_TRUE(QTest::qWaitFor([&] { return updater.state() != Updater::State::checking; }, 30000));
        if (updater.state() == Updater::State::available && !updater.installRefusal()) {
            EXPECT_EQ(window.headline(), "Kit 2.0 is available.");
            EXPECT_EQ(window.detail(), "You have 1.0.");
            updater.installAndRelaunch();
            ASSERT_TRUE(QTest::qWaitFor([&] {
                return updater.state() == Updater::State::ready || updater.state() == Updater::State::failed;
            }, 30000));
        }
        EXPECT_EQ(updater.state(), row.ends);
        EXPECT_TRUE((window.headline() + " " + window.detail()).contains(row.told)) << window.headline().toStdString();
        if (row.place == Place::locked)
            lock(install(), false);
        EXPECT_TRUE(installUntouched());
        if (row.ends == Updater::State::ready)
            EXPECT_EQ(readAll(stage().versionFolder("2.0") + "/share/kit/release"), "new");
        else
            EXPECT_EQ(staged(), QStringList()) << "nothing stays staged after a refusal";
        EXPECT_FALSE(QFile::exists("/tmp/ostrel-evil"));
        EXPECT_TRUE(QDir(theirs()).isEmpty()) << "nothing made in another user's folder";
        expectToldInFull(window);
        for (const QString &folder : {cache(), shared(), theirs()})
            QDir(folder).removeRecursively();
    }
    if (!skipped.isEmpty())
        GTEST_SKIP() << skipped.join("; ").toStdString();
}

// A background check announces a new version until the update window has shown it; with automatic
// updates on it is staged without a word.
TEST_F(UpdaterFaultsTest, BackgroundChecksAnnounceUntilShownOrStageQuietly)
{
    Release release;
    LoopbackServer server;
    publish(release, server);
    UpdaterSetup quick = setup(server, release.key.publicKey());
    quick.firstCheckDelayMs = 10;

    int announced = 0;
    for (const bool windowShows : {false, true, true}) {
        Updater updater(quick);
        UpdateWindow window(updater);
        QObject::connect(&updater, &Updater::announce, [&] {
            ++announced;
            if (windowShows)
                window.bringForward();
        });
        updater.start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return updater.state() == Updater::State::available; }, patienceMs));
    }
    EXPECT_EQ(announced, 2) << "announced again after a run whose window did not show it, not after one that did";
    EXPECT_EQ(quick.defaults.boolValue("OstrelAnnounced-2.0"), true);

    Updater automatic(quick);
    automatic.setAutoUpdate(true);
    QObject::connect(&automatic, &Updater::announce, [&] { ++announced; });
    automatic.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return automatic.state() == Updater::State::ready; }, patienceMs));
    EXPECT_EQ(announced, 2);
    EXPECT_TRUE(server.requests().contains("GET /feed.json Kit/1.0"));
}

// An update the install script could not put in place is said once, at the next start, and is not
// staged by itself again: it waits until the user chooses to install it.
TEST_F(UpdaterFaultsTest, AFailedInstallIsToldAtTheNextStartAndWaitsForTheUser)
{
    Release release;
    LoopbackServer server;
    publish(release, server);
    UpdaterSetup quick = setup(server, release.key.publicKey());
    quick.firstCheckDelayMs = 10;
    quick.defaults.setBool("OstrelAutoUpdate", true);
    ASSERT_TRUE(stage().make());
    QFile record(stage().folder() + "/install-failed");
    ASSERT_TRUE(record.open(QIODevice::WriteOnly));
    record.write("2.0\nNo space left on device\n");
    record.close();

    for (const bool first : {true, false}) {
        Updater updater(quick);
        UpdateWindow window(updater);
        QObject::connect(&updater, &Updater::announce, &window, &UpdateWindow::bringForward);
        updater.start();
        EXPECT_EQ(QTest::qWaitFor([&] { return window.isVisible(); }, first ? patienceMs : 300), first);
        if (first) {
            EXPECT_EQ(window.headline(), "The update to 2.0 could not be installed: No space left on device.");
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return updater.state() == Updater::State::available; }, patienceMs));
        EXPECT_EQ(window.detail(), "You have 1.0. The last try to install it failed: No space left on device.");
        QTest::qWait(200);
        EXPECT_EQ(updater.state(), Updater::State::available) << "not downloaded by itself";
        if (first)
            continue;
        updater.installAndRelaunch();
        ASSERT_TRUE(QTest::qWaitFor([&] { return updater.state() == Updater::State::ready; }, patienceMs));
    }
    EXPECT_FALSE(stage().failure()) << "forgotten once the user chose to install it again";
}

// Two programs running from one install folder share its stage and never drop each other's update;
// a copy installed elsewhere has a stage of its own.
TEST_F(UpdaterFaultsTest, EachCopyHasItsStageAndNoProgramRemovesAnUpdateAnotherHolds)
{
    Release release;
    LoopbackServer server;
    publish(release, server);
    const auto downloads = [&] { return server.requests().filter("/kit-2.0.tar.xz").size(); };
    const auto stageOf = [&](Updater &updater) {
        updater.start();
        updater.checkNow();
        EXPECT_TRUE(QTest::qWaitFor([&] { return updater.state() == Updater::State::available; }, patienceMs));
        updater.installAndRelaunch();
        EXPECT_TRUE(QTest::qWaitFor([&] { return updater.state() == Updater::State::ready; }, patienceMs));
    };

    auto first = std::make_unique<Updater>(setup(server, release.key.publicKey()));
    stageOf(*first);
    Updater second(setup(server, release.key.publicKey()));
    stageOf(second);
    EXPECT_EQ(downloads(), 1) << "the second takes the version the first staged";
    first.reset();
    Updater(setup(server, release.key.publicKey())).start();
    EXPECT_EQ(readAll(stage().versionFolder("2.0") + "/share/kit/release"), "new") << "still held by the second";

    QDir().rename(install(), dir.filePath("elsewhere"));
    UpdaterSetup elsewhere = setup(server, release.key.publicKey());
    elsewhere.executable = dir.filePath("elsewhere/bin/" + program);
    Updater other(elsewhere);
    stageOf(other);
    EXPECT_EQ(downloads(), 2);
    QDir().rename(dir.filePath("elsewhere"), install());
    EXPECT_EQ(staged(), QStringList{"2.0"});
}

// "Check Now" in Settings brings up the update window with the offer, as the menu command does.
TEST_F(UpdaterFaultsTest, CheckNowInSettingsBringsUpTheOffer)
{
    Release release;
    LoopbackServer server;
    publish(release, server);
    UpdaterSetup quiet = setup(server, release.key.publicKey());
    quiet.firstCheckDelayMs = 60'000;
    quiet.defaults.setBool("OstrelAnnounced-2.0", true);
    Ostrel::start({}, quiet);

    UpdateSettingsView pane;
    pane.show();
    const auto buttons = pane.findChildren<QPushButton *>();
    const auto checkNow = std::find_if(buttons.begin(), buttons.end(), [](auto *b) { return b->text() == "Check Now"; });
    ASSERT_NE(checkNow, buttons.end());
    QTest::mouseClick(*checkNow, Qt::LeftButton);
    UpdateWindow *window = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        for (QWidget *top : QApplication::topLevelWidgets())
            if (auto *shown = qobject_cast<UpdateWindow *>(top); shown && shown->isVisible())
                window = shown;
        return window && window->headline() == "Kit 2.0 is available.";
    }, patienceMs));
    EXPECT_EQ(pane.statusLine().section(' ', 0, 3), "Kit 2.0 is available.");
}

// The notes beside an offer are shown only as the maker signed them, and read as they were written.
TEST_F(UpdaterFaultsTest, ReleaseNotesAreShownOnlyAsSignedAndInTheirOwnOrder)
{
    struct NotesRow {
        const char *notes;
        std::function<void(Release &)> arrange;
        const char *shown;
    };
    const QList<NotesRow> rows{
        {"Faster tape.", [](Release &) {}, "Faster tape."},
        {"Faster tape.", [](Release &r) { r.feed.remove("notesSignature"); }, ""},
        {"Faster tape.", [](Release &r) { r.signNotes(r.otherKey); }, ""},
        {"Faster tape.", [](Release &r) { r.feed["notes"] = "Send your notes to us."; }, ""},
        {"Rounder \u202Eepat\u202C and \u2067tabs\u2069.", [](Release &) {}, "Rounder epat and tabs."},
    };
    for (const NotesRow &row : rows) {
        SCOPED_TRACE(row.notes);
        Release release;
        LoopbackServer server;
        release.feed = {{"version", "2.0"}, {"url", server.url("/kit-2.0.tar.xz")}, {"notes", QString::fromUtf8(row.notes)}};
        release.pack(installEntries(program, "new"));
        row.arrange(release);
        server.serve("/feed.json", {200, QJsonDocument(release.feed).toJson()});
        Updater updater(setup(server, release.key.publicKey()));
        UpdateWindow window(updater);
        updater.checkNow();
        ASSERT_TRUE(QTest::qWaitFor([&] { return updater.state() == Updater::State::available; }, patienceMs));
        window.show();
        const auto *notes = window.findChild<QPlainTextEdit *>();
        EXPECT_EQ(notes->isVisible() ? notes->toPlainText() : QString(), QString::fromUtf8(row.shown));
    }
}

// A program built without a feed and key never connects anywhere, whatever the environment names, and
// the pane and the menu say so.
TEST(UpdatesOff, TheEnvironmentDoesNotSwitchThemOnAndThePaneAndMenuSaySo)
{
    LoopbackServer server;
    const TestKey key;
    qputenv("OstrelUpdateFeedURL", server.url("/feed.json").toUtf8());
    qputenv("OstrelUpdatePublicKey", key.publicKey().toBase64());
    Ostrel::start({QColor(Qt::red)});
    EXPECT_EQ(Ostrel::brand(), (Ostrel::Brand{{QColor(Qt::red), QColor(Qt::red)}}));
    Ostrel::start({});
    EXPECT_EQ(Ostrel::brand().primary(), QColor(Qt::red)) << "only the first start counts";

    QMenu menu;
    QAction *check = OstrelCommands().addTo(menu);
    EXPECT_EQ(check->text(), "Check for Updates…");
    EXPECT_FALSE(check->isEnabled());
    UpdateSettingsView pane;
    EXPECT_TRUE(pane.explanation().contains("updated by whoever installed it"));
    EXPECT_EQ(pane.statusLine(), "Updates are off in this copy.");
    Ostrel::updater().checkNow();
    QTest::qWait(300);
    EXPECT_EQ(server.connections(), 0);
}

TEST(Brand, TwoOrMoreAreKeptOneIsUsedTwiceNoneKeepsTheKits)
{
    const QColor a(255, 201, 51), b(224, 96, 30), c(Qt::blue);
    EXPECT_EQ(Ostrel::brandFrom({a, b, c}), (Ostrel::Brand{{a, b, c}}));
    EXPECT_EQ(Ostrel::brandFrom({a, b}), (Ostrel::Brand{{a, b}}));
    EXPECT_EQ(Ostrel::brandFrom({a}), (Ostrel::Brand{{a, a}}));
    EXPECT_EQ(Ostrel::brandFrom({}), Ostrel::defaultBrand());
}

} // namespace

// Only a write that failed for lack of space is blamed on the disk.
TEST(Transfer, AFullDiskIsToldApartFromOtherWriteFailures)
{
    LoopbackServer server;
    server.serve("/kit.tar.xz", {200, QByteArray(100 * 1024, 'x')});
    QNetworkAccessManager network;
    const QList<std::pair<QString, Transfer::Outcome>> rows{{"/dev/full", Transfer::Outcome::diskFull},
                                                            {"/nonexistent/kit.tar.xz", Transfer::Outcome::writeFailed}};
    for (const auto &[file, expected] : rows) {
        SCOPED_TRACE(file.toStdString());
        const QUrl url(server.url("/kit.tar.xz"));
        Transfer transfer(network, url, url, "Kit/1.0", {200 * 1024, 0, 5000, 30000}, file);
        std::optional<Transfer::Outcome> outcome;
        QObject::connect(&transfer, &Transfer::finished, [&](Transfer::Outcome o) { outcome = o; });
        ASSERT_TRUE(QTest::qWaitFor([&] { return outcome.has_value(); }, 30000));
        EXPECT_EQ(*outcome, expected);
    }
}
