#pragma once
// The unprivileged ICMP socket hands over less than a raw socket: an echo
// reply without its IP header, and ICMP errors as a report beside the part
// of our request that the reporting router quoted. These functions lay that
// out again as the datagram a raw socket would have delivered, so that one
// decoder gives the same outcome on both paths.

#include "probe/core/EchoRequest.h"
#include "probe/core/HostText.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace probe {

inline constexpr std::size_t kIpHeaderSize = 20;

// An ICMP message that arrived bare (an echo reply).
struct BareMessage
{
    const std::uint8_t* icmp = nullptr; // the ICMP message
    std::size_t icmpSize = 0;
    Ipv4Octets source{};         // the datagram's sender
    std::uint8_t timeToLive = 0; // of the datagram that carried it
};

// An ICMP error the system reported against our request.
struct ErrorReport
{
    std::uint8_t type = 0;
    std::uint8_t code = 0;
    std::uint32_t info = 0;               // the next-hop MTU for "fragmentation needed"
    Ipv4Octets reporter{};                // the router (or host) that sent the error
    std::uint8_t timeToLive = 0;          // of the error datagram
    Ipv4Octets target{};                  // where our request was going
    const std::uint8_t* quoted = nullptr; // the quoted part of our ICMP request
    std::size_t quotedSize = 0;
};

// Each writes into buffer (zeroing it first) and returns the datagram's
// length, at most the buffer's size: a longer datagram is cut as a receive
// into that buffer would cut it.
std::size_t rawDatagramForMessage(IcmpBuffer& buffer, const BareMessage& message);
std::size_t rawDatagramForError(IcmpBuffer& buffer, const ErrorReport& report);

// What a wait reports when more datagrams arrived than it could read: our
// answer may be among the unread, so the address must not count as free.
// Writes the echo reply that target would have sent to echo (the request as
// sent) and returns its length.
std::size_t floodedAnswer(IcmpBuffer& buffer,
                          const std::array<std::uint8_t, kEchoRequestSize>& echo,
                          const Ipv4Octets& target);

} // namespace probe
