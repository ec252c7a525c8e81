// Reads the adapters from the OS layer and hands them to the core's choice.

#include "discovery/LocalNetworkCheck.h"

#include "discovery/core/LocalNetwork.h"
#include "platform/os/Adapters.h"

#include <optional>
#include <vector>

namespace discovery {

std::vector<AdapterAddresses> CheckLocalNetwork(PcNetworkValues& values)
{
    std::optional<std::vector<AdapterAddresses>> list;
    if (const auto adapters = platform::adapters()) {
        list.emplace();
        for (const platform::Adapter& a : *adapters)
            list->push_back({a.address, a.mask, a.gateway, a.index});
    }
    CheckLocalNetwork(values, list);
    return list.value_or(std::vector<AdapterAddresses>{});
}

} // namespace discovery
