#pragma once
// The two fixed-size messages between the program and its ICMP helper, the
// small process that alone holds a raw socket. Each side treats the other's
// bytes as untrusted: every field is checked on decoding.

#include "probe/core/EchoRequest.h"
#include "probe/core/HostText.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace probe {

// The longest wait the helper serves: the client's default receive wait.
inline constexpr std::uint16_t kHelperMaxWaitMs = 5000;
// The shortest time between two of the helper's sends, whoever asks.
inline constexpr int kHelperMinSendGapMs = 100;

inline constexpr std::size_t kHelperRequestSize = 64;
inline constexpr std::size_t kHelperReplySize = 8 + kIcmpBufferSize;

// The program's request: one echo request to send to target, and how long to
// wait for its answer.
struct HelperRequest
{
    Ipv4Octets target{};
    std::array<std::uint8_t, kEchoRequestSize> echo{}; // type 8, code 0
    std::uint16_t waitMs = 0;
};

enum class HelperOutcome : std::uint8_t
{
    NothingAnswered = 0,
    Answered = 1,    // datagram holds the answer as a raw socket delivers it
    SocketError = 2, // error holds the Windows Sockets code
    // So many other datagrams arrived that the wait could not read them all:
    // the address counts as in use.
    Flooded = 3,
};

// The helper's answer to one request.
struct HelperReply
{
    HelperOutcome outcome = HelperOutcome::NothingAnswered;
    std::int32_t error = 0;
    std::uint16_t size = 0; // at most kIcmpBufferSize
    IcmpBuffer datagram{};
};

using HelperRequestBytes = std::array<std::uint8_t, kHelperRequestSize>;
using HelperReplyBytes = std::array<std::uint8_t, kHelperReplySize>;

// Whether the helper sends to target: a unicast address outside 0/8 and
// 127/8; never multicast, reserved or broadcast (224/4, 240/4).
bool isHelperTarget(const Ipv4Octets& target);

HelperRequestBytes encodeHelperRequest(const HelperRequest& request);
// nullopt for anything but our own echo request (as buildEchoRequest lays
// it out, checksum right) to a helper target, with a wait in range.
std::optional<HelperRequest> decodeHelperRequest(const std::uint8_t* data, std::size_t size);

HelperReplyBytes encodeHelperReply(const HelperReply& reply);
std::optional<HelperReply> decodeHelperReply(const std::uint8_t* data, std::size_t size);

} // namespace probe
