// SPDX-License-Identifier: MIT
#include "Conversions.h"

#include "Array.h"
#include "DispatchObject.h"

#include "automation/SafeArray.h"

#include <datetime.h>

#include <QStringEncoder>
#include <QtEndian>

#include <algorithm>

#include <cstring>
#include <limits>

namespace py = pybind11;
using namespace vxRecInfo;

namespace vxpy {

namespace {

// Strings cross as UTF-16 in the machine's byte order, with surrogatepass so that an unpaired
// surrogate an automation string holds reaches Python; one from Python is refused (below).
constexpr const char* Utf16 = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? "utf-16-le" : "utf-16-be";

// Half a surrogate pair from a script is refused as a recordings file's is: error 0, in the
// JSON reader's words.
void refuseUnpairedSurrogates(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i;
        } else if (c.isSurrogate()) {
            throw RuntimeError(0, QStringLiteral("invalid string: surrogate %1 (character %2)")
                                      .arg(c.isHighSurrogate() ? QStringLiteral("U+D800..U+DBFF must be followed by U+DC00..U+DFFF")
                                                               : QStringLiteral("U+DC00..U+DFFF must follow U+D800..U+DBFF"))
                                      .arg(i + 1));
        }
    }
}

Variant dateFrom(int year, int month, int day, int hour, int minute, int second, int microsecond)
{
    const Date date = Date::fromDateTime(QDate(year, month, day), QTime(hour, minute, second, microsecond / 1000));
    // Python's calendar starts at year 1, the automation date's at year 100.
    if (!Date::inRange(date.value()))
        throw RuntimeError(Err::Overflow);
    return date;
}

Variant wholeNumber(py::handle value)
{
    int overflow = 0;
    const long long number = PyLong_AsLongLongAndOverflow(value.ptr(), &overflow);
    if (overflow == 0 && number >= std::numeric_limits<std::int32_t>::min()
        && number <= std::numeric_limits<std::int32_t>::max())
        return std::int32_t(number);
    // Beyond a Long a whole number travels as a Double, as a classic literal of that size does;
    // the declared type of the member then decides (a Long parameter overflows).
    const double asDouble = PyLong_AsDouble(value.ptr());
    if (asDouble == -1.0 && PyErr_Occurred()) {
        PyErr_Clear();
        throw RuntimeError(Err::Overflow);
    }
    return asDouble;
}

py::object dateTimeOf(Date date)
{
    const QDate day = date.date();
    const QTime time = date.time();
    PyObject* result = PyDateTime_FromDateAndTime(day.year(), day.month(), day.day(), time.hour(), time.minute(),
                                                  time.second(), 0);
    if (!result)
        throw py::error_already_set();
    return py::reinterpret_steal<py::object>(result);
}

// Text beyond this many code units is made into a Python string with the lock let go.
constexpr qsizetype LargeText = 1 << 18;

// The largest code point of text as the narrowest Python string kind takes it: 0x7F, 0xFF or
// 0xFFFF, or 0x10FFFF where a surrogate stands (a pair, or an unpaired one to keep).
char32_t widestOf(QStringView text)
{
    if (QtPrivate::isLatin1(text))
        return QtPrivate::isAscii(text) ? 0x7F : 0xFF;
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isSurrogate(); }) ? 0x10FFFF : 0xFFFF;
}

py::str newString(qsizetype size, char32_t widest)
{
    PyObject* result = PyUnicode_New(size, Py_UCS4(widest));
    if (!result)
        throw py::error_already_set();
    return py::reinterpret_steal<py::str>(result);
}

// Copies text into a string newString made for it; touches no reference count, so it
// runs without the lock while the string is nobody else's.
void fillString(const py::str& target, QStringView text, char32_t widest)
{
    if (widest <= 0xFF)
        QStringEncoder(QStringEncoder::Latin1).appendToBuffer(reinterpret_cast<char*>(PyUnicode_1BYTE_DATA(target.ptr())), text);
    else
        std::memcpy(PyUnicode_2BYTE_DATA(target.ptr()), text.utf16(), std::size_t(text.size()) * 2);
}

py::str decodedString(const QString& text)
{
    PyObject* result = PyUnicode_Decode(reinterpret_cast<const char*>(text.utf16()), text.size() * 2, Utf16,
                                        "surrogatepass");
    if (!result)
        throw py::error_already_set();
    return py::reinterpret_steal<py::str>(result);
}

} // namespace

void initConversions()
{
    PyDateTime_IMPORT;
    if (!PyDateTimeAPI)
        throw py::error_already_set();
}

py::str toPython(const QString& text)
{
    const qsizetype size = text.size();
    if (size < LargeText) {
        const char32_t widest = widestOf(text);
        if (widest > 0xFFFF)
            return decodedString(text);
        py::str result = newString(size, widest);
        fillString(result, text, widest);
        return result;
    }
    // A batch's report comes back as megabytes of text while other threads wait for the lock:
    // measured and copied with it let go. Such text is mostly ASCII (RTF is); a wrong guess
    // costs a second string.
    py::str result = newString(size, 0x7F);
    char32_t widest = 0;
    {
        py::gil_scoped_release unlocked;
        widest = widestOf(text);
        if (widest == 0x7F)
            fillString(result, text, widest);
    }
    if (widest == 0x7F)
        return result;
    if (widest > 0xFFFF)
        return decodedString(text);
    result = newString(size, widest);
    {
        py::gil_scoped_release unlocked;
        fillString(result, text, widest);
    }
    return result;
}

QString toQString(py::handle text)
{
    if (!PyUnicode_Check(text.ptr()))
        throw py::type_error("a str is needed, not " + std::string(Py_TYPE(text.ptr())->tp_name));
    const auto bytes = py::reinterpret_steal<py::object>(PyUnicode_AsEncodedString(text.ptr(), Utf16, "surrogatepass"));
    if (!bytes)
        throw py::error_already_set();
    QString result(PyBytes_GET_SIZE(bytes.ptr()) / 2, Qt::Uninitialized);
    std::memcpy(result.data(), PyBytes_AS_STRING(bytes.ptr()), std::size_t(result.size()) * 2);
    refuseUnpairedSurrogates(result);
    return result;
}

Variant toVariant(py::handle value)
{
    PyObject* v = value.ptr();
    if (value.is_none())
        return Variant();
    if (PyBool_Check(v))
        return v == Py_True;
    if (PyLong_Check(v))
        return wholeNumber(value);
    if (PyFloat_Check(v))
        return PyFloat_AS_DOUBLE(v);
    if (PyUnicode_Check(v))
        return toQString(value);
    if (PyDateTime_Check(v))
        return dateFrom(PyDateTime_GET_YEAR(v), PyDateTime_GET_MONTH(v), PyDateTime_GET_DAY(v),
                        PyDateTime_DATE_GET_HOUR(v), PyDateTime_DATE_GET_MINUTE(v), PyDateTime_DATE_GET_SECOND(v),
                        PyDateTime_DATE_GET_MICROSECOND(v));
    if (PyDate_Check(v))
        return dateFrom(PyDateTime_GET_YEAR(v), PyDateTime_GET_MONTH(v), PyDateTime_GET_DAY(v), 0, 0, 0, 0);
    if (py::isinstance<DispatchRef>(value)) {
        const auto& object = value.cast<const DispatchRef&>();
        requireOpen(object);
        return Variant(object.object);
    }
    if (py::isinstance<Array>(value))
        return value.cast<const Array&>().value;
    if (PyList_Check(v) || PyTuple_Check(v))
        return arrayFromList(VarType::Variant, value, py::none());
    const QString type = QString::fromUtf8(Py_TYPE(v)->tp_name);
    throw RuntimeError(Err::TypeMismatch, QStringLiteral("Type mismatch: a Python %1 has no automation type").arg(type));
}

py::object fromVariant(const Variant& value)
{
    if (value.isArray())
        return py::cast(Array{value.array()});
    switch (value.varType()) {
    case VarType::Integer:
    case VarType::Long: return py::int_(value.toLong());
    case VarType::Single:
    case VarType::Double: return py::float_(value.toDouble());
    case VarType::Boolean: return py::bool_(value.toBool());
    case VarType::String: return toPython(value.toString());
    case VarType::Date: return dateTimeOf(value.toDate());
    case VarType::Object: {
        ComPtr<IDispatch> object = value.toObject();
        return object ? py::cast(DispatchRef{std::move(object)}) : py::none();
    }
    case VarType::Error: return py::int_(std::uint32_t(value.toError()));
    default: return py::none(); // Empty and Null
    }
}

QString pathText(pybind11::handle path)
{
    return toQString(pybind11::module_::import("os").attr("fsdecode")(path));
}

} // namespace vxpy
