#pragma once
// Which of the 44 unit icons a record shows: two blocks of 22 (the PC's own
// subnet first), each the usage levels 0 to 20 and then "no free-space value".

#include "discovery/core/DeviceRecord.h"
#include "mainwindow/core/IconLayout.h"

#include <cstdint>
#include <string_view>

namespace mainwindow {

// Usage level 0..20 from capacity and free-space texts: the ceiling of the
// used percentage, times 0.2, truncated. A capacity of 0 gives 0, and the
// level is kept within 0..20 whatever the texts say.
int usageLevel(std::string_view capacityText, std::string_view freeText);

// The icon index of a record; sets its OtherSubnet and FreeSpaceMissing flags
// (they only ever go from 0 to 1).
int ChooseUnitIcon(discovery::DeviceRecord& record, std::uint32_t pcNetwork);

} // namespace mainwindow
