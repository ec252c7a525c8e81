// Windows: the neighbour table read from the IP Helper.

#include "platform/os/Neighbours.h"

// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
#include <iphlpapi.h>
#include <netioapi.h>
// clang-format on

#include <string>

namespace platform {
namespace {

// Every state that holds a resolved hardware address counts, a stale one
// included: it may belong to a host that drops echo requests. Counting it
// only ever marks an address taken.
bool confirmed(NL_NEIGHBOR_STATE state)
{
    switch (state) {
    case NlnsReachable:
    case NlnsPermanent:
    case NlnsStale:
    case NlnsDelay:
    case NlnsProbe:
        return true;
    default:
        return false;
    }
}

} // namespace

bool neighbourResolved(std::string_view address)
{
    IN_ADDR wanted{};
    const std::string text(address);
    if (::inet_pton(AF_INET, text.c_str(), &wanted) != 1)
        return false;

    MIB_IPNET_TABLE2* table = nullptr;
    if (GetIpNetTable2(AF_INET, &table) != NO_ERROR || table == nullptr)
        return false;
    bool found = false;
    for (ULONG i = 0; i < table->NumEntries && !found; ++i) {
        const MIB_IPNET_ROW2& row = table->Table[i];
        // An entry flagged unreachable holds no address that answered,
        // whatever its state says (wine shows a failed lookup as stale).
        // NOLINTBEGIN(cppcoreguidelines-pro-type-union-access): the API's union, si_family says
        // which member holds
        found = row.Address.si_family == AF_INET &&
                row.Address.Ipv4.sin_addr.s_addr == wanted.s_addr && confirmed(row.State) &&
                !row.IsUnreachable;
        // NOLINTEND(cppcoreguidelines-pro-type-union-access)
    }
    FreeMibTable(table);
    return found;
}

} // namespace platform
