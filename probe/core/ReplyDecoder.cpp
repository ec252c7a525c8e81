// Turns a received datagram into the reply status the client reports: its
// type, source, time to live and round-trip time, or a time-out.

#include "probe/core/ReplyDecoder.h"

#include "probe/core/EchoRequest.h"
#include "probe/core/LittleEndian.h"
#include "probe/core/TReplyStatus.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace probe {

namespace {

constexpr std::size_t kMinimumIpHeader = 20;
constexpr std::size_t kIcmpHeaderBytes = 8;

std::string addressText(const std::uint8_t* bytes)
{
    std::string text;
    for (int i = 0; i < 4; ++i) {
        if (i > 0)
            text += '.';
        text += std::to_string(bytes[i]);
    }
    return text;
}

bool statusForType(std::uint8_t type, std::uint8_t& status)
{
    switch (type) {
    case kIcmpEchoReply:
    case kIcmpEchoRequest:
        status = ReplyEcho;
        return true;
    case kIcmpDestinationUnreachable:
        status = ReplyUnreachable;
        return true;
    case kIcmpTimeExceeded:
        status = ReplyTtlExceeded;
        return true;
    default:
        return false;
    }
}

} // namespace

TReplyStatus timedOutStatus(std::uint16_t nextSequence)
{
    TReplyStatus status;
    status.SequenceNumber = nextSequence;
    status.Status = ReplyTimedOut;
    return status;
}

DecodedReply decodeReply(const std::uint8_t* data, std::size_t size, std::uint32_t tickNow,
                         std::uint16_t nextSequence)
{
    DecodedReply result;
    if (size == 0 || data == nullptr) {
        result.status = timedOutStatus(nextSequence);
        return result;
    }
    // The source address and time-to-live sit in the fixed 20 bytes of the
    // IP header, so those must be there even when the length field claims a
    // shorter header.
    const std::size_t headerLength = static_cast<std::size_t>(data[0] & 0x0FU) * 4;
    if (size < headerLength + kIcmpHeaderBytes || size < kMinimumIpHeader) {
        result.error = DecodeError::NotEnoughBytes;
        return result;
    }
    // The time stamp (ICMP bytes 8 to 11) may lie past the end of a short
    // message; the receive buffer is zeroed before every receive, so those
    // bytes read as zero.
    std::uint8_t icmp[12] = {};
    for (std::size_t i = 0; i < sizeof icmp && headerLength + i < size; ++i)
        icmp[i] = data[headerLength + i];
    std::uint8_t kind = ReplyError;
    if (!statusForType(icmp[0], kind)) {
        result.error = DecodeError::NonEchoType;
        return result;
    }
    TReplyStatus& status = result.status;
    status.ByteCount = size > kIcmpBufferSize ? static_cast<std::int32_t>(kIcmpBufferSize)
                                              : static_cast<std::int32_t>(size);
    status.FromAddress = addressText(data + 12);
    status.MessageType = icmp[0];
    status.SequenceNumber = getLittleEndian16(icmp, 6);
    // Modulo 2^32 like the tick itself, so a wrap of the tick between request
    // and reply still gives the right difference.
    status.ReplyTimeMs = static_cast<std::int32_t>(tickNow - getLittleEndian32(icmp, 8));
    status.TimeToLive = data[8];
    status.Status = kind;
    return result;
}

} // namespace probe
