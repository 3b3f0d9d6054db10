#include "HarnessFixture.h"

#include "Harness/SelfTest.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace {

class SelfTestTest : public HarnessTest {
protected:
    QStringList report() const
    {
        QFile file(path("out/selftest.txt"));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

    static QStringList lines(const std::string &printed)
    {
        return QString::fromStdString(printed).split(u'\n', Qt::SkipEmptyParts);
    }
};

TEST_F(SelfTestTest, EveryCheckPassesOnTheDemoWorldWhichIsRemovedAfterwards)
{
    testing::internal::CaptureStdout();
    const int status = SelfTest::execute(path("out"));
    const QStringList printed = lines(testing::internal::GetCapturedStdout());

    const QStringList written = report();
    ASSERT_GE(written.size(), 8);
    EXPECT_EQ(written.last(), QStringLiteral("ALL PASS"));
    const QStringList checks = written.mid(0, written.size() - 1);
    for (const QString &line : checks)
        EXPECT_TRUE(line.startsWith(u"PASS ")) << line.toStdString();
    EXPECT_EQ(checks.size(), QSet<QString>(checks.begin(), checks.end()).size());
    EXPECT_EQ(printed.mid(0, checks.size()), checks);
    EXPECT_EQ(status, 0);
    EXPECT_FALSE(QFileInfo::exists(path("out/world")));
}

// A world whose notebook cannot be written fails the checks that need it, and says how many.
TEST_F(SelfTestTest, ChecksFailWhenTheWorldCannotBeSaved)
{
    QDir().mkpath(path("out/world"));
    QFile blocker(path("out/world/data"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    testing::internal::CaptureStdout();
    const int status = SelfTest::execute(path("out"));
    testing::internal::GetCapturedStdout();

    const QStringList written = report();
    ASSERT_FALSE(written.isEmpty());
    EXPECT_TRUE(written.contains(QStringLiteral("FAIL demo world loads")));
    EXPECT_TRUE(written.contains(QStringLiteral("FAIL saves and loads")));
    const qsizetype failed = written.filter(QRegularExpression(QStringLiteral("^FAIL "))).size();
    EXPECT_EQ(written.last(), QStringLiteral("%1 FAILED").arg(failed));
    EXPECT_EQ(status, 1);
}

TEST_F(SelfTestTest, AReportThatCannotBeWrittenIsAFailure)
{
    ASSERT_TRUE(QDir().mkpath(path("out/selftest.txt")));

    testing::internal::CaptureStdout();
    EXPECT_EQ(SelfTest::execute(path("out")), 1);
    EXPECT_FALSE(testing::internal::GetCapturedStdout().empty());
}

} // namespace
