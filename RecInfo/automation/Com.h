// SPDX-License-Identifier: MIT
#pragma once
// The object model of the automation boundary: reference-counted interfaces identified by
// GUIDs, as in-process automation servers use them.

#include "Export.h"
#include "HResult.h"

#include <QUuid>

#include <atomic>
#include <cstdint>
#include <utility>

namespace vxRecInfo {

class VXRECINFO_EXPORT IUnknown
{
public:
    static const QUuid& iid();
    static bool implements(const QUuid& id) { return id == iid(); }

    virtual HResult QueryInterface(const QUuid& iid, void** object) = 0;
    virtual std::uint32_t AddRef() = 0;
    virtual std::uint32_t Release() = 0;

protected:
    virtual ~IUnknown() = default;
};

// Owning reference to an interface: AddRef on copy, Release on destruction.
template <class T>
class ComPtr
{
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes a new reference to p.
    explicit ComPtr(T* p) : m_p(p)
    {
        if (m_p)
            m_p->AddRef();
    }
    ComPtr(const ComPtr& other) : ComPtr(other.m_p) {}
    ComPtr(ComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    template <class U>
    ComPtr(const ComPtr<U>& other) : ComPtr(static_cast<T*>(other.get())) {}
    ~ComPtr() { reset(); }

    ComPtr& operator=(ComPtr other) noexcept
    {
        std::swap(m_p, other.m_p);
        return *this;
    }

    // Adopts a reference that the caller already owns (such as one returned by QueryInterface).
    static ComPtr adopt(T* p)
    {
        ComPtr result;
        result.m_p = p;
        return result;
    }

    void reset()
    {
        if (auto* p = std::exchange(m_p, nullptr))
            p->Release();
    }

    T* get() const { return m_p; }
    T* operator->() const { return m_p; }
    T& operator*() const { return *m_p; }
    explicit operator bool() const { return m_p != nullptr; }

    // QueryInterface for U; empty when the object does not implement it.
    template <class U>
    ComPtr<U> as() const
    {
        void* out = nullptr;
        if (m_p && succeeded(m_p->QueryInterface(U::iid(), &out)))
            return ComPtr<U>::adopt(static_cast<U*>(out));
        return {};
    }

    friend bool operator==(const ComPtr& a, const ComPtr& b) { return a.m_p == b.m_p; }

private:
    T* m_p = nullptr;
};

// Count of live objects and server locks of this library, for DllCanUnloadNow.
namespace ServerLifetime {
VXRECINFO_EXPORT void objectCreated();
VXRECINFO_EXPORT void objectDestroyed();
VXRECINFO_EXPORT void lock();
VXRECINFO_EXPORT void unlock();
VXRECINFO_EXPORT long liveObjects();
VXRECINFO_EXPORT long locks();
} // namespace ServerLifetime

// Implements reference counting and QueryInterface for a class whose interfaces form one
// inheritance chain ending in Interface. Objects are created with make() and die at the last
// Release (create them with makeObject).
template <class Interface>
class ComObject : public Interface
{
public:
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
    std::uint32_t AddRef() override { return ++m_refs; }
    std::uint32_t Release() override
    {
        const auto left = --m_refs;
        if (left == 0)
            delete this;
        return left;
    }

protected:
    ComObject() { ServerLifetime::objectCreated(); }
    ~ComObject() override { ServerLifetime::objectDestroyed(); }

private:
    std::atomic<std::uint32_t> m_refs{1};
};

// Creates an object with one reference, owned by the returned pointer.
template <class T, class... Args>
ComPtr<T> makeObject(Args&&... args)
{
    return ComPtr<T>::adopt(new T(std::forward<Args>(args)...));
}

} // namespace vxRecInfo
