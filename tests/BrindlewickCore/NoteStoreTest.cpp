#include "NoteStore.h"

#include "MissingFile.h"
#include "NoteCoding.h"
#include "OtherUser.h"

#include "FileSizeLimit.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <functional>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const Date now = Date::fromUnix(1765000000.75);

QString damagedName(qint64 unixSeconds)
{
    return QStringLiteral("notes.damaged-%1.json").arg(unixSeconds);
}

NoteBook sampleBook()
{
    StickyNote note(QUuid::createUuid(), "Pay rent\nby Friday", NoteColor::rose, Date{786000000.5});
    note.deadline = Date{786100000};
    return NoteBook({note});
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs `check` where file permissions bind, in a child process: as nobody when the tests run as root
// (root passes every permission check). The child's exit code is the result.
int whereModesBind(const std::function<int()> &check)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(99);
        ::_exit(check());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class NoteStoreTest : public ::testing::Test {
protected:
    QTemporaryDir temp;
    QString folder() const { return temp.path(); }
    QString file(const QString &name) const { return QDir(temp.path()).filePath(name); }
};

TEST_F(NoteStoreTest, NoFileIsFreshAndAFolderInItsPlaceIsUnreadableBothTouchingNothing)
{
    const QString missing = file("not/yet/here");
    EXPECT_EQ(NoteStore(missing).load(now), NoteStore::Loaded(NoteStore::Fresh{}));
    EXPECT_FALSE(QFileInfo::exists(missing));

    QDir(folder()).mkdir("notes.json");
    EXPECT_TRUE(std::holds_alternative<NoteStore::Unreadable>(NoteStore(folder()).load(now)));
    EXPECT_TRUE(QFileInfo(file("notes.json")).isDir());
}

TEST_F(NoteStoreTest, SavedBookLoadsEqualFromAPrivateFile)
{
    const QString nested = file("a/b/c");
    const NoteStore store(nested);
    const NoteBook book = sampleBook();
    ASSERT_EQ(store.save(book), std::nullopt);
    EXPECT_EQ(store.load(now), NoteStore::Loaded(book));

    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(store.url()).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(NoteStoreTest, EmptyObjectLoadsAsAnEmptyBook)
{
    writeTestFile(file("notes.json"), "{}");
    EXPECT_EQ(NoteStore(folder()).load(now), NoteStore::Loaded(NoteBook()));
}

TEST_F(NoteStoreTest, UndecodableFilesAreSetAsideAndNeverOverwriteEachOther)
{
    const NoteStore store(folder());
    const QByteArray contents[] = {"", "garbage one", R"({"notes": [{"id": 3}]})"};
    for (int i = 0; i < 3; ++i) {
        writeTestFile(store.url(), contents[i]);
        const QString expected = file(damagedName(1765000000 + i));
        EXPECT_EQ(store.load(now), NoteStore::Loaded(NoteStore::Damaged{expected}));
        EXPECT_FALSE(QFileInfo::exists(store.url()));
        QFile aside(expected);
        ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
        EXPECT_EQ(aside.readAll(), contents[i]);
    }
}

TEST_F(NoteStoreTest, FailedWriteLeavesThePreviousFileIntact)
{
    const NoteStore store(folder());
    const NoteBook book = sampleBook();
    ASSERT_EQ(store.save(book), std::nullopt);

    NoteBook unwritable = book;
    unwritable.notes[0].deadline = Date{std::numeric_limits<double>::quiet_NaN()};
    EXPECT_TRUE(store.save(unwritable).has_value());
    EXPECT_EQ(store.load(now), NoteStore::Loaded(book));

    // A write that runs out of room half-way (a file size limit works even for root).
    NoteBook large = book;
    large.notes[0].text = QString(20000, u'x');
    std::optional<QString> error;
    {
        const FileSizeLimit limit(4096);
        error = store.save(large);
    }
    EXPECT_TRUE(error.has_value());
    EXPECT_EQ(store.load(now), NoteStore::Loaded(book));
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files), QStringList{"notes.json"});
}

TEST_F(NoteStoreTest, FolderThatCannotBeCreatedIsReported)
{
    writeTestFile(file("plain-file"), "x");
    const auto error = NoteStore(file("plain-file/sub")).save(sampleBook());
    ASSERT_TRUE(error.has_value());
    EXPECT_TRUE(error->contains("plain-file/sub"));
}

TEST_F(NoteStoreTest, WherePermissionsForbidNothingIsLostAndNothingIsTakenForFresh)
{
    const NoteStore store(folder());
    ASSERT_EQ(store.save(sampleBook()), std::nullopt);
    const QByteArray saved = readBytes(store.url());
    QFile::setPermissions(folder(), QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                        QFileDevice::ExeOther);
    QFile::setPermissions(store.url(), QFileDevice::ReadOwner | QFileDevice::ReadOther);

    // A read-only folder: the save fails and the notes file stays whole.
    EXPECT_EQ(whereModesBind([&] { return store.save(NoteBook()) ? 0 : 1; }), 0);
    EXPECT_EQ(readBytes(store.url()), saved);

    // A damaged file there cannot be set aside: it is reported as stuck and stays where it was.
    QFile::setPermissions(folder(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    writeTestFile(store.url(), "{ half a not");
    QFile::setPermissions(store.url(), QFileDevice::ReadOwner | QFileDevice::ReadOther);
    QFile::setPermissions(folder(), QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                        QFileDevice::ExeOther);
    EXPECT_EQ(whereModesBind([&] { return std::holds_alternative<NoteStore::Stuck>(store.load(now)) ? 0 : 1; }), 0);
    EXPECT_EQ(readBytes(store.url()), "{ half a not");

    // A folder that cannot be looked into: unreadable, not "no notes yet".
    QFile::setPermissions(folder(), QFileDevice::Permissions());
    EXPECT_EQ(whereModesBind([&] { return std::holds_alternative<NoteStore::Unreadable>(store.load(now)) ? 0 : 1; }),
              0);
    QFile::setPermissions(folder(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(readBytes(store.url()), "{ half a not");
}

TEST_F(NoteStoreTest, OnlyItsOwnLeftoversGoAndEverythingAPersonPutThereStays)
{
    // The notes file is a link: its leftovers lie beside the target.
    QDir().mkpath(file("synced"));
    QDir().mkpath(file("data"));
    QFile::link("../synced/mine.json", file("data/notes.json"));
    const NoteStore store(file("data"));
    ASSERT_EQ(store.save(sampleBook()), std::nullopt);
    const QStringList kept{"notes.json.backup", "notes.json.before", "notes.json.aB3xYz", ".mine.json.brindlewick-saving-x",
                           ".notes.json.brindlewick-saving-Qw12Er", "mine.json.brindlewick-saving-Qw12Er"};
    for (const QString &name : kept)
        writeTestFile(file("synced/" + name), "a person's copy");
    writeTestFile(file("synced/.mine.json.brindlewick-saving-Ab12Cd"), "cut short");
    QFile::link("mine.json", file("synced/.mine.json.brindlewick-saving-Zz99Zz"));
    store.removeLeftovers();

    QStringList left = QDir(file("synced")).entryList(QDir::Files | QDir::Hidden | QDir::System);
    left.sort();
    QStringList expected = kept + QStringList{"mine.json", ".mine.json.brindlewick-saving-Zz99Zz"};
    expected.sort();
    EXPECT_EQ(left, expected);
    for (const QString &name : kept)
        EXPECT_EQ(readBytes(file("synced/" + name)), "a person's copy");
}

TEST_F(NoteStoreTest, ThroughALinkEveryWriteAndSetAsideLandsBesideTheTargetAndTheLinkStays)
{
    struct Case {
        const char *name;
        // Where the link points, as written in it.
        QString link;
        // The file the notes end up in.
        QString target;
    };
    const NoteBook book = sampleBook();
    const Case cases[] = {
        {"relative", "../cloud/notes.json", "cloud/notes.json"},
        {"absolute", file("cloud/other-name.json"), "cloud/other-name.json"},
        {"a link to a link", "../hop.json", "cloud/end.json"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QDir(folder()).removeRecursively();
        QDir().mkpath(file("data"));
        QDir().mkpath(file("cloud"));
        QFile::link("cloud/end.json", file("hop.json"));
        QFile::link(c.link, file("data/notes.json"));
        const NoteStore store(file("data"));

        // Saved twice: the second replaces the target, as a sync tool that replaced it before would see.
        ASSERT_EQ(store.save(NoteBook()), std::nullopt);
        ASSERT_EQ(store.save(book), std::nullopt);
        EXPECT_EQ(QFileInfo(file("data/notes.json")).symLinkTarget(),
                  QFileInfo(QDir(file("data")).filePath(c.link)).absoluteFilePath());
        EXPECT_EQ(NoteCoding::decode(readBytes(file(c.target)), now), book);
        EXPECT_EQ(store.stamp(), FileStamp::of(file(c.target)));

        // A file another program renames over the target while a save is under way is swapped out, not lost.
        const QString staged = file("cloud/staged-by-a-sync-tool");
        const auto swapped = store.swapIn(NoteBook(), [&] {
            writeTestFile(staged, "their file");
            ::rename(QFile::encodeName(staged).constData(), QFile::encodeName(file(c.target)).constData());
        });
        ASSERT_TRUE(std::holds_alternative<RegularFile::Exchanged>(swapped));
        const RegularFile::Exchanged &exchanged = std::get<RegularFile::Exchanged>(swapped);
        ASSERT_TRUE(exchanged.replaced);
        EXPECT_EQ(readBytes(*exchanged.replaced), "their file");
        EXPECT_EQ(QFileInfo(*exchanged.replaced).absolutePath(), QFileInfo(file(c.target)).absolutePath());
        EXPECT_EQ(exchanged.written, store.stamp());
        EXPECT_EQ(NoteCoding::decode(readBytes(file(c.target)), now), NoteBook());
        QFile::remove(*exchanged.replaced);
        ASSERT_EQ(store.save(book), std::nullopt);

        const QString copy = store.setAsideName(now, "replaced");
        EXPECT_EQ(QFileInfo(copy).absolutePath(), QFileInfo(file(c.target)).absolutePath());
        ASSERT_EQ(store.keepCopy(copy), std::nullopt);
        EXPECT_EQ(readBytes(copy), readBytes(file(c.target)));

        writeTestFile(file(c.target), "{ damaged");
        EXPECT_TRUE(std::holds_alternative<NoteStore::Damaged>(store.load(now)));
        EXPECT_TRUE(QFileInfo(file("data/notes.json")).isSymLink());
        EXPECT_EQ(readBytes(file(c.target)), "{ damaged") << "the next save replaces it; the link never points at nothing";
        EXPECT_EQ(QDir(file("cloud")).entryList({"notes.damaged-*.json"}, QDir::Files).size(), 1);
    }
}

TEST_F(NoteStoreTest, FoldersItMakesAreTheUsersAlone)
{
    ASSERT_EQ(NoteStore(file("made/for/notes")).save(sampleBook()), std::nullopt);
    for (const char *made : {"made", "made/for", "made/for/notes"}) {
        struct stat info {};
        ASSERT_EQ(::stat(QFile::encodeName(file(made)).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u) << made;
    }
}

// The mounts a process sees, made up: a disk at each folder given, the system's at the root.
void writeMounts(const QString &table, const QStringList &folders)
{
    QByteArray lines = "/dev/root / ext4 rw 0 0\n";
    for (const QString &folder : folders)
        lines += "/dev/disk " + QFile::encodeName(folder) + " ext4 rw 0 0\n";
    writeTestFile(table, lines);
}

TEST_F(NoteStoreTest, ADiskThatWentAwayIsToldFromOneMountedOverItsFolder)
{
    const QDir real(QFileInfo(folder()).canonicalFilePath());
    const QString table = file("mounts");
    const QString disk = real.filePath("mnt/disk");
    const QString notes = real.filePath("mnt/disk/notes/notes.json");
    QDir().mkpath(real.filePath("mnt/disk/notes"));

    writeMounts(table, {disk});
    EXPECT_EQ(MissingFile::diskOf(notes, table), disk);
    EXPECT_EQ(MissingFile::diskGone(disk, notes, table), std::nullopt);
    writeMounts(table, {});
    EXPECT_EQ(MissingFile::diskOf(notes, table), "/");
    EXPECT_NE(MissingFile::diskGone(disk, notes, table), std::nullopt) << "unmounted";
    QDir(real.filePath("mnt/disk")).removeRecursively();
    EXPECT_NE(MissingFile::diskGone(disk, notes, table), std::nullopt) << "its mount point taken away too";
    writeMounts(table, {real.filePath("mnt/disk/notes")});
    EXPECT_EQ(MissingFile::diskGone("/", notes, table), std::nullopt) << "a disk mounted over the folder came";
}

// A missing notes file, and whether its absence is waited for: `arrange` lays the folders out, a mount
// table of the test's own (`fstab`) or made-up mounts (`mounts`) where a row names one.
class MissingNotesTest : public NoteStoreTest {
protected:
    struct Case {
        const char *name;
        std::function<void()> arrange;
        // The data folder, in the test folder.
        QString data;
        bool waits;
        // Mounts a disk: the last row of its test, skipped where mounting is not allowed.
        bool mounts = false;
    };

    void check(const Case &c)
    {
        SCOPED_TRACE(c.name);
        QDir(folder()).removeRecursively();
        QDir().mkpath(folder());
        c.arrange();
        if (c.mounts && !mounted)
            GTEST_SKIP() << "mounting a disk is not allowed here (" << c.name << ")";
        const QString notes = QDir(file(c.data)).filePath("notes.json");
        const bool madeUp = QFileInfo::exists(mounts);
        EXPECT_EQ(MissingFile::whyWait(notes, fstab, madeUp ? mounts : "/proc/self/mounts").has_value(), c.waits);
        if (std::exchange(mounted, false))
            ::umount(QFile::encodeName(file(c.data)).constData());
        if (QFileInfo::exists(fstab) || madeUp)
            return;
        const NoteStore::Loaded loaded = NoteStore(file(c.data)).load(now);
        EXPECT_EQ(std::holds_alternative<NoteStore::Unreadable>(loaded), c.waits);
        EXPECT_EQ(std::holds_alternative<NoteStore::Fresh>(loaded), !c.waits);
    }

    // Says a disk belongs at `at`, as a line of the mount table.
    void inMountTable(const QString &at) const
    {
        writeTestFile(fstab, ("server:/notes " + file(at) + " nfs defaults 0 0\n").toUtf8());
    }

    const QString fstab = file("fstab");
    // Stands in for the mounts there are, where a row writes it.
    const QString mounts = file("mounts");
    bool mounted = false;
};

TEST_F(MissingNotesTest, AMissingFileIsFreshUnlessSomethingPlainlySaysADiskBelongsThere)
{
    const Case cases[] = {
        {"a first run: the folder and its parents are to be made", [] {}, "home/.local/share/Brindlewick", false},
        {"an empty folder of the user's", [this] { QDir().mkpath(file("empty")); }, "empty", false},
        {"a link to nothing", [this] { QDir().mkpath(file("data")); QFile::link("../sync/notes.json", file("data/notes.json")); },
         "data", true},
        {"a data folder that is a link to nothing", [this] { QFile::link("sync/Brindlewick", file("data")); }, "data", true},
        {"a folder under a folder where disks are mounted when needed", [this] {
             QDir().mkpath(file("misc"));
             writeTestFile(mounts, ("auto.misc " + file("misc") + " autofs rw,fd=7 0 0\n").toUtf8());
         }, "misc/usb/Brindlewick", true},
        {"an empty mount point of the mount table", [this] {
             QDir().mkpath(file("nas"));
             inMountTable("nas");
         }, "nas", true},
        {"a folder in an empty mount point of the mount table", [this] {
             QDir().mkpath(file("nas"));
             inMountTable("nas");
         }, "nas/Brindlewick", true},
        {"a mount point of the mount table with files on it", [this] {
             writeTestFile(file("nas/other"), "x");
             inMountTable("nas");
         }, "nas", false},
    };
    for (const Case &c : cases)
        check(c);
}

TEST_F(MissingNotesTest, FoldersOfOtherUsersAndAnEmptyDiskMountedWhereTheMountTableSaysAreNoReasonToWait)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root: folders are given to another user, and a disk is mounted";
    const Case cases[] = {
        {"a new folder in a folder another user owns, as /tmp or a shared folder", [this] {
             QDir().mkpath(file("tmp"));
             OtherUser::owns(file("tmp"));
         }, "tmp/mynotes", false},
        {"an empty folder another user owns", [this] {
             QDir().mkpath(file("mnt/usb"));
             OtherUser::owns(file("mnt/usb"));
         }, "mnt/usb", false},
    };
    const Case mountedDisk{"an empty disk mounted at a mount point of the mount table", [this] {
             QDir().mkpath(file("nas"));
             inMountTable("nas");
             mounted = ::mount("tmpfs", QFile::encodeName(file("nas")).constData(), "tmpfs", 0, "size=64k") == 0;
         }, "nas", false, true};
    for (const Case &c : cases)
        check(c);
    check(mountedDisk);
}

} // namespace
