// Windows: the PC's own addresses and its loopback adapter, from the
// system's address table.

#include "platform/os/LocalAddresses.h"

// clang-format off
#include <winsock2.h>
#include <iphlpapi.h>
// clang-format on

#include <cstddef>
#include <cstring>
#include <vector>

namespace platform {

// The address table names every adapter with an address; the loopback
// adapter is the one that holds 127.0.0.1.
LocalAddresses localAddresses()
{
    LocalAddresses local;
    ULONG size = 0;
    if (::GetIpAddrTable(nullptr, &size, FALSE) != ERROR_INSUFFICIENT_BUFFER || size == 0)
        return local;
    std::vector<unsigned char> room(size);
    auto* table = reinterpret_cast<MIB_IPADDRTABLE*>(room.data());
    if (::GetIpAddrTable(table, &size, FALSE) != NO_ERROR)
        return local;
    const std::size_t fits =
        (room.size() - offsetof(MIB_IPADDRTABLE, table)) / sizeof(MIB_IPADDRROW);
    const std::size_t count = table->dwNumEntries < fits ? table->dwNumEntries : fits;
    for (std::size_t i = 0; i < count; ++i) {
        const MIB_IPADDRROW& row = table->table[i];
        Ipv4Address address{};
        std::memcpy(address.data(), &row.dwAddr, address.size());
        local.addresses.push_back(address);
        if (address[0] == 127 && !local.isLoopbackAdapter(row.dwIndex))
            local.loopbackIndexes.push_back(row.dwIndex);
    }
    return local;
}

} // namespace platform
