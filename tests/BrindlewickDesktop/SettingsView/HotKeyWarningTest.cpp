#include "../../Brindlewick/App/AppModelFixture.h"

#include "App/HotKey.h"
#include "App/X11.h"
#include "SettingsView/SettingsView.h"
#include "Theme/ThemeLabel.h"

#include <X11/keysym.h>
#include <optional>
#include <cstdlib>
#include <xcb/xcb_keysyms.h>

namespace {

// Another X client holding Ctrl+Alt+N, as a rival application would.
class RivalGrab {
public:
    RivalGrab() : m_connection(xcb_connect(nullptr, nullptr))
    {
        xcb_key_symbols_t *symbols = xcb_key_symbols_alloc(m_connection);
        xcb_keycode_t *n = xcb_key_symbols_get_keycode(symbols, XK_n);
        const auto cookie = xcb_grab_key_checked(m_connection, 0, X11::rootWindow(m_connection),
                                                 XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1, n[0], XCB_GRAB_MODE_ASYNC,
                                                 XCB_GRAB_MODE_ASYNC);
        m_held = xcb_request_check(m_connection, cookie) == nullptr;
        std::free(n);
        xcb_key_symbols_free(symbols);
    }
    ~RivalGrab() { xcb_disconnect(m_connection); }

    bool held() const { return m_held; }

private:
    xcb_connection_t *m_connection;
    bool m_held = false;
};

class HotKeyWarningTest : public AppModelTest {
protected:
    ~HotKeyWarningTest() override { HotKey::shared().release(); }
};

TEST_F(HotKeyWarningTest, WarningFollowsTheRegistrationOfTheRealKey)
{
    ASSERT_NE(X11::connection(), nullptr);
    HotKey &hotKey = HotKey::shared();
    model->setHotkeyEnabled(true);
    auto rival = std::make_optional<RivalGrab>();
    ASSERT_TRUE(rival->held());
    hotKey.registerKey();
    ASSERT_FALSE(hotKey.registered());

    SettingsView view(*model, false);
    view.show();
    const auto *warning = view.findChild<ThemeLabel *>("hotkeyWarning");
    ASSERT_TRUE(warning);
    EXPECT_TRUE(warning->isVisibleTo(&view)) << "another client holds the key";

    // The rival lets go: registering again succeeds, and the warning goes with no setting changed.
    rival.reset();
    hotKey.registerKey();
    ASSERT_TRUE(hotKey.registered());
    EXPECT_FALSE(warning->isVisibleTo(&view));

    hotKey.release();
    EXPECT_TRUE(warning->isVisibleTo(&view));
    model->setHotkeyEnabled(false);
    EXPECT_FALSE(warning->isVisibleTo(&view));
}

} // namespace
