// SPDX-License-Identifier: MIT
#pragma once
// The automation Variant: a tagged value of one of the automation types, with the classic Basic
// conversions between them. Arrays are held by value (copy on write): copying a Variant that
// holds an array gives an independent array.

#include "Export.h"
#include "IDispatch.h"
#include "Date.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <variant>

namespace vxRecInfo {


class SafeArray;

// Type codes as the classic VarType function reports them; Array is a flag or-ed onto the
// element type.
enum class VarType : std::uint16_t {
    Empty = 0,
    Null = 1,
    Integer = 2,
    Long = 3,
    Single = 4,
    Double = 5,
    Date = 7,
    String = 8,
    Object = 9,
    Error = 10,
    Boolean = 11,
    Variant = 12,
    Array = 0x2000,
};

constexpr VarType operator|(VarType a, VarType b)
{
    return static_cast<VarType>(static_cast<std::uint16_t>(a) | static_cast<std::uint16_t>(b));
}
constexpr bool isArrayType(VarType t)
{
    return (static_cast<std::uint16_t>(t) & static_cast<std::uint16_t>(VarType::Array)) != 0;
}
constexpr VarType elementTypeOf(VarType t)
{
    return static_cast<VarType>(static_cast<std::uint16_t>(t) & ~static_cast<std::uint16_t>(VarType::Array));
}
constexpr VarType arrayOf(VarType element) { return element | VarType::Array; }

// Name of a type as a Basic programmer writes it: "Integer", "String()", "Variant".
VXRECINFO_EXPORT QString typeName(VarType t);
// The type an array's elements may have, by that name in any case ("long", "Variant"); Empty
// for a name that is none of Integer, Long, Single, Double, Date, String, Boolean and Variant.
VXRECINFO_EXPORT VarType elementTypeNamed(const QString& name);

// Marker value of an omitted optional argument (an Error Variant, as automation passes it).
inline constexpr HResult DISP_E_PARAMNOTFOUND = hresultFrom(0x80020004u);

class VXRECINFO_EXPORT Variant
{
public:
    Variant() = default;
    Variant(std::int16_t v) : m_value(v) {}
    Variant(std::int32_t v) : m_value(v) {}
    Variant(float v) : m_value(v) {}
    Variant(double v) : m_value(v) {}
    Variant(Date v) : m_value(v) {}
    Variant(bool v) : m_value(v) {}
    Variant(const QString& v) : m_value(v) {}
    Variant(QString&& v) : m_value(std::move(v)) {}
    Variant(const char16_t* v) : m_value(QString::fromUtf16(v)) {}
    Variant(const char* utf8) : m_value(QString::fromUtf8(utf8)) {}
    Variant(const ComPtr<IDispatch>& object);
    Variant(const SafeArray& array);
    Variant(SafeArray&& array);

    static Variant null();
    static Variant error(HResult code);
    static Variant missing() { return error(DISP_E_PARAMNOTFOUND); }
    static Variant nothing(); // an Object Variant that refers to no object

    // The classic VarType code (element type | Array for arrays).
    VarType varType() const;
    bool isEmpty() const { return std::holds_alternative<std::monostate>(m_value); }
    bool isNull() const { return std::holds_alternative<NullTag>(m_value); }
    bool isArray() const { return std::holds_alternative<ArrayRef>(m_value); }
    bool isMissing() const;

    // Conversions by the classic Basic rules. They throw RuntimeError: 13 for a value that is
    // not of a convertible kind or a string that is no number, 6 when out of range,
    // 94 for Null.
    std::int16_t toInteger() const;  // CInt: rounds half to even
    std::int32_t toLong() const;     // CLng: rounds half to even
    float toSingle() const;          // CSng
    double toDouble() const;         // CDbl
    Date toDate() const;             // CDate
    bool toBool() const;             // CBool: a number is True when not zero
    QString toString() const;        // CStr
    ComPtr<IDispatch> toObject() const;
    HResult toError() const;
    Variant convertTo(VarType type) const;

    // The array held; throws 13 when the Variant holds no array.
    const SafeArray& array() const;
    // Writable access; detaches from any copy that shares the array.
    SafeArray& array();

    // Identity of type and value (strings compared exactly, arrays element by element).
    friend bool operator==(const Variant& a, const Variant& b);

private:
    struct NullTag {
        friend bool operator==(NullTag, NullTag) { return true; }
    };
    struct ErrorCode {
        HResult code;
        friend bool operator==(ErrorCode a, ErrorCode b) { return a.code == b.code; }
    };
    using ArrayRef = std::shared_ptr<SafeArray>;

    double numericValue() const; // throws 13 when not numeric (strings are parsed)

    std::variant<std::monostate, NullTag, std::int16_t, std::int32_t, float, double, Date, QString,
                 bool, ComPtr<IDispatch>, ErrorCode, ArrayRef>
        m_value;
};

// The C++ type a member takes a value of automation type T as (strings and Variants by
// reference, the rest by value), and how to take it from a Variant already converted to T.
template <VarType T>
struct ArgTypeOf;
template <> struct ArgTypeOf<VarType::Integer> {
    using type = std::int16_t;
    static type from(const Variant& v) { return v.toInteger(); }
};
template <> struct ArgTypeOf<VarType::Long> {
    using type = std::int32_t;
    static type from(const Variant& v) { return v.toLong(); }
};
template <> struct ArgTypeOf<VarType::Single> {
    using type = float;
    static type from(const Variant& v) { return v.toSingle(); }
};
template <> struct ArgTypeOf<VarType::Double> {
    using type = double;
    static type from(const Variant& v) { return v.toDouble(); }
};
template <> struct ArgTypeOf<VarType::Date> {
    using type = Date;
    static type from(const Variant& v) { return v.toDate(); }
};
template <> struct ArgTypeOf<VarType::String> {
    using type = const QString&;
    static QString from(const Variant& v) { return v.toString(); }
};
template <> struct ArgTypeOf<VarType::Boolean> {
    using type = bool;
    static type from(const Variant& v) { return v.toBool(); }
};
template <> struct ArgTypeOf<VarType::Variant> {
    using type = const Variant&;
    static type from(const Variant& v) { return v; }
};
template <VarType T>
using ArgType = typename ArgTypeOf<T>::type;

// True when v holds an array whose first dimension's upper bound can be read; False for
// anything else, an array that was declared but never dimensioned included.
VXRECINFO_EXPORT bool IsArrayDimensioned(const Variant& v);

} // namespace vxRecInfo
