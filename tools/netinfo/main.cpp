// mrv7k2-netinfo: this PC's adapters and the local network the program would
// choose among them, with no Qt and no traffic: what the Windows build can
// show without a Qt for Windows, and a way to compare the two OS layers.
//
// Output, one fact a line:
//   adapter ADDRESS MASK GATEWAY      (one line per adapter, in list order)
//   PcIpAddress ADDRESS, PcSubnetMask MASK, PcGateway GATEWAY, PcNetwork ADDRESS,
//   NetworkState N                    (0 chosen, 1 no usable adapter, 2 list unreadable)

#include "discovery/core/FixedText.h"
#include "discovery/core/LocalNetwork.h"
#include "platform/core/DottedQuad.h"
#include "platform/os/Adapters.h"

#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

int main()
{
    using namespace discovery;
    const auto adapters = platform::adapters();
    std::optional<std::vector<AdapterAddresses>> list;
    if (adapters) {
        list.emplace();
        for (const platform::Adapter& a : *adapters) {
            std::cout << "adapter " << a.address << ' ' << a.mask << ' ' << a.gateway << '\n';
            list->push_back({a.address, a.mask, a.gateway});
        }
    }

    PcNetworkValues pc{};
    CheckLocalNetwork(pc, list);
    const auto line = [](const char* name, std::string_view value) {
        std::cout << name << ' ' << value << '\n';
    };
    line("PcIpAddress", textOf(pc.PcIpAddress));
    line("PcSubnetMask", textOf(pc.PcSubnetMask));
    line("PcGateway", textOf(pc.PcGateway));
    line("PcNetwork", platform::dottedQuad(pc.PcNetwork));
    line("NetworkState", std::to_string(pc.NetworkState));
    return 0;
}
