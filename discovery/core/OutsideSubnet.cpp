// The outside-subnet rule and the verdict the device list recorded.

#include "discovery/core/OutsideSubnet.h"

namespace discovery {

bool outsideSubnet(const DeviceRecord& record, std::uint32_t unitNetwork)
{
    return record.NetworkAddress != unitNetwork;
}

bool foundOutsideSubnet(const DeviceRecord& record)
{
    return record.OtherSubnet != 0;
}

} // namespace discovery
