// SPDX-License-Identifier: MIT
#pragma once
// Entry points of the in-process server, for hosts that load the library themselves.

#include "automation/Export.h"
#include "automation/HResult.h"

#include <QUuid>

extern "C" {
// A class factory (IClassFactory) for RecordInfo; CLASS_E_CLASSNOTAVAILABLE for other classes.
VXRECINFO_EXPORT vxRecInfo::HResult DllGetClassObject(const QUuid* clsid, const QUuid* iid, void** object);
// S_OK when no object of the library is alive and no server lock is held, S_FALSE otherwise.
VXRECINFO_EXPORT vxRecInfo::HResult DllCanUnloadNow();
// Write or remove the class, type library and interface entries in the registration file.
VXRECINFO_EXPORT vxRecInfo::HResult DllRegisterServer();
VXRECINFO_EXPORT vxRecInfo::HResult DllUnregisterServer();
}
