#include "DispatchObject.h"

#include "Application.h"
#include "Conversions.h"
#include "Errors.h"

#include "automation/ClassRegistry.h"
#include "automation/Dispatch.h"

#include <QStringList>

#include <algorithm>

namespace py = pybind11;
using namespace vxRecInfo;

namespace vxpy {

namespace {

// A member that takes arguments, bound to its object: rec.RTF_All, then called.
struct BoundMember {
    DispatchRef target;
    DispId id = DISPID_UNKNOWN;
    QString name;
};

// Errors the module finds itself, before the object is called.
const QString ModuleSource = QStringLiteral("vxrecinfo");
constexpr int NamedArgumentNotFound = 448;

ErrorInfo moduleError(int number, const QString& detail)
{
    return ErrorInfo{number, ModuleSource, standardErrorDescription(number) + QStringLiteral(": ") + detail};
}

DispId idOfName(const DispatchRef& self, const QString& name)
{
    DispId id = DISPID_UNKNOWN;
    if (failed(self.object->GetIDsOfNames(name, &id)))
        raiseAutomationError(moduleError(Err::ObjectDoesNotSupportMember, name));
    return id;
}

Variant invoke(const DispatchRef& self, DispId id, InvokeKind kind, std::vector<Variant>& args)
{
    Variant result;
    ErrorInfo error;
    const HResult hr = self.object->Invoke(id, kind, args, &result, &error);
    if (failed(hr)) {
        if (error.number == 0)
            error.number = errorNumberFromHResult(hr);
        raiseAutomationError(error, hr);
    }
    return result;
}

// The member a call reaches: a method before a property get, as Invoke chooses.
const MemberInfo* calledMember(const DispatchRef& self, DispId id)
{
    const TypeInfo& type = self.object->GetTypeInfo();
    const MemberInfo* method = type.find(id, MemberKind::Method);
    return method ? method : type.find(id, MemberKind::PropertyGet);
}

py::object getAttribute(const DispatchRef& self, const py::str& name)
{
    const QString text = toQString(name);
    const DispId id = idOfName(self, text);
    const MemberInfo* member = calledMember(self, id);
    if (member && (member->kind == MemberKind::Method || member->requiredParams() > 0))
        return py::cast(BoundMember{self, id, text});
    std::vector<Variant> none;
    return fromVariant(invoke(self, id, InvokeKind::PropertyGet, none));
}

void setAttribute(const DispatchRef& self, const py::str& name, py::handle value)
{
    const DispId id = idOfName(self, toQString(name));
    std::vector<Variant> args{toVariant(value)};
    invoke(self, id, InvokeKind::PropertyPut, args);
}

// Keyword arguments by parameter name (matched as member names are); the positions between
// take their defaults.
void placeNamed(const MemberInfo& member, const py::kwargs& named, std::vector<Variant>& args, std::size_t positional)
{
    for (const auto& [key, value] : named) {
        const QString name = toQString(key);
        const auto param = std::find_if(member.params.begin(), member.params.end(), [&](const ParamInfo& p) {
            return p.name.compare(name, Qt::CaseInsensitive) == 0;
        });
        if (param == member.params.end())
            raiseAutomationError(ErrorInfo{NamedArgumentNotFound, ModuleSource,
                                           QStringLiteral("Named argument not found: ") + name});
        const auto at = std::size_t(param - member.params.begin());
        if (at < positional)
            throw py::type_error(member.name.toStdString() + "() got two values for " + param->name.toStdString());
        if (args.size() <= at)
            args.resize(at + 1, Variant::missing());
        args[at] = toVariant(value);
    }
}

// The result, or with by-reference parameters a tuple: the result (left out for a member that
// returns nothing), then the by-reference arguments given, as the member left them.
py::object callResult(const MemberInfo& member, const Variant& result, const std::vector<Variant>& args)
{
    const auto byRef = [](const ParamInfo& p) { return p.byRef; };
    if (std::none_of(member.params.begin(), member.params.end(), byRef))
        return fromVariant(result);
    py::list values;
    if (member.kind != MemberKind::Method || member.returnType != VarType::Empty)
        values.append(fromVariant(result));
    for (std::size_t i = 0; i < args.size() && i < member.params.size(); ++i)
        if (member.params[i].byRef && !args[i].isMissing())
            values.append(fromVariant(args[i]));
    return py::tuple(values);
}

py::object call(const BoundMember& bound, const py::args& positional, const py::kwargs& named)
{
    const MemberInfo* member = calledMember(bound.target, bound.id);
    std::vector<Variant> args;
    for (py::handle value : positional)
        args.push_back(toVariant(value));
    if (member)
        placeNamed(*member, named, args, positional.size());
    const Variant result = invoke(bound.target, bound.id, InvokeKind::Method | InvokeKind::PropertyGet, args);
    return member ? callResult(*member, result, args) : fromVariant(result);
}

py::list memberNames(const DispatchRef& self)
{
    QStringList names;
    for (const MemberInfo& m : self.object->GetTypeInfo().members())
        if (!names.contains(m.name))
            names << m.name;
    names.sort(Qt::CaseInsensitive);
    py::list result;
    for (const QString& name : names)
        result.append(toPython(name));
    return result;
}

} // namespace

void defineDispatch(py::module_& module)
{
    py::class_<DispatchRef>(module, "Dispatch", R"(An automation object, bound late by name.

Dispatch(name) creates the class of a program identifier ("vxRecInfo.RecordInfo") or a CLSID
text. Attribute reads and writes are property gets and puts; methods, and properties that take
arguments, are called. A call returns the member's result; a member with by-reference
parameters returns a tuple of the result (left out when the member returns nothing) and the
new values of the by-reference arguments given, in order.)")
        .def(py::init([](const py::str& name) {
                 ensureApplication();
                 return DispatchRef{ClassRegistry::instance().createObject(toQString(name))};
             }),
             py::arg("name"))
        .def("__getattr__", &getAttribute)
        .def("__setattr__", &setAttribute)
        .def("__dir__", &memberNames)
        .def("__repr__", [](const DispatchRef& self) {
            return py::str("<vxrecinfo.Dispatch {}>").format(toPython(self.object->GetTypeInfo().name()));
        });

    py::class_<BoundMember>(module, "BoundMember", "A member of a Dispatch object that takes arguments.")
        .def("__call__", &call)
        .def("__repr__", [](const BoundMember& m) {
            return py::str("<vxrecinfo.BoundMember {} of {}>")
                .format(toPython(m.name), toPython(m.target.object->GetTypeInfo().name()));
        });
}

} // namespace vxpy
