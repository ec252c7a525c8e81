#pragma once
// The discovery exchange on the wire, and turning one reply into a record.

#include "discovery/core/DeviceTable.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace discovery {

inline constexpr std::uint16_t kRequestPort = 12311;
inline constexpr std::uint16_t kReplyPort = 12310;
inline constexpr std::string_view kDiscoveryRequest = "0C01S";
inline constexpr std::string_view kDiscoveryReplyPrefix = "0C01R";
inline constexpr std::size_t kReceiveBufferSize = 320;
inline constexpr int kScanMilliseconds = 3000;
inline constexpr int kApostrophesKept = 30;

enum class ReplyOutcome
{
    Added,     // a new record was appended
    NotAReply, // does not begin "0C01R"
    Duplicate, // the unit is already in the table
    Malformed, // too few apostrophes for the values it must carry
    TableFull, // a 100th unit in one scan
};

// Reads the datagram in buffer[0, length) (length is cut to
// kReceiveBufferSize; the text also ends at its first zero byte) and appends
// a record for a new unit. pcSubnetMask is the PC's mask text.
ReplyOutcome ParseDiscoveryReply(const unsigned char* buffer, std::size_t length,
                                 DeviceTable& table, std::string_view pcSubnetMask);

} // namespace discovery
