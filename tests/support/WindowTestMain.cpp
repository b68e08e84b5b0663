#include <QApplication>
#include <gtest/gtest.h>

// Window tests need a QApplication (under the offscreen platform).
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
