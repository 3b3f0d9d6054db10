#include "NoteStore.h"

#include "FileSizeLimit.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <functional>
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

TEST_F(NoteStoreTest, LeftoversOfSavesCutShortGoAndEverythingElseStays)
{
    const NoteStore store(folder());
    ASSERT_EQ(store.save(sampleBook()), std::nullopt);
    for (const char *name : {"notes.json.aB3xYz", "notes.json.Qw12Er", "notes.json.old", "notes.json.backup1",
                             "notes.damaged-1765000000.json", "notes.txt"})
        writeTestFile(file(name), "copy");
    store.removeLeftovers();
    QStringList left = QDir(folder()).entryList(QDir::Files);
    left.sort();
    EXPECT_EQ(left, (QStringList{"notes.damaged-1765000000.json", "notes.json", "notes.json.backup1",
                                 "notes.json.old", "notes.txt"}));
}

} // namespace
