// Lays out an echo request: type, identifier, sequence, time stamp and the
// fixed payload bytes, then the checksum over all of it.

#include "probe/core/EchoRequest.h"

#include "probe/core/InternetChecksum.h"
#include "probe/core/LittleEndian.h"

#include <cstddef>
#include <cstdint>

namespace probe {

void buildEchoRequest(IcmpBuffer& buffer, std::uint16_t identifier, std::uint16_t sequence,
                      std::uint32_t tick)
{
    buffer.fill(0);
    buffer[0] = kIcmpEchoRequest;
    buffer[1] = 0;
    putLittleEndian16(buffer, 4, identifier);
    putLittleEndian16(buffer, 6, sequence);
    putLittleEndian32(buffer, 8, tick);
    for (std::size_t i = kEchoPayloadOffset; i < kEchoRequestSize; ++i)
        buffer[i] = kEchoPayloadByte;
    const std::uint16_t sum = internetChecksum(buffer.data(), kEchoRequestSize);
    buffer[2] = static_cast<std::uint8_t>(sum >> 8);
    buffer[3] = static_cast<std::uint8_t>(sum & 0xFFU);
}

} // namespace probe
