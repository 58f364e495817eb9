// SPDX-License-Identifier: MIT
#pragma once
// A classic Basic run-time error: number, source, description. It travels as a C++ exception
// inside the component and becomes a failing HResult with error information at the boundary.

#include "Export.h"
#include "HResult.h"

#include <QString>

#include <exception>

namespace vxRecInfo {

// The run-time error numbers this component raises.
namespace Err {
inline constexpr int InvalidProcedureCall = 5;
inline constexpr int Overflow = 6;
inline constexpr int OutOfMemory = 7;
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int DivisionByZero = 11;
inline constexpr int TypeMismatch = 13;
inline constexpr int OutOfStackSpace = 28;
inline constexpr int InternalError = 51;
inline constexpr int BadFileNameOrNumber = 52;
inline constexpr int FileNotFound = 53;
inline constexpr int DeviceIOError = 57;
inline constexpr int DiskFull = 61;
inline constexpr int PathFileAccessError = 75;
inline constexpr int PathNotFound = 76;
inline constexpr int ObjectVariableNotSet = 91;
inline constexpr int InvalidUseOfNull = 94;
inline constexpr int ResourceNotFound = 326;
inline constexpr int InvalidPropertyValue = 380;
inline constexpr int ObjectRequired = 424;
inline constexpr int CannotCreateObject = 429;
inline constexpr int ObjectDoesNotSupportMember = 438;
inline constexpr int ActionNotSupported = 445;
inline constexpr int ArgumentNotOptional = 449;
inline constexpr int WrongNumberOfArguments = 450;
inline constexpr int PrinterError = 482;
} // namespace Err

// Number, source and description of an error, as a host reads them after a failed call.
struct VXRECINFO_EXPORT ErrorInfo {
    int number = 0;
    QString source;
    QString description;

    // 0x800A0000 | n for a run-time error; a number that is already an HResult keeps it.
    HResult hresult() const;
};

class VXRECINFO_EXPORT RuntimeError : public std::exception
{
public:
    // Description and source default to the run-time's text for the number and the
    // component's name.
    explicit RuntimeError(int number, QString description = {}, QString source = {});

    int number() const { return m_info.number; }
    const QString& source() const { return m_info.source; }
    const QString& description() const { return m_info.description; }
    HResult hresult() const { return m_info.hresult(); }
    const ErrorInfo& info() const { return m_info; }

    const char* what() const noexcept override;

private:
    ErrorInfo m_info;
    mutable QByteArray m_what;
};

// The run-time's own description of an error number ("Overflow", "Type mismatch", ...).
VXRECINFO_EXPORT QString standardErrorDescription(int number);

// The source that errors raised inside the component carry.
VXRECINFO_EXPORT QString componentErrorSource();

// Error number that a host sees for a failing HResult: the low word of a run-time error,
// the HResult itself otherwise.
VXRECINFO_EXPORT int errorNumberFromHResult(HResult hr);

// Error information of the exception being handled; call it only inside a catch block.
// A RuntimeError gives its own, std::bad_alloc error 7, anything else error 51.
VXRECINFO_EXPORT ErrorInfo currentExceptionInfo();

// Raises the error of a failed call through an early-bound interface, with the error
// information the callee left when it belongs to that failure.
VXRECINFO_EXPORT void checkHResult(HResult hr);

// Runs f and turns a raised error into a failing HResult, leaving its error information
// in lastErrorInfo(): the shape of every early-bound member.
template <class F>
HResult guarded(F&& f) noexcept;

// Thread-local error information of the last failed call, as the host's run-time keeps it.
VXRECINFO_EXPORT void setLastErrorInfo(const ErrorInfo& info);
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
