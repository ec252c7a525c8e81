// Numbers each request and decodes replies against the current number.

#include "probe/core/EchoSequence.h"

#include "probe/core/EchoRequest.h"
#include "probe/core/ReplyDecoder.h"

#include <cstddef>
#include <cstdint>

namespace probe {

std::uint16_t EchoSequence::prepare(IcmpBuffer& buffer, std::uint32_t processId, std::uint32_t tick)
{
    const std::uint16_t sequence = m_next;
    buildEchoRequest(buffer, static_cast<std::uint16_t>(processId & 0xFFFFU), sequence, tick);
    m_next = static_cast<std::uint16_t>(sequence + 1U);
    return sequence;
}

DecodedReply EchoSequence::decode(const std::uint8_t* data, std::size_t size,
                                  std::uint32_t tickNow) const
{
    return decodeReply(data, size, tickNow, m_next);
}

} // namespace probe
