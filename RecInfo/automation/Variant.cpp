// SPDX-License-Identifier: MIT
#include "Variant.h"

#include "BasicText.h"
#include "SafeArray.h"

#include <cfloat>
#include <cmath>
#include <limits>

namespace vxRecInfo {

namespace {

[[noreturn]] void typeMismatch() { throw RuntimeError(Err::TypeMismatch); }
[[noreturn]] void overflow() { throw RuntimeError(Err::Overflow); }

// Round half to even, then check the range of the integer type.
template <class Int>
Int roundToInteger(double value)
{
    if (std::isnan(value))
        overflow();
    const double rounded = std::nearbyint(value); // the default rounding mode is half to even
    if (rounded < double(std::numeric_limits<Int>::min()) || rounded > double(std::numeric_limits<Int>::max()))
        overflow();
    return static_cast<Int>(rounded);
}

bool parseBooleanWord(const QString& text, bool* value)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
        *value = true;
        return true;
    }
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) {
        *value = false;
        return true;
    }
    return false;
}

} // namespace

QString typeName(VarType t)
{
    QString name;
    switch (elementTypeOf(t)) {
    case VarType::Empty: name = QStringLiteral("Empty"); break;
    case VarType::Null: name = QStringLiteral("Null"); break;
    case VarType::Integer: name = QStringLiteral("Integer"); break;
    case VarType::Long: name = QStringLiteral("Long"); break;
    case VarType::Single: name = QStringLiteral("Single"); break;
    case VarType::Double: name = QStringLiteral("Double"); break;
    case VarType::Date: name = QStringLiteral("Date"); break;
    case VarType::String: name = QStringLiteral("String"); break;
    case VarType::Object: name = QStringLiteral("Object"); break;
    case VarType::Error: name = QStringLiteral("Error"); break;
    case VarType::Boolean: name = QStringLiteral("Boolean"); break;
    case VarType::Variant: name = QStringLiteral("Variant"); break;
    default: name = QStringLiteral("Unknown"); break;
    }
    return isArrayType(t) ? name + QStringLiteral("()") : name;
}

VarType elementTypeNamed(const QString& name)
{
    for (const VarType t : {VarType::Integer, VarType::Long, VarType::Single, VarType::Double, VarType::Date,
                            VarType::String, VarType::Boolean, VarType::Variant})
        if (name.compare(typeName(t), Qt::CaseInsensitive) == 0)
            return t;
    return VarType::Empty;
}

Variant::Variant(const ComPtr<IDispatch>& object) : m_value(object) {}
Variant::Variant(const SafeArray& array) : m_value(std::make_shared<SafeArray>(array)) {}
Variant::Variant(SafeArray&& array) : m_value(std::make_shared<SafeArray>(std::move(array))) {}

Variant Variant::null()
{
    Variant v;
    v.m_value = NullTag{};
    return v;
}

Variant Variant::error(HResult code)
{
    Variant v;
    v.m_value = ErrorCode{code};
    return v;
}

Variant Variant::nothing()
{
    return Variant(ComPtr<IDispatch>());
}

VarType Variant::varType() const
{
    switch (m_value.index()) {
    case 0: return VarType::Empty;
    case 1: return VarType::Null;
    case 2: return VarType::Integer;
    case 3: return VarType::Long;
    case 4: return VarType::Single;
    case 5: return VarType::Double;
    case 6: return VarType::Date;
    case 7: return VarType::String;
    case 8: return VarType::Boolean;
    case 9: return VarType::Object;
    case 10: return VarType::Error;
    default: return arrayOf(std::get<ArrayRef>(m_value)->elementType());
    }
}

bool Variant::isMissing() const
{
    const auto* e = std::get_if<ErrorCode>(&m_value);
    return e && e->code == DISP_E_PARAMNOTFOUND;
}

double Variant::numericValue() const
{
    // Every conversion to a number passes here: what is no finite number (NaN, infinity) overflows
    // all of them, so it can enter no Single, Double, Integer, Long, Date or Boolean.
    const double value = std::visit(
        [](const auto& v) -> double {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>)
                return 0.0;
            else if constexpr (std::is_same_v<T, NullTag>)
                throw RuntimeError(Err::InvalidUseOfNull);
            else if constexpr (std::is_same_v<T, bool>)
                return v ? -1.0 : 0.0;
            else if constexpr (std::is_same_v<T, Date>)
                return v.value();
            else if constexpr (std::is_arithmetic_v<T>)
                return double(v);
            else if constexpr (std::is_same_v<T, QString>) {
                double parsed = 0;
                if (parseBasicNumber(v, &parsed))
                    return parsed;
                bool word = false;
                if (parseBooleanWord(v, &word))
                    return word ? -1.0 : 0.0;
                typeMismatch();
            } else
                typeMismatch();
        },
        m_value);
    if (!std::isfinite(value))
        overflow();
    return value;
}

std::int16_t Variant::toInteger() const
{
    if (const auto* v = std::get_if<std::int16_t>(&m_value))
        return *v;
    return roundToInteger<std::int16_t>(numericValue());
}

std::int32_t Variant::toLong() const
{
    if (const auto* v = std::get_if<std::int32_t>(&m_value))
        return *v;
    return roundToInteger<std::int32_t>(numericValue());
}

float Variant::toSingle() const
{
    if (const auto* v = std::get_if<float>(&m_value); v && std::isfinite(*v))
        return *v;
    const double d = numericValue();
    if (std::fabs(d) > double(FLT_MAX))
        overflow();
    return static_cast<float>(d);
}

double Variant::toDouble() const
{
    return numericValue();
}

Date Variant::toDate() const
{
    if (const auto* v = std::get_if<Date>(&m_value))
        return *v;
    if (const auto* s = std::get_if<QString>(&m_value)) {
        Date parsed;
        if (parseBasicDate(*s, &parsed))
            return parsed;
    }
    const double d = numericValue();
    if (!Date::inRange(d))
        overflow();
    return Date(d);
}

bool Variant::toBool() const
{
    if (const auto* v = std::get_if<bool>(&m_value))
        return *v;
    if (const auto* s = std::get_if<QString>(&m_value)) {
        bool word = false;
        if (parseBooleanWord(*s, &word))
            return word;
    }
    return numericValue() != 0.0;
}

QString Variant::toString() const
{
    return std::visit(
        [](const auto& v) -> QString {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>)
                return QString();
            else if constexpr (std::is_same_v<T, NullTag>)
                throw RuntimeError(Err::InvalidUseOfNull);
            else if constexpr (std::is_same_v<T, QString>)
                return v;
            else if constexpr (std::is_same_v<T, bool>)
                return basicBooleanText(v);
            else if constexpr (std::is_same_v<T, std::int16_t> || std::is_same_v<T, std::int32_t>)
                return QString::number(v);
            else if constexpr (std::is_same_v<T, float>)
                return basicNumberText(v, 7);
            else if constexpr (std::is_same_v<T, double>)
                return basicNumberText(v, 15);
            else if constexpr (std::is_same_v<T, Date>)
                return generalDateText(v);
            else if constexpr (std::is_same_v<T, ErrorCode>)
                return QStringLiteral("Error %1").arg(errorNumberFromHResult(v.code));
            else
                typeMismatch();
        },
        m_value);
}

ComPtr<IDispatch> Variant::toObject() const
{
    if (const auto* v = std::get_if<ComPtr<IDispatch>>(&m_value))
        return *v;
    throw RuntimeError(Err::ObjectRequired);
}

HResult Variant::toError() const
{
    if (const auto* v = std::get_if<ErrorCode>(&m_value))
        return v->code;
    typeMismatch();
}

Variant Variant::convertTo(VarType type) const
{
    if (isArrayType(type)) {
        // Arrays pass only as they are: an array of another element type does not convert.
        if (varType() == type || (elementTypeOf(type) == VarType::Variant && isArray()))
            return *this;
        typeMismatch();
    }
    switch (type) {
    case VarType::Variant: return *this;
    case VarType::Empty: return Variant();
    case VarType::Null: return null();
    case VarType::Integer: return toInteger();
    case VarType::Long: return toLong();
    case VarType::Single: return toSingle();
    case VarType::Double: return toDouble();
    case VarType::Date: return toDate();
    case VarType::String: return toString();
    case VarType::Boolean: return toBool();
    case VarType::Object: return Variant(toObject());
    case VarType::Error: return error(toError());
    default: typeMismatch();
    }
}

const SafeArray& Variant::array() const
{
    if (const auto* a = std::get_if<ArrayRef>(&m_value))
        return **a;
    typeMismatch();
}

SafeArray& Variant::array()
{
    auto* a = std::get_if<ArrayRef>(&m_value);
    if (!a)
        typeMismatch();
    if (a->use_count() > 1)
        *a = std::make_shared<SafeArray>(**a);
    return **a;
}

bool operator==(const Variant& a, const Variant& b)
{
    if (a.m_value.index() != b.m_value.index())
        return false;
    if (a.isArray())
        return *std::get<Variant::ArrayRef>(a.m_value) == *std::get<Variant::ArrayRef>(b.m_value);
    return a.m_value == b.m_value;
}

bool IsArrayDimensioned(const Variant& v)
{
    if (!v.isArray())
        return false;
    try {
        (void)v.array().upperBound(1);
        return true;
    } catch (const RuntimeError&) {
        return false;
    }
}

} // namespace vxRecInfo
