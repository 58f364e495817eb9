// SPDX-License-Identifier: MIT
#include "Errors.h"

#include "Conversions.h"

#include <pybind11/eval.h>

#include <cerrno>
#include <exception>

namespace py = pybind11;
using namespace vxRecInfo;

namespace vxpy {

namespace {

// Defined in Python: an exception class with fields is a few lines there and a page of C API.
const char* const Definitions = R"(
class AutomationError(RuntimeError):
    """A failed call. number is the classic run-time error number (13 for a type mismatch),
    hresult the result code the call failed with (0x800A0000 | number for a run-time error),
    source and description the error information the object left."""

    def __init__(self, number=0, description="", source="", hresult=0):
        super().__init__(number, description, source, hresult)
        self.number, self.description, self.source, self.hresult = number, description, source, hresult

    def __str__(self):
        return f"error {self.number}: {self.description}" if self.number else self.description


class AutomationIndexError(AutomationError, IndexError):
    """Error 9, subscript out of range."""


class AutomationTypeError(AutomationError, TypeError):
    """Errors 13, 449 and 450: a value or arguments that the member cannot take."""


class AutomationAttributeError(AutomationError, AttributeError):
    """Error 438: the object has no member of that name, or not in that form."""


class AutomationRecursionError(AutomationError, RecursionError):
    """Error 28, out of stack space: a list that contains itself, or lists (or a recordings
    file's lists and objects) nested deeper than 1000 levels."""


class AutomationFileNotFoundError(AutomationError, FileNotFoundError):
    """Error 53: the file is not there; filename names it."""

    def __init__(self, number=0, description="", source="", hresult=0):
        super().__init__(number, description, source, hresult)
        self.errno, self.strerror, self.filename = 2, description, None  # ENOENT


class AutomationPermissionError(AutomationError, PermissionError):
    """A file that is there but may not be read (error 75, Path/File access error); filename
    names it."""

    def __init__(self, number=0, description="", source="", hresult=0):
        super().__init__(number, description, source, hresult)
        self.errno, self.strerror, self.filename = 13, description, None  # EACCES
)";

// The classes live as long as the module, which is to say the process: references are kept
// without a destructor that would run after the interpreter is gone.
struct Classes {
    PyObject* base = nullptr;
    PyObject* index = nullptr;
    PyObject* type = nullptr;
    PyObject* attribute = nullptr;
    PyObject* recursion = nullptr;
    PyObject* fileNotFound = nullptr;
    PyObject* permission = nullptr;
};
Classes g_classes;

PyObject* classFor(int number)
{
    switch (number) {
    case Err::SubscriptOutOfRange: return g_classes.index;
    case Err::TypeMismatch:
    case Err::ArgumentNotOptional:
    case Err::WrongNumberOfArguments: return g_classes.type;
    case Err::ObjectDoesNotSupportMember: return g_classes.attribute;
    case Err::OutOfStackSpace: return g_classes.recursion;
    case Err::FileNotFound: return g_classes.fileNotFound;
    default: return g_classes.base;
    }
}

void setAutomationError(const ErrorInfo& info, HResult hr, py::handle filename = py::none(),
                        PyObject* type = nullptr)
{
    if (!type)
        type = classFor(info.number);
    py::object error = py::reinterpret_borrow<py::object>(type)(info.number, toPython(info.description),
                                                                toPython(info.source), std::uint32_t(hr));
    if (!filename.is_none())
        error.attr("filename") = filename;
    PyErr_SetObject(type, error.ptr());
}

} // namespace

void defineErrors(py::module_& module)
{
    py::dict scope;
    scope["__name__"] = module.attr("__name__");
    scope["__builtins__"] = py::module_::import("builtins");
    py::exec(Definitions, scope);
    const auto keep = [&](const char* name) {
        py::object type = scope[name];
        module.attr(name) = type;
        return type.release().ptr();
    };
    g_classes = {keep("AutomationError"),          keep("AutomationIndexError"),     keep("AutomationTypeError"),
                 keep("AutomationAttributeError"), keep("AutomationRecursionError"), keep("AutomationFileNotFoundError"),
                 keep("AutomationPermissionError")};

    py::register_exception_translator([](std::exception_ptr thrown) {
        if (!thrown)
            return;
        try {
            std::rethrow_exception(thrown);
        } catch (const py::error_already_set&) {
            throw;
        } catch (const py::builtin_exception&) {
            throw;
        } catch (...) {
            const ErrorInfo info = currentExceptionInfo();
            setAutomationError(info, info.hresult());
        }
    });
}

void raiseAutomationError(const ErrorInfo& info, HResult hr)
{
    setAutomationError(info, hr);
    throw py::error_already_set();
}

void raiseAutomationError(const ErrorInfo& info)
{
    raiseAutomationError(info, info.hresult());
}

void raiseFileError(const ErrorInfo& info, py::handle filename, int systemError)
{
    PyObject* type = classFor(info.number);
    if (systemError == ENOENT)
        type = g_classes.fileNotFound;
    else if (systemError == EACCES || systemError == EPERM)
        type = g_classes.permission;
    const bool aboutTheFile = type == g_classes.fileNotFound || type == g_classes.permission;
    setAutomationError(info, info.hresult(), aboutTheFile ? filename : py::none(), type);
    throw py::error_already_set();
}

} // namespace vxpy
