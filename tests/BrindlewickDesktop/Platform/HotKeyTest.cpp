#include "Patience.h"
#include "Platform/HotKey.h"
#include "Platform/X11.h"
#include "Platform/X11KeyGrab.h"
#include "RivalKeyGrab.h"

#include <QProcess>
#include <QTest>
#include <cstdlib>
#include <X11/keysym.h>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
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
        ASSERT_TRUE(QTest::qWaitFor([&] { return markers > before; }, patienceMs));
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

namespace {

// What the server sends while a key is held: events fed straight into the grab's filter.
class HeldKeyTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(X11::connection(), nullptr);
        grab = X11KeyGrab::grab(X11::connection(), XK_n, Qt::ControlModifier | Qt::AltModifier, [this] { ++presses; });
        ASSERT_NE(grab, nullptr);
        xcb_key_symbols_t *symbols = xcb_key_symbols_alloc(X11::connection());
        xcb_keycode_t *codes = xcb_key_symbols_get_keycode(symbols, XK_n);
        keycode = codes[0];
        std::free(codes);
        xcb_key_symbols_free(symbols);
    }

    void send(uint8_t type, xcb_timestamp_t time, uint16_t state = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1)
    {
        xcb_key_press_event_t event{};
        event.response_type = type;
        event.detail = keycode;
        event.time = time;
        event.root = event.event = X11::rootWindow(X11::connection());
        event.state = state;
        grab->nativeEventFilter("xcb_generic_event_t", &event, nullptr);
    }

    std::unique_ptr<X11KeyGrab> grab;
    xcb_keycode_t keycode = 0;
    int presses = 0;
};

TEST_F(HeldKeyTest, OnlyTheFirstPressOfAHeldKeyActs)
{
    send(XCB_KEY_PRESS, 100);
    send(XCB_KEY_PRESS, 130);
    send(XCB_KEY_PRESS, 160);
    EXPECT_EQ(presses, 1) << "repeats without releases";

    send(XCB_KEY_RELEASE, 190);
    send(XCB_KEY_PRESS, 190);
    EXPECT_EQ(presses, 1) << "repeats as release and press at one time";

    // Letting go of the modifiers first still ends the hold.
    send(XCB_KEY_RELEASE, 220, 0);
    send(XCB_KEY_PRESS, 400);
    EXPECT_EQ(presses, 2);
}

} // namespace
