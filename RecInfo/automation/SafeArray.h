// SPDX-License-Identifier: MIT
#pragma once
// The automation safe array: a fixed element type and one or more dimensions, each with its own
// lower and upper bound. A declared array has no dimensions until it is dimensioned.
//
// The bounds and the elements live in one block, the elements in their own type (two bytes for
// an Integer, a QString for a String), so that the many small arrays of a dataset store cost
// little; copies are deep.

#include "Export.h"
#include "Variant.h"

#include <initializer_list>
#include <span>
#include <vector>

namespace vxRecInfo {

struct VXRECINFO_EXPORT ArrayBound {
    std::int32_t lower = 0;
    std::int32_t upper = -1; // upper = lower - 1 is a dimension with no elements

    std::int64_t count() const { return std::int64_t(upper) - lower + 1; }
    friend bool operator==(const ArrayBound&, const ArrayBound&) = default;
};

class VXRECINFO_EXPORT SafeArray
{
public:
    // A declared array that has not been dimensioned.
    explicit SafeArray(VarType elementType);
    // A dimensioned array; every element starts at the element type's default value.
    SafeArray(VarType elementType, std::vector<ArrayBound> bounds);

    SafeArray(const SafeArray& other);
    SafeArray(SafeArray&& other) noexcept;
    SafeArray& operator=(const SafeArray& other);
    SafeArray& operator=(SafeArray&& other) noexcept;
    ~SafeArray();

    // One-dimensional array of the given values (each converted to the element type).
    static SafeArray fromValues(VarType elementType, const std::vector<Variant>& values,
                                std::int32_t lowerBound = 0);

    VarType elementType() const { return m_elementType; }
    bool isDimensioned() const { return m_dimensions != 0; }
    int dimensions() const { return int(m_dimensions); }
    std::span<const ArrayBound> bounds() const;

    // Bounds of a dimension counted from 1, as LBound and UBound take it; error 9 when the
    // array has no such dimension (or none at all).
    std::int32_t lowerBound(int dimension = 1) const;
    std::int32_t upperBound(int dimension = 1) const;

    std::int64_t elementCount() const;

    // Element access by one index per dimension; error 9 outside the bounds.
    Variant at(std::int32_t i) const { return element(offset({i})); }
    Variant at(std::int32_t i, std::int32_t j) const { return element(offset({i, j})); }
    Variant at(std::initializer_list<std::int32_t> index) const { return element(offset(index)); }

    // Stores value converted to the element type (errors 13 and 6 of that conversion).
    void set(std::int32_t i, const Variant& value) { store(offset({i}), value); }
    void set(std::int32_t i, std::int32_t j, const Variant& value) { store(offset({i, j}), value); }
    void set(std::initializer_list<std::int32_t> index, const Variant& value) { store(offset(index), value); }

    // ReDim: new bounds, every element reset. On an error the array stays as it was.
    void redim(std::vector<ArrayBound> bounds);
    // ReDim Preserve of a one-dimensional array: new upper bound, existing elements kept.
    void redimPreserve(std::int32_t upper);
    // Erase: back to a declared array without dimensions.
    void clear();

    // A copy in the form that takes least memory: the characters of all its strings in one run.
    // It reads as the original; the first change to one of its strings unpacks them again.
    SafeArray compacted() const;

    friend bool operator==(const SafeArray& a, const SafeArray& b);

private:
    std::size_t offset(std::initializer_list<std::int32_t> index) const;
    Variant element(std::size_t at) const;
    void store(std::size_t at, const Variant& value);
    void release() noexcept;
    void unpack();
    std::byte* payload() const { return m_block + m_dimensions * sizeof(ArrayBound); }
    const ArrayBound* boundsData() const { return reinterpret_cast<const ArrayBound*>(m_block); }

    VarType m_elementType;
    bool m_packed = false; // strings packed by compacted()
    std::uint32_t m_dimensions = 0;
    std::byte* m_block = nullptr; // the bounds, then the elements; null when not dimensioned
};

// The default value of an element type: 0, "", False, Empty, Nothing.
VXRECINFO_EXPORT Variant defaultValueOf(VarType elementType);

} // namespace vxRecInfo
