// Whether a datagram answers our probe: an echo reply with our identifier and
// sequence from the target, or an error that quotes our request to it.

#include "probe/core/ReplyMatch.h"

#include "probe/core/EchoRequest.h"
#include "probe/core/HostText.h"
#include "probe/core/LittleEndian.h"

#include <cstddef>
#include <cstdint>

namespace probe {

namespace {

constexpr std::size_t kMinimumIpHeader = 20;
constexpr std::size_t kIcmpHeaderBytes = 8;
constexpr std::uint8_t kIcmpProtocol = 1;

struct View
{
    const std::uint8_t* data;
    std::size_t size;
};

// The IP header's length, or 0 when the datagram cannot hold it and the 8
// ICMP header bytes that follow it.
std::size_t ipHeaderLength(View datagram)
{
    if (datagram.size < kMinimumIpHeader || (datagram.data[0] >> 4) != 4)
        return 0;
    const std::size_t length = static_cast<std::size_t>(datagram.data[0] & 0x0FU) * 4;
    if (length < kMinimumIpHeader || datagram.size < length + kIcmpHeaderBytes)
        return 0;
    return length;
}

bool sameAddress(const std::uint8_t* bytes, const Ipv4Octets& address)
{
    for (std::size_t i = 0; i < 4; ++i) {
        if (bytes[i] != address[i])
            return false;
    }
    return true;
}

bool carriesOurNumbers(const std::uint8_t* icmp, const ProbeIdentity& probe)
{
    return getLittleEndian16(icmp, 6) == probe.sequence &&
           (probe.identifierSetBySystem || getLittleEndian16(icmp, 4) == probe.identifier);
}

// The datagram an error message quotes: our request to the target.
bool quotesOurRequest(View quoted, const ProbeIdentity& probe)
{
    const std::size_t header = ipHeaderLength(quoted);
    if (header == 0 || quoted.data[9] != kIcmpProtocol ||
        !sameAddress(quoted.data + 16, probe.target))
        return false;
    const std::uint8_t* icmp = quoted.data + header;
    return icmp[0] == kIcmpEchoRequest && icmp[1] == 0 && carriesOurNumbers(icmp, probe);
}

} // namespace

bool answersOurProbe(const std::uint8_t* data, std::size_t size, const ProbeIdentity& probe)
{
    if (data == nullptr)
        return false;
    const View datagram{data, size};
    const std::size_t header = ipHeaderLength(datagram);
    if (header == 0 || data[9] != kIcmpProtocol)
        return false;
    const std::uint8_t* icmp = data + header;
    switch (icmp[0]) {
    case kIcmpEchoReply:
    case kIcmpEchoRequest: // our own request, when the target is this PC
        return icmp[1] == 0 && sameAddress(data + 12, probe.target) &&
               carriesOurNumbers(icmp, probe);
    case kIcmpDestinationUnreachable:
    case kIcmpTimeExceeded:
        return quotesOurRequest({icmp + kIcmpHeaderBytes, size - header - kIcmpHeaderBytes}, probe);
    default:
        return false;
    }
}

} // namespace probe
