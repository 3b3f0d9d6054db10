#include "NotchTray/TrayState.h"

#include <QGuiApplication>
#include <QScreen>
#include <gtest/gtest.h>

namespace {

class TrayStateTest : public testing::Test {
protected:
    ~TrayStateTest() override { TrayState::forceNotch(std::nullopt); }
};

TEST_F(TrayStateTest, MeasuresThePrimaryScreenWhichHasNoNotchOnLinux)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    ASSERT_TRUE(screen);
    const TrayGeometry geometry = TrayState::currentGeometry();
    EXPECT_FALSE(geometry.hasNotch);
    EXPECT_EQ(geometry.screenFrame, QRectF(QPointF(0, 0), screen->geometry().size()));
    EXPECT_EQ(geometry.notch.width(), TrayGeometry::stripWidth);
    EXPECT_EQ(geometry.notch.center().x(), screen->geometry().width() / 2.0);
}

TEST_F(TrayStateTest, AForcedNotchSitsInTheTopMiddleAndCanBeTakenAwayAgain)
{
    const TrayGeometry plain = TrayState::currentGeometry();
    TrayState::forceNotch(true);
    const TrayGeometry notched = TrayState::currentGeometry();
    EXPECT_TRUE(notched.hasNotch);
    EXPECT_EQ(notched.notch.size(), TrayState::forcedNotchSize);
    EXPECT_EQ(notched.notch.center().x(), plain.screenFrame.center().x());
    EXPECT_EQ(notched.notch.y() + notched.notch.height(), plain.screenFrame.y() + plain.screenFrame.height());
    EXPECT_EQ(notched.screenFrame, plain.screenFrame);

    TrayState::forceNotch(false);
    EXPECT_EQ(TrayState::currentGeometry(), plain);
    TrayState::forceNotch(std::nullopt);
    EXPECT_EQ(TrayState::currentGeometry(), plain);
}

} // namespace
