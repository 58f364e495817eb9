// Entry point of the window tests: a widget application on the offscreen platform, and no
// test touching the user's own settings.

#include <QApplication>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    if (!home.isValid())
        return 1;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("VXRECINFO_REGISTRY", home.filePath(QStringLiteral("registry.ini")).toLocal8Bit());
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
