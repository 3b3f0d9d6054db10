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

TEST(UpdateLogic, PlainHttpOnlyToLoopback)
{
    EXPECT_TRUE(UpdateLogic::isAllowedAddress(QUrl("https://updates.example.org/feed.json")));
    EXPECT_TRUE(UpdateLogic::isAllowedAddress(QUrl("http://127.0.0.1:8080/feed.json")));
    EXPECT_TRUE(UpdateLogic::isAllowedAddress(QUrl("http://[::1]/feed.json")));
    EXPECT_FALSE(UpdateLogic::isAllowedAddress(QUrl("http://localhost.example.org/feed.json")));
    EXPECT_FALSE(UpdateLogic::isAllowedAddress(QUrl("http://10.0.0.1/feed.json")));
    EXPECT_FALSE(UpdateLogic::isAllowedAddress(QUrl("ftp://127.0.0.1/feed.json")));
    EXPECT_FALSE(UpdateLogic::isAllowedAddress(QUrl("https://user:pw@updates.example.org/")));
}

TEST(ArchiveRules, LinksMayPointAnywhereInsideTheFolderAndNowhereElse)
{
    using ArchiveUnpack::Kind;
    using ArchiveUnpack::Problem;
    EXPECT_EQ(ArchiveUnpack::entryProblem("./share/icons/a.png", Kind::file), std::nullopt);
    EXPECT_EQ(ArchiveUnpack::entryProblem("lib/libx.so", Kind::symlink, "libx.so.1"), std::nullopt);
    EXPECT_EQ(ArchiveUnpack::entryProblem("bin/tool", Kind::symlink, "../libexec/tool"), std::nullopt);
    EXPECT_EQ(ArchiveUnpack::entryProblem("bin/tool", Kind::symlink, "../../tool"), Problem::linkOut);
    EXPECT_EQ(ArchiveUnpack::entryProblem("bin/tool", Kind::symlink, "/usr/bin/tool"), Problem::linkOut);
    EXPECT_EQ(ArchiveUnpack::entryProblem("bin/tool", Kind::hardlink, "../etc/passwd"), Problem::linkOut);
    EXPECT_EQ(ArchiveUnpack::entryProblem("a/../../b", Kind::file), Problem::parentPath);
    EXPECT_EQ(ArchiveUnpack::entryProblem("/etc/b", Kind::directory), Problem::absolutePath);
    EXPECT_EQ(ArchiveUnpack::entryProblem("dev/sda", Kind::other), Problem::specialFile);
}

TEST(BundleInfo, EnvironmentReplacesBuiltInValuesAndABadKeyLeavesUpdatesOff)
{
    QProcessEnvironment environment;
    const QString key = QString::fromLatin1(QByteArray(32, 'k').toBase64());
    EXPECT_FALSE(BundleInfo::from("App", "1.0", "", key, environment).updatesEnabled());
    EXPECT_FALSE(BundleInfo::from("App", "1.0", "https://u.example.org/f", "", environment).updatesEnabled());
    EXPECT_FALSE(BundleInfo::from("App", "1.0", "http://u.example.org/f", key, environment).updatesEnabled());
    EXPECT_TRUE(BundleInfo::from("App", "1.0", "https://u.example.org/f", key, environment).updatesEnabled());
    environment.insert("OstrelUpdatePublicKey", "c2hvcnQ=");
    environment.insert("CFBundleShortVersionString", "0.9");
    const BundleInfo info = BundleInfo::from("App", "1.0", "https://u.example.org/f", key, environment);
    EXPECT_FALSE(info.updatesEnabled());
    EXPECT_EQ(info.version, "0.9");
}

} // namespace
