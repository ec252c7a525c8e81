#pragma once
// Which actions the selection offers: the share, the web page, the settings.

#include "discovery/core/DeviceRecord.h"

#include <cstdint>

namespace mainwindow {

struct ActionButtons
{
    bool sambaEnabled = false;
    bool sambaVisible = false;
    bool webEnabled = false;
    bool webVisible = false;
    bool nextEnabled = false;
};

// record == nullptr stands for "no unit selected".
ActionButtons actionButtonsFor(const discovery::DeviceRecord* record, std::uint32_t pcNetwork);

} // namespace mainwindow
