#include "discovery/core/DeviceTable.h"

#include <cstring>

namespace discovery {

const DeviceRecord* DeviceTable::record(int n) const
{
    if (n < 1 || n > DeviceCount || n > kMaxRecords)
        return nullptr;
    return &slot[n];
}

DeviceRecord* DeviceTable::record(int n)
{
    return const_cast<DeviceRecord*>(static_cast<const DeviceTable*>(this)->record(n));
}

void ClearDeviceTable(DeviceTable& table)
{
    std::memset(table.slot, 0, sizeof table.slot);
    table.DeviceCount = 0;
}

void MarkRecordFlags(DeviceRecord& record, std::uint32_t pcNetwork)
{
    if (record.NetworkAddress != pcNetwork)
        record.OtherSubnet = 1;
    if (record.DiskFree[0] == '\0')
        record.FreeSpaceMissing = 1;
}

} // namespace discovery
