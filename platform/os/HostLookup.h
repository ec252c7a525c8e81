#pragma once
// A host name to its first IPv4 address, by the system's resolver (hosts
// file, DNS, whatever the system is set to use). Blocks while it asks.

#include "platform/os/Ipv4Address.h"

#include <optional>
#include <string>

namespace platform {

std::optional<Ipv4Address> lookUpIpv4(const std::string& hostName);

} // namespace platform
