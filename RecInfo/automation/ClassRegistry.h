// SPDX-License-Identifier: MIT
#pragma once
// Creatable classes by CLSID and program identifier. A host registers its own classes (or its
// own implementations of classes the component uses) before it creates objects; classes that
// are not registered in this process are looked up in the per-user registration file and
// loaded from the library it names.

#include "Export.h"
#include "Com.h"
#include "IDispatch.h"

#include <QList>
#include <QString>
#include <QUuid>

#include <functional>
#include <mutex>
#include <optional>

namespace vxRecInfo {

class VXRECINFO_EXPORT IClassFactory : public IUnknown
{
public:
    static const QUuid& iid();
    static bool implements(const QUuid& id) { return id == iid() || IUnknown::implements(id); }

    // Creates an object and returns its interface iid in *object (with one reference).
    virtual HResult CreateInstance(IUnknown* outer, const QUuid& iid, void** object) = 0;
    virtual HResult LockServer(bool lock) = 0;

protected:
    ~IClassFactory() override = default;
};

struct VXRECINFO_EXPORT ClassEntry {
    QUuid clsid;
    QString progId;
    QString description;
    // Makes a new object; returns its IUnknown with one reference owned by the pointer.
    std::function<ComPtr<IUnknown>()> create;
};

class VXRECINFO_EXPORT ClassRegistry
{
public:
    static ClassRegistry& instance();

    // Registers a class, replacing any earlier registration of the same CLSID.
    void registerClass(ClassEntry entry);
    bool unregisterClass(const QUuid& clsid);

    std::optional<ClassEntry> find(const QUuid& clsid) const;
    std::optional<QUuid> clsidFromProgId(const QString& progId) const;

    // Creates an object of a class given by CLSID ("{...}") or program identifier. Raises
    // error 429 when the class is unknown or cannot make the object, 13 when the object lacks
    // IDispatch.
    ComPtr<IDispatch> createObject(const QString& classId) const;
    ComPtr<IUnknown> createInstance(const QUuid& clsid) const;

private:
    ClassRegistry() = default;

    mutable std::mutex m_mutex;
    QList<ClassEntry> m_classes;
};

// A class factory over a creation function, as DllGetClassObject hands out.
VXRECINFO_EXPORT ComPtr<IClassFactory> makeClassFactory(std::function<ComPtr<IUnknown>()> create);

} // namespace vxRecInfo
