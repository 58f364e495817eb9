// SPDX-License-Identifier: MIT
#include "ClassRegistry.h"

#include "Registration.h"
#include "RuntimeError.h"

#include <dlfcn.h>

namespace vxRecInfo {

namespace {

class FunctionClassFactory final : public ComObject<IClassFactory>
{
public:
    explicit FunctionClassFactory(std::function<ComPtr<IUnknown>()> create) : m_create(std::move(create)) {}

    HResult CreateInstance(IUnknown* outer, const QUuid& iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        try {
            ComPtr<IUnknown> created = m_create();
            if (!created)
                return E_FAIL;
            return created->QueryInterface(iid, object);
        } catch (const RuntimeError& e) {
            setLastErrorInfo(e.info());
            return e.hresult();
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        } catch (...) {
            return E_FAIL;
        }
    }

    HResult LockServer(bool lock) override
    {
        lock ? ServerLifetime::lock() : ServerLifetime::unlock();
        return S_OK;
    }

private:
    std::function<ComPtr<IUnknown>()> m_create;
};

using GetClassObjectFn = HResult (*)(const QUuid*, const QUuid*, void**);

[[noreturn]] void cannotCreate(const QString& classId, const QString& why)
{
    throw RuntimeError(Err::CannotCreateObject,
                       standardErrorDescription(Err::CannotCreateObject) + QStringLiteral(" (") + classId
                           + QStringLiteral(": ") + why + QLatin1Char(')'));
}

// Loads the registered library of a class and asks its DllGetClassObject for a factory.
ComPtr<IUnknown> createFromRegisteredLibrary(const QUuid& clsid)
{
    const QString id = clsid.toString(QUuid::WithBraces);
    const auto library = registeredLibrary(clsid);
    if (!library)
        cannotCreate(id, QStringLiteral("class not registered"));
    // The library stays loaded for the process, as in-process servers do.
    void* handle = dlopen(library->toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        cannotCreate(id, QString::fromLocal8Bit(dlerror()));
    auto getClassObject = reinterpret_cast<GetClassObjectFn>(dlsym(handle, "DllGetClassObject"));
    if (!getClassObject)
        cannotCreate(id, QStringLiteral("%1 has no DllGetClassObject").arg(*library));
    void* out = nullptr;
    if (failed(getClassObject(&clsid, &IClassFactory::iid(), &out)) || !out)
        cannotCreate(id, QStringLiteral("%1 does not serve the class").arg(*library));
    auto factory = ComPtr<IClassFactory>::adopt(static_cast<IClassFactory*>(out));
    void* object = nullptr;
    const HResult hr = factory->CreateInstance(nullptr, IUnknown::iid(), &object);
    if (failed(hr)) {
        const ErrorInfo info = lastErrorInfo();
        if (info.number != 0 && info.hresult() == hr)
            throw RuntimeError(info.number, info.description, info.source);
        cannotCreate(id, QStringLiteral("the class factory failed"));
    }
    return ComPtr<IUnknown>::adopt(static_cast<IUnknown*>(object));
}

} // namespace

const QUuid& IClassFactory::iid()
{
    static const QUuid id(QStringLiteral("{00000001-0000-0000-C000-000000000046}"));
    return id;
}

ComPtr<IClassFactory> makeClassFactory(std::function<ComPtr<IUnknown>()> create)
{
    return ComPtr<IClassFactory>(makeObject<FunctionClassFactory>(std::move(create)));
}

ClassRegistry& ClassRegistry::instance()
{
    static ClassRegistry registry;
    return registry;
}

void ClassRegistry::registerClass(ClassEntry entry)
{
    std::lock_guard lock(m_mutex);
    for (ClassEntry& existing : m_classes) {
        if (existing.clsid == entry.clsid) {
            existing = std::move(entry);
            return;
        }
    }
    m_classes.append(std::move(entry));
}

bool ClassRegistry::unregisterClass(const QUuid& clsid)
{
    std::lock_guard lock(m_mutex);
    return m_classes.removeIf([&](const ClassEntry& e) { return e.clsid == clsid; }) > 0;
}

std::optional<ClassEntry> ClassRegistry::find(const QUuid& clsid) const
{
    std::lock_guard lock(m_mutex);
    for (const ClassEntry& e : m_classes)
        if (e.clsid == clsid)
            return e;
    return std::nullopt;
}

std::optional<QUuid> ClassRegistry::clsidFromProgId(const QString& progId) const
{
    {
        std::lock_guard lock(m_mutex);
        for (const ClassEntry& e : m_classes)
            if (e.progId.compare(progId, Qt::CaseInsensitive) == 0)
                return e.clsid;
    }
    return registeredClsid(progId);
}

ComPtr<IUnknown> ClassRegistry::createInstance(const QUuid& clsid) const
{
    const std::optional<ClassEntry> entry = find(clsid);
    if (!entry)
        return createFromRegisteredLibrary(clsid);
    ComPtr<IUnknown> object = entry->create();
    if (!object)
        cannotCreate(clsid.toString(QUuid::WithBraces), QStringLiteral("the class made no object"));
    return object;
}

ComPtr<IDispatch> ClassRegistry::createObject(const QString& classId) const
{
    QUuid clsid(classId);
    if (clsid.isNull()) {
        const auto found = clsidFromProgId(classId);
        if (!found)
            cannotCreate(classId, QStringLiteral("no such class"));
        clsid = *found;
    }
    ComPtr<IDispatch> object = createInstance(clsid).as<IDispatch>();
    if (!object)
        throw RuntimeError(Err::TypeMismatch);
    return object;
}

} // namespace vxRecInfo
