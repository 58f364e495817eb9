// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// The per-user registration file: the stand-in for the registry keys of in-process servers.
/// It lives at $VXRECINFO_REGISTRY if set, else $XDG_CONFIG_HOME/vxRecInfo/registry.ini
/// (~/.config/vxRecInfo/registry.ini).

#include "Export.h"
#include "HResult.h"

#include <QString>
#include <QUuid>

#include <optional>

namespace vxRecInfo {

/// The entries that make a class of a server library creatable from other processes.
struct VXRECINFO_EXPORT ServerRegistration {
    QUuid clsid;            //!< the class
    QString progId;         //!< its program identifier
    QString description;    //!< its name, for people
    QString library;        //!< absolute path of the library that serves the class
    QString threadingModel; //!< "Apartment"
    QUuid typeLibrary;      //!< the type library the interface belongs to
    QString typeLibraryName;    //!< the type library's name
    QString typeLibraryVersion; //!< "1.0"
    QUuid interfaceId;      //!< the class's interface
    QString interfaceName;  //!< its name ("_RecordInfo")
};

/// Where the registration file is (it need not exist).
VXRECINFO_EXPORT QString registrationFilePath();

/// Writes the class, program identifier, type library and interface entries. The file is
/// edited in a private copy that replaces it whole.
/// @return S_OK, or SELFREG_E_CLASS: the cause (75, 76, 61, ...) is in lastErrorInfo() unless
///         the file's folder could not be made
VXRECINFO_EXPORT HResult writeRegistration(const ServerRegistration& registration);
/// Removes them again; entries of other classes stay.
/// @return S_OK (also when there is no file), or SELFREG_E_CLASS with the cause in lastErrorInfo()
VXRECINFO_EXPORT HResult removeRegistration(const ServerRegistration& registration);

/// The library registered for a class, if any.
VXRECINFO_EXPORT std::optional<QString> registeredLibrary(const QUuid& clsid);
/// The CLSID registered for a program identifier, if any.
VXRECINFO_EXPORT std::optional<QUuid> registeredClsid(const QString& progId);

} // namespace vxRecInfo
