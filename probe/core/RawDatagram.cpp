// Rebuilds the IPv4 datagram a raw socket would have received from what an
// unprivileged socket or the error queue gives: an echo reply, or an ICMP
// error quoting our request.

#include "probe/core/RawDatagram.h"

#include "probe/core/EchoRequest.h"
#include "probe/core/HostText.h"
#include "probe/core/InternetChecksum.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace probe {

namespace {

constexpr std::uint8_t kIcmpProtocol = 1;
constexpr std::uint8_t kFragmentationNeeded = 4;
constexpr std::size_t kIcmpErrorHeaderSize = 8;

// Appends bytes at offset, as many as still fit; returns the new offset.
std::size_t append(IcmpBuffer& buffer, std::size_t offset, const std::uint8_t* bytes,
                   std::size_t count)
{
    for (std::size_t i = 0; i < count && offset < buffer.size(); ++i)
        buffer[offset++] = bytes[i];
    return offset;
}

// A plain 20-byte IPv4 header (no options) for an ICMP payload, checksummed.
void writeIpHeader(IcmpBuffer& buffer, std::size_t offset, std::size_t totalLength,
                   std::uint8_t timeToLive, const Ipv4Octets& source, const Ipv4Octets& destination)
{
    std::uint8_t header[kIpHeaderSize] = {};
    header[0] = 0x45;
    const std::size_t length = totalLength > 0xFFFFU ? 0xFFFFU : totalLength;
    header[2] = static_cast<std::uint8_t>(length >> 8);
    header[3] = static_cast<std::uint8_t>(length & 0xFFU);
    header[8] = timeToLive;
    header[9] = kIcmpProtocol;
    for (std::size_t i = 0; i < 4; ++i) {
        header[12 + i] = source[i];
        header[16 + i] = destination[i];
    }
    const std::uint16_t sum = internetChecksum(header, kIpHeaderSize);
    header[10] = static_cast<std::uint8_t>(sum >> 8);
    header[11] = static_cast<std::uint8_t>(sum & 0xFFU);
    append(buffer, offset, header, kIpHeaderSize);
}

} // namespace

std::size_t rawDatagramForMessage(IcmpBuffer& buffer, const BareMessage& message)
{
    buffer.fill(0);
    const std::size_t icmpSize = message.icmp ? message.icmpSize : 0;
    // Our own address is not known here and nothing reads it.
    writeIpHeader(buffer, 0, kIpHeaderSize + icmpSize, message.timeToLive, message.source, {});
    return append(buffer, kIpHeaderSize, message.icmp, icmpSize);
}

std::size_t rawDatagramForError(IcmpBuffer& buffer, const ErrorReport& report)
{
    buffer.fill(0);
    const std::size_t quotedSize = report.quoted ? report.quotedSize : 0;
    const std::size_t total = kIpHeaderSize + kIcmpErrorHeaderSize + kIpHeaderSize + quotedSize;
    writeIpHeader(buffer, 0, total, report.timeToLive, report.reporter, {});

    std::uint8_t icmp[kIcmpErrorHeaderSize] = {};
    icmp[0] = report.type;
    icmp[1] = report.code;
    if (report.type == kIcmpDestinationUnreachable && report.code == kFragmentationNeeded) {
        icmp[6] = static_cast<std::uint8_t>((report.info >> 8) & 0xFFU);
        icmp[7] = static_cast<std::uint8_t>(report.info & 0xFFU);
    }
    std::size_t offset = append(buffer, kIpHeaderSize, icmp, kIcmpErrorHeaderSize);
    // The quoted datagram: our request's header as we sent it, then the part
    // of the request the router sent back.
    writeIpHeader(buffer, offset, kIpHeaderSize + kEchoRequestSize,
                  static_cast<std::uint8_t>(kEchoTimeToLive), {}, report.target);
    offset = offset + kIpHeaderSize > buffer.size() ? buffer.size() : offset + kIpHeaderSize;
    offset = append(buffer, offset, report.quoted, quotedSize);
    // The ICMP checksum over everything after the outer header.
    const std::uint16_t sum =
        internetChecksum(buffer.data() + kIpHeaderSize, offset - kIpHeaderSize);
    buffer[kIpHeaderSize + 2] = static_cast<std::uint8_t>(sum >> 8);
    buffer[kIpHeaderSize + 3] = static_cast<std::uint8_t>(sum & 0xFFU);
    return offset;
}

std::size_t floodedAnswer(IcmpBuffer& buffer,
                          const std::array<std::uint8_t, kEchoRequestSize>& echo,
                          const Ipv4Octets& target)
{
    std::array<std::uint8_t, kEchoRequestSize> reply = echo;
    reply[0] = kIcmpEchoReply;
    reply[2] = 0;
    reply[3] = 0;
    const std::uint16_t sum = internetChecksum(reply.data(), reply.size());
    reply[2] = static_cast<std::uint8_t>(sum >> 8);
    reply[3] = static_cast<std::uint8_t>(sum & 0xFFU);
    BareMessage message;
    message.icmp = reply.data();
    message.icmpSize = reply.size();
    message.source = target;
    return rawDatagramForMessage(buffer, message);
}

} // namespace probe
