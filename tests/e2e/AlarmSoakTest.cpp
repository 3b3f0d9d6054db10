// A hundred alarms over two minutes on the real binary, with everything that can go wrong on a desktop
// going wrong in between: the program restarted (some alarms fall due while it is closed), the
// notification server (dunst) killed and started again, the sound server stopped. Every alarm must be
// notified exactly once, and a program ended with the sound server stopped must still end at once.
#include "Desktop.h"
#include "EndToEndTest.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QTest>
#include <algorithm>
#include <csignal>
#include <sys/stat.h>

namespace {

constexpr int alarms = 100;
// The first alarm falls due this long after the first launch, and one follows each `spacing` seconds.
constexpr double firstAfter = 6;
constexpr double spacing = 1.15;

QString alarmTitle(int number)
{
    return QStringLiteral("Alarm %1").arg(number, 3, 10, QLatin1Char('0'));
}

class AlarmSoakTest : public EndToEndTest {
protected:
    void SetUp() override
    {
        // dunst runs the script for each notification it takes, so what it showed outlives it.
        writeFile("record", "#!/bin/sh\nprintf '%s|%s\\n' \"$2\" \"$(printf '%s' \"$3\" | tr '\\n' ' ')\" >> '"
                                + path("recorded").toUtf8() + "'\n");
        QFile::setPermissions(path("record"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        writeFile("dunstrc", "[global]\nnotification_limit = 0\n[record]\nappname = Brindlewick\nscript = "
                                 + path("record").toUtf8() + "\n");
        startDunst();
        sound.start("pulseaudio", {"-n", "--daemonize=no", "--exit-idle-time=-1", "-L",
                                   "module-null-sink sink_name=null", "-L", "module-native-protocol-unix"});
        ASSERT_TRUE(QTest::qWaitFor([] { return QProcess::execute("sh", {"-c", "pactl info >/dev/null 2>&1"}) == 0; },
                                    patienceMs));
    }

    void TearDown() override
    {
        ::kill(static_cast<pid_t>(sound.processId()), SIGCONT);
        sound.terminate();
        sound.waitForFinished(3000);
        EndToEndTest::TearDown();
    }

    void startDunst() { startNotificationServer(path("dunstrc")); }

    void killDunst()
    {
        notificationServer.kill();
        notificationServer.waitForFinished(3000);
    }

    // Tucked notes, the tray off: they ring without a window, so a hundred of them cost little.
    void writeAlarms(Date first) const
    {
        QList<Date> ends;
        for (int i = 0; i < alarms; ++i)
            ends.append(first + i * spacing);
        writeTimers(ends);
    }

    // Ten-minute timers ending at `ends`, numbered from 1; with notes already there, numbered on.
    void writeTimers(const QList<Date> &ends) const
    {
        writeFile("config/Brindlewick/settings.json", "{\"welcomeDone\": true, \"notificationsAllowed\": true}");
        NoteBook book = notebook().value_or(NoteBook{});
        for (const Date end : ends) {
            StickyNote note(QUuid::createUuid(), alarmTitle(int(book.notes.size()) + 1), NoteColor::lemon, end - 600);
            note.tucked = true;
            note.timer = NoteTimer(600);
            note.timer->start(end - 600);
            book.notes.append(note);
        }
        writeFile("data/notes.json", *NoteCoding::encode(book));
    }

    // Every timer's end is stamped in the notes file: each rang.
    bool allRang() const
    {
        const std::optional<NoteBook> book = notebook();
        return book && std::all_of(book->notes.cbegin(), book->notes.cend(), [](const StickyNote &note) {
            return note.timer && note.alertedTimerEnd == note.timer->endsAt;
        });
    }

    // The permission bits of the file at `name`, not following a link.
    static unsigned mode(const QString &name)
    {
        struct stat info {};
        return ::lstat(QFile::encodeName(name).constData(), &info) == 0 ? info.st_mode & 0777 : 0;
    }

    // How often dunst took each notification, by title.
    QMap<QString, int> counts() const
    {
        QMap<QString, int> counts;
        for (const QString &line : recorded())
            ++counts[line.section('|', 0, 0)];
        return counts;
    }

    // The notifications dunst took, in order: "title|body".
    QStringList recorded() const
    {
        QFile file(path("recorded"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts)
                                              : QStringList();
    }

    bool notified(const QString &title) const
    {
        return !recorded().filter(QRegularExpression("^" + QRegularExpression::escape(title) + "\\|")).isEmpty();
    }

    bool alarmNotified(int number) const { return notified("Time’s up: " + alarmTitle(number)); }

    // Waits until the alarm numbered `number` has come, by the wall clock.
    static void waitForAlarm(Date first, double number)
    {
        const double wait = (first + (number - 1) * spacing - Date::current()) * 1000;
        if (wait > 0)
            QTest::qWait(int(wait));
    }

    QProcess sound;
};

TEST_F(AlarmSoakTest, EveryAlarmIsNotifiedExactlyOnceWhateverHappensToTheProgramAndTheServers)
{
    const Date first = Date::current() + firstAfter;
    writeAlarms(first);
    launch(brindlewick);
    ASSERT_TRUE(QTest::qWaitFor([&] { return alarmNotified(20); }, int((firstAfter + 20 * spacing + 20) * 1000)));

    // Closed for over a minute: what falls due meanwhile is notified at the next start, saying when.
    ASSERT_TRUE(quit(brindlewick));
    const qsizetype beforeRestart = recorded().size();
    waitForAlarm(first, 80);
    launch(brindlewick);
    ASSERT_TRUE(QTest::qWaitFor([&] { return alarmNotified(80); }, patienceMs));

    killDunst();
    waitForAlarm(first, 86);
    startDunst();
    ASSERT_TRUE(QTest::qWaitFor([&] { return alarmNotified(86); }, patienceMs)) << "what fell due while dunst was gone";

    ASSERT_EQ(::kill(static_cast<pid_t>(sound.processId()), SIGSTOP), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return alarmNotified(alarms); }, 60000)) << "a stopped sound server stops nothing";
    QElapsedTimer ending;
    ending.start();
    ::kill(static_cast<pid_t>(brindlewick.processId()), SIGTERM);
    ASSERT_TRUE(brindlewick.waitForFinished(patienceMs));
    // Waiting on the stopped server would hold the end up until the sound library gives up on it (half
    // a minute) or for ever; a loaded machine or a sanitizer build's leak check at exit adds seconds.
    EXPECT_LT(ending.elapsed(), 10000) << "SIGTERM answered while the sound server is stopped";
    EXPECT_EQ(brindlewick.exitCode(), 0);
    ::kill(static_cast<pid_t>(sound.processId()), SIGCONT);

    // One more alarm after a further start shows that start has looked at everything due.
    std::optional<NoteBook> book = notebook();
    ASSERT_TRUE(book);
    StickyNote last(QUuid::createUuid(), "After the restart", NoteColor::mint, Date::current());
    last.tucked = true;
    last.setDeadline(Date::current() + 3, Date::current());
    book->notes.append(last);
    writeFile("data/notes.json", *NoteCoding::encode(*book));
    launch(brindlewick);
    ASSERT_TRUE(QTest::qWaitFor([&] { return notified("Due now: After the restart"); }, patienceMs));
    ASSERT_TRUE(quit(brindlewick));

    const QStringList lines = recorded();
    const QMap<QString, int> notified = counts();
    for (int number = 1; number <= alarms; ++number)
        EXPECT_EQ(notified.value("Time’s up: " + alarmTitle(number)), 1) << alarmTitle(number).toStdString();
    EXPECT_EQ(notified.size(), alarms + 1) << "nothing else was notified";
    EXPECT_TRUE(lines.value(beforeRestart).contains("Due ")) << "the first posted at the next start says when it was due: "
                                                             << lines.value(beforeRestart).toStdString();
    EXPECT_FALSE(lines.value(0).contains("Due ")) << "posted on time: " << lines.value(0).toStdString();
}

// A crash right after an alarm was notified, before the notes file says it rang (here its save is held
// back by the data folder gone meanwhile): the next start rings the note but does not notify it again.
TEST_F(AlarmSoakTest, AnAlarmNotifiedJustBeforeACrashIsNotNotifiedAgainAtTheNextStart)
{
    writeTimers({Date::current() + 4});
    launch(brindlewick);
    // Every note is tucked, so "All Notes" opens once the notes are read.
    ASSERT_TRUE(QTest::qWaitFor([] { return !programWindows().isEmpty(); }, patienceMs));
    ASSERT_TRUE(QDir().rename(path("data"), path("data.moved")));
    writeFile("data", "not a folder");
    ASSERT_TRUE(QTest::qWaitFor([&] { return alarmNotified(1); }, patienceMs));
    brindlewick.kill();
    ASSERT_TRUE(brindlewick.waitForFinished(patienceMs));

    ASSERT_TRUE(QFile::remove(path("data")));
    ASSERT_TRUE(QDir().rename(path("data.moved"), path("data")));
    ASSERT_FALSE(allRang()) << "the notes file does not say it rang";
    launch(brindlewick);
    ASSERT_TRUE(QTest::qWaitFor([&] { return allRang(); }, patienceMs)) << "the next start rang it";
    ASSERT_TRUE(quit(brindlewick));
    EXPECT_EQ(counts().value("Time’s up: " + alarmTitle(1)), 1);
}

// Alarms that ring while no notification server is on the bus are owed to the next one, through a
// crash and a quit: at a later start with a server each is notified once, saying when it was due.
TEST_F(AlarmSoakTest, AlarmsThatRangWithoutANotificationServerAreNotifiedOnceAtALaterStartWithOne)
{
    killDunst();
    // Three ran out while the program was not running, two run out while it runs.
    const Date start = Date::current();
    writeTimers({start - 150, start - 140, start - 130, start + 3, start + 4});
    launch(brindlewick);
    ASSERT_TRUE(QTest::qWaitFor([&] { return allRang(); }, patienceMs));
    brindlewick.kill();
    ASSERT_TRUE(brindlewick.waitForFinished(patienceMs));

    // What the program keeps of them is its own: readable by the user alone, and a link someone put in
    // its place is replaced, not written through.
    const QString kept = path("state/Brindlewick/notifications.json");
    EXPECT_EQ(mode(kept), 0600u);
    QFile::rename(kept, path("elsewhere.json"));
    ASSERT_TRUE(QFile::link(path("elsewhere.json"), kept));
    QFile elsewhere(path("elsewhere.json"));
    ASSERT_TRUE(elsewhere.open(QIODevice::ReadOnly));
    const QByteArray before = elsewhere.readAll();
    elsewhere.close();

    writeTimers({Date::current() + 3});
    launch(brindlewick);
    ASSERT_TRUE(QTest::qWaitFor([&] { return allRang(); }, patienceMs));
    ASSERT_TRUE(quit(brindlewick));
    EXPECT_TRUE(recorded().isEmpty());
    EXPECT_FALSE(QFileInfo(kept).isSymLink());
    EXPECT_EQ(mode(kept), 0600u);
    ASSERT_TRUE(elsewhere.open(QIODevice::ReadOnly));
    EXPECT_EQ(elsewhere.readAll(), before);

    startDunst();
    launch(brindlewick);
    ASSERT_TRUE(QTest::qWaitFor([&] { return recorded().size() >= 6; }, patienceMs));
    ASSERT_TRUE(quit(brindlewick));
    // A further start with one more alarm: what it shows, it shows after everything it owed.
    writeTimers({Date::current() + 3});
    launch(brindlewick);
    ASSERT_TRUE(QTest::qWaitFor([&] { return alarmNotified(7); }, patienceMs));
    ASSERT_TRUE(quit(brindlewick));

    const QMap<QString, int> notified = counts();
    for (int number = 1; number <= 7; ++number)
        EXPECT_EQ(notified.value("Time’s up: " + alarmTitle(number)), 1) << alarmTitle(number).toStdString();
    EXPECT_EQ(notified.size(), 7) << "nothing else was notified";
    const QStringList lines = recorded();
    for (int number = 1; number <= 3; ++number) {
        const QString line = lines.filter("Time’s up: " + alarmTitle(number) + "|").value(0);
        EXPECT_TRUE(line.contains(" Due ")) << "says when it was due: " << line.toStdString();
    }
}

} // namespace
