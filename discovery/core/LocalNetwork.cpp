// Choosing the PC's adapter (the first whose values form a sound set) and the
// network values a unit is judged by, those of the adapter its reply came in by.

#include "discovery/core/LocalNetwork.h"

#include "discovery/core/AddressSet.h"
#include "discovery/core/FixedText.h"
#include "platform/core/DottedQuad.h"

#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

namespace discovery {
namespace {

// Takes the adapter's values when they form a sound set.
bool takeAdapter(PcNetworkValues& values, const AdapterAddresses& adapter)
{
    if (CheckAddressSet(adapter.address.c_str(), adapter.mask.c_str(), adapter.gateway.c_str()) !=
        AddressSetOk)
        return false;
    copyText(values.PcIpAddress, adapter.address);
    copyText(values.PcSubnetMask, adapter.mask);
    copyText(values.PcGateway, adapter.gateway);
    values.PcNetwork = platform::inetAddr(textOf(values.PcIpAddress)) &
                       platform::inetAddr(textOf(values.PcSubnetMask));
    values.NetworkState = NetworkOk;
    return true;
}

} // namespace

void CheckLocalNetwork(PcNetworkValues& values,
                       const std::optional<std::vector<AdapterAddresses>>& adapters)
{
    std::memset(&values, 0, sizeof values);
    if (!adapters) {
        values.NetworkState = NetworkAdapterListFailed;
        return;
    }
    for (const AdapterAddresses& adapter : *adapters)
        if (takeAdapter(values, adapter))
            return;
    values.NetworkState = NetworkNoUsableAdapter;
}

PcNetworkValues unitNetworkValues(const PcNetworkValues& pc,
                                  const std::vector<AdapterAddresses>& adapters,
                                  std::uint32_t arrivalInterface)
{
    if (arrivalInterface == 0)
        return pc;
    for (const AdapterAddresses& adapter : adapters) {
        if (adapter.index != arrivalInterface)
            continue;
        PcNetworkValues own{};
        return takeAdapter(own, adapter) ? own : pc;
    }
    return pc;
}

} // namespace discovery
