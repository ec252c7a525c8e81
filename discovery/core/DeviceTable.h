#pragma once
// The units of the last scan, numbered from 1 in the order they answered.

#include "discovery/core/DeviceRecord.h"

#include <cstdint>

namespace discovery {

inline constexpr int kTableSlots = 100; // slot 0 is never used
inline constexpr int kMaxRecords = kTableSlots - 1;

struct DeviceTable
{
    DeviceRecord slot[kTableSlots]; // "slots" would clash with Qt's keyword
    std::int32_t DeviceCount;

    // Record n (1..DeviceCount), or nullptr for any other n.
    const DeviceRecord* record(int n) const;
    DeviceRecord* record(int n);
};

// Zeroes every slot and DeviceCount.
void ClearDeviceTable(DeviceTable& table);

// Sets the two display flags of a record as the device list does when it is
// filled: they only ever go from 0 to 1 until the table is cleared. OtherSubnet
// follows outsideSubnet() with pcNetwork, the unit's own network.
void markRecordFlags(DeviceRecord& record, std::uint32_t pcNetwork);

} // namespace discovery
