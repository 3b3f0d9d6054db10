#include <QApplication>
#include <gtest/gtest.h>

// One application object for the whole program, so timers, event loops and widgets work in every test.
// Inside a session wrapper it uses the session's display; without one (test discovery runs the program
// bare) it renders offscreen.
int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
