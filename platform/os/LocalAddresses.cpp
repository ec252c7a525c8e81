// Lookups in the PC's own addresses shared by both systems.

#include "platform/os/LocalAddresses.h"

#include "platform/core/DottedQuad.h"

#include <algorithm>
#include <cstdint>

namespace platform {

bool LocalAddresses::isLoopbackAdapter(std::uint32_t interfaceIndex) const
{
    return std::find(loopbackIndexes.begin(), loopbackIndexes.end(), interfaceIndex) !=
           loopbackIndexes.end();
}

bool LocalAddresses::isOwnAddress(const Ipv4Address& address) const
{
    return address[0] == 127 ||
           std::find(addresses.begin(), addresses.end(), address) != addresses.end();
}

} // namespace platform
