#include "widgets/core/TIPAddrRange.h"

namespace widgets {

int TIPAddrRange::GetIPRange(int Index) const
{
    switch (Index) {
    case kLowerIndex:
        return m_lowerLimit;
    case kUpperIndex:
        return m_upperLimit;
    default:
        return 255;
    }
}

void TIPAddrRange::SetIPRange(int Index, int Value)
{
    const auto byte = static_cast<std::uint8_t>(static_cast<unsigned>(Value) & 0xFFU);
    if (Index == kLowerIndex)
        m_lowerLimit = byte;
    else if (Index == kUpperIndex)
        m_upperLimit = byte;
}

} // namespace widgets
