#include "Patience.h"
#include "Shell/AppCommands.h"
#include "State/AppModel.h"
#include "State/RecordingNotifier.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// "About Brindlewick" from the File menu, as a window under a window manager: the box is as wide as
// its lines, the description unwrapped, with room beside its title for the frame's buttons.
TEST(AboutBoxTest, IsAsWideAsItsTextAndTitle)
{
    QTemporaryDir dir;
    AppModel model(Paths{dir.filePath("data")}, SettingsStore(dir.filePath("settings.json")),
                   std::make_unique<RecordingNotifier>());
    AppCommands commands(model);
    const QList<QAction *> file = commands.menus().first()->actions();
    const auto item = std::find_if(file.begin(), file.end(), [](QAction *a) { return a->text() == "About Brindlewick"; });
    ASSERT_NE(item, file.end());
    (*item)->trigger();

    QMessageBox *about = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        for (QWidget *window : QApplication::topLevelWidgets())
            about = window->isVisible() ? qobject_cast<QMessageBox *>(window) : about;
        return about != nullptr;
    }, patienceMs));
    EXPECT_EQ(about->windowTitle(), "About Brindlewick");
    const QString description = "Sticky notes with countdown timers and deadlines, on your desktop.";
    EXPECT_TRUE(about->text().endsWith(description));
    EXPECT_GE(about->width(), about->fontMetrics().horizontalAdvance(description));
    QFont titleFont = about->font();
    titleFont.setBold(true);
    const int frameButtons = 4 * about->fontMetrics().height();
    EXPECT_GE(about->width(), QFontMetrics(titleFont).horizontalAdvance(about->windowTitle()) + frameButtons);
    about->close();
}

} // namespace
