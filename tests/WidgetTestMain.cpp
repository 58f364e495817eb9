// Entry point of the window tests: a widget application on the offscreen platform.

#include "TestEnvironment.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    if (!vxRecInfo::testing::isolateFromUserFiles(home))
        return 1;
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
