// SPDX-License-Identifier: MIT
#pragma once
// The per-user registration file: the stand-in for the registry keys of in-process servers.
// It lives at $VXRECINFO_REGISTRY if set, else $XDG_CONFIG_HOME/vxRecInfo/registry.ini
// (~/.config/vxRecInfo/registry.ini).

#include "Export.h"
#include "HResult.h"

#include <QString>
#include <QUuid>

#include <optional>

namespace vxRecInfo {

struct VXRECINFO_EXPORT ServerRegistration {
    QUuid clsid;
    QString progId;
    QString description;
    QString library;        // absolute path of the library that serves the class
    QString threadingModel; // "Apartment"
    QUuid typeLibrary;
    QString typeLibraryName;
    QString typeLibraryVersion; // "1.0"
    QUuid interfaceId;
    QString interfaceName;
};

VXRECINFO_EXPORT QString registrationFilePath();

// Writes the class, program identifier, type library and interface entries.
VXRECINFO_EXPORT HResult writeRegistration(const ServerRegistration& registration);
// Removes them again; entries of other classes stay.
VXRECINFO_EXPORT HResult removeRegistration(const ServerRegistration& registration);

// The library registered for a class, if any.
VXRECINFO_EXPORT std::optional<QString> registeredLibrary(const QUuid& clsid);
// The CLSID registered for a program identifier, if any.
VXRECINFO_EXPORT std::optional<QUuid> registeredClsid(const QString& progId);

} // namespace vxRecInfo
