// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// The automation safe array: a fixed element type and one or more dimensions, each with its own
/// lower and upper bound. A declared array has no dimensions until it is dimensioned.
///
/// The bounds and the elements live in one block, the elements in their own type (two bytes for
/// an Integer, a QString for a String), so that the many small arrays of a dataset store cost
/// little; copies are deep.

#include "Export.h"
#include "Variant.h"

#include <initializer_list>
#include <span>
#include <vector>

namespace vxRecInfo {

/// The bounds of one dimension, both inclusive.
struct VXRECINFO_EXPORT ArrayBound {
    std::int32_t lower = 0;  //!< the first index
    std::int32_t upper = -1; //!< upper = lower - 1 is a dimension with no elements

    /// The number of indexes from lower to upper.
    std::int64_t count() const { return std::int64_t(upper) - lower + 1; }
    /// Whether both bounds are the same.
    friend bool operator==(const ArrayBound&, const ArrayBound&) = default;
};

/// A safe array of one element type, as a Variant holds it and as the dataset arrays are.
class VXRECINFO_EXPORT SafeArray
{
public:
    /// A declared array that has not been dimensioned.
    /// @throws RuntimeError 5 for a type no array holds (Empty, Null, Error, an array type)
    explicit SafeArray(VarType elementType);
    /// A dimensioned array; every element starts at the element type's default value.
    /// @throws RuntimeError 5 as above; 9 for no bounds or an upper bound below lower - 1;
    ///         7 for more than 2^31 - 1 elements
    SafeArray(VarType elementType, std::vector<ArrayBound> bounds);

    /// A deep copy.
    SafeArray(const SafeArray& other);
    /// Takes over other's elements; other is left without dimensions.
    SafeArray(SafeArray&& other) noexcept;
    /// Becomes a deep copy of other, element type included.
    SafeArray& operator=(const SafeArray& other);
    /// Takes over other's elements, element type included.
    SafeArray& operator=(SafeArray&& other) noexcept;
    /// Frees the elements.
    ~SafeArray();

    /// One-dimensional array of the given values (each converted to the element type).
    /// @throws RuntimeError 13 or 6 when a value does not convert; 6 when the upper bound
    ///         would pass 2^31 - 1; 5 for a type no array holds
    static SafeArray fromValues(VarType elementType, const std::vector<Variant>& values,
                                std::int32_t lowerBound = 0);

    /// The type every element has.
    VarType elementType() const { return m_elementType; }
    /// Whether the array has dimensions (ReDim'd), as opposed to only declared.
    bool isDimensioned() const { return m_dimensions != 0; }
    /// The number of dimensions; 0 when not dimensioned.
    int dimensions() const { return int(m_dimensions); }
    /// The bounds of every dimension, the first first; empty when not dimensioned.
    std::span<const ArrayBound> bounds() const;

    /// Bounds of a dimension counted from 1, as LBound and UBound take it; error 9 when the
    /// array has no such dimension (or none at all).
    /// @throws RuntimeError 9
    std::int32_t lowerBound(int dimension = 1) const;
    /// @copydoc lowerBound
    std::int32_t upperBound(int dimension = 1) const;

    /// The number of elements over all dimensions; 0 when not dimensioned.
    std::int64_t elementCount() const;

    /// Element access by one index per dimension; error 9 outside the bounds.
    /// @throws RuntimeError 9, also for an array of more dimensions
    Variant at(std::int32_t i) const { return element(offset({i})); }
    /// The element (i, j) of a two-dimensional array.
    /// @throws RuntimeError 9 outside the bounds or for another number of dimensions
    Variant at(std::int32_t i, std::int32_t j) const { return element(offset({i, j})); }
    /// The element of one index per dimension.
    /// @throws RuntimeError 9 outside the bounds or for another number of indexes
    Variant at(std::initializer_list<std::int32_t> index) const { return element(offset(index)); }

    /// Stores value converted to the element type (errors 13 and 6 of that conversion).
    /// @throws RuntimeError 9 outside the bounds; 13 or 6 when value does not convert
    void set(std::int32_t i, const Variant& value) { store(offset({i}), value); }
    /// Stores value at (i, j) of a two-dimensional array, converted as set(i, value) does.
    /// @throws RuntimeError 9, 13, 6
    void set(std::int32_t i, std::int32_t j, const Variant& value) { store(offset({i, j}), value); }
    /// Stores value at one index per dimension, converted as set(i, value) does.
    /// @throws RuntimeError 9, 13, 6
    void set(std::initializer_list<std::int32_t> index, const Variant& value) { store(offset(index), value); }

    /// ReDim: new bounds, every element reset. On an error the array stays as it was.
    /// @throws RuntimeError 9 for no bounds or an upper bound below lower - 1; 7 for more
    ///         than 2^31 - 1 elements
    void redim(std::vector<ArrayBound> bounds);
    /// ReDim Preserve of a one-dimensional array: new upper bound, existing elements kept.
    /// An array without dimensions gets the bounds 0 to upper.
    /// @throws RuntimeError 9 for an array of more dimensions or an upper bound below
    ///         lower - 1; 7 for too many elements
    void redimPreserve(std::int32_t upper);
    /// Erase: back to a declared array without dimensions.
    void clear();

    /// A copy in the form that takes least memory: the characters of all its strings in one run.
    /// It reads as the original; the first change to one of its strings unpacks them again.
    SafeArray compacted() const;

    /// Whether element type, bounds and every element are the same.
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

/// The default value of an element type: 0, "", False, Empty, Nothing.
VXRECINFO_EXPORT Variant defaultValueOf(VarType elementType);

} // namespace vxRecInfo
