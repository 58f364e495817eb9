// SPDX-License-Identifier: MIT
// Test entry point. The core's programs need no window system; built with VX_TEST_WIDGETS a
// program runs a widget application on the offscreen platform, with VX_TEST_ON_DISPLAY on the X
// server of $DISPLAY (tools/with-xserver.sh starts one).

#include "TestEnvironment.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
#if defined(VX_TEST_ON_DISPLAY)
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fputs("no DISPLAY; run the program through tools/with-xserver.sh\n", stderr);
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
#elif defined(VX_TEST_WIDGETS)
    qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    QTemporaryDir home;
    if (!vxRecInfo::testing::isolateFromUserFiles(home))
        return 1;
#if defined(VX_TEST_ON_DISPLAY) || defined(VX_TEST_WIDGETS)
    QApplication app(argc, argv);
#else
    QCoreApplication app(argc, argv);
#endif
    return RUN_ALL_TESTS();
}
