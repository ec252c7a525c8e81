#pragma once
// The sequence counter of one echo client, with the request building and
// reply decoding that depend on it. No clock and no process id of its own:
// the caller passes them in.

#include "probe/core/EchoRequest.h"
#include "probe/core/ReplyDecoder.h"

#include <cstddef>
#include <cstdint>

namespace probe {

class EchoSequence
{
public:
    explicit EchoSequence(std::uint16_t first = 0) : m_next(first) {}

    // The number the next request will carry.
    std::uint16_t next() const { return m_next; }

    // Writes the request with the current number (identifier: the low 16 bits
    // of processId) into buffer, then advances the counter, wrapping from
    // 65535 to 0. Returns the number the request carries.
    std::uint16_t prepare(IcmpBuffer& buffer, std::uint32_t processId, std::uint32_t tick);

    // decodeReply() with the counter's current value for a timed-out echo.
    DecodedReply decode(const std::uint8_t* data, std::size_t size, std::uint32_t tickNow) const;

private:
    std::uint16_t m_next;
};

} // namespace probe
