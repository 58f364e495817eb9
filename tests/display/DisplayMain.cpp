// Entry point of the window tests on a real X server: tools/with-xserver.sh starts one and sets
// DISPLAY; the windows run on Qt's xcb platform.

#include "TestEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QFile>

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
    // Qt's runtime folder would otherwise be made in /tmp and left there.
    const QString runtime = home.filePath(QStringLiteral("runtime"));
    const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    if (!QDir().mkpath(runtime) || !QFile::setPermissions(runtime, ownerOnly))
        return 1;
    qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
