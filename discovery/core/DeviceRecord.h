#pragma once
// One unit found by a scan: its values as the text it sent, plus what the PC
// works out (its network under the PC's mask and two display flags).

#include <cstdint>

namespace discovery {

inline constexpr int kMacAddressSize = 18;
inline constexpr int kAddressTextSize = 16;
inline constexpr int kHostTextSize = 16;
inline constexpr int kDiskModelSize = 50;
// Disk figures count KiB: 20 digits hold any 64-bit size.
inline constexpr int kDiskNumberSize = 21;

struct DeviceRecord
{
    char MacAddress[kMacAddressSize];
    char IpAddress[kAddressTextSize];
    char SubnetMask[kAddressTextSize];
    char GatewayAddress[kAddressTextSize];
    char HostName[kHostTextSize];
    char HostAux[kHostTextSize];
    char DiskModel[kDiskModelSize];
    char DiskAux[kDiskNumberSize];
    char DiskCapacity[kDiskNumberSize];
    char DiskFree[kDiskNumberSize];
    std::int32_t OtherSubnet;      // 1: outside the PC's subnet
    std::int32_t FreeSpaceMissing; // 1: the unit sent no free-space value
    std::uint32_t NetworkAddress;  // inet_addr(IpAddress) & the mask of the unit's own network
    // The PC's adapter the unit's reply came in by, the only way the setup
    // request (credentials in clear) may leave. Never sent; 0: unknown.
    std::uint32_t ArrivalInterface; // the system's index of the adapter
    std::uint32_t ArrivalAddress;   // the PC's address on it, network byte order
};

} // namespace discovery
