#include "App/AppModel.h"
#include "App/LibraryWindow.h"
#include "App/RecordingNotifier.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Real windows under a window manager: the frame it gives "All Notes" is the one remembered.
class LibraryWindowTest : public testing::Test {
protected:
    LibraryWindowTest()
        : model(Paths{dir.filePath("data")}, SettingsStore(dir.filePath("settings.json")),
                std::make_unique<RecordingNotifier>())
    {
    }

    QTemporaryDir dir;
    AppModel model;
};

TEST_F(LibraryWindowTest, OpensCentredAtItsSizeThenWhereTheLastRunLeftIt)
{
    LibraryWindow first(model);
    first.bringForward();
    QMainWindow *window = first.window();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    EXPECT_EQ(window->centralWidget()->size(), LibraryWindow::initialSize);
    const QPoint middle = window->screen()->availableGeometry().center();
    EXPECT_LE((window->frameGeometry().center() - middle).manhattanLength(), 40);

    const QRect moved(150, 120, 1000, 680);
    window->setGeometry(moved);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->geometry() == moved; }, 3000));
    window->close();
    ASSERT_TRUE(model.defaults().stringValue(LibraryWindow::frameKey));

    LibraryWindow next(model);
    next.bringForward();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(next.window()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return next.window()->geometry() == moved; }, 3000))
        << next.window()->geometry().x() << "," << next.window()->geometry().y() << " "
        << next.window()->geometry().width() << "x" << next.window()->geometry().height();

    next.window()->resize(400, 300);
    EXPECT_TRUE(QTest::qWaitFor([&] { return next.window()->centralWidget()->size() == LibraryWindow::minimumSize; }, 3000))
        << "no smaller than 960 x 600";
}

} // namespace
