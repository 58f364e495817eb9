// Test entry point of the core: no window system needed.

#include "TestEnvironment.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QTemporaryDir home;
    if (!vxRecInfo::testing::isolateFromUserFiles(home))
        return 1;
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
