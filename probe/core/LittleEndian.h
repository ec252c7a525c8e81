#pragma once
// Bounds-checked little-endian field access in the fixed byte buffers of the
// ICMP datagrams and the helper's messages.

#include <array>
#include <cstddef>
#include <cstdint>

namespace probe {

// Writes nothing past the buffer's end: a field that does not fit whole is
// skipped (the callers only use offsets that fit).
template <std::size_t N>
void putLittleEndian16(std::array<std::uint8_t, N>& buffer, std::size_t offset, std::uint16_t value)
{
    if (offset > N || N - offset < 2)
        return;
    buffer[offset] = static_cast<std::uint8_t>(value & 0xFFU);
    buffer[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

template <std::size_t N>
void putLittleEndian32(std::array<std::uint8_t, N>& buffer, std::size_t offset, std::uint32_t value)
{
    if (offset > N || N - offset < 4)
        return;
    for (std::size_t i = 0; i < 4; ++i)
        buffer[offset + i] = static_cast<std::uint8_t>((value >> (8 * i)) & 0xFFU);
}

// The caller guarantees data[offset, offset + 2/4) is readable.
inline std::uint16_t getLittleEndian16(const std::uint8_t* data, std::size_t offset)
{
    return static_cast<std::uint16_t>(data[offset] | data[offset + 1] << 8);
}

inline std::uint32_t getLittleEndian32(const std::uint8_t* data, std::size_t offset)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(data[offset + i]) << (8 * i);
    return value;
}

} // namespace probe
