#pragma once
// The control's event types. An event is a handler that is either assigned
// or not; what the control does can depend on which (see OnRangeError).

#include "widgets/core/TIPAddrRange.h"

#include <functional>

class QObject;

namespace widgets {

using TNotifyEvent = std::function<void(QObject* sender)>;

// The sender, the field's range object (the variable may be replaced, to no
// effect), the rejected value and the one-based field number 1..4.
using TRangeErrorEvent =
    std::function<void(QObject* sender, TIPAddrRange*& ipRange, int value, int field)>;

} // namespace widgets
