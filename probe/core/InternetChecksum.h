#pragma once
// The Internet checksum (RFC 1071) that every ICMP message carries.

#include <cstddef>
#include <cstdint>

namespace probe {

// One's-complement sum of the 16-bit big-endian words of data[0, size) (an
// odd last byte is padded with a zero), carries folded back, complemented.
// Stored big-endian (high byte first) it makes the message sum to 0xFFFF.
std::uint16_t internetChecksum(const std::uint8_t* data, std::size_t size);

} // namespace probe
