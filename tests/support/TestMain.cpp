#include <QCoreApplication>
#include <gtest/gtest.h>

// The core's tests run without a display and without the Gui library: a
// QCoreApplication is all they may have.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
