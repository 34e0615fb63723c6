// One main for every test program: a QApplication exists for the tests that need widgets or
// the event loop, under whatever platform the environment names (offscreen in ctest).
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
