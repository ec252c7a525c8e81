// Encoding and checking the ICMP helper's requests and replies: fixed sizes,
// little-endian fields, only our own echo request and only targets where a
// unit can live.

#include "probe/core/HelperMessages.h"

#include "probe/core/EchoRequest.h"
#include "probe/core/HostText.h"
#include "probe/core/InternetChecksum.h"
#include "probe/core/LittleEndian.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace probe {

namespace {

constexpr std::size_t kEchoOffset = 4;
constexpr std::size_t kWaitOffset = kEchoOffset + kEchoRequestSize;

// Our own echo request and no other: type 8, code 0, a right checksum, eight
// zero bytes and the 'E' payload. Identifier, sequence and time stamp vary.
bool isOurEchoRequest(const std::array<std::uint8_t, kEchoRequestSize>& echo)
{
    if (echo[0] != kIcmpEchoRequest || echo[1] != 0 ||
        internetChecksum(echo.data(), echo.size()) != 0)
        return false;
    for (std::size_t i = 12; i < kEchoPayloadOffset; ++i) {
        if (echo[i] != 0)
            return false;
    }
    for (std::size_t i = kEchoPayloadOffset; i < kEchoRequestSize; ++i) {
        if (echo[i] != kEchoPayloadByte)
            return false;
    }
    return true;
}

} // namespace

bool isHelperTarget(const Ipv4Octets& target)
{
    // "This network" (0/8), loopback (127/8), multicast (224/4) and the
    // reserved block with the limited broadcast (240/4): no unit lives there.
    return target[0] != 0 && target[0] != 127 && target[0] < 224;
}

HelperRequestBytes encodeHelperRequest(const HelperRequest& request)
{
    HelperRequestBytes bytes{};
    for (std::size_t i = 0; i < 4; ++i)
        bytes[i] = request.target[i];
    for (std::size_t i = 0; i < kEchoRequestSize; ++i)
        bytes[kEchoOffset + i] = request.echo[i];
    putLittleEndian16(bytes, kWaitOffset, request.waitMs);
    return bytes;
}

std::optional<HelperRequest> decodeHelperRequest(const std::uint8_t* data, std::size_t size)
{
    if (data == nullptr || size != kHelperRequestSize)
        return std::nullopt;
    HelperRequest request;
    for (std::size_t i = 0; i < 4; ++i)
        request.target[i] = data[i];
    for (std::size_t i = 0; i < kEchoRequestSize; ++i)
        request.echo[i] = data[kEchoOffset + i];
    request.waitMs = getLittleEndian16(data, kWaitOffset);
    if (!isHelperTarget(request.target) || !isOurEchoRequest(request.echo) ||
        request.waitMs > kHelperMaxWaitMs)
        return std::nullopt;
    for (std::size_t i = kWaitOffset + 2; i < kHelperRequestSize; ++i) {
        if (data[i] != 0)
            return std::nullopt;
    }
    return request;
}

HelperReplyBytes encodeHelperReply(const HelperReply& reply)
{
    HelperReplyBytes bytes{};
    bytes[0] = static_cast<std::uint8_t>(reply.outcome);
    putLittleEndian32(bytes, 2, static_cast<std::uint32_t>(reply.error));
    const std::uint16_t size = reply.size > kIcmpBufferSize ? 0 : reply.size;
    putLittleEndian16(bytes, 6, size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[8 + i] = reply.datagram[i];
    return bytes;
}

std::optional<HelperReply> decodeHelperReply(const std::uint8_t* data, std::size_t size)
{
    if (data == nullptr || size != kHelperReplySize || data[0] > 3)
        return std::nullopt;
    HelperReply reply;
    reply.outcome = static_cast<HelperOutcome>(data[0]);
    reply.error = static_cast<std::int32_t>(getLittleEndian32(data, 2));
    reply.size = getLittleEndian16(data, 6);
    if (reply.size > kIcmpBufferSize)
        return std::nullopt;
    if ((reply.outcome == HelperOutcome::Answered) != (reply.size > 0))
        return std::nullopt;
    for (std::size_t i = 0; i < reply.size; ++i)
        reply.datagram[i] = data[8 + i];
    return reply;
}

} // namespace probe
