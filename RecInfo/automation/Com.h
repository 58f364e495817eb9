// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// The object model of the automation boundary: reference-counted interfaces identified by
/// GUIDs, as in-process automation servers use them.

#include "Export.h"
#include "HResult.h"

#include <QUuid>

#include <atomic>
#include <cstdint>
#include <utility>

namespace vxRecInfo {

/// The root of every interface: identity by interface GUID and the reference count that
/// decides an object's life.
class VXRECINFO_EXPORT IUnknown
{
public:
    /// The interface's GUID, as QueryInterface is asked for it.
    static const QUuid& iid();
    /// Whether an object of this interface answers QueryInterface for id (ComObject asks it).
    static bool implements(const QUuid& id) { return id == iid(); }

    /// Hands out the object's interface iid in *object, with a new reference.
    /// @return S_OK; E_NOINTERFACE, with *object null, when the object does not implement it;
    ///         E_POINTER when object is null.
    virtual HResult QueryInterface(const QUuid& iid, void** object) = 0;
    /// Takes one more reference.
    /// @return the new count, for diagnostics only.
    virtual std::uint32_t AddRef() = 0;
    /// Gives up one reference; the object dies with the last.
    /// @return the references left, for diagnostics only.
    virtual std::uint32_t Release() = 0;

protected:
    /// Protected: an object dies at its last Release, never by delete through an interface.
    virtual ~IUnknown() = default;
};

/// Owning reference to an interface: AddRef on copy, Release on destruction.
template <class T>
class ComPtr
{
public:
    /// Refers to no object.
    ComPtr() = default;
    /// Refers to no object, so that nullptr converts.
    ComPtr(std::nullptr_t) {}
    /// Takes a new reference to p.
    explicit ComPtr(T* p) : m_p(p)
    {
        if (m_p)
            m_p->AddRef();
    }
    /// Another reference to the object of other.
    ComPtr(const ComPtr& other) : ComPtr(other.m_p) {}
    /// Takes over the reference of other, which is left empty.
    ComPtr(ComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    /// A reference through a base interface T of U.
    template <class U>
    ComPtr(const ComPtr<U>& other) : ComPtr(static_cast<T*>(other.get())) {}
    /// Releases the reference held.
    ~ComPtr() { reset(); }

    /// Refers to other's object; the reference held before is released.
    ComPtr& operator=(ComPtr other) noexcept
    {
        std::swap(m_p, other.m_p);
        return *this;
    }

    /// Adopts a reference that the caller already owns (such as one returned by QueryInterface).
    static ComPtr adopt(T* p)
    {
        ComPtr result;
        result.m_p = p;
        return result;
    }

    /// Releases the reference held and refers to no object.
    void reset()
    {
        if (auto* p = std::exchange(m_p, nullptr))
            p->Release();
    }

    /// The interface, without a reference of its own; null when empty.
    T* get() const { return m_p; }
    /// Calls a member of the interface; the pointer must not be empty.
    T* operator->() const { return m_p; }
    /// The object; the pointer must not be empty.
    T& operator*() const { return *m_p; }
    /// Whether the pointer refers to an object.
    explicit operator bool() const { return m_p != nullptr; }

    /// QueryInterface for U; empty when the object does not implement it.
    template <class U>
    ComPtr<U> as() const
    {
        void* out = nullptr;
        if (m_p && succeeded(m_p->QueryInterface(U::iid(), &out)))
            return ComPtr<U>::adopt(static_cast<U*>(out));
        return {};
    }

    /// Whether both refer to the same interface pointer.
    friend bool operator==(const ComPtr& a, const ComPtr& b) { return a.m_p == b.m_p; }

private:
    T* m_p = nullptr;
};

/// Count of live objects and server locks of this library, for DllCanUnloadNow.
namespace ServerLifetime {
/// One more live object; ComObject's constructor says so.
VXRECINFO_EXPORT void objectCreated();
/// One live object less; ComObject's destructor says so.
VXRECINFO_EXPORT void objectDestroyed();
/// One more server lock (IClassFactory::LockServer(true)).
VXRECINFO_EXPORT void lock();
/// One server lock less (IClassFactory::LockServer(false)).
VXRECINFO_EXPORT void unlock();
/// The objects of the library alive now.
VXRECINFO_EXPORT long liveObjects();
/// The server locks held now.
VXRECINFO_EXPORT long locks();
} // namespace ServerLifetime

/// Implements reference counting and QueryInterface for a class whose interfaces form one
/// inheritance chain ending in Interface. Objects start with one reference and die at the last
/// Release: create them with makeObject.
template <class Interface>
class ComObject : public Interface
{
public:
    /// Hands out this object for every interface Interface::implements() accepts.
    /// @return S_OK; E_NOINTERFACE, with *object null, for any other; E_POINTER when object is null.
    HResult QueryInterface(const QUuid& id, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (!Interface::implements(id)) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<Interface*>(this);
        AddRef();
        return S_OK;
    }
    /// Takes one more reference (thread-safe); returns the new count.
    std::uint32_t AddRef() override { return ++m_refs; }
    /// Gives up one reference (thread-safe) and deletes the object at the last; returns the
    /// references left.
    std::uint32_t Release() override
    {
        const auto left = --m_refs;
        if (left == 0)
            delete this;
        return left;
    }

protected:
    /// Starts with one reference, owned by whoever made the object, and counts it as live.
    ComObject() { ServerLifetime::objectCreated(); }
    /// Counts the object as gone.
    ~ComObject() override { ServerLifetime::objectDestroyed(); }

private:
    std::atomic<std::uint32_t> m_refs{1};
};

/// Creates an object with one reference, owned by the returned pointer.
/// @param args the arguments of T's constructor
template <class T, class... Args>
ComPtr<T> makeObject(Args&&... args)
{
    return ComPtr<T>::adopt(new T(std::forward<Args>(args)...));
}

} // namespace vxRecInfo
