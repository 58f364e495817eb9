// Entry point of the window tests on a real X server: tools/with-xserver.sh starts one and sets
// DISPLAY; the windows run on Qt's xcb platform.

#include "TestEnvironment.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fputs("display_tests: no DISPLAY; run it through tools/with-xserver.sh\n", stderr);
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QTemporaryDir home;
    if (!vxRecInfo::testing::isolateFromUserFiles(home))
        return 1;
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
