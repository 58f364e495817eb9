// SPDX-License-Identifier: MIT
#include "DispatchObject.h"

#include "Application.h"
#include "Conversions.h"
#include "Errors.h"

#include "automation/ClassRegistry.h"
#include "automation/Dispatch.h"
#include "component/ProgressObserver.h"
#include "printing/PdfRecord.h"

#include <QStringList>

#include <algorithm>
#include <memory>
#include <optional>

namespace py = pybind11;
using namespace vxRecInfo;

namespace vxpy {

namespace {

// A member that takes arguments, bound to its object: rec.RTF_All, then called.
struct BoundMember {
    std::shared_ptr<DispatchRef> target;
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

// As a call through an interface of another apartment fails (RPC_E_WRONG_THREAD); a closed
// object is an object variable set to Nothing.
void requireOwnThread(const DispatchRef& self)
{
    requireOpen(self);
    if (self.thread == std::this_thread::get_id())
        return;
    raiseAutomationError(
        ErrorInfo{RPC_E_WRONG_THREAD, ModuleSource,
                  QStringLiteral("Automation error: the object %1 belongs to the thread that created it; "
                                 "create one object per thread")
                      .arg(self.object->GetTypeInfo().name())},
        RPC_E_WRONG_THREAD);
}

DispId idOfName(const DispatchRef& self, const QString& name)
{
    requireOwnThread(self);
    DispId id = DISPID_UNKNOWN;
    if (failed(self.object->GetIDsOfNames(name, &id)))
        raiseAutomationError(moduleError(Err::ObjectDoesNotSupportMember, name));
    return id;
}

Variant invoke(const DispatchRef& self, DispId id, InvokeKind kind, std::vector<Variant>& args)
{
    requireOwnThread(self);
    Variant result;
    ErrorInfo error;
    HResult hr;
    {
        // Other Python threads run meanwhile; a progress callback takes the lock back.
        py::gil_scoped_release unlocked;
        hr = self.object->Invoke(id, kind, args, &result, &error);
    }
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

// The member a bound member calls, of an open object (a bound member is made for a listed one only).
const MemberInfo& memberOf(const BoundMember& bound)
{
    requireOpen(*bound.target);
    return *calledMember(*bound.target, bound.id);
}

py::object getAttribute(const std::shared_ptr<DispatchRef>& self, const py::str& name)
{
    const QString text = toQString(name);
    const DispId id = idOfName(*self, text);
    const MemberInfo* member = calledMember(*self, id);
    if (member && (member->kind == MemberKind::Method || member->requiredParams() > 0))
        return py::cast(BoundMember{self, id, member->name});
    std::vector<Variant> none;
    return fromVariant(invoke(*self, id, InvokeKind::PropertyGet, none));
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

// Tells a callable how the batch service of one call gets on: progress("dataset", done, total)
// and progress("page", page, None). An exception it raises ends the service (error 18, User
// interrupt occurred, inside) and reaches the script as itself.
class CallbackProgress final : public IProgressObserver
{
public:
    explicit CallbackProgress(py::object callback) : m_callback(std::move(callback)), m_previous(progressObserver())
    {
        setProgressObserver(this);
    }
    ~CallbackProgress() override { setProgressObserver(m_previous); }
    CallbackProgress(const CallbackProgress&) = delete;
    CallbackProgress& operator=(const CallbackProgress&) = delete;

    void datasetDone(int done, int total) override { tell("dataset", done, total); }
    void pageDone(int page) override { tell("page", page, std::nullopt); }

    // Raises what the callback raised, if it did.
    void raiseItsError()
    {
        if (m_error)
            throw *m_error;
    }

private:
    void tell(const char* kind, int a, std::optional<int> b)
    {
        py::gil_scoped_acquire locked;
        try {
            m_callback(kind, a, b ? py::object(py::int_(*b)) : py::object(py::none()));
        } catch (py::error_already_set& e) {
            m_error.emplace(std::move(e));
            throw RuntimeError(18, QStringLiteral("User interrupt occurred: the progress callback raised an exception"));
        }
    }

    py::object m_callback;
    IProgressObserver* m_previous;
    std::optional<py::error_already_set> m_error;
};

// The PDF printer's record options that a call names (pdfa=, sign=, passphrase_file=), for the
// length of that call on this thread; the host settings give what it leaves out.
class PdfOptionsForCall
{
public:
    PdfOptionsForCall() : m_saved(pdfRecordOptions()) {}
    ~PdfOptionsForCall() { pdfRecordOptions() = m_saved; }
    PdfOptionsForCall(const PdfOptionsForCall&) = delete;
    PdfOptionsForCall& operator=(const PdfOptionsForCall&) = delete;

    // Takes the keyword if it is one of the PDF printer's.
    bool take(const std::string& key, py::handle value)
    {
        PdfRecordOptions& options = pdfRecordOptions();
        if (key == "pdfa")
            options.archival = PyObject_IsTrue(value.ptr()) == 1;
        else if (key == "sign")
            options.signingKey = value.is_none() ? QString() : pathText(value);
        else if (key == "passphrase_file")
            options.passphraseFile = value.is_none() ? QString() : pathText(value);
        else
            return false;
        return true;
    }

private:
    PdfRecordOptions m_saved;
};

py::object call(const BoundMember& bound, const py::args& positional, const py::kwargs& named)
{
    const MemberInfo& member = memberOf(bound);
    std::vector<Variant> args;
    for (py::handle value : positional)
        args.push_back(toVariant(value));
    py::kwargs others;
    std::optional<CallbackProgress> progress;
    PdfOptionsForCall pdfOptions;
    for (const auto& [key, value] : named) {
        const std::string name = py::str(key).cast<std::string>();
        if (name == "progress")
            progress.emplace(py::reinterpret_borrow<py::object>(value));
        else if (!pdfOptions.take(name, value))
            others[key] = value;
    }
    placeNamed(member, others, args, positional.size());
    Variant result;
    try {
        result = invoke(*bound.target, bound.id, InvokeKind::Method | InvokeKind::PropertyGet, args);
    } catch (...) {
        if (progress)
            progress->raiseItsError();
        throw;
    }
    return callResult(member, result, args);
}

py::list memberNames(const DispatchRef& self)
{
    requireOpen(self);
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

// The keywords every call takes besides the member's parameters (call above).
constexpr const char* CallKeywords[] = {"progress", "pdfa", "sign", "passphrase_file"};

// inspect.signature of a bound member: its parameters by name, the optional ones with their
// defaults, then the call's own keywords.
py::object signatureOf(const BoundMember& bound)
{
    const MemberInfo& member = memberOf(bound);
    const py::object parameter = py::module_::import("inspect").attr("Parameter");
    py::list params;
    for (const ParamInfo& p : member.params) {
        if (p.optional)
            params.append(parameter(toPython(p.name), parameter.attr("POSITIONAL_OR_KEYWORD"),
                                    py::arg("default") = fromVariant(p.defaultValue)));
        else
            params.append(parameter(toPython(p.name), parameter.attr("POSITIONAL_OR_KEYWORD")));
    }
    for (const char* keyword : CallKeywords)
        params.append(parameter(keyword, parameter.attr("KEYWORD_ONLY"), py::arg("default") = py::none()));
    return py::module_::import("inspect").attr("Signature")(params);
}

// The docstring of a bound member, from the member table: what it returns and each parameter's
// type and passing.
QString docOf(const BoundMember& bound)
{
    const MemberInfo& member = memberOf(bound);
    QString doc = QStringLiteral("%1: %2 of %3").arg(member.name,
                                                    member.kind == MemberKind::Method ? QStringLiteral("method")
                                                                                      : QStringLiteral("property"),
                                                    bound.target->object->GetTypeInfo().name());
    if (member.returnType != VarType::Empty)
        doc += QStringLiteral(", returns ") + typeName(member.returnType);
    doc += QLatin1Char('.');
    bool byReference = false;
    for (const ParamInfo& p : member.params) {
        doc += QStringLiteral("\n  %1: %2").arg(p.name, typeName(p.type));
        if (p.byRef)
            doc += QStringLiteral(", by reference");
        if (p.optional)
            doc += QStringLiteral(", optional");
        byReference = byReference || p.byRef;
    }
    if (byReference)
        doc += QStringLiteral("\nThe call returns a tuple: the result (for a member that returns one), then the "
                              "by-reference arguments given, as the member left them.");
    return doc;
}

void close(DispatchRef& self)
{
    if (!self.object)
        return;
    requireOwnThread(self);
    self.object.reset();
}

} // namespace

void requireOpen(const DispatchRef& self)
{
    if (!self.object)
        raiseAutomationError(moduleError(Err::ObjectVariableNotSet, QStringLiteral("the Dispatch object was closed")));
}

void defineDispatch(py::module_& module)
{
    py::class_<DispatchRef, std::shared_ptr<DispatchRef>>(module, "Dispatch", R"(An automation object, bound late by name.

Dispatch(name) creates the class of a program identifier ("vxRecInfo.RecordInfo") or a CLSID
text. Attribute reads and writes are property gets and puts; methods, and properties that take
arguments, are called. A call returns the member's result; a member with by-reference
parameters returns a tuple of the result (left out when the member returns nothing) and the
new values of the by-reference arguments given, in order. A call of a batch service may pass
progress=callback: it is called as callback("dataset", done, total) after each dataset and
callback("page", page, None) after each printed page; an exception it raises ends the service
and is raised again. A call that prints on the PDF printer (PrintAll) may pass pdfa=True for
PDF/A-1b, sign="KEY.p12" to sign the job's file and passphrase_file=PATH for the key's
passphrase (else $VXRECINFO_SIGN_PASSPHRASE), for that call only; what it leaves out comes from
the host settings.

A with block (or close()) releases the object at its end; the object is then an object variable
set to Nothing: any use raises AutomationError 91. A bound member's inspect.signature and
docstring come from the object's member table.)")
        .def(py::init([](const py::str& name) {
                 ensureApplication();
                 return DispatchRef{ClassRegistry::instance().createObject(toQString(name))};
             }),
             py::arg("name"), "__init__(self, name)\n--\n\n")
        .def("__getattr__", &getAttribute)
        .def("__setattr__", &setAttribute)
        .def("__dir__", &memberNames)
        .def("close", &close, "close(self)\n--\n\nReleases the object; closing it again does nothing.")
        .def("__enter__", [](const std::shared_ptr<DispatchRef>& self) {
            requireOpen(*self);
            return self;
        }, "__enter__(self)\n--\n\n")
        .def("__exit__", [](DispatchRef& self, const py::args&) { close(self); },
             "__exit__(self, exc_type, exc_value, traceback)\n--\n\nReleases the object; an exception goes on.")
        .def("__repr__", [](const DispatchRef& self) {
            if (!self.object)
                return py::str("<vxrecinfo.Dispatch closed>");
            return py::str("<vxrecinfo.Dispatch {}>").format(toPython(self.object->GetTypeInfo().name()));
        });

    py::class_<BoundMember>(module, "BoundMember", "A member of a Dispatch object that takes arguments.")
        .def("__call__", &call)
        .def_property_readonly("__signature__", &signatureOf)
        .def_property_readonly("__doc__", [](const BoundMember& m) { return toPython(docOf(m)); })
        .def("__repr__", [](const BoundMember& m) {
            if (!m.target->object)
                return py::str("<vxrecinfo.BoundMember {} of a closed object>").format(toPython(m.name));
            return py::str("<vxrecinfo.BoundMember {} of {}>")
                .format(toPython(m.name), toPython(m.target->object->GetTypeInfo().name()));
        });
}

} // namespace vxpy
