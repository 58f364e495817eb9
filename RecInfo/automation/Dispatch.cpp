// SPDX-License-Identifier: MIT
#include "Dispatch.h"

#include <new>

namespace vxRecInfo {

namespace {

quint64 idKindKey(DispId dispId, MemberKind kind)
{
    return (quint64(quint32(dispId)) << 2) | quint64(kind);
}

ErrorInfo dispatchError(int number)
{
    return ErrorInfo{number, componentErrorSource(), standardErrorDescription(number)};
}

HResult fail(HResult hr, const ErrorInfo& info, ErrorInfo* error)
{
    setLastErrorInfo(info);
    if (error)
        *error = info;
    return hr;
}

const MemberInfo* chooseMember(const TypeInfo& type, DispId dispId, InvokeKind kind)
{
    if (hasKind(kind, InvokeKind::PropertyPut))
        return type.find(dispId, MemberKind::PropertyPut);
    if (hasKind(kind, InvokeKind::Method))
        if (const MemberInfo* m = type.find(dispId, MemberKind::Method))
            return m;
    if (hasKind(kind, InvokeKind::PropertyGet))
        return type.find(dispId, MemberKind::PropertyGet);
    return nullptr;
}

} // namespace

QString memberKindName(MemberKind kind)
{
    switch (kind) {
    case MemberKind::Method: return QStringLiteral("method");
    case MemberKind::PropertyGet: return QStringLiteral("Get");
    case MemberKind::PropertyPut: return QStringLiteral("Let");
    }
    return {};
}

int MemberInfo::requiredParams() const
{
    int required = 0;
    for (const ParamInfo& p : params)
        if (!p.optional)
            ++required;
    return required;
}

MemberInfo propertyLet(int slot, const QString& name, DispId dispId, VarType type)
{
    return MemberInfo{slot, name, MemberKind::PropertyPut, dispId, {byVal(QStringLiteral("value"), type)}, VarType::Empty};
}

MemberInfo propertyGet(int slot, const QString& name, DispId dispId, VarType type, std::vector<ParamInfo> params)
{
    return MemberInfo{slot, name, MemberKind::PropertyGet, dispId, std::move(params), type};
}

MemberInfo method(int slot, const QString& name, DispId dispId, std::vector<ParamInfo> params, VarType returnType)
{
    return MemberInfo{slot, name, MemberKind::Method, dispId, std::move(params), returnType};
}

ParamInfo byVal(const QString& name, VarType type)
{
    return ParamInfo{name, type, false, false, Variant()};
}

ParamInfo byRef(const QString& name, VarType type)
{
    return ParamInfo{name, type, true, false, Variant()};
}

ParamInfo optionalByVal(const QString& name, VarType type, Variant defaultValue)
{
    return ParamInfo{name, type, false, true, std::move(defaultValue)};
}

ParamInfo optionalByRef(const QString& name, VarType type, Variant defaultValue)
{
    return ParamInfo{name, type, true, true, std::move(defaultValue)};
}

TypeInfo::TypeInfo(QString name, QUuid iid, std::vector<MemberInfo> members)
    : m_name(std::move(name)), m_iid(iid), m_members(std::move(members))
{
    for (std::size_t i = 0; i < m_members.size(); ++i) {
        const MemberInfo& m = m_members[i];
        m_idsByDeclaredName.insert(m.name, m.dispId);
        m_idsByName.insert(m.name.toLower(), m.dispId);
        m_byIdAndKind.insert(idKindKey(m.dispId, m.kind), i);
    }
}

DispId TypeInfo::idOfName(const QString& name) const
{
    if (const auto it = m_idsByDeclaredName.constFind(name); it != m_idsByDeclaredName.cend())
        return *it;
    return m_idsByName.value(name.toLower(), DISPID_UNKNOWN);
}

const MemberInfo* TypeInfo::find(DispId dispId, MemberKind kind) const
{
    const auto it = m_byIdAndKind.constFind(idKindKey(dispId, kind));
    return it == m_byIdAndKind.cend() ? nullptr : &m_members[*it];
}

namespace dispatch_detail {

HResult getIdOfName(const TypeInfo& type, const QString& name, DispId* dispId)
{
    if (!dispId)
        return E_POINTER;
    *dispId = type.idOfName(name);
    return *dispId == DISPID_UNKNOWN ? DISP_E_UNKNOWNNAME : S_OK;
}

HResult invoke(const TypeInfo& type, DispId dispId, InvokeKind kind, std::vector<Variant>& args,
               Variant* result, ErrorInfo* error, void* self, MemberHandler handler)
{
    const MemberInfo* member = chooseMember(type, dispId, kind);
    if (!member)
        return fail(DISP_E_MEMBERNOTFOUND, dispatchError(Err::ObjectDoesNotSupportMember), error);
    if (args.size() > member->params.size())
        return fail(DISP_E_BADPARAMCOUNT, dispatchError(Err::WrongNumberOfArguments), error);

    std::vector<Variant> converted;
    converted.reserve(member->params.size());
    HResult hr = S_OK;
    ErrorInfo info;
    try {
        for (std::size_t i = 0; i < member->params.size(); ++i) {
            const ParamInfo& param = member->params[i];
            const bool given = i < args.size() && !args[i].isMissing();
            if (!given) {
                if (!param.optional)
                    return fail(DISP_E_PARAMNOTOPTIONAL, dispatchError(Err::ArgumentNotOptional), error);
                converted.push_back(param.defaultValue);
            } else {
                converted.push_back(args[i].convertTo(param.type));
            }
        }
        Variant value = handler(self, *member, converted);
        if (result)
            *result = std::move(value);
    } catch (...) {
        info = currentExceptionInfo();
        hr = info.hresult();
    }

    // By-reference arguments come back as the member left them, on failure too.
    for (std::size_t i = 0; i < converted.size() && i < args.size(); ++i)
        if (member->params[i].byRef && !args[i].isMissing())
            args[i] = std::move(converted[i]);

    if (failed(hr))
        return fail(hr, info, error);
    return S_OK;
}

} // namespace dispatch_detail

InvokeResult invokeByName(IDispatch* object, const QString& name, InvokeKind kind, std::vector<Variant>& args)
{
    InvokeResult r;
    if (!object) {
        r.error = dispatchError(Err::ObjectVariableNotSet);
        r.hr = r.error.hresult();
        return r;
    }
    DispId id = DISPID_UNKNOWN;
    if (failed(object->GetIDsOfNames(name, &id))) {
        r.error = dispatchError(Err::ObjectDoesNotSupportMember);
        r.hr = DISP_E_UNKNOWNNAME;
        return r;
    }
    r.hr = object->Invoke(id, kind, args, &r.value, &r.error);
    return r;
}

namespace {

Variant valueOrRaise(InvokeResult& r)
{
    if (!r.ok()) {
        const int number = r.error.number != 0 ? r.error.number : errorNumberFromHResult(r.hr);
        throw RuntimeError(number, r.error.description, r.error.source);
    }
    return std::move(r.value);
}

Variant lateInvoke(IDispatch* object, const QString& name, InvokeKind kind, std::vector<Variant>& args)
{
    InvokeResult r = invokeByName(object, name, kind, args);
    return valueOrRaise(r);
}

} // namespace

Variant lateGet(IDispatch* object, const QString& name, std::vector<Variant> args)
{
    return lateInvoke(object, name, InvokeKind::Method | InvokeKind::PropertyGet, args);
}

void latePut(IDispatch* object, const QString& name, const Variant& value)
{
    std::vector<Variant> args{value};
    lateInvoke(object, name, InvokeKind::PropertyPut, args);
}

Variant lateCall(IDispatch* object, const QString& name, std::vector<Variant> args)
{
    return lateInvoke(object, name, InvokeKind::Method, args);
}

Variant LateProperty::get(std::vector<Variant> args) const
{
    if (!m_found && m_object)
        m_found = succeeded(m_object->GetIDsOfNames(m_name, &m_id));
    if (!m_found) // no object or no such member: lateGet says which
        return lateGet(m_object, m_name, std::move(args));
    InvokeResult r;
    r.hr = m_object->Invoke(m_id, InvokeKind::Method | InvokeKind::PropertyGet, args, &r.value, &r.error);
    return valueOrRaise(r);
}

} // namespace vxRecInfo
