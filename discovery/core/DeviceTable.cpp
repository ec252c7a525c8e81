// The device table's record lookup, its clearing and the two display flags.
#include "discovery/core/DeviceTable.h"

#include "discovery/core/DeviceRecord.h"
#include "discovery/core/OutsideSubnet.h"

#include <cstdint>
#include <cstring>

namespace discovery {

namespace {

bool holdsRecord(const DeviceTable& table, int n)
{
    return n >= 1 && n <= table.DeviceCount && n <= kMaxRecords;
}

} // namespace

const DeviceRecord* DeviceTable::record(int n) const
{
    return holdsRecord(*this, n) ? &slot[n] : nullptr;
}

DeviceRecord* DeviceTable::record(int n)
{
    return holdsRecord(*this, n) ? &slot[n] : nullptr;
}

void ClearDeviceTable(DeviceTable& table)
{
    std::memset(table.slot, 0, sizeof table.slot);
    table.DeviceCount = 0;
}

void markRecordFlags(DeviceRecord& record, std::uint32_t pcNetwork)
{
    if (outsideSubnet(record, pcNetwork))
        record.OtherSubnet = 1;
    if (record.DiskFree[0] == '\0')
        record.FreeSpaceMissing = 1;
}

} // namespace discovery
