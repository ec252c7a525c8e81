#pragma once
// The kernel's IPv4 routing table as /proc/net/route shows it.

#include <map>
#include <string>
#include <string_view>

namespace platform {

// For each interface, the gateway of its first default route (destination and
// mask 0, up, through a gateway), as a dotted quad, in the order the table
// lists them. Takes the whole text, header line included; lines of any other
// shape are passed over.
std::map<std::string, std::string> defaultGatewaysFromRouteText(std::string_view text);

} // namespace platform
