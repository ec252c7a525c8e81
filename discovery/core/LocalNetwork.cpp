#include "discovery/core/LocalNetwork.h"

#include "discovery/core/AddressSet.h"
#include "discovery/core/FixedText.h"
#include "platform/core/DottedQuad.h"

#include <cstring>

namespace discovery {

void CheckLocalNetwork(PcNetworkValues& values,
                       const std::optional<std::vector<AdapterAddresses>>& adapters)
{
    std::memset(&values, 0, sizeof values);
    if (!adapters) {
        values.NetworkState = NetworkAdapterListFailed;
        return;
    }
    for (const AdapterAddresses& adapter : *adapters) {
        if (CheckAddressSet(adapter.address.c_str(), adapter.mask.c_str(),
                            adapter.gateway.c_str()) != AddressSetOk)
            continue;
        copyText(values.PcIpAddress, adapter.address);
        copyText(values.PcSubnetMask, adapter.mask);
        copyText(values.PcGateway, adapter.gateway);
        values.PcNetwork = platform::inetAddr(textOf(values.PcIpAddress)) &
                           platform::inetAddr(textOf(values.PcSubnetMask));
        values.NetworkState = NetworkOk;
        return;
    }
    values.NetworkState = NetworkNoUsableAdapter;
}

} // namespace discovery
