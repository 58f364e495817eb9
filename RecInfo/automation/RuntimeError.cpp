// SPDX-License-Identifier: MIT
#include "RuntimeError.h"

#include <new>

namespace vxRecInfo {

namespace {
thread_local ErrorInfo t_lastError;
}

HResult ErrorInfo::hresult() const
{
    if (number > 0 && number <= 0xFFFF)
        return hresultFrom(FacilityControlBase | static_cast<std::uint32_t>(number));
    if (number < 0)
        return number;
    return E_FAIL;
}

RuntimeError::RuntimeError(int number, QString description, QString source)
    : m_info{number, source.isEmpty() ? componentErrorSource() : std::move(source),
             description.isEmpty() ? standardErrorDescription(number) : std::move(description)}
{
}

const char* RuntimeError::what() const noexcept
{
    if (m_what.isEmpty())
        m_what = QStringLiteral("%1: %2").arg(m_info.number).arg(m_info.description).toUtf8();
    return m_what.constData();
}

QString standardErrorDescription(int number)
{
    switch (number) {
    case Err::InvalidProcedureCall: return QStringLiteral("Invalid procedure call or argument");
    case Err::Overflow: return QStringLiteral("Overflow");
    case Err::OutOfMemory: return QStringLiteral("Out of memory");
    case Err::SubscriptOutOfRange: return QStringLiteral("Subscript out of range");
    case Err::DivisionByZero: return QStringLiteral("Division by zero");
    case Err::TypeMismatch: return QStringLiteral("Type mismatch");
    case Err::OutOfStackSpace: return QStringLiteral("Out of stack space");
    case Err::InternalError: return QStringLiteral("Internal error");
    case Err::BadFileNameOrNumber: return QStringLiteral("Bad file name or number");
    case Err::FileNotFound: return QStringLiteral("File not found");
    case Err::DeviceIOError: return QStringLiteral("Device I/O error");
    case Err::DiskFull: return QStringLiteral("Disk full");
    case Err::PathFileAccessError: return QStringLiteral("Path/File access error");
    case Err::PathNotFound: return QStringLiteral("Path not found");
    case Err::ObjectVariableNotSet: return QStringLiteral("Object variable or With block variable not set");
    case Err::InvalidUseOfNull: return QStringLiteral("Invalid use of Null");
    case Err::ResourceNotFound: return QStringLiteral("Resource not found");
    case Err::InvalidPropertyValue: return QStringLiteral("Invalid property value");
    case Err::ObjectRequired: return QStringLiteral("Object required");
    case Err::CannotCreateObject: return QStringLiteral("ActiveX component can't create object");
    case Err::ObjectDoesNotSupportMember: return QStringLiteral("Object doesn't support this property or method");
    case Err::ActionNotSupported: return QStringLiteral("Object doesn't support this action");
    case Err::ArgumentNotOptional: return QStringLiteral("Argument not optional");
    case Err::WrongNumberOfArguments: return QStringLiteral("Wrong number of arguments or invalid property assignment");
    case Err::PrinterError: return QStringLiteral("Printer error");
    default: break;
    }
    if (number < 0)
        return QStringLiteral("Automation error");
    return QStringLiteral("Application-defined or object-defined error");
}

QString componentErrorSource()
{
    return QStringLiteral("vxRecInfo");
}

int errorNumberFromHResult(HResult hr)
{
    const auto bits = static_cast<std::uint32_t>(hr);
    if ((bits & 0xFFFF0000u) == FacilityControlBase)
        return static_cast<int>(bits & 0xFFFFu);
    return hr;
}

ErrorInfo currentExceptionInfo()
{
    try {
        throw;
    } catch (const RuntimeError& e) {
        return e.info();
    } catch (const std::bad_alloc&) {
        return ErrorInfo{Err::OutOfMemory, componentErrorSource(), standardErrorDescription(Err::OutOfMemory)};
    } catch (const std::exception& e) {
        return ErrorInfo{Err::InternalError, componentErrorSource(),
                         standardErrorDescription(Err::InternalError) + QStringLiteral(": ") + QString::fromUtf8(e.what())};
    } catch (...) {
        return ErrorInfo{Err::InternalError, componentErrorSource(), standardErrorDescription(Err::InternalError)};
    }
}

void checkHResult(HResult hr)
{
    if (succeeded(hr))
        return;
    const ErrorInfo info = lastErrorInfo();
    if (info.number != 0 && info.hresult() == hr)
        throw RuntimeError(info.number, info.description, info.source);
    throw RuntimeError(errorNumberFromHResult(hr));
}

void setLastErrorInfo(const ErrorInfo& info) { t_lastError = info; }
ErrorInfo lastErrorInfo() { return t_lastError; }

} // namespace vxRecInfo
