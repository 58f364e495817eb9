// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Entry points of the in-process server, for hosts that load the library themselves.

#include "automation/Export.h"
#include "automation/HResult.h"

#include <QUuid>

extern "C" {
/// A class factory (IClassFactory) for RecordInfo; CLASS_E_CLASSNOTAVAILABLE for other classes.
/// @return S_OK with the factory's interface iid in *object; CLASS_E_CLASSNOTAVAILABLE,
///         E_NOINTERFACE for an iid the factory lacks, E_POINTER for a null argument
VXRECINFO_EXPORT vxRecInfo::HResult DllGetClassObject(const QUuid* clsid, const QUuid* iid, void** object);
/// S_OK when no object of the library is alive and no server lock is held, S_FALSE otherwise.
VXRECINFO_EXPORT vxRecInfo::HResult DllCanUnloadNow();
/// Writes the class, type library and interface entries in the registration file, naming this
/// library as the server.
/// @return S_OK, or SELFREG_E_CLASS (the cause in lastErrorInfo() when the file could not be
///         written); also when the code does not run from the shared library
VXRECINFO_EXPORT vxRecInfo::HResult DllRegisterServer();
/// Removes the entries DllRegisterServer wrote; those of other classes stay.
/// @return S_OK, or SELFREG_E_CLASS with the cause in lastErrorInfo()
VXRECINFO_EXPORT vxRecInfo::HResult DllUnregisterServer();
}
