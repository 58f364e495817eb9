// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Creatable classes by CLSID and program identifier. A host registers its own classes (or its
/// own implementations of classes the component uses) before it creates objects; classes that
/// are not registered in this process are looked up in the per-user registration file and
/// loaded from the library it names.

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

/// Makes the objects of one class, as DllGetClassObject hands it out.
class VXRECINFO_EXPORT IClassFactory : public IUnknown
{
public:
    /// The interface's GUID.
    static const QUuid& iid();
    /// Whether an object of this interface answers QueryInterface for id: IClassFactory or IUnknown.
    static bool implements(const QUuid& id) { return id == iid() || IUnknown::implements(id); }

    /// Creates an object and returns its interface iid in *object (with one reference).
    /// @param outer must be null: no class here can be aggregated
    /// @param iid the interface wanted of the new object
    /// @param object receives it
    /// @return S_OK; CLASS_E_NOAGGREGATION for an outer object, E_POINTER for a null object,
    ///         E_NOINTERFACE when the object lacks iid, or the HResult of the error that creation
    ///         raised (its error information in lastErrorInfo()), E_OUTOFMEMORY or E_FAIL
    virtual HResult CreateInstance(IUnknown* outer, const QUuid& iid, void** object) = 0;
    /// Holds the server (lock true) or lets it go (false): a held server's library is not
    /// unloadable (DllCanUnloadNow) even without live objects.
    virtual HResult LockServer(bool lock) = 0;

protected:
    /// Protected, as IUnknown's: objects die at their last Release.
    ~IClassFactory() override = default;
};

/// A class the registry can create.
struct VXRECINFO_EXPORT ClassEntry {
    QUuid clsid;          //!< the class identity
    QString progId;       //!< its program identifier ("vxRecInfo.RecordInfo"), matched in any case
    QString description;  //!< its name, for people
    /// Makes a new object; returns its IUnknown with one reference owned by the pointer.
    /// May throw RuntimeError, which the creation raises again.
    std::function<ComPtr<IUnknown>()> create;
};

/// The classes this process can create, by CLSID and program identifier; safe to use from any
/// thread.
class VXRECINFO_EXPORT ClassRegistry
{
public:
    /// The process's registry. The component's own classes (RecordInfo and the defaults of the
    /// host suite's four) are registered in it when the library loads.
    static ClassRegistry& instance();

    /// Registers a class, replacing any earlier registration of the same CLSID.
    void registerClass(ClassEntry entry);
    /// Removes the class of clsid; false when none was registered.
    bool unregisterClass(const QUuid& clsid);

    /// The class registered in this process for clsid, if any (the registration file aside).
    std::optional<ClassEntry> find(const QUuid& clsid) const;
    /// The CLSID of a program identifier (any case): this process's classes first, then the
    /// registration file.
    std::optional<QUuid> clsidFromProgId(const QString& progId) const;

    /// Creates an object of a class given by CLSID ("{...}") or program identifier. Raises
    /// error 429 when the class is unknown or cannot make the object, 13 when the object lacks
    /// IDispatch.
    /// @throws RuntimeError 429, 13, or the error the class's creation raised
    ComPtr<IDispatch> createObject(const QString& classId) const;
    /// Creates an object of the class of clsid: one registered in this process, else through
    /// the DllGetClassObject of the library the registration file names for it.
    /// @throws RuntimeError 429 when the class is not registered, its library cannot be loaded
    ///         or does not serve it, or the class makes no object; the error the class's
    ///         creation raised otherwise
    ComPtr<IUnknown> createInstance(const QUuid& clsid) const;

private:
    ClassRegistry() = default;

    mutable std::mutex m_mutex;
    QList<ClassEntry> m_classes;
};

/// A class factory over a creation function, as DllGetClassObject hands out.
VXRECINFO_EXPORT ComPtr<IClassFactory> makeClassFactory(std::function<ComPtr<IUnknown>()> create);

} // namespace vxRecInfo
