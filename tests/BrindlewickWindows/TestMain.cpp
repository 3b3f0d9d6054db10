#include <QApplication>
#include <gtest/gtest.h>

// One application object for the whole program, on the X display of the session wrapper.
int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
