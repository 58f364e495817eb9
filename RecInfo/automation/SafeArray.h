#pragma once
// The automation safe array: a fixed element type and one or more dimensions, each with its own
// lower and upper bound. A declared array has no dimensions until it is dimensioned.

#include "Variant.h"

#include <initializer_list>
#include <vector>

namespace vxRecInfo {

struct ArrayBound {
    std::int32_t lower = 0;
    std::int32_t upper = -1; // upper = lower - 1 is a dimension with no elements

    std::int64_t count() const { return std::int64_t(upper) - lower + 1; }
    friend bool operator==(const ArrayBound&, const ArrayBound&) = default;
};

class SafeArray
{
public:
    // A declared array that has not been dimensioned.
    explicit SafeArray(VarType elementType);
    // A dimensioned array; every element starts at the element type's default value.
    SafeArray(VarType elementType, std::vector<ArrayBound> bounds);

    // One-dimensional array of the given values (each converted to the element type).
    static SafeArray fromValues(VarType elementType, const std::vector<Variant>& values,
                                std::int32_t lowerBound = 0);

    VarType elementType() const { return m_elementType; }
    bool isDimensioned() const { return !m_bounds.empty(); }
    int dimensions() const { return int(m_bounds.size()); }
    const std::vector<ArrayBound>& bounds() const { return m_bounds; }

    // Bounds of a dimension counted from 1, as LBound and UBound take it; error 9 when the
    // array has no such dimension (or none at all).
    std::int32_t lowerBound(int dimension = 1) const;
    std::int32_t upperBound(int dimension = 1) const;

    std::int64_t elementCount() const { return std::int64_t(m_elements.size()); }

    // Element access by one index per dimension; error 9 outside the bounds.
    Variant at(std::int32_t i) const { return m_elements[offset({i})]; }
    Variant at(std::int32_t i, std::int32_t j) const { return m_elements[offset({i, j})]; }
    Variant at(std::initializer_list<std::int32_t> index) const { return m_elements[offset(index)]; }

    // Stores value converted to the element type (errors 13 and 6 of that conversion).
    void set(std::int32_t i, const Variant& value) { store(offset({i}), value); }
    void set(std::int32_t i, std::int32_t j, const Variant& value) { store(offset({i, j}), value); }
    void set(std::initializer_list<std::int32_t> index, const Variant& value) { store(offset(index), value); }

    // ReDim: new bounds, every element reset.
    void redim(std::vector<ArrayBound> bounds);
    // ReDim Preserve of a one-dimensional array: new upper bound, existing elements kept.
    void redimPreserve(std::int32_t upper);
    // Erase: back to a declared array without dimensions.
    void clear();

    friend bool operator==(const SafeArray& a, const SafeArray& b);

private:
    std::size_t offset(std::initializer_list<std::int32_t> index) const;
    void store(std::size_t at, const Variant& value);
    void allocate();

    VarType m_elementType;
    std::vector<ArrayBound> m_bounds;
    std::vector<Variant> m_elements;
};

// The default value of an element type: 0, "", False, Empty, Nothing.
Variant defaultValueOf(VarType elementType);

} // namespace vxRecInfo
