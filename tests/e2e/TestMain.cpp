#include <QCoreApplication>
#include <gtest/gtest.h>

// An event loop for waiting on processes; the program under test has the display to itself.
int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
