#include "NoteWindows/NotePanel.h"
#include "Shell/AppActions.h"
#include "Start/QuitSignals.h"

#include <QApplication>
#include <QTimer>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>

namespace {

// A note panel refuses to be closed, which stops QCoreApplication::quit(); quitting must not.
TEST(Quit, SignalsAndTheQuitCommandEndTheProgramThoughANotePanelRefusesToClose)
{
    const QList<std::pair<const char *, std::function<void()>>> ways{
        {"SIGTERM", [] { std::raise(SIGTERM); }},
        {"SIGHUP", [] { std::raise(SIGHUP); }},
        {"Quit Brindlewick", &AppActions::quit},
    };
    NotePanel panel(QUuid::createUuid(), new QWidget);
    panel.show();
    const QuitSignals quitSignals;
    for (const auto &[way, quit] : ways) {
        int quitHandlers = 0;
        QObject guard;
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, &guard, [&] { ++quitHandlers; });
        QTimer start;
        start.setSingleShot(true);
        QObject::connect(&start, &QTimer::timeout, quit);
        start.start(0);
        QTimer stuck;
        stuck.setSingleShot(true);
        QObject::connect(&stuck, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        stuck.start(5000);

        EXPECT_EQ(QApplication::exec(), 0) << way;
        EXPECT_EQ(quitHandlers, 1) << way;
        EXPECT_TRUE(panel.isVisible()) << way;
    }
}

} // namespace
