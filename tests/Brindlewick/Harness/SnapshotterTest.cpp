#include "HarnessFixture.h"

#include "Harness/Snapshotter.h"

#include <QFile>

namespace {

using SnapshotterTest = HarnessTest;

TEST_F(SnapshotterTest, OnlyNamesOneAppearanceOutOfLightOrDark)
{
    using Schemes = QList<Scheme>;
    EXPECT_EQ(Snapshotter::schemes(std::nullopt), (Schemes{Scheme::light, Scheme::dark}));
    EXPECT_EQ(Snapshotter::schemes(QStringLiteral("light")), Schemes{Scheme::light});
    EXPECT_EQ(Snapshotter::schemes(QStringLiteral("dark")), Schemes{Scheme::dark});
    EXPECT_EQ(Snapshotter::schemes(QString()), (Schemes{Scheme::light, Scheme::dark}));
    EXPECT_EQ(Snapshotter::schemes(QStringLiteral("Dark")), (Schemes{Scheme::light, Scheme::dark}));
}

TEST_F(SnapshotterTest, AFolderThatCannotBeMadeIsAFailure)
{
    QFile blocker(path("shots"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(Snapshotter::render(path("shots/inside"), {Scheme::light}));
    EXPECT_EQ(Snapshotter::execute(path("shots/inside")), 1);
}

} // namespace
