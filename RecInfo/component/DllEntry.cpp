// SPDX-License-Identifier: MIT
// The in-process server entry points. They hand over to the class registry and the
// registration file, as the run-time support of an automation server does.

#include "DllEntry.h"
#include "Identity.h"
#include "RecordInfo.h"

#include "automation/ClassRegistry.h"
#include "automation/Registration.h"

#include <dlfcn.h>

namespace vxRecInfo {

namespace {

QString thisLibraryPath()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&thisLibraryPath), &info) == 0 || !info.dli_fname)
        return {};
    return QString::fromLocal8Bit(info.dli_fname);
}

ServerRegistration recordInfoRegistration()
{
    return ServerRegistration{Identity::RecordInfoClsid,    Identity::ProgId,
                              Identity::ClassName,          thisLibraryPath(),
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

} // namespace vxRecInfo

using namespace vxRecInfo;

extern "C" __attribute__((visibility("default"))) HResult DllGetClassObject(const QUuid* clsid, const QUuid* iid,
                                                                           void** object)
{
    if (!clsid || !iid || !object)
        return E_POINTER;
    *object = nullptr;
    if (*clsid != Identity::RecordInfoClsid)
        return CLASS_E_CLASSNOTAVAILABLE;
    ComPtr<IClassFactory> factory = makeClassFactory(createRecordInfo);
    return factory->QueryInterface(*iid, object);
}

extern "C" __attribute__((visibility("default"))) HResult DllCanUnloadNow()
{
    return ServerLifetime::liveObjects() == 0 && ServerLifetime::locks() == 0 ? S_OK : S_FALSE;
}

extern "C" __attribute__((visibility("default"))) HResult DllRegisterServer()
{
    return writeRegistration(recordInfoRegistration());
}

extern "C" __attribute__((visibility("default"))) HResult DllUnregisterServer()
{
    return removeRegistration(recordInfoRegistration());
}
