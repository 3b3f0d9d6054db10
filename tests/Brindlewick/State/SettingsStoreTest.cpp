#include "State/SettingsStore.h"
#include "State/FileWriter.h"
#include "Patience.h"
#include "FileSizeLimit.h"
#include "HungDisk.h"
#include "ScopedEnv.h"
#include "SmallFilesDisk.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

class SettingsStoreTest : public testing::Test {
protected:
    ~SettingsStoreTest() override { landed(); }

    // Waits for the writer to be done with what was set.
    static void landed() { ASSERT_TRUE(FileWriter::shared().finish(QDeadlineTimer(patienceMs))); }

    QString path(const QString &name = QStringLiteral("settings.json")) const
    {
        return QDir(dir.path()).filePath(QStringLiteral("config/Brindlewick/") + name);
    }

    void writeFile(const QByteArray &bytes) const { writeTestFile(path(), bytes); }

    QByteArray fileBytes() const
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
};

TEST_F(SettingsStoreTest, EachValueReadsBackOnlyAsTheTypeItWasWritten)
{
    SettingsStore written(path());
    written.setBool(SettingsKeys::playSound, false);
    written.setInt(SettingsKeys::warnMinutes, 15);
    written.setString(SettingsKeys::sort, QStringLiteral("edited"));
    written.setString(SettingsKeys::trayOpensOn, QStringLiteral("1"));
    written.setInt(SettingsKeys::newNotesFloat, 1);

    const SettingsStore store(path());
    EXPECT_EQ(store.boolValue(SettingsKeys::playSound), false);
    EXPECT_EQ(store.intValue(SettingsKeys::playSound), std::nullopt);
    EXPECT_EQ(store.intValue(SettingsKeys::warnMinutes), 15);
    EXPECT_EQ(store.boolValue(SettingsKeys::warnMinutes), std::nullopt);
    EXPECT_EQ(store.stringValue(SettingsKeys::warnMinutes), std::nullopt);
    EXPECT_EQ(store.stringValue(SettingsKeys::sort), QStringLiteral("edited"));
    EXPECT_EQ(store.intValue(SettingsKeys::trayOpensOn), std::nullopt);
    EXPECT_EQ(store.boolValue(SettingsKeys::trayOpensOn), std::nullopt);
    EXPECT_EQ(store.boolValue(SettingsKeys::newNotesFloat), std::nullopt);
    EXPECT_EQ(store.boolValue(SettingsKeys::hotkeyEnabled), std::nullopt);
    QStringList keys = store.keys();
    keys.sort();
    EXPECT_EQ(keys, (QStringList{"newNotesFloat", "playSound", "sort", "trayOpensOn", "warnMinutes"}));
}

TEST_F(SettingsStoreTest, HandWrittenNumbersCountAsIntsOnlyWhenWholeAndInRange)
{
    writeFile(R"({"a": 15.5, "b": 1e12, "c": -3, "d": 7.0, "e": "12", "f": true, "g": null})");
    const SettingsStore store(path());
    struct Case { const char *key; std::optional<int> value; };
    for (const Case c : {Case{"a", std::nullopt}, Case{"b", std::nullopt}, Case{"c", -3}, Case{"d", 7},
                         Case{"e", std::nullopt}, Case{"f", std::nullopt}, Case{"g", std::nullopt},
                         Case{"missing", std::nullopt}}) {
        EXPECT_EQ(store.intValue(c.key), c.value) << c.key;
    }
}

TEST_F(SettingsStoreTest, MissingOrEmptyFileReadsEmptyAndADamagedOneIsSetAsideWithItsBytes)
{
    SettingsStore store(path());
    EXPECT_TRUE(store.keys().isEmpty());
    EXPECT_EQ(store.boolValue(SettingsKeys::welcomeDone), std::nullopt);
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(path()).absolutePath()));

    writeFile("");
    EXPECT_TRUE(store.keys().isEmpty());
    EXPECT_EQ(fileBytes(), "") << "an empty file holds no settings yet and is left alone";
    EXPECT_EQ(store.setAside(), std::nullopt);

    for (const QByteArray &damaged : {QByteArray("{\"playSound\": fal"), QByteArray("[true, 15]"),
                                     QByteArray("\xff\xfe\x00garbage", 10)}) {
        writeFile(damaged);
        EXPECT_TRUE(store.keys().isEmpty()) << damaged.toStdString();
        EXPECT_EQ(store.boolValue(SettingsKeys::playSound), std::nullopt);
        EXPECT_FALSE(QFileInfo::exists(path()));
        ASSERT_TRUE(store.setAside());
        QFile aside(*store.setAside());
        ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
        EXPECT_EQ(aside.readAll(), damaged);
        EXPECT_TRUE(QFileInfo(aside).fileName().startsWith("settings.damaged-"));
    }

    store.setBool(SettingsKeys::welcomeDone, true);
    EXPECT_EQ(store.keys(), QStringList{"welcomeDone"});
    EXPECT_EQ(store.boolValue(SettingsKeys::welcomeDone), true);
}

TEST_F(SettingsStoreTest, TwoStoresOnOneFileKeepEachOthersKeys)
{
    SettingsStore model(path());
    SettingsStore updater(path());
    model.setInt(SettingsKeys::warnMinutes, 30);
    updater.setBool(SettingsKeys::autoUpdate, false);
    model.setString(SettingsKeys::defaultColor, QStringLiteral("mint"));
    updater.setBool(SettingsKeys::announced(QStringLiteral("1.2")), true);

    EXPECT_EQ(model.intValue(SettingsKeys::warnMinutes), 30);
    EXPECT_EQ(model.boolValue(QStringLiteral("OstrelAutoUpdate")), false);
    EXPECT_EQ(model.stringValue(SettingsKeys::defaultColor), QStringLiteral("mint"));
    EXPECT_EQ(model.boolValue(QStringLiteral("OstrelAnnounced-1.2")), true);
}

// The file changes under a write that still waits, which will replace it: the value set holds.
TEST_F(SettingsStoreTest, AValueSetReadsBackWhileItsWriteWaitsForTheDiskAndLandsLast)
{
    SettingsStore store(path());
    HungDisk disk;
    {
        const SmallFilesDisk hanging([&disk] { disk.write(); });
        store.setInt(SettingsKeys::warnMinutes, 5);
        ASSERT_TRUE(QTest::qWaitFor([&] { return disk.writes() == 1; }, patienceMs));
        store.setInt(SettingsKeys::warnMinutes, 10);
        writeFile(R"({"warnMinutes": 1})");
        EXPECT_EQ(store.intValue(SettingsKeys::warnMinutes), 10);
        disk.answer();
    }
    EXPECT_EQ(QJsonDocument::fromJson(fileBytes()).object().value(SettingsKeys::warnMinutes), QJsonValue(10));
    EXPECT_EQ(SettingsStore(path()).intValue(SettingsKeys::warnMinutes), 10);
}

TEST_F(SettingsStoreTest, AWriteThatFailsHalfwayLeavesThePreviousFileWhole)
{
    SettingsStore store(path());
    store.setInt(SettingsKeys::warnMinutes, 5);
    landed();
    const QByteArray before = fileBytes();

    {
        const FileSizeLimit limit(64);
        store.setString(SettingsKeys::sort, QString(200, u'x'));
        landed();
    }

    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(store.intValue(SettingsKeys::warnMinutes), 5);
    EXPECT_EQ(QDir(QFileInfo(path()).absolutePath()).entryList(QDir::Files), QStringList{"settings.json"});
}

TEST_F(SettingsStoreTest, UserAndDemoFilesLiveInTheConfigFolderAndStayApart)
{
    const ScopedEnv config("XDG_CONFIG_HOME", QFile::encodeName(QDir(dir.path()).filePath("config")));
    SettingsStore user = SettingsStore::standard();
    SettingsStore demo = SettingsStore::demo();
    EXPECT_EQ(user.path(), path());
    EXPECT_NE(demo.path(), user.path());
    EXPECT_EQ(QFileInfo(demo.path()).absolutePath(), QFileInfo(user.path()).absolutePath());

    user.setBool(SettingsKeys::trayEnabled, false);
    demo.setBool(SettingsKeys::trayEnabled, true);
    demo.setBool(SettingsKeys::hotkeyEnabled, false);
    demo.clear();
    demo.setBool(SettingsKeys::trayEnabled, true);
    EXPECT_EQ(demo.keys(), QStringList{"trayEnabled"});
    EXPECT_EQ(user.keys(), QStringList{"trayEnabled"});
    EXPECT_EQ(user.boolValue(SettingsKeys::trayEnabled), false);

    // Readable by the user alone, in folders made for the user alone.
    landed();
    for (const QString &made : {user.path(), QFileInfo(user.path()).absolutePath(), QDir(dir.path()).filePath("config")}) {
        struct stat info {};
        ASSERT_EQ(::stat(QFile::encodeName(made).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 0077, 0u) << made.toStdString();
    }
}

} // namespace
