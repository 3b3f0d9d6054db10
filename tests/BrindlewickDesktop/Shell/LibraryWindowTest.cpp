#include "LibraryView/BannerView.h"
#include "Patience.h"
#include "Shell/LibraryWindow.h"
#include "State/AppModel.h"
#include "State/RecordingNotifier.h"

#include <QGuiApplication>
#include <QGraphicsOpacityEffect>
#include <QMainWindow>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

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
    ASSERT_TRUE(QTest::qWaitForWindowActive(window, patienceMs));
    EXPECT_EQ(window->centralWidget()->size(), LibraryWindow::initialSize);
    const QPoint middle = window->screen()->availableGeometry().center();
    EXPECT_LE((window->frameGeometry().center() - middle).manhattanLength(), 40);

    const QRect moved(150, 120, 1000, 680);
    window->setGeometry(moved);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->geometry() == moved; }, patienceMs));
    window->close();
    ASSERT_TRUE(model.defaults().stringValue(LibraryWindow::frameKey));

    LibraryWindow next(model);
    next.bringForward();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(next.window(), patienceMs));
    EXPECT_TRUE(QTest::qWaitFor([&] { return next.window()->geometry() == moved; }, patienceMs))
        << next.window()->geometry().x() << "," << next.window()->geometry().y() << " "
        << next.window()->geometry().width() << "x" << next.window()->geometry().height();

    next.window()->resize(400, 300);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return next.window()->centralWidget()->size() == LibraryWindow::minimumSize; }, patienceMs))
        << "no smaller than 960 x 600";
}

// The banner is counted only while "All Notes" is on screen; closing the window takes it away.
TEST_F(LibraryWindowTest, TheUndoBannerWaitsForTheWindowAndGoesWithIt)
{
    LibraryWindow library(model);
    library.bringForward();
    QMainWindow *window = library.window();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window, patienceMs));
    auto *pill = window->findChild<BannerView *>();
    ASSERT_TRUE(pill);
    const auto closeByHand = [&] {
        ASSERT_TRUE(QTest::qWaitForWindowActive(window, patienceMs));
        ASSERT_EQ(QProcess::execute("xdotool", {"key", "alt+F4"}), 0);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }, patienceMs));
    };

    closeByHand();
    pill->setTimeout(300ms);
    model.setBanner(Banner(QStringLiteral("Deleted “Tea”")));
    QTest::qWait(600);
    EXPECT_TRUE(model.banner()) << "no time-out while the window is closed";
    library.bringForward();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window, patienceMs));
    EXPECT_TRUE(pill->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !model.banner(); }, patienceMs)) << "its time counts from the showing";
    EXPECT_TRUE(pill->isVisible()) << "it goes out by sliding away";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !pill->isVisible(); }, patienceMs));

    pill->setTimeout(10s);
    model.setBanner(Banner(QStringLiteral("Marked “Tea” done")));
    const int restingBottom = pill->parentWidget()->height() - 18;
    EXPECT_GT(pill->geometry().bottom() + 1, restingBottom) << "it comes in from below";
    EXPECT_LT(static_cast<QGraphicsOpacityEffect *>(pill->graphicsEffect())->opacity(), 1) << "and fades in";
    EXPECT_TRUE(QTest::qWaitFor([&] { return pill->geometry().bottom() + 1 == restingBottom; }, patienceMs));
    closeByHand();
    EXPECT_FALSE(model.banner()) << "closing the window clears its banner";
}

} // namespace
