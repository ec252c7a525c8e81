#pragma once
// An IPv4 address as the four bytes of its dotted quad, in that order, and
// the addresses the sockets use by name. Reading and writing the text:
// platform/core/DottedQuad.h.

#include "platform/core/DottedQuad.h"

namespace platform {

inline constexpr Ipv4Address kAnyAddress{0, 0, 0, 0};
inline constexpr Ipv4Address kLoopbackAddress{127, 0, 0, 1};
inline constexpr Ipv4Address kLimitedBroadcast{255, 255, 255, 255};

} // namespace platform
