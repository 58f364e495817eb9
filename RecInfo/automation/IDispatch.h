// SPDX-License-Identifier: MIT
#pragma once
// Late binding: members found by name or DISPID and invoked with Variant arguments.

#include "Export.h"
#include "Com.h"
#include "RuntimeError.h"

#include <QString>

#include <vector>

namespace vxRecInfo {

class Variant;
class TypeInfo;

using DispId = std::int32_t;
inline constexpr DispId DISPID_UNKNOWN = -1;

// What an Invoke asks for; a late-bound call may ask for Method | PropertyGet at once.
enum class InvokeKind : std::uint16_t {
    Method = 1,
    PropertyGet = 2,
    PropertyPut = 4,
};
constexpr InvokeKind operator|(InvokeKind a, InvokeKind b)
{
    return static_cast<InvokeKind>(static_cast<std::uint16_t>(a) | static_cast<std::uint16_t>(b));
}
constexpr bool hasKind(InvokeKind set, InvokeKind kind)
{
    return (static_cast<std::uint16_t>(set) & static_cast<std::uint16_t>(kind)) != 0;
}

class VXRECINFO_EXPORT IDispatch : public IUnknown
{
public:
    static const QUuid& iid();
    static bool implements(const QUuid& id) { return id == iid() || IUnknown::implements(id); }

    // The member table of the object's dispatch interface.
    virtual const TypeInfo& GetTypeInfo() const = 0;
    // DISPID of a member; names match case-insensitively. DISP_E_UNKNOWNNAME when there is none.
    virtual HResult GetIDsOfNames(const QString& name, DispId* dispId) = 0;
    // Calls a member with its arguments in declaration order. Each argument is converted to the
    // declared type; by-reference arguments come back holding the value the member left.
    // On failure the result is the error's HResult and *error (when given) holds number,
    // source and description. Never throws.
    virtual HResult Invoke(DispId dispId, InvokeKind kind, std::vector<Variant>& args, Variant* result,
                           ErrorInfo* error) = 0;

protected:
    ~IDispatch() override = default;
};

} // namespace vxRecInfo
