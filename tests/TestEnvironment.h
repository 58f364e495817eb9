// SPDX-License-Identifier: MIT
#pragma once
// Keeps every test away from the user's own settings, registration file and data folder.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace vxRecInfo::testing {

inline bool isolateFromUserFiles(const QTemporaryDir& home)
{
    if (!home.isValid())
        return false;
    // A folder of its own per test process (Qt's test mode shares one between processes, and
    // ctest runs tests side by side).
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("VXRECINFO_REGISTRY", home.filePath(QStringLiteral("registry.ini")).toLocal8Bit());
    // Qt's runtime folder would otherwise be made in /tmp and left there.
    const QString runtime = home.filePath(QStringLiteral("runtime"));
    const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    if (!QDir().mkpath(runtime) || !QFile::setPermissions(runtime, ownerOnly))
        return false;
    qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    return true;
}

} // namespace vxRecInfo::testing
