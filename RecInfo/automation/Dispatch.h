// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Member tables of dispatch interfaces, a base class that implements IDispatch over such a
/// table, and helpers for calling outside objects late bound by member name.

#include "Export.h"
#include "IDispatch.h"
#include "Variant.h"

#include <QHash>

#include <vector>

namespace vxRecInfo {

/// What a member of a dispatch interface is.
enum class MemberKind { Method, PropertyGet, PropertyPut };

VXRECINFO_EXPORT QString memberKindName(MemberKind kind); //!< "method", "Get", "Let", as listings name the kinds

/// One parameter of a member.
struct VXRECINFO_EXPORT ParamInfo {
    QString name;                       //!< as the interface declares it
    VarType type = VarType::Variant;    //!< the type Invoke converts the argument to
    bool byRef = false;                 //!< whether the member's changes reach the caller
    bool optional = false;              //!< whether the argument may be omitted
    Variant defaultValue; //!< used when an optional argument is omitted
};

/// One member of a dispatch interface: a row of its member table.
struct VXRECINFO_EXPORT MemberInfo {
    int slot = 0; //!< position in the interface, from 1
    QString name;                          //!< the member's name, as the table spells it
    MemberKind kind = MemberKind::Method;  //!< method, property get or property put
    DispId dispId = DISPID_UNKNOWN;        //!< the DISPID; a property's get and put share one
    std::vector<ParamInfo> params; //!< a Let takes the value as its last parameter
    VarType returnType = VarType::Empty; //!< the value type of a Get

    /// The parameters that are not optional.
    int requiredParams() const;
};

/// @name Builders for member tables
/// @{

/// A property put (Let) taking one value of type type.
VXRECINFO_EXPORT MemberInfo propertyLet(int slot, const QString& name, DispId dispId, VarType type);
/// A property get returning type, with params when the property takes arguments.
VXRECINFO_EXPORT MemberInfo propertyGet(int slot, const QString& name, DispId dispId, VarType type, std::vector<ParamInfo> params = {});
/// A method; returnType Empty for one that returns nothing.
VXRECINFO_EXPORT MemberInfo method(int slot, const QString& name, DispId dispId, std::vector<ParamInfo> params,
                  VarType returnType = VarType::Empty);
/// A required parameter passed by value.
VXRECINFO_EXPORT ParamInfo byVal(const QString& name, VarType type);
/// A required parameter passed by reference.
VXRECINFO_EXPORT ParamInfo byRef(const QString& name, VarType type);
/// An optional parameter passed by value, defaultValue when omitted.
VXRECINFO_EXPORT ParamInfo optionalByVal(const QString& name, VarType type, Variant defaultValue);
/// An optional parameter passed by reference, defaultValue when omitted.
VXRECINFO_EXPORT ParamInfo optionalByRef(const QString& name, VarType type, Variant defaultValue);
/// @}

/// The members of one dispatch interface, in slot order, with look-ups by name and DISPID.
class VXRECINFO_EXPORT TypeInfo
{
public:
    /// The interface of that name and IID, with its members in slot order.
    TypeInfo(QString name, QUuid iid, std::vector<MemberInfo> members);

    /// The interface's name ("_RecordInfo").
    const QString& name() const { return m_name; }
    /// The interface's IID.
    const QUuid& iid() const { return m_iid; }
    /// Every member, in slot order.
    const std::vector<MemberInfo>& members() const { return m_members; }

    DispId idOfName(const QString& name) const; //!< case-insensitive; DISPID_UNKNOWN if none
    /// The member of that DISPID and kind; null when there is none.
    const MemberInfo* find(DispId dispId, MemberKind kind) const;

private:
    QString m_name;
    QUuid m_iid;
    std::vector<MemberInfo> m_members;
    // Names as the table spells them, so that callers who spell them so (the component's own
    // late-bound calls, most files) find them without lower-casing the name on every call.
    QHash<QString, DispId> m_idsByDeclaredName;
    QHash<QString, DispId> m_idsByName; // lower case
    QHash<quint64, std::size_t> m_byIdAndKind;
};

/// Implements IDispatch for Interface (IDispatch or an interface derived from it) over a
/// TypeInfo: chooses the member, fills omitted optional arguments, converts every argument to
/// its declared type, calls invokeMember, writes by-reference arguments back and turns every
/// error into a failing HResult with error information.
template <class Interface = IDispatch>
class DispatchObject : public ComObject<Interface>
{
public:
    /// The DISPID of a member of GetTypeInfo(), by name in any case.
    /// @return S_OK; DISP_E_UNKNOWNNAME, with *dispId DISPID_UNKNOWN, when there is none;
    ///         E_POINTER when dispId is null.
    HResult GetIDsOfNames(const QString& name, DispId* dispId) override;
    /// Calls the member of GetTypeInfo() through invokeMember, as IDispatch::Invoke describes;
    /// the error information of a failure is also left in lastErrorInfo(). Never throws.
    HResult Invoke(DispId dispId, InvokeKind kind, std::vector<Variant>& args, Variant* result,
                   ErrorInfo* error) override;

protected:
    /// Called with arguments already converted, one per declared parameter. May throw
    /// RuntimeError; changes to by-reference arguments reach the caller.
    /// @return the value of a Get or a method; anything for a put
    virtual Variant invokeMember(const MemberInfo& member, std::vector<Variant>& args) = 0;
};

/// The shared work of DispatchObject, outside the template; not for hosts to call.
namespace dispatch_detail {
/// DispatchObject::GetIDsOfNames over type.
VXRECINFO_EXPORT HResult getIdOfName(const TypeInfo& type, const QString& name, DispId* dispId);
/// How invoke reaches DispatchObject::invokeMember of self.
using MemberHandler = Variant (*)(void* self, const MemberInfo&, std::vector<Variant>&);
/// DispatchObject::Invoke over type, calling handler(self, member, converted arguments).
VXRECINFO_EXPORT HResult invoke(const TypeInfo& type, DispId dispId, InvokeKind kind, std::vector<Variant>& args,
               Variant* result, ErrorInfo* error, void* self, MemberHandler handler);
} // namespace dispatch_detail

template <class Interface>
HResult DispatchObject<Interface>::GetIDsOfNames(const QString& name, DispId* dispId)
{
    return dispatch_detail::getIdOfName(this->GetTypeInfo(), name, dispId);
}

template <class Interface>
HResult DispatchObject<Interface>::Invoke(DispId dispId, InvokeKind kind, std::vector<Variant>& args,
                                          Variant* result, ErrorInfo* error)
{
    return dispatch_detail::invoke(
        this->GetTypeInfo(), dispId, kind, args, result, error, this,
        [](void* self, const MemberInfo& member, std::vector<Variant>& a) {
            return static_cast<DispatchObject*>(self)->invokeMember(member, a);
        });
}

/// Outcome of a late-bound call.
struct VXRECINFO_EXPORT InvokeResult {
    HResult hr = S_OK;  //!< S_OK, or the failure's HResult
    Variant value;      //!< the value the member returned
    ErrorInfo error;    //!< number, source and description of a failure

    /// Whether the call succeeded.
    bool ok() const { return succeeded(hr); }
};

/// Finds the member by name and invokes it; an unknown name fails with error 438.
/// @param object the object to call; null fails with error 91
/// @param name the member's name, in any case
/// @param kind what the call asks for, as IDispatch::Invoke takes it
/// @param args the arguments; by-reference ones come back as the member left them
/// @return the outcome: for a null object error 91, for an unknown name error 438 with
///         DISP_E_UNKNOWNNAME, otherwise what IDispatch::Invoke gave. Never throws.
VXRECINFO_EXPORT InvokeResult invokeByName(IDispatch* object, const QString& name, InvokeKind kind, std::vector<Variant>& args);

/// @name Late-bound calls for code inside the component
/// A failure of the callee is raised again as a RuntimeError with its number, source and
/// description. A null object raises error 91, an unknown member 438.
/// @{

/// Reads a property, or calls a method for its value, by name.
/// @throws RuntimeError 91, 438, or the callee's error
VXRECINFO_EXPORT Variant lateGet(IDispatch* object, const QString& name, std::vector<Variant> args = {});
/// Sets a property by name.
/// @throws RuntimeError 91, 438, or the callee's error
VXRECINFO_EXPORT void latePut(IDispatch* object, const QString& name, const Variant& value);
/// Calls a method by name.
/// @throws RuntimeError 91, 438, or the callee's error
VXRECINFO_EXPORT Variant lateCall(IDispatch* object, const QString& name, std::vector<Variant> args = {});
/// @}

/// A property of one object read many times (a report asks the zone service for every time it
/// shows): the name is looked up at the first call only. Calls and failures as lateGet's.
class VXRECINFO_EXPORT LateProperty
{
public:
    /// The property name of object; object is not owned and must outlive this.
    LateProperty(IDispatch* object, QString name) : m_object(object), m_name(std::move(name)) {}
    /// The property's value for args, as lateGet gives it.
    /// @throws RuntimeError 91, 438, or the callee's error
    Variant get(std::vector<Variant> args) const;

private:
    IDispatch* m_object;
    QString m_name;
    mutable DispId m_id = 0;
    mutable bool m_found = false;
};

} // namespace vxRecInfo
