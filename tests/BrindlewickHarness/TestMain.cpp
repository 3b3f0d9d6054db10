#include <QApplication>
#include <gtest/gtest.h>

// One application object for the whole program, on the session's X display (see support/with-session).
int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
