#include <QCoreApplication>
#include <gtest/gtest.h>

// One application object for the whole program: QtDBus, timers and socket notifiers need it.
int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
