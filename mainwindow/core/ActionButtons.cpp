// Which actions a selected unit offers.

#include "mainwindow/core/ActionButtons.h"

#include "discovery/core/DeviceRecord.h"
#include "discovery/core/OutsideSubnet.h"

#include <cstdint>

namespace mainwindow {

ActionButtons actionButtonsFor(const discovery::DeviceRecord* record, std::uint32_t pcNetwork)
{
    ActionButtons buttons;
    if (!record)
        return buttons;
    // Any unit can be given new settings; only one in the PC's own subnet can
    // be reached on the web, and as a share only if it reported its free space.
    buttons.nextEnabled = true;
    if (discovery::outsideSubnet(*record, pcNetwork))
        return buttons;
    buttons.webEnabled = buttons.webVisible = true;
    if (record->FreeSpaceMissing != 1)
        buttons.sambaEnabled = buttons.sambaVisible = true;
    return buttons;
}

} // namespace mainwindow
