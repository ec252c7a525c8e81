// The one's-complement sum of RFC 1071, folded so no length can overflow it.

#include "probe/core/InternetChecksum.h"

#include <cstddef>
#include <cstdint>

namespace probe {

std::uint16_t internetChecksum(const std::uint8_t* data, std::size_t size)
{
    // 32 bits hold the sum of 1024 bytes with room to spare; the loop folds
    // anyway so longer input cannot overflow.
    std::uint32_t sum = 0;
    std::size_t i = 0;
    for (; i + 1 < size; i += 2) {
        sum += static_cast<std::uint32_t>(data[i]) << 8 | data[i + 1];
        if (sum > 0xFFFFU)
            sum = (sum & 0xFFFFU) + (sum >> 16);
    }
    if (i < size)
        sum += static_cast<std::uint32_t>(data[i]) << 8;
    // Twice: the first fold can itself carry.
    sum = (sum & 0xFFFFU) + (sum >> 16);
    sum = (sum & 0xFFFFU) + (sum >> 16);
    return static_cast<std::uint16_t>(~sum & 0xFFFFU);
}

} // namespace probe
