#include "FakeSettingsPortal.h"
#include "Patience.h"
#include "Theme/Appearance.h"
#include "Theme/DesktopAppearance.h"
#include "Theme/Theme.h"

#include <QApplication>
#include <QPalette>
#include <QSignalSpy>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

const QString appearance = QStringLiteral("org.freedesktop.appearance");
const QString interface = QStringLiteral("org.gnome.desktop.interface");

void useWindowColour(const QColor &colour)
{
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Window, colour);
    QApplication::setPalette(palette);
}

// Counts its paints, to see that a change of the desktop's scheme repaints what is on screen.
class PaintCounter : public QWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent *) override { ++paints; }
};

// These run in order in one process: first with no portal on the bus, then with one.
TEST(DesktopAppearance, WithoutAPortalThePaletteDecidesAndAnimationsAreWanted)
{
    EXPECT_FALSE(DesktopAppearance::instance().scheme());
    useWindowColour(QColor(0x20, 0x20, 0x22));
    EXPECT_EQ(Appearance::desktopScheme(), Scheme::dark);
    useWindowColour(QColor(0xEE, 0xEE, 0xEC));
    EXPECT_EQ(Appearance::desktopScheme(), Scheme::light);
    EXPECT_FALSE(Appearance::reduceMotion());
}

TEST(DesktopAppearance, FollowsThePortalsColourSchemeAndAnimationSetting)
{
    useWindowColour(QColor(0xEE, 0xEE, 0xEC));
    DesktopAppearance &desktop = DesktopAppearance::instance();
    QSignalSpy changes(&desktop, &DesktopAppearance::changed);
    PaintCounter shown;
    QWidget forcedLight;
    Appearance::force(&forcedLight, Scheme::light);
    shown.show();
    QCoreApplication::processEvents();

    FakeSettingsPortal portal;
    portal.set(appearance, QStringLiteral("color-scheme"), QVariant::fromValue(1u));
    portal.set(interface, QStringLiteral("enable-animations"), true);
    ASSERT_TRUE(portal.start());
    ASSERT_TRUE(changes.wait(patienceMs)) << "the portal's appearance is read once it shows up on the bus";
    EXPECT_EQ(desktop.scheme(), Scheme::dark);
    EXPECT_EQ(Theme::ink.resolved(&shown), QColor::fromRgb(0xF0EEE9));
    EXPECT_EQ(Theme::ink.resolved(&forcedLight), QColor::fromRgb(0x1D1C1A)) << "a forced scheme still wins";
    EXPECT_FALSE(Appearance::reduceMotion());
    const int paintsBefore = shown.paints;
    QCoreApplication::processEvents();
    EXPECT_GT(shown.paints, paintsBefore) << "widgets repaint in the new scheme";

    portal.change(appearance, QStringLiteral("color-scheme"), QVariant::fromValue(2u));
    ASSERT_TRUE(changes.wait(patienceMs));
    EXPECT_EQ(Appearance::scheme(&shown), Scheme::light);

    useWindowColour(QColor(0x20, 0x20, 0x22));
    portal.change(appearance, QStringLiteral("color-scheme"), QVariant::fromValue(0u));
    ASSERT_TRUE(changes.wait(patienceMs));
    EXPECT_FALSE(desktop.scheme()) << "no preference";
    EXPECT_EQ(Appearance::scheme(&shown), Scheme::dark) << "then the palette decides";

    portal.change(interface, QStringLiteral("enable-animations"), false);
    ASSERT_TRUE(changes.wait(patienceMs));
    EXPECT_TRUE(Appearance::reduceMotion());
    useWindowColour(QColor(0xEE, 0xEE, 0xEC));
}

} // namespace
