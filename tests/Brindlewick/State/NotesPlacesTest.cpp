// Notes where people really keep them: on a disk mounted late, behind a link into a sync folder that
// a sync tool rewrites, beside copies a person made, on a machine shared with other users. Each row is
// a run of the model on real folders; afterwards every file under the test folder is checked byte for
// byte, and so are the notes the program shows on the desktop.
#include "AppModelFixture.h"

#include "State/Recovery.h"
#include "NoteCoding.h"
#include "OtherUser.h"

#include <QDirIterator>
#include <QTest>
#include <functional>
#include <sys/mount.h>
#include <sys/stat.h>

namespace {

// The fixture's t0 and ten seconds on, as set-aside and recovery names spell them.
const QString t0Seconds = QStringLiteral("1765000000");
const QString tenSecondsOn = QStringLiteral("1765000010");

// What a file must hold afterwards: these bytes, a notebook of these note texts, or a link to this.
struct Bytes {
    QByteArray bytes;
};
struct Notes {
    QStringList texts;
};
struct Link {
    QString target;
};
struct Fifo {};
using Expected = std::variant<Bytes, Notes, Link, Fifo>;

struct Row {
    const char *name;
    // Lays the files out before the program starts; false when this machine cannot (not root).
    std::function<bool()> arrange;
    // Everything after the start, the quit included.
    std::function<void()> run;
    // Every file and link under the test folder afterwards, by its path there.
    std::function<QMap<QString, Expected>()> files;
    // The texts of the notes on the desktop at the end, in any order.
    QStringList shown;
};

class NotesPlacesTest : public AppModelTest {
protected:
    NotesPlacesTest() : m_home("HOME", dir.filePath("home").toUtf8()) {}

    ~NotesPlacesTest() override
    {
        if (m_mounted)
            ::umount(QFile::encodeName(m_mounted->first).constData());
    }

    // A model on `folder` (in the test folder), retrying quickly, its writes waited for by the row.
    void startOn(const QString &folder)
    {
        m_data = dir.filePath(folder);
        auto counting = std::make_unique<CountingNotifier>();
        notifier = counting.get();
        model = std::make_unique<AppModel>(Paths{m_data}, SettingsStore(settingsPath()), std::move(counting));
        model->clock = [this] { return now; };
        model->alertSound = [] {};
        model->setSaveDelay(std::chrono::milliseconds(10));
        model->setRetryInterval(std::chrono::milliseconds(50));
        model->start();
    }

    void quit() const
    {
        model->saveBeforeQuit();
    }

    QString data(const QString &name = {}) const { return name.isEmpty() ? m_data : QDir(m_data).filePath(name); }

    static QByteArray notesFile(const QList<StickyNote> &notes) { return *NoteCoding::encode(NoteBook(notes)); }

    // A note on the desktop, as last edited `editedAt` seconds after t0.
    static StickyNote desktopNote(const QString &text, double editedAt = -3600)
    {
        StickyNote n = note(text, t0 - 7200);
        n.edited = t0 + editedAt;
        n.frame = NoteFrame{100, 100, 250, 230};
        return n;
    }

    // Another program replaces the file as sync tools do: a new file renamed over the old one.
    void replaceAsSyncToolsDo(const QString &path, const QByteArray &bytes) const
    {
        const QString staged = QFileInfo(path).absolutePath() + "/.sync-tool-staging";
        writeTestFile(staged, bytes);
        ASSERT_TRUE(::rename(QFile::encodeName(staged).constData(), QFile::encodeName(path).constData()) == 0);
    }

    // Another program writes into the file itself, as `cp` over it does: the same file, new bytes.
    static void rewriteInPlace(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    // Another program writes the file in place in two parts: the first, then `pause`, then the rest.
    static void writeInTwoParts(const QString &path, const QByteArray &bytes, const std::function<void()> &pause)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes.left(bytes.size() / 2)), bytes.size() / 2);
        ASSERT_TRUE(file.flush());
        pause();
        ASSERT_EQ(file.write(bytes.mid(bytes.size() / 2)), bytes.size() - bytes.size() / 2);
    }

    // Waits, without an edit or a save to set it off, until the desktop shows these notes and their
    // saving is done.
    bool waitUntilShown(QStringList texts) const
    {
        texts.sort();
        return QTest::qWaitFor([&] { return shownTexts() == texts; }, patienceMs)
               && model->finishSaves(std::chrono::seconds(10));
    }

    // Waits until a copy of this name lies beside the notes file and the saves it set off are done.
    bool waitUntilKept(const QString &name) const
    {
        return QTest::qWaitFor([&] { return QFileInfo::exists(data(name)); }, patienceMs)
               && model->finishSaves(std::chrono::seconds(10));
    }

    // Binds `disk` onto `mountPoint` as a disk mounted late would appear; false where mounting is not
    // allowed.
    bool mount(const QString &disk, const QString &mountPoint)
    {
        if (::mount(QFile::encodeName(disk).constData(), QFile::encodeName(mountPoint).constData(), nullptr, MS_BIND,
                    nullptr) != 0)
            return false;
        m_mounted = {mountPoint, disk};
        return true;
    }

    // Takes the disk away again, or its folder where the test could not mount it.
    void unmount()
    {
        if (m_mounted) {
            ASSERT_EQ(::umount(QFile::encodeName(m_mounted->first).constData()), 0);
            return;
        }
        ASSERT_TRUE(QDir().rename(dir.filePath("mnt/Brindlewick"), dir.filePath("disk/Brindlewick")));
    }

    // The disk comes (back): mounted where the test may, else its folder moves in.
    void mountDisk()
    {
        if (m_mounted ? ::mount(QFile::encodeName(m_mounted->second).constData(),
                                QFile::encodeName(m_mounted->first).constData(), nullptr, MS_BIND, nullptr) == 0
                      : mount(dir.filePath("disk"), dir.filePath("mnt")))
            return;
        ASSERT_TRUE(QDir().rename(dir.filePath("disk/Brindlewick"), dir.filePath("mnt/Brindlewick")));
    }

    QStringList shownTexts() const
    {
        QStringList texts;
        for (const StickyNote &n : model->desktopNotes())
            texts.append(n.text);
        texts.sort();
        return texts;
    }

    // Every file and link under the test folder but the configuration and a disk's own folder (seen
    // through its mount point).
    QMap<QString, QFileInfo> tree() const
    {
        QMap<QString, QFileInfo> found;
        QDirIterator it(dir.path(), QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo entry(it.next());
            const QString name = QDir(dir.path()).relativeFilePath(entry.filePath());
            const bool folder = entry.isDir() && !entry.isSymLink();
            if (!folder && !name.startsWith("config/") && !name.startsWith("disk/"))
                found.insert(name, entry);
        }
        return found;
    }

    static void expectHolds(const QFileInfo &file, const Expected &expected)
    {
        struct stat info {};
        ASSERT_EQ(::lstat(QFile::encodeName(file.filePath()).constData(), &info), 0);
        EXPECT_EQ(S_ISFIFO(info.st_mode), std::holds_alternative<Fifo>(expected));
        if (std::holds_alternative<Fifo>(expected) || S_ISFIFO(info.st_mode))
            return;
        if (const auto *link = std::get_if<Link>(&expected)) {
            EXPECT_EQ(file.symLinkTarget(), QFileInfo(file.dir(), link->target).absoluteFilePath());
            return;
        }
        EXPECT_FALSE(file.isSymLink());
        QFile read(file.filePath());
        ASSERT_TRUE(read.open(QIODevice::ReadOnly));
        const QByteArray bytes = read.readAll();
        if (const auto *exact = std::get_if<Bytes>(&expected)) {
            EXPECT_EQ(bytes, exact->bytes);
            return;
        }
        const std::optional<NoteBook> book = NoteCoding::decode(bytes, t0);
        ASSERT_TRUE(book) << bytes.constData();
        QStringList texts;
        for (const StickyNote &n : book->notes)
            texts.append(n.text);
        texts.sort();
        QStringList wanted = std::get<Notes>(expected).texts;
        wanted.sort();
        EXPECT_EQ(texts, wanted);
    }

    void check(const Row &row) const
    {
        const QMap<QString, QFileInfo> found = tree();
        const QMap<QString, Expected> wanted = row.files();
        EXPECT_EQ(found.keys(), wanted.keys());
        for (auto it = wanted.cbegin(); it != wanted.cend(); ++it) {
            SCOPED_TRACE(it.key().toStdString());
            if (found.contains(it.key()))
                expectHolds(found[it.key()], it.value());
        }
        QStringList shown = row.shown;
        shown.sort();
        EXPECT_EQ(shownTexts(), shown);
    }

    // The notes file turns into something no program can read, so every save fails until the quit;
    // the next start then names the recovery file wherever it went.
    void failUntilQuitThenStartAgain(const QString &recovery)
    {
        startOn("data");
        model->newNote("Typed before the quit");
        QFile::remove(data("notes.json"));
        ASSERT_EQ(::mkfifo(QFile::encodeName(data("notes.json")).constData(), 0600), 0);
        quit();
        startOn("data");
        ASSERT_TRUE(model->loadProblem());
        const QFileInfo kept(dir.filePath(recovery));
        EXPECT_TRUE(model->loadProblem()->contains(
            QStringLiteral("were kept as “%1” in %2.").arg(kept.fileName(), kept.absolutePath())))
            << model->loadProblem()->toStdString();
    }

    // Someone else's file a planted link leads to.
    Bytes plantLink(const QString &at) const
    {
        const Bytes victim{"someone's precious file"};
        writeTestFile(dir.filePath("victim/precious.txt"), victim.bytes);
        QDir().mkpath(QFileInfo(dir.filePath(at)).absolutePath());
        QFile::link(dir.filePath("victim/precious.txt"), dir.filePath(at));
        return victim;
    }

    bool waitUntilLoaded() const
    {
        return QTest::qWaitFor([&] { return !model->loadBlocked(); }, patienceMs)
               && model->finishSaves(std::chrono::seconds(10));
    }

    std::optional<std::pair<QString, QString>> m_mounted;

private:
    ScopedEnv m_home;
    QString m_data;
};

TEST_F(NotesPlacesTest, NotesKeptWherePeopleKeepThemAreMergedKeptAndNeverLost)
{
    const StickyNote rent = desktopNote("Rent");
    const StickyNote dentist = desktopNote("Dentist");
    const StickyNote seeds = desktopNote("Seeds");
    const StickyNote tyres = desktopNote("Tyres");
    const StickyNote halfAPair = desktopNote(QStringLiteral("Pasted ") + QChar(0xD83D));
    const QByteArray fourNotes = notesFile({rent, dentist, seeds, tyres});
    QByteArray theirs;
    const Bytes person("a person's own copy");
    const auto typeTwo = [this] {
        model->newNote("Typed while waiting");
        model->newNote("Typed while waiting too");
    };
    const auto rentAndDentist = [&] {
        writeTestFile(dir.filePath("data/notes.json"), notesFile({rent, dentist}));
        return true;
    };
    // The four notes on disk joined by the two typed while the file was not there.
    const QStringList fourAndTwo{"Rent", "Dentist", "Seeds", "Tyres", "Typed while waiting", "Typed while waiting too"};

    const Row rows[] = {
        {"a disk mounted after the start over a new folder in a folder another user owns",
         [&] {
             writeTestFile(dir.filePath("disk/Brindlewick/notes.json"), fourNotes);
             QDir().mkpath(dir.filePath("mnt"));
             return OtherUser::owns(dir.filePath("mnt"));
         },
         [&] {
             startOn("mnt/Brindlewick");
             EXPECT_FALSE(model->loadBlocked()) << "nothing says a disk belongs there: the folder is made";
             typeTwo();
             saveAndWait();
             EXPECT_TRUE(QFileInfo::exists(data("notes.json")));
             mountDisk();
             ASSERT_TRUE(waitUntilShown(fourAndTwo));
             quit();
         },
         [&] {
             return QMap<QString, Expected>{{"mnt/Brindlewick/notes.json", Notes{fourAndTwo}},
                                            {"mnt/Brindlewick/notes.replaced-" + t0Seconds + ".json", Bytes{fourNotes}}};
         },
         fourAndTwo},

        {"a disk mounted over a data folder of the user's while running, as FUSE and rclone do",
         [&] {
             writeTestFile(dir.filePath("disk/Brindlewick/notes.json"), fourNotes);
             QDir().mkpath(dir.filePath("data"));
             const bool mounts = mount(dir.filePath("disk/Brindlewick"), dir.filePath("data"));
             if (mounts)
                 unmount();
             return mounts;
         },
         [&] {
             startOn("data");
             // Nothing of ours touches the folder: the mount must be seen for itself.
             model->setSaveDelay(std::chrono::hours(1));
             typeTwo();
             mountDisk();
             ASSERT_TRUE(waitUntilShown(fourAndTwo));
             quit();
         },
         [&] {
             return QMap<QString, Expected>{{"data/notes.json", Notes{fourAndTwo}},
                                            {"data/notes.replaced-" + t0Seconds + ".json", Bytes{fourNotes}}};
         },
         fourAndTwo},

        {"a disk that goes away while running and comes back",
         [&] {
             writeTestFile(dir.filePath("disk/Brindlewick/notes.json"), fourNotes);
             QDir().mkpath(dir.filePath("mnt"));
             const bool foreign = OtherUser::owns(dir.filePath("mnt"));
             mountDisk();
             return foreign;
         },
         [&] {
             startOn("mnt/Brindlewick");
             unmount();
             typeTwo();
             model->saveNow();
             ASSERT_TRUE(model->finishSaves(std::chrono::seconds(10)));
             EXPECT_TRUE(model->saveFailing());
             EXPECT_TRUE(QDir(dir.filePath("mnt")).isEmpty()) << "nothing is written into the bare mount point";
             mountDisk();
             ASSERT_TRUE(QTest::qWaitFor([&] { return !model->saveFailing(); }, patienceMs));
             quit();
         },
         [&] {
             return QMap<QString, Expected>{{"mnt/Brindlewick/notes.json", Notes{fourAndTwo}}};
         },
         fourAndTwo},

        {"a link into a sync folder that appears after the start",
         [&] {
             QDir().mkpath(dir.filePath("data"));
             return QFile::link("../Sync/notes.json", dir.filePath("data/notes.json"));
         },
         [&] {
             startOn("data");
             EXPECT_TRUE(model->loadBlocked()) << "a link to nothing is no fresh start";
             typeTwo();
             writeTestFile(dir.filePath("Sync/notes.json"), fourNotes);
             ASSERT_TRUE(waitUntilLoaded());
             quit();
         },
         [&] {
             return QMap<QString, Expected>{
                 {"data/notes.json", Link{"../Sync/notes.json"}},
                 {"Sync/notes.json", Notes{fourAndTwo}}};
         },
         fourAndTwo},

        {"a link whose target a sync tool replaces while running",
         [&] {
             writeTestFile(dir.filePath("Sync/notes.json"), notesFile({rent, dentist}));
             QDir().mkpath(dir.filePath("data"));
             return QFile::link("../Sync/notes.json", dir.filePath("data/notes.json"));
         },
         [&] {
             startOn("data");
             now = t0 + 10;
             model->setText(rent.id, "Rent, paid");
             StickyNote dentistThere = dentist;
             dentistThere.text = "Dentist moved to Friday";
             dentistThere.edited = t0 + 5;
             theirs = notesFile({rent, dentistThere, seeds});
             replaceAsSyncToolsDo(dir.filePath("Sync/notes.json"), theirs);
             model->saveNow();
             ASSERT_TRUE(model->finishSaves(std::chrono::seconds(10)));
             ASSERT_TRUE(model->banner());
             EXPECT_TRUE(model->banner()->text.startsWith("2 notes came in from a changed notes file."))
                 << model->banner()->text.toStdString();
             quit();
         },
         [&] {
             return QMap<QString, Expected>{
                 {"data/notes.json", Link{"../Sync/notes.json"}},
                 {"Sync/notes.json", Notes{{"Rent, paid", "Dentist moved to Friday", "Seeds"}}},
                 {"Sync/notes.replaced-" + tenSecondsOn + ".json", Bytes{theirs}}};
         },
         {"Rent, paid", "Dentist moved to Friday", "Seeds"}},

        {"the file replaced by another program, with edits on both sides",
         [&] {
             writeTestFile(dir.filePath("data/notes.json"), notesFile({rent, dentist, seeds}));
             return true;
         },
         [&] {
             startOn("data");
             now = t0 + 10;
             model->setText(rent.id, "Rent, paid here");
             model->deleteNotes({seeds.id});
             StickyNote rentThere = rent;
             rentThere.text = "Rent, paid there earlier";
             rentThere.edited = t0 + 5;
             StickyNote dentistThere = dentist;
             dentistThere.doneAt = t0 + 7;
             dentistThere.edited = t0 + 7;
             theirs = notesFile({rentThere, dentistThere, seeds, tyres});
             replaceAsSyncToolsDo(dir.filePath("data/notes.json"), theirs);
             quit();
         },
         [&] {
             return QMap<QString, Expected>{
                 {"data/notes.json", Notes{{"Rent, paid here", "Dentist", "Seeds", "Tyres"}}},
                 {"data/notes.replaced-" + tenSecondsOn + ".json", Bytes{theirs}}};
         },
         {"Rent, paid here", "Tyres"}},

        {"another program renames its copy over the file in the middle of a save",
         rentAndDentist,
         [&] {
             startOn("data");
             now = t0 + 10;
             model->setText(rent.id, "Rent, paid here");
             theirs = notesFile({rent, dentist, seeds, tyres});
             // Once our new file is written, just before it takes the old one's place.
             model->writer().beforeWrite = [&] { replaceAsSyncToolsDo(data("notes.json"), theirs); };
             model->saveNow();
             model->writer().beforeWrite = nullptr;
             ASSERT_TRUE(model->finishSaves(std::chrono::seconds(10)));
             ASSERT_TRUE(model->banner());
             EXPECT_EQ(model->banner()->text, "2 notes came in from a changed notes file. The file as it was is kept "
                                              "as “notes.replaced-" + tenSecondsOn + ".json” in " + data() + ".");
             quit();
         },
         [&] {
             return QMap<QString, Expected>{
                 {"data/notes.json", Notes{{"Rent, paid here", "Dentist", "Seeds", "Tyres"}}},
                 {"data/notes.replaced-" + tenSecondsOn + ".json", Bytes{theirs}}};
         },
         {"Rent, paid here", "Dentist", "Seeds", "Tyres"}},

        {"a restore and an undo here, then a sync tool puts back the file from just after the deletions",
         rentAndDentist,
         [&] {
             startOn("data");
             now = t0 + 5;
             model->deleteNotes({rent.id});
             model->deleteNotes({dentist.id});
             saveAndWait();
             QFile afterDeleting(data("notes.json"));
             ASSERT_TRUE(afterDeleting.open(QIODevice::ReadOnly));
             theirs = afterDeleting.readAll();
             now = t0 + 10;
             model->restore(rent.id);
             model->undo();
             saveAndWait();
             replaceAsSyncToolsDo(data("notes.json"), theirs);
             ASSERT_TRUE(waitUntilKept("notes.replaced-" + tenSecondsOn + ".json"));
             quit();
         },
         [&] {
             return QMap<QString, Expected>{
                 {"data/notes.json", Notes{{"Rent", "Dentist"}}},
                 {"data/notes.replaced-" + tenSecondsOn + ".json", Bytes{theirs}}};
         },
         {"Rent", "Dentist"}},

        {"another program writes the file in place in two parts and pauses between them",
         rentAndDentist,
         [&] {
             startOn("data");
             model->setSaveDelay(std::chrono::hours(1));
             model->setQuietWait(std::chrono::seconds(10));
             theirs = notesFile({rent, dentist, seeds});
             // A save meanwhile finds the first half.
             writeInTwoParts(data("notes.json"), theirs, [this] { saveAndWait(); });
             ASSERT_TRUE(waitUntilShown({"Rent", "Dentist", "Seeds"}));
             quit();
         },
         [&] { return QMap<QString, Expected>{{"data/notes.json", Bytes{theirs}}}; },
         {"Rent", "Dentist", "Seeds"}},

        {"a file a sync tool writes in two parts behind a link to nothing",
         [&] {
             QDir().mkpath(dir.filePath("data"));
             return QFile::link("../Sync/notes.json", dir.filePath("data/notes.json"));
         },
         [&] {
             startOn("data");
             model->setQuietWait(std::chrono::seconds(10));
             typeTwo();
             QDir().mkpath(dir.filePath("Sync"));
             writeInTwoParts(dir.filePath("Sync/notes.json"), fourNotes, [this] { model->load(); });
             ASSERT_TRUE(waitUntilLoaded());
             quit();
         },
         [&] {
             return QMap<QString, Expected>{
                 {"data/notes.json", Link{"../Sync/notes.json"}},
                 {"Sync/notes.json", Notes{fourAndTwo}}};
         },
         fourAndTwo},

        {"a file another program leaves half written is kept, and written over once it keeps still",
         rentAndDentist,
         [&] {
             startOn("data");
             model->setQuietWait(std::chrono::milliseconds(100));
             theirs = notesFile({rent}).left(40);
             rewriteInPlace(data("notes.json"), theirs);
             ASSERT_TRUE(waitUntilKept("notes.replaced-" + t0Seconds + ".json"));
             ASSERT_TRUE(model->banner());
             EXPECT_EQ(model->banner()->text, "Another program left a notes file Brindlewick couldn’t read, so "
                                              "Brindlewick saved the notes it shows. The file as it was is kept as "
                                              "“notes.replaced-" + t0Seconds + ".json” in " + data() + ".");
             quit();
         },
         [&] {
             return QMap<QString, Expected>{
                 {"data/notes.json", Notes{{"Rent", "Dentist"}}},
                 {"data/notes.replaced-" + t0Seconds + ".json", Bytes{theirs}}};
         },
         {"Rent", "Dentist"}},

        {"an older copy of a note we saved comes in: ours stays, and theirs is kept",
         rentAndDentist,
         [&] {
             startOn("data");
             now = t0 + 10;
             model->setText(rent.id, "Rent, paid here");
             saveAndWait();
             StickyNote rentThere = rent;
             rentThere.text = "Rent, paid there earlier";
             rentThere.edited = t0 + 5;
             theirs = notesFile({rentThere, dentist});
             replaceAsSyncToolsDo(dir.filePath("data/notes.json"), theirs);
             ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(data("notes.replaced-" + tenSecondsOn + ".json")); },
                                         patienceMs));
             ASSERT_TRUE(waitUntilShown({"Rent, paid here", "Dentist"}));
             ASSERT_TRUE(model->banner());
             EXPECT_TRUE(model->banner()->text.startsWith("Another program changed your notes file. The file as it "
                                                          "was is kept as “notes.replaced-" + tenSecondsOn + ".json”"))
                 << model->banner()->text.toStdString();
             quit();
         },
         [&] {
             return QMap<QString, Expected>{
                 {"data/notes.json", Notes{{"Rent, paid here", "Dentist"}}},
                 {"data/notes.replaced-" + tenSecondsOn + ".json", Bytes{theirs}}};
         },
         {"Rent, paid here", "Dentist"}},

        {"a newer copy of a note edited here is written into the file in place: it wins, and ours is kept",
         rentAndDentist,
         [&] {
             startOn("data");
             // Nothing of ours touches the file: the change must be seen in the file itself.
             model->setSaveDelay(std::chrono::hours(1));
             now = t0 + 10;
             model->setText(rent.id, "Rent, paid here");
             StickyNote rentThere = rent;
             rentThere.text = "Rent, paid there later";
             rentThere.edited = t0 + 20;
             theirs = notesFile({rentThere, dentist});
             rewriteInPlace(dir.filePath("data/notes.json"), theirs);
             ASSERT_TRUE(waitUntilShown({"Rent, paid there later", "Dentist"}));
             ASSERT_TRUE(QTest::qWaitFor([&] { return model->banner() && model->banner()->text.contains("kept"); },
                                         patienceMs));
             EXPECT_EQ(model->banner()->text, "1 note came in from a changed notes file. The notes as Brindlewick had "
                                              "them are kept as “notes.replaced-" + tenSecondsOn + ".json” in " +
                                                  data() + ".");
             quit();
         },
         [&] {
             return QMap<QString, Expected>{
                 {"data/notes.json", Bytes{theirs}},
                 {"data/notes.replaced-" + tenSecondsOn + ".json", Notes{{"Rent, paid here", "Dentist"}}}};
         },
         {"Rent, paid there later", "Dentist"}},

        {"copies a person made beside the file, a save cut short, and a note pasted from a broken source",
         [&] {
             writeTestFile(dir.filePath("data/notes.json"), notesFile({rent, dentist, seeds, tyres, halfAPair}));
             writeTestFile(dir.filePath("data/notes.json.backup"), person.bytes);
             writeTestFile(dir.filePath("data/notes.json.before"), person.bytes);
             writeTestFile(dir.filePath("data/.notes.json.brindlewick-saving-Ab12Cd"), "{ cut short");
             return true;
         },
         [&] {
             startOn("data");
             model->newNote("\uFEFFKept as typed");
             quit();
         },
         [&] {
             return QMap<QString, Expected>{
                 {"data/notes.json", Notes{{"Rent", "Dentist", "Seeds", "Tyres", halfAPair.text, "\uFEFFKept as typed"}}},
                 {"data/notes.json.backup", person},
                 {"data/notes.json.before", person}};
         },
         {"Rent", "Dentist", "Seeds", "Tyres", halfAPair.text, "\uFEFFKept as typed"}},

        {"a planted link where the recovery file would go in the state folder",
         [&] {
             writeTestFile(dir.filePath("data/notes.json"), notesFile({rent}));
             plantLink("state/Brindlewick/notes.unsaved-" + t0Seconds + ".json");
             return true;
         },
         [&] { failUntilQuitThenStartAgain("state/Brindlewick/notes.unsaved-1765000001.json"); },
         [&] {
             return QMap<QString, Expected>{
                 {"data/notes.json", Fifo{}},
                 {"victim/precious.txt", Bytes{"someone's precious file"}},
                 {"state/Brindlewick/notes.unsaved-" + t0Seconds + ".json", Link{"../../victim/precious.txt"}},
                 {"state/Brindlewick/notes.unsaved-1765000001.json", Notes{{"Rent", "Typed before the quit"}}}};
         },
         {}},

        {"a state folder that is a link to another user's, and a planted link in the data folder",
         [&] {
             writeTestFile(dir.filePath("data/notes.json"), notesFile({rent}));
             QDir().mkpath(dir.filePath("state"));
             QDir().mkpath(dir.filePath("elsewhere"));
             QFile::link(dir.filePath("elsewhere"), dir.filePath("state/Brindlewick"));
             plantLink("data/notes.unsaved-" + t0Seconds + ".json");
             return OtherUser::owns(dir.filePath("elsewhere"));
         },
         [&] { failUntilQuitThenStartAgain("data/notes.unsaved-1765000001.json"); },
         [&] {
             return QMap<QString, Expected>{
                 {"data/notes.json", Fifo{}},
                 {"victim/precious.txt", Bytes{"someone's precious file"}},
                 {"state/Brindlewick", Link{"../elsewhere"}},
                 {"data/notes.unsaved-" + t0Seconds + ".json", Link{"../victim/precious.txt"}},
                 {"data/notes.unsaved-1765000001.json", Notes{{"Rent", "Typed before the quit"}}}};
         },
         {}},

        {"state and data folders another user's, and a planted link in the home folder",
         [&] {
             writeTestFile(dir.filePath("data/notes.json"), notesFile({rent}));
             QDir().mkpath(dir.filePath("state/Brindlewick"));
             plantLink("home/notes.unsaved-" + t0Seconds + ".json");
             return OtherUser::owns(dir.filePath("state/Brindlewick")) && OtherUser::owns(dir.filePath("data"));
         },
         [&] { failUntilQuitThenStartAgain("home/notes.unsaved-1765000001.json"); },
         [&] {
             return QMap<QString, Expected>{
                 {"data/notes.json", Fifo{}},
                 {"victim/precious.txt", Bytes{"someone's precious file"}},
                 {"home/notes.unsaved-" + t0Seconds + ".json", Link{"../victim/precious.txt"}},
                 {"home/notes.unsaved-1765000001.json", Notes{{"Rent", "Typed before the quit"}}}};
         },
         {}},
    };

    QStringList skipped;
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
        now = t0;
        if (!row.arrange()) {
            skipped.append(row.name);
            continue;
        }
        row.run();
        check(row);
        model.reset();
        if (m_mounted)
            ::umount(QFile::encodeName(std::exchange(m_mounted, std::nullopt)->first).constData());
    }
    if (!skipped.isEmpty())
        GTEST_SKIP() << "only root may arrange: " << skipped.join("; ").toStdString();
}

} // namespace
