#pragma once
// The kernel's IPv4 routing table as /proc/net/route shows it.

#include <map>
#include <string>
#include <string_view>

namespace platform {

// The first default gateway of each interface, in the table's own order, as
// dotted quads keyed by interface name. Only routes that are up and go
// through a gateway count; malformed lines are skipped.
std::map<std::string, std::string> defaultGateways(std::string_view table);

// The text of /proc/net/route; empty when it cannot be read.
std::string readRouteTable();

} // namespace platform
