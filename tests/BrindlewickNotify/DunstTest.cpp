#include "Patience.h"
#include "State/SystemNotifier.h"
#include "TestFiles.h"

#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// dunst, a real notification server, needs the display of the session. Its context menu runs the
// "dmenu" command of its configuration; a stand-in keeps the offered lines in `offered` and picks the
// line of the action named in `choice`.
class DunstTest : public testing::Test {
protected:
    void SetUp() override
    {
        writeFile("pick", "#!/bin/sh\ntee '" + folder("offered").toUtf8() + "' | grep -m1 -F \"$(cat '"
                              + folder("choice").toUtf8() + "')\"\n");
        QFile::setPermissions(folder("pick"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        // Notifications without a time-out of their own go after five seconds, time enough to answer one.
        writeFile("dunstrc", "[global]\ndmenu = " + folder("pick").toUtf8() + "\n[urgency_normal]\ntimeout = 5\n");
        dunst.start("dunst", {"-config", folder("dunstrc")});
        ASSERT_TRUE(QTest::qWaitFor([] { return serverPresent(); }, patienceMs));
    }

    void TearDown() override
    {
        dunst.terminate();
        dunst.waitForFinished(3000);
        EXPECT_TRUE(QTest::qWaitFor([] { return !serverPresent(); }, patienceMs));
    }

    static bool serverPresent()
    {
        return QDBusConnection::sessionBus().interface()->isServiceRegistered("org.freedesktop.Notifications");
    }

    QString folder(const QString &name) const { return QDir(dir.path()).filePath(name); }

    void writeFile(const QString &name, const QByteArray &bytes) const { writeTestFile(folder(name), bytes); }

    static QString dunstctl(const QStringList &arguments)
    {
        QProcess process;
        process.start("dunstctl", arguments);
        process.waitForFinished(patienceMs);
        return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    }

    QTemporaryDir dir;
    QProcess dunst;
};

TEST_F(DunstTest, AlertsShowInDunstAndItsButtonsComeBackAsActions)
{
    SystemNotifier notifier(QDBusConnection::sessionBus(), SettingsStore(folder("settings.json")), &Date::current,
                            folder("notifications.json"));
    QList<std::pair<QUuid, NotifyAction>> answers;
    notifier.onAction = [&](const QUuid &note, NotifyAction action) { answers.append({note, action}); };
    std::optional<NotifyPermission> permission;
    notifier.requestPermission([&](NotifyPermission p) { permission = p; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return permission.has_value(); }, patienceMs));
    EXPECT_EQ(permission, NotifyPermission::allowed);

    const QUuid tea = QUuid::createUuid();
    notifier.schedule({PlannedAlert{tea, PlannedAlert::Kind::timerEnded, Date::current() + 1, "Time’s up: Tea",
                                    "Your 4 min timer has finished."}});
    EXPECT_TRUE(QTest::qWaitFor([] { return dunstctl({"count", "displayed"}) == "1"; }, patienceMs));

    writeFile("choice", "+5 min");
    dunstctl({"context"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return !answers.isEmpty(); }, patienceMs));
    EXPECT_EQ(answers, (QList<std::pair<QUuid, NotifyAction>>{{tea, NotifyAction::snooze}}));
    dunstctl({"close-all"});
    const QString history = dunstctl({"history"});
    EXPECT_TRUE(history.contains("Time’s up: Tea")) << history.toStdString();
    EXPECT_TRUE(history.contains("Your 4 min timer has finished."));

    notifier.schedule({PlannedAlert{tea, PlannedAlert::Kind::due, Date::current(), "Due now: Tea", "It was due."}});
    EXPECT_TRUE(QTest::qWaitFor([] { return dunstctl({"count", "displayed"}) == "1"; }, patienceMs));
    writeFile("choice", "Done");
    dunstctl({"context"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return answers.size() == 2; }, patienceMs));
    EXPECT_EQ(answers.value(1), std::make_pair(tea, NotifyAction::done));
}

TEST_F(DunstTest, AHeadsUpOffersNoSnoozeAndARingStaysUntilWithdrawn)
{
    SystemNotifier notifier(QDBusConnection::sessionBus(), SettingsStore(folder("settings.json")), &Date::current,
                            folder("notifications.json"));
    QList<std::pair<QUuid, NotifyAction>> answers;
    notifier.onAction = [&](const QUuid &note, NotifyAction action) { answers.append({note, action}); };
    const QUuid tea = QUuid::createUuid();

    notifier.schedule({PlannedAlert{tea, PlannedAlert::Kind::dueSoon, Date::current(), "Due in 15 min: Tea", "Soon."}});
    ASSERT_TRUE(QTest::qWaitFor([] { return dunstctl({"count", "displayed"}) == "1"; }, patienceMs));
    writeFile("choice", "Done");
    dunstctl({"context"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return !answers.isEmpty(); }, patienceMs));
    QFile offered(folder("offered"));
    ASSERT_TRUE(offered.open(QIODevice::ReadOnly));
    const QString lines = QString::fromUtf8(offered.readAll());
    EXPECT_TRUE(lines.contains("Done")) << lines.toStdString();
    EXPECT_FALSE(lines.contains("+5 min")) << lines.toStdString();

    // A heads-up shown beside the ring goes once the server's time is up; the ring stays until withdrawn.
    notifier.schedule({PlannedAlert{tea, PlannedAlert::Kind::due, Date::current(), "Due now: Tea", "It is due."},
                       PlannedAlert{QUuid::createUuid(), PlannedAlert::Kind::dueSoon, Date::current(),
                                    "Due in 15 min: Post", "Soon."}});
    ASSERT_TRUE(QTest::qWaitFor([] { return dunstctl({"count", "displayed"}) == "2"; }, patienceMs));
    ASSERT_TRUE(QTest::qWaitFor([] { return dunstctl({"count", "displayed"}) == "1"; }, patienceMs))
        << "the server's time-out";
    notifier.withdraw(tea);
    EXPECT_TRUE(QTest::qWaitFor([] { return dunstctl({"count", "displayed"}) == "0"; }, patienceMs))
        << "what outlived the time-out was the ring";
}

} // namespace
