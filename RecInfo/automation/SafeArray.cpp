// SPDX-License-Identifier: MIT
#include "SafeArray.h"

#include <cstring>
#include <limits>
#include <memory>
#include <new>

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

template <class T>
struct Tag {
    using type = T;
};

// Calls f with the type the elements of an array of elementType are kept in.
template <class F>
decltype(auto) withStorage(VarType elementType, F&& f)
{
    switch (elementType) {
    case VarType::Integer: return f(Tag<std::int16_t>{});
    case VarType::Long: return f(Tag<std::int32_t>{});
    case VarType::Single: return f(Tag<float>{});
    case VarType::Double: return f(Tag<double>{});
    case VarType::Date: return f(Tag<Date>{});
    case VarType::Boolean: return f(Tag<bool>{});
    case VarType::String: return f(Tag<QString>{});
    default: return f(Tag<Variant>{}); // Object and Variant
    }
}

// A value converted to the element type as an element keeps it.
template <class T>
T converted(const Variant& value, VarType elementType)
{
    if constexpr (std::is_same_v<T, std::int16_t>)
        return value.toInteger();
    else if constexpr (std::is_same_v<T, std::int32_t>)
        return value.toLong();
    else if constexpr (std::is_same_v<T, float>)
        return value.toSingle();
    else if constexpr (std::is_same_v<T, double>)
        return value.toDouble();
    else if constexpr (std::is_same_v<T, Date>)
        return value.toDate();
    else if constexpr (std::is_same_v<T, bool>)
        return value.toBool();
    else if constexpr (std::is_same_v<T, QString>)
        return value.toString();
    else
        return elementType == VarType::Variant ? value : value.convertTo(elementType);
}

template <class T>
T* elementsAt(std::byte* payload)
{
    return std::launder(reinterpret_cast<T*>(payload));
}

// Element count of valid bounds.
std::size_t countOf(std::span<const ArrayBound> bounds)
{
    std::size_t total = bounds.empty() ? 0 : 1;
    for (const ArrayBound& b : bounds)
        total *= std::size_t(b.count());
    return total;
}

// Packed strings: count + 1 offsets (in characters), then the characters of every element.
struct Packed {
    const std::uint32_t* offsets;
    const char16_t* chars;

    explicit Packed(std::byte* payload, std::size_t count)
        : offsets(reinterpret_cast<const std::uint32_t*>(payload)),
          chars(reinterpret_cast<const char16_t*>(payload + (count + 1) * sizeof(std::uint32_t)))
    {
    }
    QStringView at(std::size_t i) const { return QStringView(chars + offsets[i], qsizetype(offsets[i + 1] - offsets[i])); }
    static std::size_t bytes(std::size_t count, std::size_t characters)
    {
        return (count + 1) * sizeof(std::uint32_t) + characters * sizeof(char16_t);
    }
};

std::byte* newBlock(std::span<const ArrayBound> bounds, std::size_t payloadBytes)
{
    auto* block = static_cast<std::byte*>(::operator new(bounds.size_bytes() + payloadBytes));
    std::memcpy(block, bounds.data(), bounds.size_bytes());
    return block;
}

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

SafeArray::SafeArray(const SafeArray& other)
    : m_elementType(other.m_elementType), m_packed(other.m_packed), m_dimensions(other.m_dimensions)
{
    if (!other.m_block)
        return;
    const std::span<const ArrayBound> bounds = other.bounds();
    const std::size_t count = countOf(bounds);
    if (m_packed) {
        const std::size_t bytes = Packed::bytes(count, Packed(other.payload(), count).offsets[count]);
        m_block = newBlock(bounds, bytes);
        std::memcpy(payload(), other.payload(), bytes);
        return;
    }
    withStorage(m_elementType, [&]<class T>(Tag<T>) {
        m_block = newBlock(bounds, count * sizeof(T));
        std::uninitialized_copy_n(elementsAt<T>(other.payload()), count, elementsAt<T>(payload()));
    });
}

SafeArray::SafeArray(SafeArray&& other) noexcept
    : m_elementType(other.m_elementType), m_packed(other.m_packed), m_dimensions(other.m_dimensions),
      m_block(std::exchange(other.m_block, nullptr))
{
    other.m_dimensions = 0;
    other.m_packed = false;
}

SafeArray& SafeArray::operator=(const SafeArray& other)
{
    if (this != &other)
        *this = SafeArray(other);
    return *this;
}

SafeArray& SafeArray::operator=(SafeArray&& other) noexcept
{
    if (this != &other) {
        release();
        m_elementType = other.m_elementType;
        m_packed = std::exchange(other.m_packed, false);
        m_dimensions = std::exchange(other.m_dimensions, 0);
        m_block = std::exchange(other.m_block, nullptr);
    }
    return *this;
}

SafeArray::~SafeArray()
{
    release();
}

void SafeArray::release() noexcept
{
    if (!m_block)
        return;
    if (!m_packed)
        withStorage(m_elementType, [&]<class T>(Tag<T>) { std::destroy_n(elementsAt<T>(payload()), countOf(bounds())); });
    ::operator delete(m_block);
    m_block = nullptr;
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

std::span<const ArrayBound> SafeArray::bounds() const
{
    return m_block ? std::span<const ArrayBound>(boundsData(), m_dimensions) : std::span<const ArrayBound>();
}

std::int32_t SafeArray::lowerBound(int dimension) const
{
    if (dimension < 1 || dimension > dimensions())
        outOfRange();
    return boundsData()[dimension - 1].lower;
}

std::int32_t SafeArray::upperBound(int dimension) const
{
    if (dimension < 1 || dimension > dimensions())
        outOfRange();
    return boundsData()[dimension - 1].upper;
}

std::int64_t SafeArray::elementCount() const
{
    return std::int64_t(countOf(bounds()));
}

std::size_t SafeArray::offset(std::initializer_list<std::int32_t> index) const
{
    if (index.size() != m_dimensions)
        outOfRange();
    std::size_t result = 0;
    std::size_t stride = 1;
    const ArrayBound* bound = boundsData();
    for (const std::int32_t i : index) {
        if (i < bound->lower || i > bound->upper)
            outOfRange();
        result += std::size_t(std::int64_t(i) - bound->lower) * stride;
        stride *= std::size_t(bound->count());
        ++bound;
    }
    return result;
}

Variant SafeArray::element(std::size_t at) const
{
    if (m_packed) {
        const QStringView text = Packed(payload(), countOf(bounds())).at(at);
        return text.isEmpty() ? QString() : text.toString();
    }
    return withStorage(m_elementType, [&]<class T>(Tag<T>) { return Variant(elementsAt<T>(payload())[at]); });
}

void SafeArray::store(std::size_t at, const Variant& value)
{
    withStorage(m_elementType, [&]<class T>(Tag<T>) {
        T item = converted<T>(value, m_elementType);
        if (m_packed)
            unpack();
        elementsAt<T>(payload())[at] = std::move(item);
    });
}

void SafeArray::redim(std::vector<ArrayBound> bounds)
{
    if (bounds.empty())
        throw RuntimeError(Err::SubscriptOutOfRange);
    std::int64_t total = 1;
    for (const ArrayBound& b : bounds) {
        if (b.count() < 0)
            outOfRange();
        total *= b.count();
        if (total > std::numeric_limits<std::int32_t>::max())
            throw RuntimeError(Err::OutOfMemory);
    }
    if (bounds.size() > std::numeric_limits<std::uint32_t>::max())
        throw RuntimeError(Err::OutOfMemory);
    const std::size_t count = std::size_t(total);
    std::byte* block = withStorage(m_elementType, [&]<class T>(Tag<T>) {
        std::byte* fresh = newBlock(bounds, count * sizeof(T));
        T* elements = elementsAt<T>(fresh + bounds.size() * sizeof(ArrayBound));
        if constexpr (std::is_same_v<T, Variant>)
            std::uninitialized_fill_n(elements, count, defaultValueOf(m_elementType));
        else
            std::uninitialized_value_construct_n(elements, count);
        return fresh;
    });
    release();
    m_block = block;
    m_dimensions = std::uint32_t(bounds.size());
    m_packed = false;
}

void SafeArray::redimPreserve(std::int32_t upper)
{
    if (!m_block) {
        redim({{0, upper}});
        return;
    }
    if (m_dimensions != 1)
        outOfRange();
    const ArrayBound grown{boundsData()->lower, upper};
    if (grown.count() < 0)
        outOfRange();
    if (grown.count() > std::numeric_limits<std::int32_t>::max())
        throw RuntimeError(Err::OutOfMemory);
    if (m_packed)
        unpack();
    const std::size_t count = std::size_t(grown.count());
    const std::size_t kept = std::min(count, countOf(bounds()));
    std::byte* block = withStorage(m_elementType, [&]<class T>(Tag<T>) {
        std::byte* fresh = newBlock({&grown, 1}, count * sizeof(T));
        T* elements = elementsAt<T>(fresh + sizeof(ArrayBound));
        std::uninitialized_move_n(elementsAt<T>(payload()), kept, elements);
        if constexpr (std::is_same_v<T, Variant>)
            std::uninitialized_fill_n(elements + kept, count - kept, defaultValueOf(m_elementType));
        else
            std::uninitialized_value_construct_n(elements + kept, count - kept);
        return fresh;
    });
    release();
    m_block = block;
}

void SafeArray::clear()
{
    release();
    m_dimensions = 0;
    m_packed = false;
}

void SafeArray::unpack()
{
    const std::span<const ArrayBound> bounds = this->bounds();
    const std::size_t count = countOf(bounds);
    const Packed packed(payload(), count);
    std::byte* block = newBlock(bounds, count * sizeof(QString));
    QString* strings = elementsAt<QString>(block + bounds.size_bytes());
    for (std::size_t i = 0; i < count; ++i)
        new (strings + i) QString(packed.at(i).isEmpty() ? QString() : packed.at(i).toString());
    ::operator delete(m_block);
    m_block = block;
    m_packed = false;
}

SafeArray SafeArray::compacted() const
{
    if (m_elementType != VarType::String || !m_block || m_packed)
        return *this;
    const std::span<const ArrayBound> bounds = this->bounds();
    const std::size_t count = countOf(bounds);
    const QString* strings = elementsAt<QString>(payload());
    std::size_t characters = 0;
    for (std::size_t i = 0; i < count; ++i)
        characters += std::size_t(strings[i].size());
    if (characters > std::numeric_limits<std::uint32_t>::max())
        return *this;
    SafeArray copy(m_elementType);
    copy.m_block = newBlock(bounds, Packed::bytes(count, characters));
    copy.m_dimensions = m_dimensions;
    copy.m_packed = true;
    auto* offsets = reinterpret_cast<std::uint32_t*>(copy.payload());
    auto* chars = reinterpret_cast<char16_t*>(copy.payload() + (count + 1) * sizeof(std::uint32_t));
    std::uint32_t at = 0;
    for (std::size_t i = 0; i < count; ++i) {
        offsets[i] = at;
        std::memcpy(chars + at, strings[i].utf16(), std::size_t(strings[i].size()) * sizeof(char16_t));
        at += std::uint32_t(strings[i].size());
    }
    offsets[count] = at;
    return copy;
}

bool operator==(const SafeArray& a, const SafeArray& b)
{
    if (a.m_elementType != b.m_elementType || a.m_dimensions != b.m_dimensions)
        return false;
    const std::span<const ArrayBound> bounds = a.bounds();
    if (!std::equal(bounds.begin(), bounds.end(), b.bounds().begin()))
        return false;
    const std::size_t count = countOf(bounds);
    if (a.m_packed || b.m_packed) {
        const auto text = [count](const SafeArray& s, std::size_t i) {
            return s.m_packed ? Packed(s.payload(), count).at(i) : QStringView(elementsAt<QString>(s.payload())[i]);
        };
        for (std::size_t i = 0; i < count; ++i)
            if (text(a, i) != text(b, i))
                return false;
        return true;
    }
    return withStorage(a.m_elementType, [&]<class T>(Tag<T>) {
        return std::equal(elementsAt<T>(a.payload()), elementsAt<T>(a.payload()) + count, elementsAt<T>(b.payload()));
    });
}

} // namespace vxRecInfo
