#include "App/HotKey.h"
#include "App/X11.h"
#include "App/X11KeyGrab.h"
#include "RivalKeyGrab.h"

#include <QProcess>
#include <QTest>
#include <X11/keysym.h>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

namespace {

void press(const QString &keys)
{
    ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), keys}), 0) << keys.toStdString();
}

// Presses reach the grabbing client in the order they were typed, so once a later key has arrived an
// earlier one has either arrived too or never will.
class HotKeyTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(X11::connection(), nullptr);
        hotKey.action = [this] { ++presses; };
        marker = X11KeyGrab::grab(X11::connection(), XK_m, Qt::ControlModifier | Qt::AltModifier, [this] { ++markers; });
        ASSERT_NE(marker, nullptr);
    }

    // Types `keys`, then the marker, and waits for the marker's press to arrive.
    void pressAndSettle(const QString &keys)
    {
        const int before = markers;
        press(keys);
        press(QStringLiteral("ctrl+alt+m"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return markers > before; }, 5000));
        QCoreApplication::processEvents();
    }

    HotKey hotKey;
    std::unique_ptr<X11KeyGrab> marker;
    int presses = 0;
    int markers = 0;
};

TEST_F(HotKeyTest, RegisteredKeyRunsTheActionWhateverTheLockKeys)
{
    hotKey.registerKey();
    ASSERT_TRUE(hotKey.registered());

    pressAndSettle(QStringLiteral("ctrl+alt+n"));
    EXPECT_EQ(presses, 1);

    press(QStringLiteral("Num_Lock"));
    pressAndSettle(QStringLiteral("ctrl+alt+n"));
    press(QStringLiteral("Num_Lock"));
    EXPECT_EQ(presses, 2);

    pressAndSettle(QStringLiteral("ctrl+n"));
    pressAndSettle(QStringLiteral("ctrl+alt+shift+n"));
    EXPECT_EQ(presses, 2);
}

TEST_F(HotKeyTest, RegisteringTwiceKeepsOneRegistrationAndReleaseEndsIt)
{
    hotKey.registerKey();
    hotKey.registerKey();
    ASSERT_TRUE(hotKey.registered());
    pressAndSettle(QStringLiteral("ctrl+alt+n"));
    EXPECT_EQ(presses, 1);

    hotKey.release();
    EXPECT_FALSE(hotKey.registered());
    pressAndSettle(QStringLiteral("ctrl+alt+n"));
    EXPECT_EQ(presses, 1);

    hotKey.registerKey();
    EXPECT_TRUE(hotKey.registered());
    pressAndSettle(QStringLiteral("ctrl+alt+n"));
    EXPECT_EQ(presses, 2);
}

TEST_F(HotKeyTest, KeyHeldByAnotherClientIsNotRegisteredUntilItLetsGo)
{
    auto rival = std::make_optional<RivalKeyGrab>();
    ASSERT_TRUE(rival->held());

    hotKey.registerKey();
    EXPECT_FALSE(hotKey.registered());
    pressAndSettle(QStringLiteral("ctrl+alt+n"));
    EXPECT_EQ(presses, 0);

    rival.reset();
    hotKey.registerKey();
    EXPECT_TRUE(hotKey.registered());
}

} // namespace
