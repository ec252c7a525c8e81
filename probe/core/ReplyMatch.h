#pragma once
// Whether a received ICMP datagram is about the echo request we sent. A raw
// socket hands over every ICMP message of the host: pings of other hosts,
// replies meant for other programs, time-stamp requests, router
// advertisements. Only an answer to our own request may decide a probe.

#include "probe/core/HostText.h"

#include <cstddef>
#include <cstdint>

namespace probe {

struct ProbeIdentity
{
    Ipv4Octets target{};          // where the request went
    std::uint16_t identifier = 0; // as written into the request
    std::uint16_t sequence = 0;
    // The unprivileged socket writes its own identifier into the request, and
    // the system delivers to it only messages carrying that one.
    bool identifierSetBySystem = false;
};

// data[0, size) as a raw socket delivers it (IP header first). True for an
// echo reply (or our own request looped back) from the target with our
// identifier and sequence, and for a destination-unreachable or
// time-exceeded message that quotes that request to the target. Everything
// else, short or malformed datagrams included, is false.
bool answersOurProbe(const std::uint8_t* data, std::size_t size, const ProbeIdentity& probe);

} // namespace probe
