// The usage level from the disk figures and the icon index of a record.

#include "mainwindow/core/UnitIcon.h"

#include "discovery/core/DeviceRecord.h"
#include "discovery/core/DeviceTable.h"
#include "discovery/core/FixedText.h"
#include "discovery/core/OutsideSubnet.h"
#include "mainwindow/core/DiskFigures.h"
#include "mainwindow/core/IconLayout.h"

#include <cmath>
#include <cstdint>
#include <string_view>

namespace mainwindow {

int usageLevel(std::string_view capacityText, std::string_view freeText)
{
    const float c = readDiskNumber(capacityText);
    const float f = readDiskNumber(freeText);
    if (c == 0.0F)
        return 0;
    const auto u = static_cast<float>(100.0 - static_cast<double>(f) * 100.0 / c);
    if (std::isnan(u) || u <= 0.0F)
        return 0; // free space at or above the capacity: an empty disk
    if (u >= 100.0F)
        return kUsageLevels - 1;
    const int percent = static_cast<int>(std::ceil(u));
    const int level = static_cast<int>(percent * 0.2);
    return level < kUsageLevels ? level : kUsageLevels - 1;
}

int ChooseUnitIcon(discovery::DeviceRecord& record, std::uint32_t pcNetwork)
{
    const int level =
        usageLevel(discovery::textOf(record.DiskCapacity), discovery::textOf(record.DiskFree));
    discovery::markRecordFlags(record, pcNetwork);
    const bool freeMissing = discovery::isEmptyText(record.DiskFree);
    const int inBlock = freeMissing ? kNoFreeValueIcon : level;
    return discovery::outsideSubnet(record, pcNetwork) ? kOtherSubnetBlock + inBlock : inBlock;
}

} // namespace mainwindow
