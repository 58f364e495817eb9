// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// A classic Basic run-time error: number, source, description. It travels as a C++ exception
/// inside the component and becomes a failing HResult with error information at the boundary.

#include "Export.h"
#include "HResult.h"

#include <QString>

#include <exception>

namespace vxRecInfo {

/// The run-time error numbers this component raises.
namespace Err {
inline constexpr int InvalidProcedureCall = 5;   //!< Invalid procedure call or argument
inline constexpr int Overflow = 6;               //!< Overflow: a value out of its type's range
inline constexpr int OutOfMemory = 7;            //!< Out of memory
inline constexpr int SubscriptOutOfRange = 9;    //!< Subscript out of range
inline constexpr int DivisionByZero = 11;        //!< Division by zero
inline constexpr int TypeMismatch = 13;          //!< Type mismatch
inline constexpr int OutOfStackSpace = 28;       //!< Out of stack space: input nested too deep
inline constexpr int InternalError = 51;         //!< Internal error: a C++ exception that is no RuntimeError
inline constexpr int BadFileNameOrNumber = 52;   //!< Bad file name or number
inline constexpr int FileNotFound = 53;          //!< File not found
inline constexpr int DeviceIOError = 57;         //!< Device I/O error
inline constexpr int DiskFull = 61;              //!< Disk full
inline constexpr int PathFileAccessError = 75;   //!< Path/File access error (also: a link refused as target)
inline constexpr int PathNotFound = 76;          //!< Path not found
inline constexpr int ObjectVariableNotSet = 91;  //!< Object variable or With block variable not set
inline constexpr int InvalidUseOfNull = 94;      //!< Invalid use of Null
inline constexpr int ResourceNotFound = 326;     //!< Resource not found: no label of that id
inline constexpr int InvalidPropertyValue = 380; //!< Invalid property value
inline constexpr int ObjectRequired = 424;       //!< Object required
inline constexpr int CannotCreateObject = 429;   //!< The class registry cannot create the object
inline constexpr int ObjectDoesNotSupportMember = 438; //!< Object doesn't support this property or method
inline constexpr int ActionNotSupported = 445;   //!< Object doesn't support this action
inline constexpr int ArgumentNotOptional = 449;  //!< Argument not optional
inline constexpr int WrongNumberOfArguments = 450; //!< Wrong number of arguments or invalid property assignment
inline constexpr int PrinterError = 482;         //!< Printer error
} // namespace Err

/// Number, source and description of an error, as a host reads them after a failed call.
struct VXRECINFO_EXPORT ErrorInfo {
    int number = 0;       //!< the run-time error number, or an HResult (negative) for other errors
    QString source;       //!< who raised it: "vxRecInfo", or the procedure ("RTBFormat.PrintRTF")
    QString description;  //!< the run-time's text for the number, or one that says more

    /// 0x800A0000 | n for a run-time error; a number that is already an HResult keeps it.
    /// Number 0 gives E_FAIL.
    HResult hresult() const;
};

/// A run-time error as an exception: what members raise inside the component, and what a
/// failed late-bound call is raised again as.
class VXRECINFO_EXPORT RuntimeError : public std::exception
{
public:
    /// Description and source default to the run-time's text for the number and the
    /// component's name.
    /// @param number a run-time error number (Err), or an HResult for an error of another kind
    /// @param description what went wrong; empty for standardErrorDescription(number)
    /// @param source who raised it; empty for componentErrorSource()
    explicit RuntimeError(int number, QString description = {}, QString source = {});

    /// The error number.
    int number() const { return m_info.number; }
    /// Who raised the error.
    const QString& source() const { return m_info.source; }
    /// What went wrong.
    const QString& description() const { return m_info.description; }
    /// The HResult a caller at the boundary sees (ErrorInfo::hresult()).
    HResult hresult() const { return m_info.hresult(); }
    /// Number, source and description together.
    const ErrorInfo& info() const { return m_info; }

    /// "number: description", in UTF-8.
    const char* what() const noexcept override;

private:
    ErrorInfo m_info;
    mutable QByteArray m_what;
};

/// The run-time's own description of an error number ("Overflow", "Type mismatch", ...).
/// "Automation error" for a negative number (an HResult), "Application-defined or
/// object-defined error" for a number it does not know.
VXRECINFO_EXPORT QString standardErrorDescription(int number);

/// The source that errors raised inside the component carry.
VXRECINFO_EXPORT QString componentErrorSource();

/// Error number that a host sees for a failing HResult: the low word of a run-time error,
/// the HResult itself otherwise.
VXRECINFO_EXPORT int errorNumberFromHResult(HResult hr);

/// Error information of the exception being handled; call it only inside a catch block.
/// A RuntimeError gives its own, std::bad_alloc error 7, anything else error 51.
VXRECINFO_EXPORT ErrorInfo currentExceptionInfo();

/// Raises the error of a failed call through an early-bound interface, with the error
/// information the callee left when it belongs to that failure. Does nothing for a success.
/// @throws RuntimeError with the callee's number, description and source, or with
///         errorNumberFromHResult(hr) when the callee left none for this failure
VXRECINFO_EXPORT void checkHResult(HResult hr);

/// Runs f and turns a raised error into a failing HResult, leaving its error information
/// in lastErrorInfo(): the shape of every early-bound member.
/// @return S_OK, or the error's HResult (ErrorInfo::hresult())
template <class F>
HResult guarded(F&& f) noexcept;

/// Thread-local error information of the last failed call, as the host's run-time keeps it.
VXRECINFO_EXPORT void setLastErrorInfo(const ErrorInfo& info);
/// The error information of the calling thread's last failed call (set by setLastErrorInfo).
/// A success does not clear it: read it only after a call failed.
VXRECINFO_EXPORT ErrorInfo lastErrorInfo();

template <class F>
HResult guarded(F&& f) noexcept
{
    try {
        f();
        return S_OK;
    } catch (...) {
        const ErrorInfo info = currentExceptionInfo();
        setLastErrorInfo(info);
        return info.hresult();
    }
}

} // namespace vxRecInfo
