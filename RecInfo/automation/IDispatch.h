// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Late binding: members found by name or DISPID and invoked with Variant arguments.

#include "Export.h"
#include "Com.h"
#include "RuntimeError.h"

#include <QString>

#include <vector>

namespace vxRecInfo {

class Variant;
class TypeInfo;

/// The number that identifies a member of a dispatch interface.
using DispId = std::int32_t;
/// The DISPID of no member.
inline constexpr DispId DISPID_UNKNOWN = -1;

/// What an Invoke asks for; a late-bound call may ask for Method | PropertyGet at once.
enum class InvokeKind : std::uint16_t {
    Method = 1,      //!< call a method
    PropertyGet = 2, //!< read a property
    PropertyPut = 4, //!< set a property (Let); the value is the last argument
};
/// Both kinds, as a call that may be either asks.
constexpr InvokeKind operator|(InvokeKind a, InvokeKind b)
{
    return static_cast<InvokeKind>(static_cast<std::uint16_t>(a) | static_cast<std::uint16_t>(b));
}
/// Whether set asks for kind.
constexpr bool hasKind(InvokeKind set, InvokeKind kind)
{
    return (static_cast<std::uint16_t>(set) & static_cast<std::uint16_t>(kind)) != 0;
}

/// An object whose members are called late bound: by name or DISPID, with Variant arguments.
class VXRECINFO_EXPORT IDispatch : public IUnknown
{
public:
    /// The interface's GUID.
    static const QUuid& iid();
    /// Whether an object of this interface answers QueryInterface for id: IDispatch or IUnknown.
    static bool implements(const QUuid& id) { return id == iid() || IUnknown::implements(id); }

    /// The member table of the object's dispatch interface.
    virtual const TypeInfo& GetTypeInfo() const = 0;
    /// DISPID of a member; names match case-insensitively.
    /// @return S_OK; DISP_E_UNKNOWNNAME, with *dispId DISPID_UNKNOWN, when there is none;
    ///         E_POINTER when dispId is null.
    virtual HResult GetIDsOfNames(const QString& name, DispId* dispId) = 0;
    /// Calls a member with its arguments in declaration order. Each argument is converted to the
    /// declared type; by-reference arguments come back holding the value the member left.
    /// On failure the result is the error's HResult and *error (when given) holds number,
    /// source and description. Never throws.
    /// @param dispId the member, from GetIDsOfNames
    /// @param kind what the call asks for; a put takes the value as its last argument
    /// @param args the arguments; a missing Variant (Variant::missing()) omits an optional one
    /// @param result receives the value of a Get or a method; may be null
    /// @param error receives the error information of a failure; may be null
    /// @return S_OK; DISP_E_MEMBERNOTFOUND (error 438) for no such member of that kind,
    ///         DISP_E_BADPARAMCOUNT (450) for too many arguments, DISP_E_PARAMNOTOPTIONAL (449)
    ///         for an omitted required one, or the HResult of the error the conversion or the
    ///         member raised (0x800A0000 | n: 13 or 6 for an argument that does not convert)
    virtual HResult Invoke(DispId dispId, InvokeKind kind, std::vector<Variant>& args, Variant* result,
                           ErrorInfo* error) = 0;

protected:
    /// Protected, as IUnknown's: objects die at their last Release.
    ~IDispatch() override = default;
};

} // namespace vxRecInfo
