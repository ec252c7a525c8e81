// Linux: every adapter but loopback from getifaddrs(), with its primary IPv4
// address (0.0.0.0 while it is down or has no link) and its default gateway.

#include "platform/os/Adapters.h"

#include "platform/os/linux/RouteTable.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <map>
#include <net/if.h>
#include <netinet/in.h>
#include <optional>
#include <string>
#include <sys/socket.h>
#include <utility>
#include <vector>

namespace platform {
namespace {

std::string dotted(const sockaddr* sa)
{
    char text[INET_ADDRSTRLEN] = {};
    const auto* in = reinterpret_cast<const sockaddr_in*>(sa);
    if (!inet_ntop(AF_INET, &in->sin_addr, text, sizeof text))
        return "0.0.0.0";
    return text;
}

} // namespace

std::optional<std::vector<Adapter>> adapters()
{
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return std::nullopt;

    std::map<unsigned, Adapter> byIndex;
    std::map<unsigned, bool> linked;
    for (const ifaddrs* ifa = list; ifa; ifa = ifa->ifa_next) {
        if (!ifa->ifa_name || (ifa->ifa_flags & IFF_LOOPBACK) != 0)
            continue;
        const unsigned index = if_nametoindex(ifa->ifa_name);
        if (index == 0)
            continue;
        auto [it, inserted] = byIndex.try_emplace(index);
        Adapter& adapter = it->second;
        if (inserted) {
            adapter.name = ifa->ifa_name;
            adapter.index = index;
            adapter.address = adapter.mask = adapter.gateway = "0.0.0.0";
        }
        adapter.up = (ifa->ifa_flags & IFF_UP) != 0;
        // An adapter whose cable is out (no carrier) stays up with its
        // address and routes, but is not running: nothing it sends arrives.
        linked[index] = (ifa->ifa_flags & IFF_RUNNING) != 0;
        // The first IPv4 address listed is the interface's primary one.
        if (ifa->ifa_addr && ifa->ifa_addr->sa_family == AF_INET && adapter.address == "0.0.0.0" &&
            ifa->ifa_netmask) {
            adapter.address = dotted(ifa->ifa_addr);
            adapter.mask = dotted(ifa->ifa_netmask);
        }
    }
    freeifaddrs(list);

    if (byIndex.empty())
        return std::nullopt;

    const auto gateways = defaultGateways(readRouteTable());
    std::vector<Adapter> result;
    result.reserve(byIndex.size());
    for (auto& [index, adapter] : byIndex) {
        if (!adapter.up || !linked[index])
            adapter.address = adapter.mask = "0.0.0.0";
        else if (auto gw = gateways.find(adapter.name); gw != gateways.end())
            adapter.gateway = gw->second;
        result.push_back(std::move(adapter));
    }
    return result;
}

} // namespace platform
