// One running program per data folder, however the folder is reached (a link, a bind mount), wherever
// the program is started from and whatever its environment says (a shell from su or cron may have
// another home and no state or runtime folder), on a machine where another user may have made folders
// first: the real binary, launched twice.
#include "Desktop.h"
#include "EndToEndTest.h"
#include "OtherUser.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QTest>
#include <functional>
#include <optional>

namespace {

using Desktop::visibleWindow;

struct Row {
    const char *name;
    // Lays out the machine; false when it cannot be (it needs root).
    std::function<bool()> arrange;
    // The environment of the first launch and of the second.
    std::function<void(QProcessEnvironment &)> first;
    std::function<void(QProcessEnvironment &)> second;
    // Folders of others that must stay empty.
    QStringList untouched;
    // Where the running program must be listed, and where its socket must lie.
    QString listFolder;
    QString socketFolder;
};

// A bind mount for the life of the object, where this user may make one.
class BindMount {
public:
    BindMount(const QString &folder, const QString &at) : m_at(at)
    {
        QDir().mkpath(at);
        m_mounted = quietly("mount", {"--bind", folder, at});
    }
    ~BindMount()
    {
        if (m_mounted)
            quietly("umount", {m_at});
    }
    BindMount(const BindMount &) = delete;
    BindMount &operator=(const BindMount &) = delete;

    bool mounted() const { return m_mounted; }

private:
    static bool quietly(const QString &program, const QStringList &arguments)
    {
        QProcess run;
        run.setProcessChannelMode(QProcess::MergedChannels);
        run.setStandardOutputFile(QProcess::nullDevice());
        run.start(program, arguments);
        return run.waitForFinished(patienceMs) && run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0;
    }

    QString m_at;
    bool m_mounted = false;
};

class OneInstanceTest : public EndToEndTest {
protected:
    // Every file under the test folder, by its bytes, but the program's own entry, socket and settings.
    QMap<QString, QByteArray> files(const Row &row) const
    {
        QMap<QString, QByteArray> found;
        QDirIterator it(dir.path(), QDir::Files | QDir::System | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            const QString name = QDir(dir.path()).relativeFilePath(file);
            if (name.startsWith(row.listFolder + "/brindlewick-") || name.startsWith(row.socketFolder + "/brindlewick-") ||
                name.startsWith("config/"))
                continue;
            QFile read(file);
            found.insert(name, read.open(QIODevice::ReadOnly) ? read.readAll() : QByteArray("unreadable"));
        }
        return found;
    }

    // The socket of the one program entered in the list, as its entry names it.
    QString listedSocket(const Row &row) const
    {
        const QStringList entries = QDir(path(row.listFolder)).entryList({"brindlewick-*.instance"}, QDir::Files);
        EXPECT_EQ(entries.size(), 1);
        QFile entry(QDir(path(row.listFolder)).filePath(entries.value(0)));
        entry.open(QIODevice::ReadOnly);
        return QFile::decodeName(entry.readAll().split('\0').value(1));
    }

    // Whether a socket can lie in `folder`: where its path would be too long for a socket's address
    // (Qt takes 106 bytes), as in the deep row or under a deep TMPDIR, it lies in a folder of its own.
    bool socketFits(const QString &folder) const
    {
        return QFile::encodeName(path(folder) + "/brindlewick-0123456789abcdef.socket").size() <= 106;
    }

    // The program's two note windows, and no second program's.
    static qsizetype noteWindows()
    {
        qsizetype count = 0;
        for (const QString &window : programWindows())
            count += Desktop::size(window) == QSize(250, 230);
        return count;
    }
};

TEST_F(OneInstanceTest, ASecondLaunchOnTheSameRealFolderHandsOverFromWhereverItStarts)
{
    const auto noRuntimeFolder = [this](QProcessEnvironment &environment) {
        QDir().mkpath(path("tmp"));
        environment.remove("XDG_RUNTIME_DIR");
        environment.insert("TMPDIR", path("tmp"));
    };
    // Qt turns this folder down and makes one of its own under TMPDIR, which is kept in the test's folder
    // (a TMPDIR that is not there would put it at the root of the file system).
    const auto openRuntimeFolder = [this](QProcessEnvironment &environment) {
        QDir().mkpath(path("tmp"));
        environment.insert("XDG_RUNTIME_DIR", path("open-runtime"));
        environment.insert("TMPDIR", path("tmp"));
    };
    const QString userName = qEnvironmentVariable("USER", "root");
    const QString list = "state/Brindlewick/run";
    const auto runtimeFolder = [this](QProcessEnvironment &environment) {
        environment.insert("XDG_RUNTIME_DIR", path("runtime"));
    };
    const auto makeRuntimeFolder = [this] {
        QDir().mkpath(path("runtime"));
        return QFile::setPermissions(path("runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    };
    const QString deep = "deep/" + QString(110, u'd');
    const auto deepFolders = [&](QProcessEnvironment &environment) {
        environment.insert("XDG_STATE_HOME", path(deep + "/state"));
        environment.insert("XDG_RUNTIME_DIR", path(deep + "/runtime"));
    };
    // Unmounted before the test's folder goes, also when a row fails.
    std::optional<BindMount> bound;
    const Row rows[] = {
        {"two paths to one folder, one through a link",
         [&] { return makeRuntimeFolder() && QFile::link(path("data"), path("link-to-data")); },
         runtimeFolder,
         [&](QProcessEnvironment &environment) {
             runtimeFolder(environment);
             environment.insert("BRINDLEWICK_DATA_DIR", path("link-to-data"));
         },
         {}, list, "runtime"},
        {"one launch with a runtime folder, the next through a link and without one, as from su or cron",
         [&] { return makeRuntimeFolder() && QFile::link(path("data"), path("link-to-data")); },
         runtimeFolder,
         [&](QProcessEnvironment &environment) {
             noRuntimeFolder(environment);
             environment.insert("BRINDLEWICK_DATA_DIR", path("link-to-data"));
         },
         {}, list, "runtime"},
        {"one launch with its state folder, the next with another home and neither a state nor a runtime folder set",
         makeRuntimeFolder, runtimeFolder,
         [&](QProcessEnvironment &environment) {
             noRuntimeFolder(environment);
             environment.remove("XDG_STATE_HOME");
             environment.insert("HOME", path("other-home"));
         },
         {}, list, "runtime"},
        {"two launches with state folders of their own", makeRuntimeFolder, runtimeFolder,
         [&](QProcessEnvironment &environment) {
             runtimeFolder(environment);
             environment.insert("XDG_STATE_HOME", path("other-state"));
         },
         {}, list, "runtime"},
        {"the folder through a bind mount",
         [&] {
             makeRuntimeFolder();
             bound.emplace(path("data"), path("mounted"));
             return bound->mounted();
         },
         runtimeFolder,
         [&](QProcessEnvironment &environment) {
             runtimeFolder(environment);
             environment.insert("BRINDLEWICK_DATA_DIR", path("mounted"));
         },
         {}, list, "runtime"},
        {"no runtime folder set, and the usual fallback made beforehand by another user",
         [&] {
             QDir().mkpath(path("tmp/runtime-" + userName));
             return OtherUser::owns(path("tmp/runtime-" + userName));
         },
         noRuntimeFolder, noRuntimeFolder, {"tmp/runtime-" + userName}, list, list},
        {"a runtime folder others may enter",
         [this] {
             QDir().mkpath(path("open-runtime"));
             return QFile::setPermissions(path("open-runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                                    QFile::ReadOther | QFile::ExeOther);
         },
         openRuntimeFolder, openRuntimeFolder, {"open-runtime"}, list, list},
        {"state and runtime folders too deep for a socket's address",
         [&] {
             QDir().mkpath(path(deep + "/runtime"));
             return QFile::setPermissions(path(deep + "/runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
         },
         deepFolders, deepFolders, {}, deep + "/state/Brindlewick/run", deep + "/runtime"},
    };

    QStringList skipped;
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        bound.reset();
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
        writeFile("config/Brindlewick/settings.json", R"({"welcomeDone": true})");
        StickyNote rent(QUuid::createUuid(), "Rent", NoteColor::mint, Date::current());
        rent.frame = NoteFrame{200, 300, 250, 230};
        StickyNote milk(QUuid::createUuid(), "Milk", NoteColor::sky, Date::current());
        milk.frame = NoteFrame{600, 300, 250, 230};
        const QByteArray notes = *NoteCoding::encode(NoteBook({rent, milk}));
        writeFile("data/notes.json", notes);
        if (!row.arrange()) {
            skipped.append(row.name);
            continue;
        }
        // Each launch starts in a folder of its own, where nothing may be left.
        QDir().mkpath(path("started-here"));
        QDir().mkpath(path("started-there"));
        const QMap<QString, QByteArray> before = files(row);

        QProcess first;
        first.setWorkingDirectory(path("started-here"));
        launch(first, {}, row.first);
        ASSERT_TRUE(QTest::qWaitFor([] { return noteWindows() == 2; }, patienceMs));
        ASSERT_TRUE(visibleWindow("All Notes").isEmpty());
        QProcess again;
        again.setWorkingDirectory(path("started-there"));
        launch(again, {}, row.second);
        ASSERT_TRUE(again.waitForFinished(patienceMs));
        EXPECT_EQ(again.exitCode(), 0) << "the second launch handed over and left";
        EXPECT_TRUE(QTest::qWaitFor([] { return !visibleWindow("All Notes").isEmpty(); }, patienceMs))
            << "the first one opened All Notes";
        EXPECT_EQ(noteWindows(), 2) << "one program shows the notes";
        const QFileInfo socket(listedSocket(row));
        const bool ownFolder = !socketFits(row.socketFolder);
        EXPECT_TRUE(socket.exists());
        EXPECT_EQ(socket.dir() == QDir(path(row.socketFolder)), !ownFolder) << socket.filePath().toStdString();
        ASSERT_TRUE(quit(first));
        for (const QString &folder : {row.listFolder, row.socketFolder})
            EXPECT_TRUE(QDir(path(folder)).entryList({"brindlewick-*"}, QDir::Files | QDir::System).isEmpty())
                << "a program that quits leaves the list: " << folder.toStdString();
        EXPECT_FALSE(QFileInfo::exists(ownFolder ? socket.path() : socket.filePath()))
            << "the socket is gone, with any folder made for it";

        for (const QString &folder : row.untouched + QStringList{"started-here", "started-there"})
            EXPECT_TRUE(QDir(path(folder)).isEmpty()) << folder.toStdString();
        EXPECT_EQ(files(row), before) << "every other file keeps its bytes";
    }
    if (!skipped.isEmpty())
        GTEST_SKIP() << "this user may not arrange: " << skipped.join("; ").toStdString();
}

} // namespace
