#include "SafeArray.h"

#include <limits>

namespace vxRecInfo {

namespace {

void checkElementType(VarType type)
{
    switch (type) {
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double:
    case VarType::Date:
    case VarType::String:
    case VarType::Object:
    case VarType::Boolean:
    case VarType::Variant:
        return;
    default:
        throw RuntimeError(Err::InvalidProcedureCall,
                           QStringLiteral("No array can hold elements of type %1").arg(typeName(type)));
    }
}

[[noreturn]] void outOfRange() { throw RuntimeError(Err::SubscriptOutOfRange); }

} // namespace

Variant defaultValueOf(VarType elementType)
{
    switch (elementType) {
    case VarType::Integer: return std::int16_t(0);
    case VarType::Long: return std::int32_t(0);
    case VarType::Single: return 0.0f;
    case VarType::Double: return 0.0;
    case VarType::Date: return Date();
    case VarType::String: return QString();
    case VarType::Boolean: return false;
    case VarType::Object: return Variant::nothing();
    default: return Variant();
    }
}

SafeArray::SafeArray(VarType elementType) : m_elementType(elementType)
{
    checkElementType(elementType);
}

SafeArray::SafeArray(VarType elementType, std::vector<ArrayBound> bounds) : SafeArray(elementType)
{
    redim(std::move(bounds));
}

SafeArray SafeArray::fromValues(VarType elementType, const std::vector<Variant>& values, std::int32_t lowerBound)
{
    if (values.size() > std::size_t(std::numeric_limits<std::int32_t>::max()))
        throw RuntimeError(Err::OutOfMemory);
    const auto upper = std::int64_t(lowerBound) + std::int64_t(values.size()) - 1;
    if (upper > std::numeric_limits<std::int32_t>::max())
        throw RuntimeError(Err::Overflow);
    SafeArray array(elementType, {{lowerBound, std::int32_t(upper)}});
    for (std::size_t k = 0; k < values.size(); ++k)
        array.store(k, values[k]);
    return array;
}

std::int32_t SafeArray::lowerBound(int dimension) const
{
    if (dimension < 1 || dimension > dimensions())
        outOfRange();
    return m_bounds[std::size_t(dimension - 1)].lower;
}

std::int32_t SafeArray::upperBound(int dimension) const
{
    if (dimension < 1 || dimension > dimensions())
        outOfRange();
    return m_bounds[std::size_t(dimension - 1)].upper;
}

std::size_t SafeArray::offset(std::initializer_list<std::int32_t> index) const
{
    if (index.size() != m_bounds.size())
        outOfRange();
    std::size_t result = 0;
    std::size_t stride = 1;
    auto bound = m_bounds.begin();
    for (const std::int32_t i : index) {
        if (i < bound->lower || i > bound->upper)
            outOfRange();
        result += std::size_t(std::int64_t(i) - bound->lower) * stride;
        stride *= std::size_t(bound->count());
        ++bound;
    }
    return result;
}

void SafeArray::store(std::size_t at, const Variant& value)
{
    m_elements[at] = m_elementType == VarType::Variant ? value : value.convertTo(m_elementType);
}

void SafeArray::allocate()
{
    std::int64_t total = 1;
    for (const ArrayBound& b : m_bounds) {
        if (b.count() < 0)
            outOfRange();
        total *= b.count();
        if (total > std::numeric_limits<std::int32_t>::max())
            throw RuntimeError(Err::OutOfMemory);
    }
    m_elements.assign(std::size_t(total), defaultValueOf(m_elementType));
}

void SafeArray::redim(std::vector<ArrayBound> bounds)
{
    if (bounds.empty())
        throw RuntimeError(Err::SubscriptOutOfRange);
    m_bounds = std::move(bounds);
    allocate();
}

void SafeArray::redimPreserve(std::int32_t upper)
{
    if (m_bounds.empty()) {
        redim({{0, upper}});
        return;
    }
    if (m_bounds.size() != 1)
        outOfRange();
    const ArrayBound grown{m_bounds.front().lower, upper};
    if (grown.count() < 0)
        outOfRange();
    m_bounds.front() = grown;
    m_elements.resize(std::size_t(grown.count()), defaultValueOf(m_elementType));
}

void SafeArray::clear()
{
    m_bounds.clear();
    m_elements.clear();
}

bool operator==(const SafeArray& a, const SafeArray& b)
{
    return a.m_elementType == b.m_elementType && a.m_bounds == b.m_bounds && a.m_elements == b.m_elements;
}

} // namespace vxRecInfo
