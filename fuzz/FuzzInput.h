#pragma once
// Reads a fuzz input as a stream of small decisions; past its end every read gives 0, so any
// input decodes to something.

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace vxRecInfo::fuzz {

class FuzzInput
{
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool done() const { return m_at >= m_size; }
    std::uint8_t byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    // One of n choices (n > 0).
    unsigned pick(unsigned n) { return byte() % n; }
    template <class T>
    T raw()
    {
        unsigned char buffer[sizeof(T)] = {};
        for (unsigned char& b : buffer)
            b = byte();
        T value;
        std::memcpy(&value, buffer, sizeof(T));
        return value;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

} // namespace vxRecInfo::fuzz
