// The range's four limits read and written by index.

#include "widgets/core/TIPAddrRange.h"

#include <cstdint>

namespace widgets {

int TIPAddrRange::GetIPRange(int index) const
{
    switch (index) {
    case kLowerIndex:
        return m_lowerLimit;
    case kUpperIndex:
        return m_upperLimit;
    default:
        return 255;
    }
}

void TIPAddrRange::SetIPRange(int index, int value)
{
    const auto byte = static_cast<std::uint8_t>(static_cast<unsigned>(value) & 0xFFU);
    if (index == kLowerIndex)
        m_lowerLimit = byte;
    else if (index == kUpperIndex)
        m_upperLimit = byte;
}

} // namespace widgets
