// SPDX-License-Identifier: MIT
// The in-process server entry points. They hand over to the class registry and the
// registration file, as the run-time support of an automation server does.

#include "DllEntry.h"
#include "Server.h"
#include "Identity.h"
#include "RecordInfo.h"

#include "automation/ClassRegistry.h"
#include "automation/Registration.h"

#include <dlfcn.h>

namespace vxRecInfo {

namespace {

// The shared library this code serves from: the file whose exported DllGetClassObject is this
// one. Empty when the code is linked into a program or a module that does not export it.
QString thisLibraryPath()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&DllGetClassObject), &info) == 0 || !info.dli_fname)
        return {};
    void* handle = dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
    if (!handle)
        return {};
    const bool serves = dlsym(handle, "DllGetClassObject") == reinterpret_cast<void*>(&DllGetClassObject);
    dlclose(handle);
    return serves ? QString::fromLocal8Bit(info.dli_fname) : QString();
}

ServerRegistration recordInfoRegistration(const QString& library)
{
    return ServerRegistration{Identity::RecordInfoClsid,    Identity::ProgId,
                              Identity::ClassName,          library,
                              Identity::ThreadingModel,     Identity::TypeLibraryId,
                              Identity::TypeLibraryName,    Identity::TypeLibraryVersion,
                              Identity::RecordInfoIid,      Identity::InterfaceName};
}

ComPtr<IUnknown> createRecordInfo()
{
    return ComPtr<IUnknown>(RecordInfo::create());
}

// RecordInfo is creatable by CLSID and program identifier from the moment the library loads.
[[maybe_unused]] const bool registered = [] {
    ClassRegistry::instance().registerClass(
        ClassEntry{Identity::RecordInfoClsid, Identity::ProgId, Identity::ClassName, createRecordInfo});
    return true;
}();

} // namespace

HResult registerRecordInfoServer(const QString& library)
{
    if (library.isEmpty())
        return SELFREG_E_CLASS;
    return writeRegistration(recordInfoRegistration(library));
}

HResult unregisterRecordInfoServer()
{
    return removeRegistration(recordInfoRegistration({}));
}

QString componentLibraryPath(QString* error)
{
    void* handle = dlopen(VXRECINFO_LIBRARY_SONAME, RTLD_NOW | RTLD_LOCAL);
    void* entry = handle ? dlsym(handle, "DllGetClassObject") : nullptr;
    Dl_info info{};
    if (!entry || dladdr(entry, &info) == 0 || !info.dli_fname) {
        if (error)
            *error = QString::fromLocal8Bit(dlerror());
        return {};
    }
    // Stays loaded, as a server library does once it is used.
    return QString::fromLocal8Bit(info.dli_fname);
}

} // namespace vxRecInfo

using namespace vxRecInfo;

extern "C" HResult DllGetClassObject(const QUuid* clsid, const QUuid* iid, void** object)
{
    if (!clsid || !iid || !object)
        return E_POINTER;
    *object = nullptr;
    if (*clsid != Identity::RecordInfoClsid)
        return CLASS_E_CLASSNOTAVAILABLE;
    ComPtr<IClassFactory> factory = makeClassFactory(createRecordInfo);
    return factory->QueryInterface(*iid, object);
}

extern "C" HResult DllCanUnloadNow()
{
    return ServerLifetime::liveObjects() == 0 && ServerLifetime::locks() == 0 ? S_OK : S_FALSE;
}

extern "C" HResult DllRegisterServer()
{
    return registerRecordInfoServer(thisLibraryPath());
}

extern "C" HResult DllUnregisterServer()
{
    return unregisterRecordInfoServer();
}
