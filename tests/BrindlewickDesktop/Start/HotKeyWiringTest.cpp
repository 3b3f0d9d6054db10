#include "NotchTray/TrayController.h"
#include "NoteWindows/NoteWindows.h"
#include "Patience.h"
#include "Platform/HotKey.h"
#include "Shell/AppActions.h"
#include "Shell/QuickNote/KeyPanel.h"
#include "Shell/QuickNote/QuickNoteController.h"
#include "Shell/QuickNote/QuickNoteView.h"
#include "Start/AppDelegate.h"
#include "State/AppModel.h"
#include "State/RecordingNotifier.h"

#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The wiring of a started model to the global key, on a real X server that grants the grab.
TEST(HotKeyWiring, FollowsTheSettingAndOpensTheQuickNotePanelOnTheWiredModel)
{
    QTemporaryDir dir;
    AppModel model(Paths{dir.filePath("data")}, SettingsStore(dir.filePath("settings.json")),
                   std::make_unique<RecordingNotifier>());
    AppDelegate delegate(model);
    delegate.wire(model);
    HotKey &hotKey = HotKey::shared();
    EXPECT_TRUE(hotKey.registered()) << "registered at once while the setting is on";

    model.setHotkeyEnabled(false);
    EXPECT_FALSE(hotKey.registered());
    model.setHotkeyEnabled(true);
    EXPECT_TRUE(hotKey.registered());

    ASSERT_TRUE(hotKey.action);
    hotKey.action();
    KeyPanel *panel = QuickNoteController::shared().panel();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return panel->isVisible(); }, patienceMs));
    auto *view = panel->findChild<QuickNoteView *>();
    ASSERT_NE(view, nullptr);
    QTest::keyClicks(view->findChild<QLineEdit *>(QStringLiteral("line")), QStringLiteral("tea 4m"));
    view->make();
    ASSERT_EQ(model.book().notes.size(), 1) << "the panel adds to the wired model";
    EXPECT_EQ(model.book().notes[0].text, "tea");

    // The key, the windows and the tray outlive this test's model.
    hotKey.release();
    hotKey.action = nullptr;
    AppActions::setWindows(nullptr);
    AppActions::setTray(nullptr);
}

} // namespace
