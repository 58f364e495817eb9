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

#include <cstddef>
#include <string>
#include <vector>

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

// dlopen searches the RUNPATH of the object that calls it; a sanitizer's run-time intercepts
// dlopen and so becomes that caller. The program's own search path is tried by hand as well.
void* openOnProgramPath(const char* file)
{
    void* program = dlopen(nullptr, RTLD_LAZY);
    Dl_serinfo size{};
    if (!program || dlinfo(program, RTLD_DI_SERINFOSIZE, &size) != 0)
        return nullptr;
    std::vector<std::max_align_t> buffer(size.dls_size / sizeof(std::max_align_t) + 1);
    auto* paths = reinterpret_cast<Dl_serinfo*>(buffer.data());
    *paths = size;
    if (dlinfo(program, RTLD_DI_SERINFO, paths) != 0)
        return nullptr;
    for (unsigned i = 0; i < paths->dls_cnt; ++i) {
        const std::string candidate = std::string(paths->dls_serpath[i].dls_name) + '/' + file;
        if (void* handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL))
            return handle;
    }
    return nullptr;
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
    const QString why = handle ? QString() : QString::fromLocal8Bit(dlerror());
    if (!handle)
        handle = openOnProgramPath(VXRECINFO_LIBRARY_SONAME);
    void* entry = handle ? dlsym(handle, "DllGetClassObject") : nullptr;
    Dl_info info{};
    if (!entry || dladdr(entry, &info) == 0 || !info.dli_fname) {
        if (error)
            *error = handle ? QString::fromLocal8Bit(dlerror()) : why;
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
