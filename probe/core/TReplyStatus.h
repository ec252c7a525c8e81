#pragma once
// The outcome of one echo, as the client reports it to its owner.

#include <cstdint>
#include <string>

namespace probe {

// Values of TReplyStatus::Status.
enum TReplyStatusType : std::uint8_t
{
    ReplyEcho = 0,        // an echo reply (type 0) or echo request (type 8)
    ReplyError = 1,       // never reported: other types raise instead
    ReplyTimedOut = 2,    // nothing arrived within the wait
    ReplyUnreachable = 3, // destination unreachable (type 3)
    ReplyTtlExceeded = 4, // time exceeded (type 11)
};

inline constexpr const char* kNoAddress = "0.0.0.0";

struct TReplyStatus
{
    std::int32_t ByteCount = 0;           // bytes received, IP header included
    std::string FromAddress = kNoAddress; // source of the received datagram
    std::uint8_t MessageType = 0;         // ICMP type received
    std::uint16_t SequenceNumber = 0;     // as received, or the next one to be sent
    std::int32_t ReplyTimeMs = 0;         // tick at decoding minus the echoed time stamp
    std::uint8_t TimeToLive = 0;          // of the received datagram
    std::uint8_t Status = ReplyTimedOut;

    bool operator==(const TReplyStatus&) const = default;
};

} // namespace probe
