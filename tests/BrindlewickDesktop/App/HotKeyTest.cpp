#include "App/HotKey.h"
#include "App/X11.h"
#include "App/X11KeyGrab.h"

#include <QProcess>
#include <QTest>
#include <X11/keysym.h>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <xcb/xcb_keysyms.h>

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
    // Another client holds the plain variant, without Lock or NumLock.
    xcb_connection_t *other = xcb_connect(nullptr, nullptr);
    ASSERT_EQ(xcb_connection_has_error(other), 0);
    xcb_key_symbols_t *symbols = xcb_key_symbols_alloc(other);
    xcb_keycode_t *n = xcb_key_symbols_get_keycode(symbols, XK_n);
    const auto cookie = xcb_grab_key_checked(other, 0, X11::rootWindow(other), XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1,
                                             n[0], XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    EXPECT_EQ(xcb_request_check(other, cookie), nullptr);
    std::free(n);
    xcb_key_symbols_free(symbols);

    hotKey.registerKey();
    EXPECT_FALSE(hotKey.registered());
    pressAndSettle(QStringLiteral("ctrl+alt+n"));
    EXPECT_EQ(presses, 0);

    xcb_disconnect(other);
    hotKey.registerKey();
    EXPECT_TRUE(hotKey.registered());
}

} // namespace
