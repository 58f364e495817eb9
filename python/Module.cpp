// SPDX-License-Identifier: MIT
// The vxrecinfo module: automation objects for Python scripts, late bound by name.

#include "Application.h"
#include "Array.h"
#include "Conversions.h"
#include "DispatchObject.h"
#include "Errors.h"

#include "RecordingsFile.h"

#include "component/ModuleState.h"
#include "printing/PdfRecord.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>

#include <unistd.h>

namespace py = pybind11;
using namespace vxRecInfo;

namespace vxpy {

namespace {

// The file a thread loaded last stays with the thread's apartment: its host objects read the
// settings it wrote until the thread loads another one, and its RecordInfo goes with the
// apartment.
struct LoadedRecordings {
    std::unique_ptr<recinfo::RecordingsFile> file;
};

int loadRecordings(const py::object& path)
{
    ensureApplication();
    const QString name = pathText(path);
    std::optional<recinfo::LoadError> error;
    int committed = 0;
    {
        // Other Python threads run meanwhile, loading files of their own.
        py::gil_scoped_release unlocked;
        try {
            auto file = std::make_unique<recinfo::RecordingsFile>(name);
            auto& loaded = ModuleState::current().part<LoadedRecordings>().file;
            loaded.reset();
            loaded = std::move(file);
            loaded->load(nullptr, recinfo::SettingsScope::Apartment);
            committed = loaded->committed();
        } catch (const recinfo::LoadError& e) {
            error = e;
        }
    }
    if (error)
        raiseFileError(ErrorInfo{error->errorNumber, QStringLiteral("vxrecinfo.load_recordings"), error->message}, path,
                       error->systemError);
    return committed;
}

// A file verify_pdf cannot open is an OSError, not a verdict on the file.
void requireReadable(const QString& name, const py::object& path)
{
    if (::access(QFile::encodeName(name).constData(), R_OK) == 0)
        return;
    const int cause = errno;
    const int number = cause == ENOENT || cause == ENOTDIR ? Err::FileNotFound : Err::PathFileAccessError;
    raiseFileError(ErrorInfo{number, QStringLiteral("vxrecinfo.verify_pdf"),
                             QStringLiteral("%1: %2 (%3)").arg(standardErrorDescription(number), name,
                                                               QString::fromLocal8Bit(std::strerror(cause)))},
                   path, cause == ENOTDIR ? ENOENT : cause);
}

py::object fromDateTime(const QDateTime& time)
{
    if (!time.isValid())
        return py::none();
    py::object datetime = py::module_::import("datetime");
    return datetime.attr("datetime").attr("fromtimestamp")(time.toSecsSinceEpoch(), datetime.attr("timezone").attr("utc"));
}

// Run by atexit, before the interpreter clears the modules: the loaded file's RecordInfo is
// released while module state is alive, then the application object goes.
void releaseAtExit()
{
    ModuleState::current().part<LoadedRecordings>().file.reset();
    deleteApplication();
}

} // namespace

} // namespace vxpy

// The extension inside the vxrecinfo package, whose __init__ re-exports it.
PYBIND11_MODULE(_vxrecinfo, module)
{
    using namespace vxpy;
    // Every docstring begins with its own text signature, which inspect.signature reads.
    py::options options;
    options.disable_function_signatures();
    module.doc() = R"(The vxRecInfo record-report component for Python scripts.

rec = vxrecinfo.Dispatch("vxRecInfo.RecordInfo") creates an object by program identifier (or
CLSID text); its properties are attributes and its methods calls, bound late by name as a
scripted host binds them. Failed calls raise AutomationError.

Lists and tuples become Variant arrays, nested at most 1000 levels deep; a list that contains
itself, or one nested deeper, raises AutomationRecursionError (error 28, out of stack space, also
a RecursionError). A str holding half a surrogate pair raises AutomationError (error 0), as a
recordings file with one is refused.)";
    module.attr("__version__") = VXRECINFO_VERSION;
    initConversions();
    defineErrors(module);
    defineArray(module);
    defineDispatch(module);
    module.def("load_recordings", &loadRecordings, py::arg("path"),
               R"(load_recordings(path)
--

Loads a recordings file (docs/recordings-file.md) as `recinfo store` does: its settings,
module properties and datasets, each committed with AddDataSet; "-" reads standard input. They
are the calling thread's, settings included (its locale is the process's); other threads run
meanwhile.
Returns the number of datasets committed; a file that cannot be loaded raises AutomationError
with the reason and the run-time error number: 53 (also a FileNotFoundError) for a file that is
not there, 75 for one that cannot be opened (also a PermissionError when it may not be read), 28 (also a RecursionError) for lists and objects nested deeper than 1000 levels, the
component's number for a failed call, 0 for any other fault of the file.)");
    py::class_<PdfVerification>(module, "PdfVerification", "What a PDF file shows about its signature (verify_pdf).")
        .def_property_readonly("file", [](const PdfVerification& v) { return toPython(v.file); }, "The file checked.")
        .def_property_readonly("intact", &PdfVerification::intact,
                               "Whether the file is readable and signed, the signature covers it whole and its digest matches.")
        .def_readonly("readable", &PdfVerification::readable, "Whether the file is a PDF file that can be read.")
        .def_readonly("signed", &PdfVerification::isSigned, "Whether it has a signature.")
        .def_property_readonly("signer", [](const PdfVerification& v) { return toPython(v.signer); },
                               "The signing certificate's common name.")
        .def_property_readonly("signing_time", [](const PdfVerification& v) { return fromDateTime(v.signingTime); },
                               "When it was signed (an aware datetime in UTC), or None.")
        .def_readonly("covers_whole_file", &PdfVerification::coversWholeFile,
                      "Whether the signed byte ranges cover the whole file, the signature aside.")
        .def_readonly("digest_matches", &PdfVerification::digestMatches,
                      "Whether the signed bytes' digest is the one the signature holds.")
        .def_property_readonly("problem", [](const PdfVerification& v) { return toPython(v.problem); },
                               "Why the file is not intact; empty when it is.")
        .def("__bool__", &PdfVerification::intact)
        .def("__repr__", [](const PdfVerification& v) {
            return toPython(QStringLiteral("<PdfVerification %1: %2>")
                                .arg(v.file, v.intact() ? QStringLiteral("intact") : v.problem));
        });
    module.def(
        "verify_pdf",
        [](const py::object& path) {
            const QString name = pathText(path);
            requireReadable(name, path);
            py::gil_scoped_release unlocked; // a large file takes a while to digest
            return verifyPdf(name);
        },
        py::arg("path"),
        R"(verify_pdf(path)
--

Checks a PDF file's last signature as `recinfo verify` does: whether it is readable and
signed, who signed it and when, whether the signed byte ranges cover the whole file and whether
the digest matches. The result is true when the file is intact; problem says why it is not. The
certificate is not checked against a trust store. A file that is not there raises
AutomationFileNotFoundError (error 53), one that may not be read AutomationPermissionError
(error 75).)");
    py::module_::import("atexit").attr("register")(py::cpp_function(&releaseAtExit));
}
