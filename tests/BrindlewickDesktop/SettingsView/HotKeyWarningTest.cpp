#include "../../Brindlewick/State/AppModelFixture.h"

#include "Platform/HotKey.h"
#include "Platform/X11.h"
#include "RivalKeyGrab.h"
#include "SettingsView/SettingsView.h"
#include "Theme/ThemeLabel.h"

#include <optional>

namespace {

class HotKeyWarningTest : public AppModelTest {
protected:
    ~HotKeyWarningTest() override { HotKey::shared().release(); }
};

TEST_F(HotKeyWarningTest, WarningFollowsTheRegistrationOfTheRealKey)
{
    ASSERT_NE(X11::connection(), nullptr);
    HotKey &hotKey = HotKey::shared();
    model->setHotkeyEnabled(true);
    auto rival = std::make_optional<RivalKeyGrab>();
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
