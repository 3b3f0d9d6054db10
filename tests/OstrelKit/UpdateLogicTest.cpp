#include "ArchiveUnpack.h"
#include "BundleInfo.h"
#include "UpdateLogic.h"

#include <gtest/gtest.h>

namespace {

TEST(UpdateLogic, OnlyAStrictlyGreaterVersionIsNewer)
{
    EXPECT_TRUE(UpdateLogic::isNewer("1.10", "1.9"));
    EXPECT_TRUE(UpdateLogic::isNewer("2", "1.99.99"));
    EXPECT_FALSE(UpdateLogic::isNewer("1.0", "1"));
    EXPECT_FALSE(UpdateLogic::isNewer("1.2.3", "1.2.4"));
    for (const char *notAVersion : {"", "1.", "v2", "2.0-beta", "1.2.3.4.5", " 2"})
        EXPECT_FALSE(UpdateLogic::isNewer(notAVersion, "1.0")) << notAVersion;
}

// Plain HTTP only to this machine, and from a feed there: an HTTPS feed never sends the program to it.
TEST(UpdateLogic, PlainHttpOnlyToLoopbackFromAFeedThere)
{
    const QUrl secureFeed("https://updates.example.org/feed.json");
    const QUrl loopbackFeed("http://127.0.0.1:8080/feed.json");
    struct Row {
        const char *address;
        bool asFeed;
        bool fromSecureFeed;
        bool fromLoopbackFeed;
    };
    const QList<Row> rows{
        {"https://updates.example.org/feed.json", true, true, true},
        {"http://127.0.0.1:8080/feed.json", true, false, true},
        {"http://[::1]/feed.json", true, false, true},
        {"http://localhost.example.org/feed.json", false, false, false},
        {"http://10.0.0.1/feed.json", false, false, false},
        {"ftp://127.0.0.1/feed.json", false, false, false},
        {"file:///etc/passwd", false, false, false},
        {"https://user:pw@updates.example.org/", false, false, false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.address);
        EXPECT_EQ(UpdateLogic::isAllowedFeed(QUrl(row.address)), row.asFeed);
        EXPECT_EQ(UpdateLogic::isAllowedAddress(QUrl(row.address), secureFeed), row.fromSecureFeed);
        EXPECT_EQ(UpdateLogic::isAllowedAddress(QUrl(row.address), loopbackFeed), row.fromLoopbackFeed);
    }
}

TEST(ArchiveRules, LinksMayPointAnywhereInsideTheFolderAndNowhereElse)
{
    using ArchiveUnpack::Kind;
    using ArchiveUnpack::Problem;
    EXPECT_EQ(ArchiveUnpack::entryProblem("./share/icons/a.png", Kind::file), std::nullopt);
    EXPECT_EQ(ArchiveUnpack::entryProblem("lib/libx.so", Kind::symlink, "libx.so.1"), std::nullopt);
    EXPECT_EQ(ArchiveUnpack::entryProblem("bin/tool", Kind::symlink, "../libexec/tool"), std::nullopt);
    EXPECT_EQ(ArchiveUnpack::entryProblem("./bin//tool", Kind::symlink, "./../libexec/tool"), std::nullopt);
    EXPECT_EQ(ArchiveUnpack::entryProblem("bin/tool", Kind::symlink, "../../tool"), Problem::linkOut);
    EXPECT_EQ(ArchiveUnpack::entryProblem("bin//tool", Kind::symlink, "../../tool"), Problem::linkOut);
    EXPECT_EQ(ArchiveUnpack::entryProblem("bin/tool", Kind::symlink, "/usr/bin/tool"), Problem::linkOut);
    EXPECT_EQ(ArchiveUnpack::entryProblem("bin/tool", Kind::symlink, "../lib/../libexec/tool"), Problem::linkOut)
        << "lib may itself be a link";
    EXPECT_EQ(ArchiveUnpack::entryProblem("bin/tool", Kind::hardlink, "../etc/passwd"), Problem::linkOut);
    const ArchiveUnpack::Made before{{"lib/libx.so.1"}, {"lib/current"}};
    EXPECT_EQ(ArchiveUnpack::entryProblem("lib/libx.so", Kind::hardlink, "./lib/libx.so.1", before), std::nullopt);
    EXPECT_EQ(ArchiveUnpack::entryProblem("lib/libx.so", Kind::hardlink, "lib/libx.so.2", before), Problem::linkOut);
    EXPECT_EQ(ArchiveUnpack::entryProblem("lib/current/x", Kind::file, {}, before), Problem::linkOut);
    EXPECT_EQ(ArchiveUnpack::entryProblem("lib/current.d/x", Kind::file, {}, before), std::nullopt);
    EXPECT_EQ(ArchiveUnpack::entryProblem("a/../../b", Kind::file), Problem::parentPath);
    EXPECT_EQ(ArchiveUnpack::entryProblem("/etc/b", Kind::directory), Problem::absolutePath);
    EXPECT_EQ(ArchiveUnpack::entryProblem("dev/sda", Kind::other), Problem::specialFile);
}

// The environment may point a copy whose updates are on elsewhere, but never switch them on.
TEST(BundleInfo, EnvironmentReplacesBuiltInValuesOnlyWhereUpdatesAreBuiltIn)
{
    const QString key = QString::fromLatin1(QByteArray(32, 'k').toBase64());
    const QString otherKey = QString::fromLatin1(QByteArray(32, 'o').toBase64());
    QProcessEnvironment none;
    EXPECT_FALSE(BundleInfo::from("App", "1.0", "", key, none).updatesEnabled());
    EXPECT_FALSE(BundleInfo::from("App", "1.0", "https://u.example.org/f", "", none).updatesEnabled());
    EXPECT_FALSE(BundleInfo::from("App", "1.0", "http://u.example.org/f", key, none).updatesEnabled());
    EXPECT_TRUE(BundleInfo::from("App", "1.0", "https://u.example.org/f", key, none).updatesEnabled());

    QProcessEnvironment test;
    test.insert("OstrelUpdateFeedURL", "http://127.0.0.1:8000/feed.json");
    test.insert("OstrelUpdatePublicKey", otherKey);
    test.insert("CFBundleShortVersionString", "0.9");
    const BundleInfo builtWithout = BundleInfo::from("App", "1.0", "", "", test);
    EXPECT_FALSE(builtWithout.updatesEnabled());
    EXPECT_EQ(builtWithout.version, "1.0");
    const BundleInfo builtWith = BundleInfo::from("App", "1.0", "https://u.example.org/f", key, test);
    EXPECT_EQ(builtWith, (BundleInfo{"App", "0.9", QUrl("http://127.0.0.1:8000/feed.json"), QByteArray(32, 'o')}));
    test.insert("OstrelUpdatePublicKey", "c2hvcnQ=");
    EXPECT_FALSE(BundleInfo::from("App", "1.0", "https://u.example.org/f", key, test).updatesEnabled());
}

TEST(UpdateLogic, AManifestIsExactlyItsFourLines)
{
    const QByteArray hash(64, 'a');
    const std::optional<SignedRelease> read =
        UpdateLogic::readManifest("name Kit\nversion 2.0.1\nsize 1234\nsha256 " + hash + "\n");
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, (SignedRelease{"Kit", "2.0.1", 1234, QByteArray::fromHex(hash)}));
    for (const QByteArray &notOne : QList<QByteArray>{
             "name Kit\nversion 2.0\nsize 1234\nsha256 " + hash,
             "name Kit\nversion 2.0\nsize 1234\nsha256 " + hash + "\nextra 1\n",
             "version 2.0\nname Kit\nsize 1234\nsha256 " + hash + "\n",
             "name Kit\nversion 2.0-beta\nsize 1234\nsha256 " + hash + "\n",
             "name Kit\nversion 2.0\nsize 0\nsha256 " + hash + "\n",
             "name Kit\nversion 2.0\nsize 999999999999\nsha256 " + hash + "\n",
             "name Kit\nversion 2.0\nsize 1234\nsha256 " + hash.left(62) + "\n",
             "name Kit\nversion 2.0\nsize 1234\nsha256 " + hash.toUpper() + "\n"})
        EXPECT_EQ(UpdateLogic::readManifest(notOne), std::nullopt) << notOne.toStdString();
}

TEST(UpdateLogic, ADownloadMayTakeLongerTheLargerItIs)
{
    EXPECT_EQ(UpdateLogic::downloadTimeLimitMs(0, 60'000), 60'000);
    EXPECT_EQ(UpdateLogic::downloadTimeLimitMs(16 * 1024 * 60, 60'000), 120'000) << "a minute more at the slowest rate";
    EXPECT_GT(UpdateLogic::downloadTimeLimitMs(UpdateLogic::maxArchiveBytes, 60'000), 60 * 60 * 1000);
}

} // namespace
