// A hundred alarms over two minutes on the real binary, with everything that can go wrong on a desktop
// going wrong in between: the program restarted (some alarms fall due while it is closed), the
// notification server (dunst) killed and started again, the sound server stopped. Every alarm must be
// notified exactly once, and a program ended with the sound server stopped must still end at once.
#include "Desktop.h"
#include "EndToEndTest.h"

#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QTest>
#include <csignal>

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
        writeFile("config/Brindlewick/settings.json", "{\"welcomeDone\": true, \"notificationsAllowed\": true}");
        QList<StickyNote> notes;
        for (int i = 0; i < alarms; ++i) {
            StickyNote note(QUuid::createUuid(), alarmTitle(i + 1), NoteColor::lemon, first - 600);
            note.tucked = true;
            note.timer = NoteTimer(600);
            note.timer->start(first + i * spacing - 600);
            notes.append(note);
        }
        writeFile("data/notes.json", *NoteCoding::encode(NoteBook{notes}));
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
    QMap<QString, int> counts;
    for (const QString &line : lines)
        ++counts[line.section('|', 0, 0)];
    for (int number = 1; number <= alarms; ++number)
        EXPECT_EQ(counts.value("Time’s up: " + alarmTitle(number)), 1) << alarmTitle(number).toStdString();
    EXPECT_EQ(counts.size(), alarms + 1) << "nothing else was notified";
    EXPECT_TRUE(lines.value(beforeRestart).contains("Due ")) << "the first posted at the next start says when it was due: "
                                                             << lines.value(beforeRestart).toStdString();
    EXPECT_FALSE(lines.value(0).contains("Due ")) << "posted on time: " << lines.value(0).toStdString();
}

} // namespace
