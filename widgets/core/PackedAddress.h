#pragma once
// The 32-bit form in which the address widget shows and reports an address,
// and the 16-bit word in which it takes one field's limits.

#include <array>
#include <cstdint>

namespace widgets {

// First field in the most significant byte. The shifted fields are added, not
// masked: a field outside 0..255 spills into (or borrows from) the field
// before it, and the sum wraps modulo 2^32.
std::uint32_t packAddress(const std::array<std::int32_t, 4>& fields);

// Field index 0..3 (0 = most significant byte) of a packed address.
std::uint8_t addressByte(std::uint32_t packed, int index);

// (high << 8) + low, each taken to its low 8 bits.
std::uint16_t rangeWord(std::int32_t low, std::int32_t high);
std::uint8_t rangeLow(std::uint16_t word);
std::uint8_t rangeHigh(std::uint16_t word);

} // namespace widgets
