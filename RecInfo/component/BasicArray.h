// SPDX-License-Identifier: MIT
#pragma once
// A dynamic array of module state as the Basic run-time keeps one: lower bound 0, grown with
// ReDim Preserve, and "never dimensioned" until the first ReDim.

#include "automation/RuntimeError.h"

#include <cstdint>
#include <deque>

namespace vxRecInfo {

template <class T>
class BasicArray
{
public:
    bool isDimensioned() const { return m_dimensioned; }
    // UBound; error 9 when the array was never dimensioned.
    std::int32_t upperBound() const
    {
        if (!m_dimensioned)
            throw RuntimeError(Err::SubscriptOutOfRange);
        return std::int32_t(m_items.size()) - 1;
    }
    std::size_t size() const { return m_items.size(); }

    const T& at(std::int32_t i) const { return m_items[checked(i)]; }
    T& at(std::int32_t i) { return m_items[checked(i)]; }

    // ReDim a(0 To upper): every element reset.
    void redim(std::int32_t upper)
    {
        m_items.assign(std::size_t(upper) + 1, T{});
        m_dimensioned = true;
    }
    // ReDim Preserve a(0 To upper): existing elements kept, new ones default.
    void redimPreserve(std::int32_t upper)
    {
        m_items.resize(std::size_t(upper) + 1);
        m_dimensioned = true;
    }

private:
    std::size_t checked(std::int32_t i) const
    {
        if (!m_dimensioned || i < 0 || std::size_t(i) >= m_items.size())
            throw RuntimeError(Err::SubscriptOutOfRange);
        return std::size_t(i);
    }

    // A deque: growing by one element never moves the elements there are (a store of many
    // records never holds two copies of itself), and it hands out references to flags.
    std::deque<T> m_items;
    bool m_dimensioned = false;
};

} // namespace vxRecInfo
