// SPDX-License-Identifier: MIT
#pragma once
// Member tables of dispatch interfaces, a base class that implements IDispatch over such a
// table, and helpers for calling outside objects late bound by member name.

#include "Export.h"
#include "IDispatch.h"
#include "Variant.h"

#include <QHash>

#include <vector>

namespace vxRecInfo {

enum class MemberKind { Method, PropertyGet, PropertyPut };

VXRECINFO_EXPORT QString memberKindName(MemberKind kind); // "method", "Get", "Let"

struct VXRECINFO_EXPORT ParamInfo {
    QString name;
    VarType type = VarType::Variant;
    bool byRef = false;
    bool optional = false;
    Variant defaultValue; // used when an optional argument is omitted
};

struct VXRECINFO_EXPORT MemberInfo {
    int slot = 0; // position in the interface, from 1
    QString name;
    MemberKind kind = MemberKind::Method;
    DispId dispId = DISPID_UNKNOWN;
    std::vector<ParamInfo> params; // a Let takes the value as its last parameter
    VarType returnType = VarType::Empty; // the value type of a Get

    int requiredParams() const;
};

// Builders for member tables.
VXRECINFO_EXPORT MemberInfo propertyLet(int slot, const QString& name, DispId dispId, VarType type);
VXRECINFO_EXPORT MemberInfo propertyGet(int slot, const QString& name, DispId dispId, VarType type, std::vector<ParamInfo> params = {});
VXRECINFO_EXPORT MemberInfo method(int slot, const QString& name, DispId dispId, std::vector<ParamInfo> params,
                  VarType returnType = VarType::Empty);
VXRECINFO_EXPORT ParamInfo byVal(const QString& name, VarType type);
VXRECINFO_EXPORT ParamInfo byRef(const QString& name, VarType type);
VXRECINFO_EXPORT ParamInfo optionalByVal(const QString& name, VarType type, Variant defaultValue);
VXRECINFO_EXPORT ParamInfo optionalByRef(const QString& name, VarType type, Variant defaultValue);

// The members of one dispatch interface, in slot order, with look-ups by name and DISPID.
class VXRECINFO_EXPORT TypeInfo
{
public:
    TypeInfo(QString name, QUuid iid, std::vector<MemberInfo> members);

    const QString& name() const { return m_name; }
    const QUuid& iid() const { return m_iid; }
    const std::vector<MemberInfo>& members() const { return m_members; }

    DispId idOfName(const QString& name) const; // case-insensitive; DISPID_UNKNOWN if none
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

// Implements IDispatch for Interface (IDispatch or an interface derived from it) over a
// TypeInfo: chooses the member, fills omitted optional arguments, converts every argument to
// its declared type, calls invokeMember, writes by-reference arguments back and turns every
// error into a failing HResult with error information.
template <class Interface = IDispatch>
class DispatchObject : public ComObject<Interface>
{
public:
    HResult GetIDsOfNames(const QString& name, DispId* dispId) override;
    HResult Invoke(DispId dispId, InvokeKind kind, std::vector<Variant>& args, Variant* result,
                   ErrorInfo* error) override;

protected:
    // Called with arguments already converted, one per declared parameter. May throw
    // RuntimeError; changes to by-reference arguments reach the caller.
    virtual Variant invokeMember(const MemberInfo& member, std::vector<Variant>& args) = 0;
};

// The shared work of DispatchObject, outside the template.
namespace dispatch_detail {
VXRECINFO_EXPORT HResult getIdOfName(const TypeInfo& type, const QString& name, DispId* dispId);
using MemberHandler = Variant (*)(void* self, const MemberInfo&, std::vector<Variant>&);
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

// Outcome of a late-bound call.
struct VXRECINFO_EXPORT InvokeResult {
    HResult hr = S_OK;
    Variant value;
    ErrorInfo error;

    bool ok() const { return succeeded(hr); }
};

// Finds the member by name and invokes it; an unknown name fails with error 438.
VXRECINFO_EXPORT InvokeResult invokeByName(IDispatch* object, const QString& name, InvokeKind kind, std::vector<Variant>& args);

// Late-bound calls for code inside the component: a failure of the callee is raised again as
// a RuntimeError with its number, source and description. A null object raises error 91.
VXRECINFO_EXPORT Variant lateGet(IDispatch* object, const QString& name, std::vector<Variant> args = {});
VXRECINFO_EXPORT void latePut(IDispatch* object, const QString& name, const Variant& value);
VXRECINFO_EXPORT Variant lateCall(IDispatch* object, const QString& name, std::vector<Variant> args = {});

// A property of one object read many times (a report asks the zone service for every time it
// shows): the name is looked up at the first call only. Calls and failures as lateGet's.
class VXRECINFO_EXPORT LateProperty
{
public:
    LateProperty(IDispatch* object, QString name) : m_object(object), m_name(std::move(name)) {}
    Variant get(std::vector<Variant> args) const;

private:
    IDispatch* m_object;
    QString m_name;
    mutable DispId m_id = 0;
    mutable bool m_found = false;
};

} // namespace vxRecInfo
