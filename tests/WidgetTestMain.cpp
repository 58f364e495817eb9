// Entry point of the window tests: a widget application on the offscreen platform, or, built
// with VX_TEST_ON_DISPLAY, on the X server of $DISPLAY (tools/with-xserver.sh starts one).

#include "TestEnvironment.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
#ifdef VX_TEST_ON_DISPLAY
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fputs("no DISPLAY; run the program through tools/with-xserver.sh\n", stderr);
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
#else
    qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    QTemporaryDir home;
    if (!vxRecInfo::testing::isolateFromUserFiles(home))
        return 1;
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
