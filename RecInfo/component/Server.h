// SPDX-License-Identifier: MIT
#pragma once
// RecordInfo's registration for programs that have the component linked in (recinfo
// register): the registration must name the shared library that serves the class, which
// DllRegisterServer can do only when it runs in that library.

#include "automation/HResult.h"

#include <QString>

namespace vxRecInfo {

// Writes the entries that name library as RecordInfo's server; SELFREG_E_CLASS for no library.
HResult registerRecordInfoServer(const QString& library);
HResult unregisterRecordInfoServer();

// The file of the shared library that serves RecordInfo, loaded as the dynamic linker finds
// libvxRecInfo.so.<major>; empty, with the loader's reason in *error, when it cannot be loaded.
QString componentLibraryPath(QString* error);

} // namespace vxRecInfo
