// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// The automation Variant: a tagged value of one of the automation types, with the classic Basic
/// conversions between them. Arrays are held by value (copy on write): copying a Variant that
/// holds an array gives an independent array.

#include "Export.h"
#include "IDispatch.h"
#include "Date.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <variant>

namespace vxRecInfo {


class SafeArray;

/// Type codes as the classic VarType function reports them; Array is a flag or-ed onto the
/// element type.
enum class VarType : std::uint16_t {
    Empty = 0,      //!< no value yet; converts to 0 or ""
    Null = 1,       //!< no valid data; most conversions raise error 94
    Integer = 2,    //!< 16-bit whole number
    Long = 3,       //!< 32-bit whole number
    Single = 4,     //!< float
    Double = 5,     //!< double
    Date = 7,       //!< a Date
    String = 8,     //!< a QString
    Object = 9,     //!< an IDispatch reference, or Nothing
    Error = 10,     //!< an HResult, as an omitted optional argument is passed
    Boolean = 11,   //!< True or False
    Variant = 12,   //!< any of these: the element type of a Variant array, a parameter of any type
    Array = 0x2000, //!< flag: an array of the element type in the low bits
};

/// The type with both codes: element | VarType::Array for an array type.
constexpr VarType operator|(VarType a, VarType b)
{
    return static_cast<VarType>(static_cast<std::uint16_t>(a) | static_cast<std::uint16_t>(b));
}
/// Whether t is an array type.
constexpr bool isArrayType(VarType t)
{
    return (static_cast<std::uint16_t>(t) & static_cast<std::uint16_t>(VarType::Array)) != 0;
}
/// t without the Array flag: the element type of an array type.
constexpr VarType elementTypeOf(VarType t)
{
    return static_cast<VarType>(static_cast<std::uint16_t>(t) & ~static_cast<std::uint16_t>(VarType::Array));
}
/// The type of an array of element.
constexpr VarType arrayOf(VarType element) { return element | VarType::Array; }

/// Name of a type as a Basic programmer writes it: "Integer", "String()", "Variant".
VXRECINFO_EXPORT QString typeName(VarType t);
/// The type an array's elements may have, by that name in any case ("long", "Variant"); Empty
/// for a name that is none of Integer, Long, Single, Double, Date, String, Boolean and Variant.
VXRECINFO_EXPORT VarType elementTypeNamed(const QString& name);

/// Marker value of an omitted optional argument (an Error Variant, as automation passes it).
inline constexpr HResult DISP_E_PARAMNOTFOUND = hresultFrom(0x80020004u);

/// A value of one of the automation types, as arguments, results and dataset properties
/// travel.
class VXRECINFO_EXPORT Variant
{
public:
    /// Empty.
    Variant() = default;
    /// An Integer.
    Variant(std::int16_t v) : m_value(v) {}
    /// A Long.
    Variant(std::int32_t v) : m_value(v) {}
    /// A Single.
    Variant(float v) : m_value(v) {}
    /// A Double.
    Variant(double v) : m_value(v) {}
    /// A Date.
    Variant(Date v) : m_value(v) {}
    /// A Boolean.
    Variant(bool v) : m_value(v) {}
    /// A String.
    Variant(const QString& v) : m_value(v) {}
    /// A String, the text moved in.
    Variant(QString&& v) : m_value(std::move(v)) {}
    /// A String of UTF-16 text (u"...").
    Variant(const char16_t* v) : m_value(QString::fromUtf16(v)) {}
    /// A String of UTF-8 text.
    Variant(const char* utf8) : m_value(QString::fromUtf8(utf8)) {}
    /// An Object; an empty pointer gives Nothing.
    Variant(const ComPtr<IDispatch>& object);
    /// An array: a copy of array.
    Variant(const SafeArray& array);
    /// An array, array moved in.
    Variant(SafeArray&& array);

    /// Null.
    static Variant null();
    /// An Error Variant of code.
    static Variant error(HResult code);
    /// The marker of an omitted optional argument: Error DISP_E_PARAMNOTFOUND.
    static Variant missing() { return error(DISP_E_PARAMNOTFOUND); }
    static Variant nothing(); //!< an Object Variant that refers to no object

    /// The classic VarType code (element type | Array for arrays).
    VarType varType() const;
    /// Whether the Variant is Empty.
    bool isEmpty() const { return std::holds_alternative<std::monostate>(m_value); }
    /// Whether the Variant is Null.
    bool isNull() const { return std::holds_alternative<NullTag>(m_value); }
    /// Whether the Variant holds an array (dimensioned or not).
    bool isArray() const { return std::holds_alternative<ArrayRef>(m_value); }
    /// Whether the Variant is the marker of an omitted argument (missing()).
    bool isMissing() const;

    /// @name Conversions by the classic Basic rules
    /// They throw RuntimeError: 13 for a value that is not of a convertible kind or a string that
    /// is no number, 6 when out of range (NaN and infinity included), 94 for Null.
    /// @{
    std::int16_t toInteger() const;  //!< CInt: rounds half to even
    std::int32_t toLong() const;     //!< CLng: rounds half to even
    float toSingle() const;          //!< CSng
    double toDouble() const;         //!< CDbl
    Date toDate() const;             //!< CDate: a number, or a string with a date in it
    bool toBool() const;             //!< CBool: a number is True when not zero
    QString toString() const;        //!< CStr: Empty is "", an Error is "Error n"; 13 for an object or array
    /// The object of an Object Variant (empty for Nothing); 424 for any other.
    ComPtr<IDispatch> toObject() const;
    /// The code of an Error Variant; 13 for any other.
    HResult toError() const;
    /// The value converted to type by the rules above. An array converts only to its own type
    /// or to an array of Variant, as it is; 13 otherwise.
    Variant convertTo(VarType type) const;
    /// @}

    /// The array held; throws 13 when the Variant holds no array.
    /// @throws RuntimeError 13
    const SafeArray& array() const;
    /// Writable access; detaches from any copy that shares the array.
    /// @throws RuntimeError 13 when the Variant holds no array
    SafeArray& array();

    /// Identity of type and value (strings compared exactly, arrays element by element).
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

/// The C++ type a member takes a value of automation type T as (strings and Variants by
/// reference, the rest by value), and how to take it from a Variant already converted to T.
/// Specialised for every type a parameter may have; the put_ members of _RecordInfo take
/// ArgType of their property's type.
template <VarType T>
struct ArgTypeOf;
/// Integer parameters: std::int16_t.
template <> struct ArgTypeOf<VarType::Integer> {
    using type = std::int16_t;                                        //!< the parameter type
    static type from(const Variant& v) { return v.toInteger(); }      //!< v, converted to Integer already
};
/// Long parameters: std::int32_t.
template <> struct ArgTypeOf<VarType::Long> {
    using type = std::int32_t;                                        //!< the parameter type
    static type from(const Variant& v) { return v.toLong(); }         //!< v, converted to Long already
};
/// Single parameters: float.
template <> struct ArgTypeOf<VarType::Single> {
    using type = float;                                               //!< the parameter type
    static type from(const Variant& v) { return v.toSingle(); }       //!< v, converted to Single already
};
/// Double parameters: double.
template <> struct ArgTypeOf<VarType::Double> {
    using type = double;                                              //!< the parameter type
    static type from(const Variant& v) { return v.toDouble(); }       //!< v, converted to Double already
};
/// Date parameters: Date.
template <> struct ArgTypeOf<VarType::Date> {
    using type = Date;                                                //!< the parameter type
    static type from(const Variant& v) { return v.toDate(); }         //!< v, converted to Date already
};
/// String parameters: const QString&.
template <> struct ArgTypeOf<VarType::String> {
    using type = const QString&;                                      //!< the parameter type
    static QString from(const Variant& v) { return v.toString(); }    //!< v, converted to String already
};
/// Boolean parameters: bool.
template <> struct ArgTypeOf<VarType::Boolean> {
    using type = bool;                                                //!< the parameter type
    static type from(const Variant& v) { return v.toBool(); }         //!< v, converted to Boolean already
};
/// Variant parameters (arrays among them): the Variant itself, by const reference.
template <> struct ArgTypeOf<VarType::Variant> {
    using type = const Variant&;                                      //!< the parameter type
    static type from(const Variant& v) { return v; }                  //!< v as it is
};
/// The C++ parameter type of automation type T.
template <VarType T>
using ArgType = typename ArgTypeOf<T>::type;

/// True when v holds an array whose first dimension's upper bound can be read; False for
/// anything else, an array that was declared but never dimensioned included.
VXRECINFO_EXPORT bool IsArrayDimensioned(const Variant& v);

} // namespace vxRecInfo
