#pragma once
// The 52-byte ICMP echo request the client sends, and the buffers it uses.

#include <array>
#include <cstddef>
#include <cstdint>

namespace probe {

inline constexpr std::size_t kIcmpBufferSize = 1024;
inline constexpr std::size_t kEchoRequestSize = 52;
inline constexpr std::size_t kEchoPayloadOffset = 20;
inline constexpr std::uint8_t kEchoPayloadByte = 0x45; // 'E'
inline constexpr int kEchoTimeToLive = 128;

inline constexpr std::uint8_t kIcmpEchoReply = 0;
inline constexpr std::uint8_t kIcmpDestinationUnreachable = 3;
inline constexpr std::uint8_t kIcmpEchoRequest = 8;
inline constexpr std::uint8_t kIcmpTimeExceeded = 11;

using IcmpBuffer = std::array<std::uint8_t, kIcmpBufferSize>;

// Zeroes the whole buffer and writes the request into its first 52 bytes:
// type 8, code 0, checksum, identifier, sequence number and time stamp (those
// three low byte first, as an x86 PC lays them out), 8 zero bytes, 32 'E'.
// The checksum is right for the bytes as they stand in the buffer.
void buildEchoRequest(IcmpBuffer& buffer, std::uint16_t identifier, std::uint16_t sequence,
                      std::uint32_t tick);

} // namespace probe
