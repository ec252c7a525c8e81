// Packing four field values into an address, and a field range into a word.

#include "widgets/core/PackedAddress.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace widgets {

std::uint32_t packAddress(const std::array<std::int32_t, 4>& fields)
{
    // Unsigned arithmetic: negative or large fields wrap instead of being
    // undefined, which is what the added-not-masked rule needs.
    std::uint32_t sum = 0;
    for (int i = 0; i < 4; ++i)
        sum += static_cast<std::uint32_t>(fields[static_cast<std::size_t>(i)]) << (24 - 8 * i);
    return sum;
}

std::uint8_t addressByte(std::uint32_t packed, int index)
{
    if (index < 0 || index > 3)
        return 0;
    return static_cast<std::uint8_t>((packed >> (24 - 8 * index)) & 0xFFU);
}

std::uint16_t rangeWord(std::int32_t low, std::int32_t high)
{
    const auto lo = static_cast<std::uint32_t>(low) & 0xFFU;
    const auto hi = static_cast<std::uint32_t>(high) & 0xFFU;
    return static_cast<std::uint16_t>((hi << 8) + lo);
}

std::uint8_t rangeLow(std::uint16_t word)
{
    return static_cast<std::uint8_t>(word & 0xFFU);
}

std::uint8_t rangeHigh(std::uint16_t word)
{
    return static_cast<std::uint8_t>(word >> 8);
}

} // namespace widgets
