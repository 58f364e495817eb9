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
#include <optional>

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

// As a call through an interface of another apartment fails (RPC_E_WRONG_THREAD).
void requireOwnThread(const DispatchRef& self)
{
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
    const MemberInfo* member = calledMember(bound.target, bound.id);
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
    if (member)
        placeNamed(*member, others, args, positional.size());
    Variant result;
    try {
        result = invoke(bound.target, bound.id, InvokeKind::Method | InvokeKind::PropertyGet, args);
    } catch (...) {
        if (progress)
            progress->raiseItsError();
        throw;
    }
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
new values of the by-reference arguments given, in order. A call of a batch service may pass
progress=callback: it is called as callback("dataset", done, total) after each dataset and
callback("page", page, None) after each printed page; an exception it raises ends the service
and is raised again. A call that prints on the PDF printer (PrintAll) may pass pdfa=True for
PDF/A-1b, sign="KEY.p12" to sign the job's file and passphrase_file=PATH for the key's
passphrase (else $VXRECINFO_SIGN_PASSPHRASE), for that call only; what it leaves out comes from
the host settings.)")
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
