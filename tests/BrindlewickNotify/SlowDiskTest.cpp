// A disk that stops answering holds up nothing but the save: the model on a real notification server,
// with a writer whose disk does not answer until the test lets it.
#include "State/AppModel.h"
#include "State/Recovery.h"
#include "State/SystemNotifier.h"
#include "FakeNotificationServer.h"
#include "HungDisk.h"
#include "NoteCoding.h"
#include "Patience.h"
#include "ScopedEnv.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>

namespace {

QStringList texts(const QByteArray &file)
{
    QStringList found;
    for (const StickyNote &note : NoteCoding::decode(file, Date::current()).value_or(NoteBook()).notes)
        found.append(note.text);
    return found;
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(SlowDisk, AnAlertIsNotifiedOnTimeWhileASaveHangsAndQuittingWaitsOnlyAWhile)
{
    QTemporaryDir dir;
    const ScopedEnv state("XDG_STATE_HOME", QDir(dir.path()).filePath("state").toUtf8());
    FakeNotificationServer server;
    ASSERT_TRUE(server.registered());
    SettingsStore settings(QDir(dir.path()).filePath("settings.json"));
    settings.setBool(SettingsKeys::notificationsAllowed, true);
    AppModel model(Paths{QDir(dir.path()).filePath("data")}, settings,
                   std::make_unique<SystemNotifier>(QDBusConnection::sessionBus(), settings, &Date::current,
                                                    QDir(dir.path()).filePath("state/notifications.json")));
    model.alertSound = [] {};
    model.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return model.permission() == NotifyPermission::allowed; }, patienceMs));

    HungDisk disk;
    model.writer().beforeWrite = [&disk] { disk.write(); };
    const QUuid tea = model.newNote("Tea");
    model.setTimer(tea, 2, true);
    const Date due = *model.book()[tea]->timer->endsAt;
    model.saveNow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return disk.writes() == 1; }, patienceMs));

    ASSERT_TRUE(QTest::qWaitFor([&] { return !server.shown().isEmpty(); }, patienceMs));
    EXPECT_EQ(server.shown().first().summary, "Time’s up: Tea");
    // Alerts fire at the whole second of their time.
    EXPECT_GE(server.shown().first().arrived.unixSeconds(), std::floor(due.unixSeconds()));
    EXPECT_EQ(disk.writes(), 1) << "notified while the first save still hangs";

    // Saves asked for meanwhile wait their turn; only the last of them matters.
    model.setText(tea, "Tea, strong");
    model.saveNow();
    model.setText(tea, "Tea, stronger");
    model.saveNow();

    model.setQuitWait(std::chrono::milliseconds(300));
    model.saveBeforeQuit();
    const QStringList kept = Recovery::pending({QDir(dir.path()).filePath("state/Brindlewick")});
    ASSERT_EQ(kept.size(), 1) << "the notes went to a recovery file instead of waiting for the disk";
    EXPECT_EQ(texts(bytesOf(kept.first())), QStringList{"Tea, stronger"});

    disk.answer();
    ASSERT_TRUE(model.finishSaves(std::chrono::seconds(10)));
    EXPECT_EQ(texts(bytesOf(model.store().url())), QStringList{"Tea, stronger"});
    EXPECT_EQ(disk.writes(), 2) << "the saves in the queue took each other's place";
}

} // namespace
