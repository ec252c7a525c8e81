#include "discovery/LocalNetworkCheck.h"

#include "platform/os/Adapters.h"

#include <optional>
#include <vector>

namespace discovery {

void CheckLocalNetwork(PcNetworkValues& values)
{
    std::optional<std::vector<AdapterAddresses>> list;
    if (const auto adapters = platform::adapters()) {
        list.emplace();
        for (const platform::Adapter& a : *adapters)
            list->push_back({a.address, a.mask, a.gateway});
    }
    CheckLocalNetwork(values, list);
}

} // namespace discovery
