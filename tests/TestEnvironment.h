#pragma once
// Keeps every test away from the user's own settings, registration file and data folder.

#include <QStandardPaths>
#include <QTemporaryDir>

namespace vxRecInfo::testing {

inline bool isolateFromUserFiles(const QTemporaryDir& home)
{
    if (!home.isValid())
        return false;
    QStandardPaths::setTestModeEnabled(true);
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("VXRECINFO_REGISTRY", home.filePath(QStringLiteral("registry.ini")).toLocal8Bit());
    return true;
}

} // namespace vxRecInfo::testing
