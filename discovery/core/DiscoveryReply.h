#pragma once
// The discovery exchange on the wire, and turning one reply into a record.

#include "discovery/core/DeviceTable.h"

#include <array>
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
// When, in milliseconds from the start of a scan, the request goes out: a
// datagram lost on a busy or wireless link must not hide a unit for a whole
// scan. With a share p lost each way, a unit stays unseen only when all n
// request-reply pairs fail, (1 - (1 - p)^2)^n: 0.1 % for ten at 30 %. The
// last request leaves a unit a second to answer.
inline constexpr std::array<int, 10> kRequestMomentsMs = {0,   100,  250,  400,  600,
                                                          800, 1050, 1300, 1600, 2000};
static_assert(kRequestMomentsMs.front() == 0 &&
              kRequestMomentsMs.back() <= kScanMilliseconds - 1000);
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
