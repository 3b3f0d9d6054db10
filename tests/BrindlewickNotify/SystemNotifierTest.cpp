#include "State/SystemNotifier.h"
#include "FakeNotificationServer.h"
#include "Patience.h"
#include "TestFiles.h"

#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <cmath>

namespace {

const QStringList offeredActions{"default", "Open", "snooze", "+5 min", "done", "Done"};

PlannedAlert alert(const QUuid &note, PlannedAlert::Kind kind, Date fireAt, const QString &title = "Due now: Tea")
{
    return PlannedAlert{note, kind, fireAt, title, QStringLiteral("It was due today, 5:00 pm.")};
}

// The desktop entry the program installs, by which servers name it: its name and its icon.
struct DesktopEntry {
    QString name;
    QString icon;
};

DesktopEntry installedEntry()
{
    QFile file(QStringLiteral(BRINDLEWICK_TEST_SUPPORT "/../../packaging/brindlewick.desktop"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList icon = QString::fromUtf8(file.readAll()).split('\n').filter(QRegularExpression("^Icon="));
    return {QFileInfo(file).completeBaseName(), icon.value(0).section('=', 1)};
}

// A bus of its own that knows how to start a notification server, but every server it starts ends at
// once: the bus answers the calls waiting for it with an error. Each start is counted.
class BusWithBrokenServer {
public:
    explicit BusWithBrokenServer(const QString &folder) : m_folder(folder)
    {
        QDir().mkpath(folder + "/services");
        writeTestFile(folder + "/broken-server", "#!/bin/sh\necho started >> '" + folder.toUtf8() + "/starts'\nexit 1\n");
        QFile::setPermissions(folder + "/broken-server", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        writeTestFile(folder + "/services/notifications.service",
                      "[D-BUS Service]\nName=org.freedesktop.Notifications\nExec=" + folder.toUtf8() + "/broken-server\n");
        writeTestFile(folder + "/bus.conf",
                      "<busconfig><type>session</type><listen>unix:dir=" + folder.toUtf8() + "</listen>"
                      "<auth>EXTERNAL</auth><servicedir>" + folder.toUtf8() + "/services</servicedir>"
                      "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                      "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy>"
                      "</busconfig>");
        m_daemon.start("dbus-daemon", {"--config-file=" + folder + "/bus.conf", "--nofork", "--print-address=1"});
        EXPECT_TRUE(QTest::qWaitFor([&] { return m_daemon.canReadLine(); }, patienceMs));
        address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    }

    ~BusWithBrokenServer()
    {
        QDBusConnection::disconnectFromBus(connectionName);
        m_daemon.terminate();
        m_daemon.waitForFinished(3000);
    }

    QDBusConnection connection() const { return QDBusConnection::connectToBus(address, connectionName); }

    int starts() const
    {
        QFile file(m_folder + "/starts");
        return file.open(QIODevice::ReadOnly) ? int(file.readAll().count('\n')) : 0;
    }

    QString address;

private:
    static constexpr const char *connectionName = "bus-with-broken-server";
    QString m_folder;
    QProcess m_daemon;
};

class SystemNotifierTest : public testing::Test {
protected:
    SettingsStore settings() const { return SettingsStore(QDir(dir.path()).filePath("settings.json")); }
    QString shownFile() const { return QDir(dir.path()).filePath("state/notifications.json"); }

    // A notifier on the session bus whose clock stands at `frozen`, or runs `shift` seconds ahead of
    // the wall clock.
    std::unique_ptr<SystemNotifier> makeNotifier()
    {
        auto notifier = std::make_unique<SystemNotifier>(
            QDBusConnection::sessionBus(), settings(), [this] { return frozen.value_or(Date::current() + shift); },
            shownFile());
        notifier->onAction = [this](const QUuid &note, NotifyAction action) { answers.append({note, action}); };
        return notifier;
    }

    static NotifyPermission permissionOf(SystemNotifier &notifier, bool request = false)
    {
        std::optional<NotifyPermission> answer;
        const auto record = [&](NotifyPermission p) { answer = p; };
        request ? notifier.requestPermission(record) : notifier.permission(record);
        EXPECT_TRUE(QTest::qWaitFor([&] { return answer.has_value(); }, patienceMs));
        return answer.value_or(NotifyPermission::notAsked);
    }

    // Calls on one connection reach the server in order, so once a later call is answered every
    // notification posted before it has arrived.
    static void roundTrip(SystemNotifier &notifier) { permissionOf(notifier); }

    void waitForShown(qsizetype count) const
    {
        EXPECT_TRUE(QTest::qWaitFor([&] { return server->shown().size() >= count; }, patienceMs));
    }

    QTemporaryDir dir;
    std::optional<Date> frozen;
    double shift = 0;
    QList<std::pair<QUuid, NotifyAction>> answers;
    std::unique_ptr<FakeNotificationServer> server = std::make_unique<FakeNotificationServer>();
};

TEST_F(SystemNotifierTest, WithoutAServerNotificationsAreDenied)
{
    server.reset();
    auto notifier = makeNotifier();
    EXPECT_EQ(permissionOf(*notifier), NotifyPermission::denied);
    EXPECT_EQ(permissionOf(*notifier, true), NotifyPermission::denied);
    EXPECT_TRUE(settings().keys().isEmpty());
}

TEST_F(SystemNotifierTest, AServerIsNotAskedUntilTheUserAllowsItThenAllowedForGood)
{
    ASSERT_TRUE(server->registered());
    auto notifier = makeNotifier();
    EXPECT_EQ(permissionOf(*notifier), NotifyPermission::notAsked);
    EXPECT_EQ(permissionOf(*notifier, true), NotifyPermission::allowed);
    EXPECT_EQ(permissionOf(*makeNotifier()), NotifyPermission::allowed);

    server.reset();
    EXPECT_EQ(permissionOf(*notifier), NotifyPermission::denied);
}

TEST_F(SystemNotifierTest, AlertsArePostedAtTheirSecondOfTheWallClockWithTextsAndActions)
{
    auto notifier = makeNotifier();
    const QUuid tea = QUuid::createUuid();
    const QUuid report = QUuid::createUuid();
    // At least a whole second ahead, so nothing is due before the first look.
    const double second = std::floor(Date::current().unixSeconds()) + 2;
    const Date first = Date::fromUnix(second + 0.6);
    const Date next = Date::fromUnix(second + 1);
    notifier->schedule({alert(tea, PlannedAlert::Kind::timerEnded, first, "Time’s up: Tea"),
                        alert(report, PlannedAlert::Kind::due, next, "Due now: Report")});
    EXPECT_EQ(notifier->pending().size(), 2);
    roundTrip(*notifier);
    EXPECT_TRUE(server->shown().isEmpty());

    waitForShown(2);
    ASSERT_EQ(server->shown().size(), 2);
    const auto &tea_ = server->shown()[0];
    EXPECT_EQ(tea_.summary, "Time’s up: Tea");
    EXPECT_EQ(tea_.body, "It was due today, 5:00 pm.");
    EXPECT_EQ(tea_.appName, "Brindlewick");
    EXPECT_EQ(tea_.appIcon, installedEntry().icon);
    EXPECT_EQ(tea_.hints.value("desktop-entry").toString(), installedEntry().name);
    EXPECT_EQ(tea_.actions, offeredActions);
    EXPECT_GE(tea_.arrived.unixSeconds(), second);
    EXPECT_LT(tea_.arrived.unixSeconds(), second + 1.5);
    EXPECT_EQ(server->shown()[1].summary, "Due now: Report");
    EXPECT_GE(server->shown()[1].arrived.unixSeconds(), second + 1);
    EXPECT_TRUE(notifier->pending().isEmpty());
}

TEST_F(SystemNotifierTest, AnAlertFiresAtItsWholeSecondAndNotBefore)
{
    auto notifier = makeNotifier();
    const double second = std::floor(Date::current().unixSeconds()) + 100;
    const QUuid note = QUuid::createUuid();
    notifier->schedule({alert(note, PlannedAlert::Kind::due, Date::fromUnix(second + 0.9))});

    frozen = Date::fromUnix(second - 0.001);
    notifier->postDue();
    roundTrip(*notifier);
    EXPECT_TRUE(server->shown().isEmpty());

    frozen = Date::fromUnix(second);
    notifier->postDue();
    roundTrip(*notifier);
    EXPECT_EQ(server->shown().size(), 1);
}

TEST_F(SystemNotifierTest, AnswersReachTheActionCallbackAsTheNotesActions)
{
    auto notifier = makeNotifier();
    const QUuid tea = QUuid::createUuid();
    const QUuid report = QUuid::createUuid();
    notifier->schedule({alert(tea, PlannedAlert::Kind::timerEnded, Date::current() - 1),
                        alert(report, PlannedAlert::Kind::due, Date::current() - 1)});
    waitForShown(2);
    ASSERT_EQ(server->shown().size(), 2);
    const uint teaId = server->shown()[0].id;
    const uint reportId = server->shown()[1].id;

    server->invokeAction(teaId, "snooze");
    server->invokeAction(reportId, "done");
    server->invokeAction(teaId, "default");
    server->invokeAction(reportId, "something-else");
    server->invokeAction(teaId + reportId + 7, "done");
    const QList<std::pair<QUuid, NotifyAction>> expected{
        {tea, NotifyAction::snooze}, {report, NotifyAction::done}, {tea, NotifyAction::open}, {report, NotifyAction::open}};
    EXPECT_TRUE(QTest::qWaitFor([&] { return answers.size() >= expected.size(); }, patienceMs));
    roundTrip(*notifier);
    EXPECT_EQ(answers, expected);

    // A closed notification, or a signal from anyone but the server, answers nothing.
    answers.clear();
    server->close(teaId);
    server->invokeAction(teaId, "done");
    QDBusConnection stranger = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "stranger");
    stranger.send(QDBusMessage::createSignal("/org/freedesktop/Notifications", "org.freedesktop.Notifications",
                                             "ActionInvoked")
                  << reportId << QString("done"));
    server->invokeAction(reportId, "snooze");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !answers.isEmpty(); }, patienceMs));
    roundTrip(*notifier);
    EXPECT_EQ(answers, (QList<std::pair<QUuid, NotifyAction>>{{report, NotifyAction::snooze}}));
    QDBusConnection::disconnectFromBus("stranger");
}

TEST_F(SystemNotifierTest, RescheduleReplacesThePendingAlertsAndAnEmptyListClearsThem)
{
    auto notifier = makeNotifier();
    const Date now = Date::current();
    const QUuid a = QUuid::createUuid();
    const QUuid b = QUuid::createUuid();
    const PlannedAlert aDue = alert(a, PlannedAlert::Kind::due, now + 100);
    const PlannedAlert aWarn = alert(a, PlannedAlert::Kind::dueSoon, now + 50);
    const PlannedAlert bTimer = alert(b, PlannedAlert::Kind::timerEnded, now + 200);
    notifier->schedule({aDue, bTimer});
    notifier->schedule({aWarn, aDue});
    EXPECT_EQ(notifier->pending(), (QList<PlannedAlert>{aWarn, aDue}));

    shift = 300;
    notifier->postDue();
    roundTrip(*notifier);
    ASSERT_EQ(server->shown().size(), 2);
    EXPECT_EQ(server->shown()[0].summary, aWarn.title);

    shift = 0;
    notifier->schedule({bTimer});
    notifier->schedule({});
    EXPECT_TRUE(notifier->pending().isEmpty());
    shift = 300;
    notifier->postDue();
    roundTrip(*notifier);
    EXPECT_EQ(server->shown().size(), 2);
}

// However many there are, every alert is kept and posted at its time; times that can never come (a
// damaged note) are dropped rather than block the others.
TEST_F(SystemNotifierTest, EveryAlertIsKeptAndPostedHoweverManyThereAre)
{
    auto notifier = makeNotifier();
    const Date now = Date::current();
    QList<PlannedAlert> alerts;
    for (int i = 150; i >= 1; --i)
        alerts.append(alert(QUuid::createUuid(), PlannedAlert::Kind::due, now + 60.0 * i, QString::number(i)));
    QList<PlannedAlert> withBadTimes = alerts;
    withBadTimes.prepend(alert(QUuid::createUuid(), PlannedAlert::Kind::due, Date{std::nan("")}));
    withBadTimes.insert(30, alert(QUuid::createUuid(), PlannedAlert::Kind::due, Date{-INFINITY}));
    notifier->schedule(withBadTimes);

    ASSERT_EQ(notifier->pending().size(), 150);
    for (int i = 0; i < 150; ++i)
        EXPECT_EQ(notifier->pending()[i], alerts[149 - i]) << i;
    roundTrip(*notifier);
    EXPECT_TRUE(server->shown().isEmpty());

    shift = 60.0 * 150;
    notifier->postDue();
    waitForShown(150);
    ASSERT_EQ(server->shown().size(), 150);
    for (int i = 0; i < 150; ++i)
        EXPECT_EQ(server->shown()[i].summary, QString::number(i + 1));
}

// The alarm rings when the clock is set or the machine wakes; what is due then is posted once.
TEST_F(SystemNotifierTest, AnAlertThatFellDueWhileTheClockJumpedIsPostedOnce)
{
    auto notifier = makeNotifier();
    const Date now = Date::current();
    const QUuid note = QUuid::createUuid();
    const PlannedAlert passed = alert(note, PlannedAlert::Kind::dueSoon, now + 3600, "Due in 15 min: Tea");
    const PlannedAlert ahead = alert(note, PlannedAlert::Kind::due, now + 4500);
    notifier->schedule({passed, ahead});

    shift = 3700;
    notifier->postDue();
    notifier->postDue();
    notifier->schedule({passed, ahead});
    roundTrip(*notifier);

    ASSERT_EQ(server->shown().size(), 1);
    EXPECT_EQ(server->shown()[0].summary, "Due in 15 min: Tea");
    EXPECT_EQ(notifier->pending(), QList<PlannedAlert>{ahead});
}

TEST_F(SystemNotifierTest, ANewAlertOfTheSameNoteAndKindReplacesTheOneOnScreen)
{
    auto notifier = makeNotifier();
    const Date now = Date::current();
    const QUuid note = QUuid::createUuid();
    notifier->schedule({alert(note, PlannedAlert::Kind::timerEnded, now - 10)});
    waitForShown(1);
    roundTrip(*notifier);
    notifier->schedule({alert(note, PlannedAlert::Kind::timerEnded, now - 5)});
    waitForShown(2);
    ASSERT_EQ(server->shown().size(), 2);
    EXPECT_EQ(server->shown()[1].replacesId, server->shown()[0].id);

    server->close(server->shown()[0].id);
    roundTrip(*notifier);
    notifier->schedule({alert(note, PlannedAlert::Kind::timerEnded, now - 1)});
    waitForShown(3);
    ASSERT_EQ(server->shown().size(), 3);
    EXPECT_EQ(server->shown()[2].replacesId, 0u);
}

TEST_F(SystemNotifierTest, WithdrawingANoteClosesItsNotificationsAndDropsTheirLateAnswers)
{
    auto notifier = makeNotifier();
    const QUuid tea = QUuid::createUuid();
    const QUuid report = QUuid::createUuid();
    notifier->schedule({alert(tea, PlannedAlert::Kind::dueSoon, Date::current() - 2),
                        alert(tea, PlannedAlert::Kind::due, Date::current() - 1),
                        alert(report, PlannedAlert::Kind::due, Date::current() - 1)});
    waitForShown(3);
    roundTrip(*notifier);
    ASSERT_EQ(server->shown().size(), 3);

    notifier->withdraw(tea);
    EXPECT_TRUE(QTest::qWaitFor([&] { return server->closed().size() == 2; }, patienceMs));
    EXPECT_EQ(QSet<uint>(server->closed().begin(), server->closed().end()),
              (QSet<uint>{server->shown()[0].id, server->shown()[1].id}));

    server->invokeAction(server->shown()[1].id, "snooze");
    server->invokeAction(server->shown()[2].id, "done");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !answers.isEmpty(); }, patienceMs));
    roundTrip(*notifier);
    EXPECT_EQ(answers, (QList<std::pair<QUuid, NotifyAction>>{{report, NotifyAction::done}}));
}

// The user allowed notifications in an earlier run; what fell due while the program was not running
// is raised by the first tick, before anything else is known.
TEST_F(SystemNotifierTest, AnAlertRaisedWithoutANotificationIsPostedLateOnceSayingWhenItWasDue)
{
    settings().setBool(SettingsKeys::notificationsAllowed, true);
    auto notifier = makeNotifier();
    const Date now = Date::current();
    const QUuid tea = QUuid::createUuid();
    const PlannedAlert missed = alert(tea, PlannedAlert::Kind::timerEnded, now - 300, "Time’s up: Tea");
    notifier->raised({missed});
    waitForShown(1);
    ASSERT_EQ(server->shown().size(), 1);
    EXPECT_TRUE(server->shown()[0].body.startsWith(missed.body + "\nDue ")) << server->shown()[0].body.toStdString();
    EXPECT_EQ(server->shown()[0].summary, missed.title);

    // Posted at its second, then raised by the tick: once.
    const PlannedAlert onTime = alert(QUuid::createUuid(), PlannedAlert::Kind::due, now - 1);
    notifier->schedule({onTime});
    waitForShown(2);
    notifier->raised({missed, onTime});
    notifier->schedule({missed, onTime});
    roundTrip(*notifier);
    ASSERT_EQ(server->shown().size(), 2);
    EXPECT_EQ(server->shown()[1].body, onTime.body) << "on time, no time is added";

    // Without the user's consent nothing raised is shown.
    settings().setBool(SettingsKeys::notificationsAllowed, false);
    notifier->raised({alert(QUuid::createUuid(), PlannedAlert::Kind::due, now - 2)});
    roundTrip(*notifier);
    EXPECT_EQ(server->shown().size(), 2);
}

// The notification server was killed and started again; the permission follows it there and back.
TEST_F(SystemNotifierTest, AlertsThatFellDueWhileTheServerWasGoneArePostedOnceWhenItIsBack)
{
    settings().setBool(SettingsKeys::notificationsAllowed, true);
    auto notifier = makeNotifier();
    QList<NotifyPermission> told;
    notifier->onPermissionChange = [&](NotifyPermission p) { told.append(p); };
    ASSERT_EQ(permissionOf(*notifier), NotifyPermission::allowed);

    server.reset();
    ASSERT_TRUE(QTest::qWaitFor([&] { return told == QList{NotifyPermission::denied}; }, patienceMs));
    const Date now = Date::current();
    const PlannedAlert scheduled = alert(QUuid::createUuid(), PlannedAlert::Kind::timerEnded, now + 100, "Tea");
    const PlannedAlert raisedByTick = alert(QUuid::createUuid(), PlannedAlert::Kind::due, now + 150, "Call");
    const PlannedAlert answeredMeanwhile = alert(QUuid::createUuid(), PlannedAlert::Kind::due, now + 160, "Post");
    notifier->schedule({scheduled});
    shift = 200;
    notifier->postDue();
    notifier->raised({raisedByTick, answeredMeanwhile, scheduled});
    notifier->withdraw(answeredMeanwhile.noteID);
    EXPECT_EQ(notifier->late(), (QList<PlannedAlert>{scheduled, raisedByTick}));

    server = std::make_unique<FakeNotificationServer>();
    ASSERT_TRUE(QTest::qWaitFor([&] { return told.size() == 2; }, patienceMs));
    EXPECT_EQ(told.last(), NotifyPermission::allowed);
    waitForShown(2);
    notifier->raised({scheduled, raisedByTick});
    roundTrip(*notifier);
    ASSERT_EQ(server->shown().size(), 2);
    EXPECT_EQ(server->shown()[0].summary, "Tea");
    EXPECT_TRUE(server->shown()[0].body.contains("\nDue ")) << "a minute and more late";
    EXPECT_EQ(server->shown()[1].summary, "Call");
    EXPECT_TRUE(notifier->late().isEmpty());
}

// Notifications left on screen are withdrawn at the end of a run; those a crash left, by the next run,
// but only on the server instance that showed them: another one's ids are its own notifications. What
// the server took before a crash is not posted again, though the notes file never said it was raised.
TEST_F(SystemNotifierTest, TheEndOfARunWithdrawsItsAlertsAndTheNextRunWithdrawsWhatACrashLeft)
{
    const auto asSet = [](const QList<uint> &ids) { return QSet<uint>(ids.begin(), ids.end()); };
    QList<PlannedAlert> lastTwo;
    const auto postTwo = [&](SystemNotifier &notifier) {
        const qsizetype before = server->shown().size();
        lastTwo = {alert(QUuid::createUuid(), PlannedAlert::Kind::timerEnded, Date::current() - 1),
                   alert(QUuid::createUuid(), PlannedAlert::Kind::due, Date::current() - 1)};
        notifier.schedule(lastTwo);
        waitForShown(before + 2);
        roundTrip(notifier);
        return QList<uint>{server->shown()[before].id, server->shown()[before + 1].id};
    };

    auto ending = makeNotifier();
    const QList<uint> ended = postTwo(*ending);
    ending->raisedSaved();
    ending->withdrawAll();
    EXPECT_TRUE(QTest::qWaitFor([&] { return asSet(server->closed()) == asSet(ended); }, patienceMs));
    EXPECT_FALSE(QFile::exists(shownFile()));

    auto crashing = makeNotifier();
    const QList<uint> left = postTwo(*crashing);
    crashing.reset();
    EXPECT_TRUE(QFile::exists(shownFile()));
    auto next = makeNotifier();
    permissionOf(*next);
    EXPECT_TRUE(QTest::qWaitFor([&] { return server->closed().size() == 4; }, patienceMs));
    EXPECT_EQ(asSet(server->closed().mid(2)), asSet(left));
    settings().setBool(SettingsKeys::notificationsAllowed, true);
    next->raised(lastTwo);
    roundTrip(*next);
    EXPECT_EQ(server->shown().size(), 4) << "taken before the crash, posted once";
    server->invokeAction(left[0], "done");
    roundTrip(*next);
    EXPECT_TRUE(answers.isEmpty()) << "an answer to an earlier run's notification is dropped";

    const QList<uint> leftOnOldServer = postTwo(*next);
    next.reset();
    server = std::make_unique<FakeNotificationServer>();
    auto afterRestart = makeNotifier();
    permissionOf(*afterRestart);
    roundTrip(*afterRestart);
    EXPECT_TRUE(server->closed().isEmpty()) << "ids " << leftOnOldServer.first() << ", … meant another server";
}

TEST_F(SystemNotifierTest, TurningNotificationsOffDropsTheAlertsWaitingForAServer)
{
    auto notifier = makeNotifier();
    EXPECT_EQ(permissionOf(*notifier, true), NotifyPermission::allowed);
    server.reset();
    ASSERT_EQ(permissionOf(*notifier), NotifyPermission::denied);
    notifier->raised({alert(QUuid::createUuid(), PlannedAlert::Kind::due, Date::current() - 1)});
    EXPECT_EQ(notifier->late().size(), 1);

    std::optional<NotifyPermission> off;
    notifier->revokePermission([&](NotifyPermission p) { off = p; });
    EXPECT_EQ(off, NotifyPermission::denied) << "no server, so denied either way";
    EXPECT_TRUE(notifier->late().isEmpty());
    server = std::make_unique<FakeNotificationServer>();
    EXPECT_EQ(permissionOf(*notifier), NotifyPermission::notAsked);
    roundTrip(*notifier);
    EXPECT_TRUE(server->shown().isEmpty());
}

// The bus can start a server but every one it starts fails. It is asked to once for everything that
// falls due together, and again only once a server it started has gone; meanwhile every alert is
// tried once at most and waits for a server that comes, which shows each of them once.
TEST_F(SystemNotifierTest, ABusThatFailsToStartAServerIsNotAskedAgainAndTheAlertsWaitForOneThatComes)
{
    server.reset();
    settings().setBool(SettingsKeys::notificationsAllowed, true);
    BusWithBrokenServer bus(QDir(dir.path()).filePath("bus"));
    SystemNotifier notifier(bus.connection(), settings(), &Date::current, shownFile());
    const Date now = Date::current();
    const QUuid tea = QUuid::createUuid();
    notifier.raised({alert(tea, PlannedAlert::Kind::timerEnded, now - 3, "Tea"),
                     alert(QUuid::createUuid(), PlannedAlert::Kind::due, now - 2, "Call")});
    EXPECT_EQ(permissionOf(notifier), NotifyPermission::denied);
    notifier.schedule({alert(QUuid::createUuid(), PlannedAlert::Kind::due, now - 1, "Post")});
    notifier.raised({alert(tea, PlannedAlert::Kind::timerEnded, now - 3, "Tea")});
    EXPECT_EQ(permissionOf(notifier), NotifyPermission::denied);
    EXPECT_EQ(notifier.late().size(), 3);
    EXPECT_EQ(bus.starts(), 1);

    auto comes = std::make_unique<FakeNotificationServer>(bus.address);
    ASSERT_TRUE(QTest::qWaitFor([&] { return comes->shown().size() == 3; }, patienceMs));
    EXPECT_EQ(permissionOf(notifier), NotifyPermission::allowed);
    QList<NotifyPermission> told;
    notifier.onPermissionChange = [&](NotifyPermission p) { told.append(p); };
    comes.reset();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !told.isEmpty(); }, patienceMs));
    EXPECT_EQ(told.last(), NotifyPermission::allowed) << "a server the bus can start counts as there";
    notifier.raised({alert(QUuid::createUuid(), PlannedAlert::Kind::due, now - 1, "Walk")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return told.size() == 2; }, patienceMs));
    EXPECT_EQ(told.last(), NotifyPermission::denied) << "until it fails to start one";
    notifier.raised({alert(QUuid::createUuid(), PlannedAlert::Kind::due, now, "Read")});
    EXPECT_EQ(notifier.late().size(), 2);
    EXPECT_EQ(bus.starts(), 2);

    comes = std::make_unique<FakeNotificationServer>(bus.address);
    ASSERT_TRUE(QTest::qWaitFor([&] { return comes->shown().size() == 2; }, patienceMs));
    roundTrip(notifier);
    EXPECT_EQ(comes->shown().size(), 2);
    EXPECT_TRUE(notifier.late().isEmpty());
}

// A problem with the notes keeps one notification, shown again in its place, which goes once the
// problem is solved, also while on its way, and when the run ends; clicking it answers nothing.
TEST_F(SystemNotifierTest, AProblemKeepsOneNotificationWhichGoesOnceSolvedAndWhenTheRunEnds)
{
    auto notifier = makeNotifier();
    notifier->announce(Notifier::Problem::cannotSave, "Brindlewick couldn’t save your notes", "The disk is full.");
    waitForShown(1);
    roundTrip(*notifier);
    notifier->announce(Notifier::Problem::cannotSave, "Brindlewick couldn’t save your notes", "Still full.");
    notifier->announce(Notifier::Problem::cannotRead, "Brindlewick can’t read your notes", "Unreadable.");
    waitForShown(3);
    roundTrip(*notifier);
    ASSERT_EQ(server->shown().size(), 3);
    const uint saving = server->shown()[0].id;
    EXPECT_EQ(server->shown()[1].replacesId, saving) << "shown again in its place";
    EXPECT_EQ(server->shown()[0].hints.value("urgency").toInt(), 2);
    EXPECT_EQ(server->shown()[0].appIcon, installedEntry().icon);
    EXPECT_EQ(server->shown()[0].hints.value("desktop-entry").toString(), installedEntry().name);
    server->invokeAction(saving, "default");

    notifier->resolve(Notifier::Problem::cannotSave);
    notifier->resolve(Notifier::Problem::startedFresh);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !server->closed().isEmpty(); }, patienceMs));
    notifier->announce(Notifier::Problem::startedFresh, "Brindlewick started with no notes", "Kept aside.");
    notifier->resolve(Notifier::Problem::startedFresh);
    waitForShown(4);
    EXPECT_TRUE(QTest::qWaitFor([&] { return server->closed().size() == 2; }, patienceMs));
    notifier->withdrawAll();
    EXPECT_TRUE(QTest::qWaitFor([&] { return server->closed().size() == 3; }, patienceMs));
    EXPECT_EQ(server->closed(), (QList<uint>{saving, server->shown()[3].id, server->shown()[2].id}));
    roundTrip(*notifier);
    EXPECT_TRUE(answers.isEmpty());
}

} // namespace
