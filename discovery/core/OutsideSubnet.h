#pragma once
// The one rule for "outside the PC's subnet", which the unit icon, the action
// buttons and the settings dialog all follow.

#include "discovery/core/DeviceRecord.h"

#include <cstdint>

namespace discovery {

// Whether the unit lies outside the network unitNetwork: its NetworkAddress
// (its address under the mask it was judged by) differs. unitNetwork is the
// PcNetwork of unitNetworkValues() for the record: on a PC with several
// networks, that of the adapter the unit's reply came in by when it is known,
// else the PC's own. Judged afresh at each call.
bool outsideSubnet(const DeviceRecord& record, std::uint32_t unitNetwork);

// Whether the unit was found outside when the device list was filled
// (markRecordFlags): once found outside, outside until the table is cleared.
bool foundOutsideSubnet(const DeviceRecord& record);

} // namespace discovery
