#include "platform/os/linux/RouteTable.h"

#include <arpa/inet.h>
#include <net/route.h>
#include <sstream>

namespace platform {

std::map<std::string, std::string> defaultGatewaysFromRouteText(std::string_view text)
{
    std::map<std::string, std::string> gateways;
    std::istringstream routes{std::string(text)};
    std::string line;
    std::getline(routes, line); // header
    while (std::getline(routes, line)) {
        std::istringstream fields(line);
        std::string iface;
        unsigned long destination = 0, gateway = 0, flags = 0, refcnt = 0, use = 0, metric = 0,
                      mask = 1;
        fields >> iface >> std::hex >> destination >> gateway >> flags >> std::dec >> refcnt >>
            use >> metric >> std::hex >> mask;
        if (!fields || destination != 0 || mask != 0 || !(flags & RTF_UP) || !(flags & RTF_GATEWAY))
            continue;
        if (gateways.count(iface))
            continue;
        in_addr addr{};
        addr.s_addr = static_cast<in_addr_t>(gateway); // already in network order
        char dotted[INET_ADDRSTRLEN] = {};
        if (inet_ntop(AF_INET, &addr, dotted, sizeof dotted))
            gateways.emplace(iface, dotted);
    }
    return gateways;
}

} // namespace platform
