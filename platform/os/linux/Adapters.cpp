#include "platform/os/Adapters.h"

#include <arpa/inet.h>
#include <fstream>
#include <ifaddrs.h>
#include <map>
#include <net/if.h>
#include <net/route.h>
#include <sstream>

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

// First default gateway of each interface, from the main routing table in
// the kernel's own order.
std::map<std::string, std::string> defaultGateways()
{
    std::map<std::string, std::string> gateways;
    std::ifstream routes("/proc/net/route");
    std::string line;
    std::getline(routes, line); // header
    while (std::getline(routes, line)) {
        std::istringstream fields(line);
        std::string iface;
        unsigned long destination = 0;
        unsigned long gateway = 0;
        unsigned long flags = 0;
        unsigned long refcnt = 0;
        unsigned long use = 0;
        unsigned long metric = 0;
        unsigned long mask = 1;
        fields >> iface >> std::hex >> destination >> gateway >> flags >> std::dec >> refcnt >>
            use >> metric >> std::hex >> mask;
        const bool upGateway = (flags & RTF_UP) != 0 && (flags & RTF_GATEWAY) != 0;
        if (!fields || destination != 0 || mask != 0 || !upGateway)
            continue;
        if (gateways.contains(iface))
            continue;
        in_addr addr{};
        addr.s_addr = static_cast<in_addr_t>(gateway); // already in network order
        char text[INET_ADDRSTRLEN] = {};
        if (inet_ntop(AF_INET, &addr, text, sizeof text))
            gateways.emplace(iface, text);
    }
    return gateways;
}

} // namespace

std::optional<std::vector<Adapter>> adapters()
{
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return std::nullopt;

    std::map<unsigned, Adapter> byIndex;
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
            adapter.address = adapter.mask = adapter.gateway = "0.0.0.0";
        }
        adapter.up = (ifa->ifa_flags & IFF_UP) != 0;
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

    const auto gateways = defaultGateways();
    std::vector<Adapter> result;
    result.reserve(byIndex.size());
    for (auto& [index, adapter] : byIndex) {
        if (!adapter.up)
            adapter.address = adapter.mask = "0.0.0.0";
        else if (auto gw = gateways.find(adapter.name); gw != gateways.end())
            adapter.gateway = gw->second;
        result.push_back(std::move(adapter));
    }
    return result;
}

} // namespace platform
