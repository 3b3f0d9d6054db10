// The real binary runs as the one process that was started, under its own name and with the
// environment it was given, so what it starts in turn (a browser for a link, the next version after
// an update) gets the user's settings, and debuggers and profilers see the process they launched. It
// answers its options and refuses a data folder that cannot be one at once, and finds the folders
// the environment names as the user meant them, from whatever folder it is started.
#include "Desktop.h"
#include "EndToEndTest.h"
#include "ScopedEnv.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace {

QByteArray procFile(qint64 pid, const char *name)
{
    QFile file(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(name)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::optional<QByteArray> environmentValue(qint64 pid, const QByteArray &name)
{
    for (const QByteArray &entry : procFile(pid, "environ").split('\0')) {
        if (entry.startsWith(name + '='))
            return entry.mid(name.size() + 1);
    }
    return std::nullopt;
}

class LaunchEnvironmentTest : public EndToEndTest {
protected:
    // The test folder's files and folders, every one.
    QStringList everything() const
    {
        QStringList found;
        QDirIterator it(dir.path(), QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            found.append(QDir(dir.path()).relativeFilePath(it.next()));
        found.sort();
        return found;
    }

    // The desktop's note window of `text`, once the program shows it.
    static bool showsNote(const QString &text)
    {
        return QTest::qWaitFor([&] { return !Desktop::visibleWindow(text).isEmpty(); }, patienceMs);
    }

    // A note on the desktop, in a notes file at `file`.
    void writeNote(const QString &file, const QString &text) const
    {
        StickyNote note(QUuid::createUuid(), text, NoteColor::mint, Date::current());
        note.frame = NoteFrame{200, 300, 250, 230};
        writeFile(file, *NoteCoding::encode(NoteBook({note})));
    }
};

TEST_F(LaunchEnvironmentTest, TheProgramRunsUnderItsOwnNameWithTheEnvironmentItWasGiven)
{
    const std::optional<QByteArray> cases[] = {std::nullopt, QByteArray("glibc.malloc.mxfast=0")};
    for (const std::optional<QByteArray> &given : cases) {
        const ScopedEnv tunables("GLIBC_TUNABLES", given);
        launch(brindlewick);
        ASSERT_TRUE(brindlewick.waitForStarted(patienceMs));
        ASSERT_TRUE(QTest::qWaitFor([] { return !programWindows().isEmpty(); }, patienceMs));
        const qint64 pid = brindlewick.processId();

        EXPECT_EQ(procFile(pid, "comm").trimmed(), "brindlewick") << "the name ps and top show";
        EXPECT_EQ(environmentValue(pid, "GLIBC_TUNABLES"), given) << given.value_or("unset").toStdString();
        EXPECT_TRUE(quit(brindlewick));
    }
}

// Each in a fresh home with nothing else to go by: the program ends at once, says what it must where
// it must, and leaves no file anywhere.
TEST_F(LaunchEnvironmentTest, OptionsAndAnImpossibleDataFolderAreAnsweredAtOnceAndTouchNothing)
{
    struct Case {
        const char *name;
        QStringList arguments;
        QList<std::pair<QString, std::optional<QString>>> environment;
        int exitCode;
        // Matched by the whole of what it prints there.
        const char *out;
        const char *err;
    };
    const QString longFolder = "/" + QString("a/").repeated(20 * 1024);
    const Case cases[] = {
        {"--help", {"--help"}, {}, 0, "^Usage: \\S*brindlewick \\[options\\]\n(.*\n)*.*--autostart.*\n(.*\n)*$", "^$"},
        {"-h without a display", {"-h"}, {{"DISPLAY", std::nullopt}}, 0, "--version.*\n(.*\n)*$", "^$"},
        {"--version", {"--version"}, {}, 0, "^Brindlewick \\d+\\.\\d+\\.\\d+\n$", "^$"},
        {"--version without a display", {"--version"}, {{"DISPLAY", std::nullopt}}, 0, "^Brindlewick \\d", "^$"},
        {"an unknown option", {"--frobnicate"}, {}, 2, "^$", "^Unknown option 'frobnicate'.\n.*--help.*\n$"},
        {"an unknown option without a display", {"--frobnicate"}, {{"DISPLAY", std::nullopt}}, 2, "^$",
         "^Unknown option 'frobnicate'.\n.*--help.*\n$"},
        {"a stray word", {"foo"}, {}, 2, "^$", "^Unexpected argument 'foo'.\n.*--help.*\n$"},
        {"a stray word without a display", {"--autostart", "foo"}, {{"DISPLAY", std::nullopt}}, 2, "^$",
         "^Unexpected argument 'foo'.\n.*--help.*\n$"},
        {"a stray word after Qt's options", {"-style", "fusion", "-display", ":249", "notes"}, {}, 2, "^$",
         "^Unexpected argument 'notes'.\n.*--help.*\n$"},
        {"Qt's -display without DISPLAY", {"-display", ":249"}, {{"DISPLAY", std::nullopt}}, 1, "^$",
         "^[^\n]*no X server answers on DISPLAY=:249.\n$"},
        {"an option of ours used wrongly", {"--autostart=yes"}, {}, 2, "^$", "autostart"},
        {"a 40 KB data folder", {}, {{"BRINDLEWICK_DATA_DIR", longFolder}}, 1, "^$",
         "^Brindlewick can’t keep notes in the folder BRINDLEWICK_DATA_DIR names: it is 40961 bytes long.*\n$"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QDir(dir.path()).removeRecursively();
        for (const char *folder : {"home", "runtime", "tmp", "started-here"})
            QDir().mkpath(path(folder));
        QFile::setPermissions(path("runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QStringList before = everything();

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"BRINDLEWICK_DATA_DIR", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME",
                                 "XDG_CACHE_HOME", "QT_QPA_PLATFORM"})
            environment.remove(name);
        environment.insert("HOME", path("home"));
        environment.insert("XDG_RUNTIME_DIR", path("runtime"));
        environment.insert("TMPDIR", path("tmp"));
        for (const auto &[name, value] : c.environment) {
            if (value)
                environment.insert(name, *value);
            else
                environment.remove(name);
        }
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(path("started-here"));
        program.start(QStringLiteral(BRINDLEWICK_BINARY_DIR "/src/Brindlewick/brindlewick"), c.arguments);
        ASSERT_TRUE(program.waitForFinished(patienceMs)) << "it started instead of answering";

        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), c.exitCode);
        const QString out = QString::fromUtf8(program.readAllStandardOutput());
        const QString err = QString::fromUtf8(program.readAllStandardError());
        EXPECT_TRUE(QRegularExpression(c.out).match(out).hasMatch()) << out.toStdString();
        EXPECT_TRUE(QRegularExpression(c.err).match(err).hasMatch()) << err.toStdString();
        EXPECT_EQ(everything(), before) << "nothing written: no settings, no notes, no lock";
    }
}

// The folders come as the user meant them: an empty data folder is the usual one, a relative one lies
// in the folder the program was started from, and relative XDG folders are passed over.
TEST_F(LaunchEnvironmentTest, TheFoldersTheEnvironmentNamesAreTheOnesTheUserMeant)
{
    struct Case {
        const char *name;
        QList<std::pair<QString, QString>> environment;
        // The notes file the program must show, and one it must not.
        const char *shown;
        const char *notShown;
        // The welcome has not been finished in the settings the program must read.
        bool welcome;
    };
    const Case cases[] = {
        {"an empty data folder", {{"BRINDLEWICK_DATA_DIR", ""}, {"XDG_DATA_HOME", "@/share"}},
         "share/Brindlewick/notes.json", "started-here/notes.json", false},
        {"a relative data folder", {{"BRINDLEWICK_DATA_DIR", "notes"}}, "started-here/notes/notes.json",
         "notes/notes.json", false},
        {"relative XDG folders",
         {{"BRINDLEWICK_DATA_DIR", ""}, {"XDG_DATA_HOME", "share"}, {"XDG_CONFIG_HOME", "config"},
          {"XDG_CACHE_HOME", "cache"}, {"XDG_STATE_HOME", "state"}},
         "home/.local/share/Brindlewick/notes.json", "started-here/share/Brindlewick/notes.json", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QDir(dir.path()).removeRecursively();
        writeFile("config/Brindlewick/settings.json", R"({"welcomeDone": true})");
        writeFile("started-here/config/Brindlewick/settings.json", R"({"welcomeDone": true})");
        writeFile("home/.config/Brindlewick/settings.json", R"({"welcomeDone": false})");
        writeNote(c.shown, "Rent");
        writeNote(c.notShown, "Wrong folder");
        brindlewick.setWorkingDirectory(path("started-here"));
        launch(brindlewick, {}, [&](QProcessEnvironment &environment) {
            environment.insert("HOME", path("home"));
            for (const auto &[name, value] : c.environment)
                environment.insert(name, QString(value).replace("@", dir.path()));
        });
        ASSERT_TRUE(showsNote("Rent"));
        if (c.welcome)
            EXPECT_TRUE(QTest::qWaitFor([] { return !Desktop::visibleWindow("All Notes").isEmpty(); }, patienceMs));
        else
            EXPECT_TRUE(Desktop::visibleWindow("All Notes").isEmpty());
        EXPECT_TRUE(Desktop::visibleWindow("Wrong folder").isEmpty());
        EXPECT_TRUE(quit(brindlewick));
        EXPECT_FALSE(QFileInfo::exists(path("started-here/state"))) << "the list of running programs is not there";
    }
}

} // namespace
