#include "Patience.h"
#include "SettingsView/SettingsView.h"
#include "Shell/SettingsWindow.h"
#include "State/AppModel.h"
#include "State/RecordingNotifier.h"

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

bool xdotool(const char *key)
{
    return QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), QString::fromLatin1(key)}) == 0;
}

// Real windows under a window manager: the settings window is centred where the pointer is, and the
// place the user gives it is the one the next run opens at.
class SettingsWindowTest : public testing::Test {
protected:
    SettingsWindowTest()
        : model(Paths{dir.filePath("data")}, SettingsStore(dir.filePath("settings.json")),
                std::make_unique<RecordingNotifier>())
    {
    }

    QTemporaryDir dir;
    AppModel model;
};

TEST_F(SettingsWindowTest, OpensCentredOnThePointersScreenThenWhereTheUserLeftIt)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QCursor::setPos(screen.topLeft() + QPoint(40, 40));
    SettingsWindow first(model);
    first.bringForward();
    QWidget *window = first.window();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window, patienceMs));
    EXPECT_LE((window->frameGeometry().center() - screen.center()).manhattanLength(), 40)
        << "frame at " << window->frameGeometry().x() << "," << window->frameGeometry().y();
    EXPECT_GT(window->geometry().top(), screen.top() + 100) << "not in the corner";

    const QPoint moved(150, 120);
    window->move(moved);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->pos() == moved; }, patienceMs));
    window->close();
    ASSERT_TRUE(model.defaults().stringValue(SettingsWindow::frameKey));

    SettingsWindow next(model);
    next.bringForward();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(next.window(), patienceMs));
    EXPECT_TRUE(QTest::qWaitFor([&] { return next.window()->pos() == moved; }, patienceMs))
        << next.window()->pos().x() << "," << next.window()->pos().y();

    next.window()->close();
    next.bringForward();
    EXPECT_EQ(next.window()->pos(), moved) << "showing the same window again keeps its place";
}

// Escape closes an open list first, and the window only once nothing is open.
TEST_F(SettingsWindowTest, EscapeAndCtrlWCloseItEscapeClosingAnOpenListFirst)
{
    model.setTrayEnabled(true);
    struct Row {
        const char *key;
        SettingsView::Tab tab;
        // The list opened first, by Space.
        const char *list;
    };
    const Row rows[] = {
        {"Escape", SettingsView::Tab::general, nullptr},
        {"ctrl+w", SettingsView::Tab::general, nullptr},
        {"Escape", SettingsView::Tab::alerts, "warnMinutes"},
        {"Escape", SettingsView::Tab::notch, "trayOpensOn"},
    };
    SettingsWindow settings(model);
    for (const Row &row : rows) {
        const std::string name = std::string(row.key) + " " + (row.list ? row.list : "");
        settings.bringForward();
        auto *window = qobject_cast<SettingsView *>(settings.window());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window, patienceMs)) << name;
        window->showTab(row.tab);
        if (row.list) {
            auto *list = window->findChild<QComboBox *>(QString::fromLatin1(row.list));
            list->setFocus(Qt::TabFocusReason);
            ASSERT_TRUE(xdotool("space")) << name;
            ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget(); }, patienceMs)) << name;
            ASSERT_TRUE(xdotool("Escape")) << name;
            ASSERT_TRUE(QTest::qWaitFor([] { return !QApplication::activePopupWidget(); }, patienceMs)) << name;
            EXPECT_TRUE(window->isVisible()) << name << ": the list goes, the window stays";
            EXPECT_TRUE(list->hasFocus()) << name;
        }
        ASSERT_TRUE(xdotool(row.key)) << name;
        EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }, patienceMs)) << name;
    }
}

} // namespace
