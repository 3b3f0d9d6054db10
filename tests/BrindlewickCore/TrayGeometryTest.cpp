#include "TrayGeometry.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

// A screen whose visible frame ends `bar` points below its top.
ScreenShape screen(QRectF frame, double bar, double safeTop = 0, std::optional<double> auxLeft = std::nullopt,
                   std::optional<double> auxRight = std::nullopt)
{
    const QRectF visible(frame.x(), frame.y(), frame.width(), frame.height() - bar);
    return ScreenShape{frame, visible, safeTop, auxLeft, auxRight};
}

const QRectF laptop(0, 0, 1512, 982);

TEST(TrayGeometry, FindsTheHousingOrFallsBackToTheStrip)
{
    struct Case {
        const char *name;
        ScreenShape shape;
        bool hasNotch;
        QRectF notch;
        double menuBarHeight;
    };
    const Case cases[] = {
        {"housing", screen(laptop, 37, 32, 662, 662), true, QRectF(662, 950, 188, 32), 37},
        {"housing on a screen right of and above the primary", screen(QRectF(1512, 300, 1512, 982), 37, 32, 662, 662),
         true, QRectF(2174, 1250, 188, 32), 37},
        {"no right area", screen(laptop, 37, 32, 662), false, QRectF(672, 949, 168, 33), 37},
        {"right area of zero", screen(laptop, 37, 32, 662, 0), false, QRectF(672, 949, 168, 33), 37},
        {"no safe top", screen(laptop, 37, 0, 662, 662), false, QRectF(672, 949, 168, 33), 37},
        {"areas fill the width", screen(laptop, 37, 32, 756, 756), false, QRectF(672, 949, 168, 33), 37},
        {"hidden menu bar", screen(laptop, 0), false, QRectF(672, 962, 168, 20), 24},
        {"bar of exactly 4", screen(laptop, 4), false, QRectF(672, 962, 168, 20), 24},
        {"bar just above 4 keeps the strip at least 16 high", screen(laptop, 5), false, QRectF(672, 966, 168, 16), 5},
        {"safe top taller than the bar", screen(laptop, 25, 32), false, QRectF(672, 954, 168, 28), 32},
        {"screen left of the primary", screen(QRectF(-1920, -100, 1920, 1080), 30), false,
         QRectF(-1044, 954, 168, 26), 30},
    };
    for (const Case &c : cases) {
        const TrayGeometry geometry(c.shape);
        EXPECT_EQ(geometry.hasNotch, c.hasNotch) << c.name;
        EXPECT_EQ(geometry.notch, c.notch) << c.name;
        EXPECT_EQ(geometry.menuBarHeight, c.menuBarHeight) << c.name;
    }
}

TEST(TrayGeometry, SizesFollowTheHousing)
{
    const TrayGeometry notched(screen(laptop, 37, 32, 662, 662));
    EXPECT_EQ(notched.header(), 32);
    EXPECT_EQ(notched.openSize(), QSizeF(648, 210));
    EXPECT_EQ(notched.bannerSize(), QSizeF(488, 92));
    EXPECT_EQ(notched.resting(true), QRectF(600, 950, 312, 32));
    EXPECT_EQ(notched.resting(false), notched.notch);
    EXPECT_EQ(notched.hotZone(true), QRectF(588, 942, 336, 40));
    EXPECT_EQ(notched.hotZone(false), QRectF(650, 942, 212, 40));

    const TrayGeometry plain(screen(laptop, 37, 32, 662));
    EXPECT_EQ(plain.header(), 30);
    EXPECT_EQ(plain.openSize(), QSizeF(640, 208));
    EXPECT_EQ(plain.bannerSize(), QSizeF(470, 90));
    EXPECT_EQ(plain.resting(true), plain.notch);
    EXPECT_EQ(plain.hotZone(true), QRectF(660, 941, 192, 41));

    const TrayGeometry wideHousing(screen(laptop, 37, 40, 400, 400));
    EXPECT_EQ(wideHousing.openSize(), QSizeF(1172, 218));
    EXPECT_EQ(wideHousing.bannerSize(), QSizeF(1012, 100));
}

TEST(TrayGeometry, ShapesHangFromTheScreenTopUnderTheNotchAndStayOnScreen)
{
    struct Case {
        const char *name;
        ScreenShape shape;
        QSizeF size;
        QRectF expected;
    };
    const Case cases[] = {
        {"centred under the housing", screen(laptop, 37, 32, 662, 662), QSizeF(648, 210), QRectF(432, 772, 648, 210)},
        {"centred under the strip of an offset screen", screen(QRectF(1512, 300, 1920, 1080), 30), QSizeF(640, 208),
         QRectF(2152, 1172, 640, 208)},
        {"wider and taller than the screen", screen(QRectF(100, 50, 600, 400), 30), QSizeF(900, 500),
         QRectF(100, 50, 600, 400)},
        {"housing near the left edge", screen(laptop, 37, 32, 20, 1304), QSizeF(648, 210), QRectF(0, 772, 648, 210)},
        {"housing near the right edge", screen(laptop, 37, 32, 1304, 20), QSizeF(648, 210), QRectF(864, 772, 648, 210)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TrayGeometry(c.shape).rect(c.size), c.expected) << c.name;
}

} // namespace
