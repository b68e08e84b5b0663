#include <QApplication>
#include <gtest/gtest.h>

// One QApplication for every test executable: widget tests need it, and the
// rest do not mind it (they run under the offscreen platform).
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
