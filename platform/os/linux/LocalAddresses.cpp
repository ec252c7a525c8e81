// Linux: the PC's own addresses and its loopback adapters, from getifaddrs().

#include "platform/os/LocalAddresses.h"

#include "platform/core/DottedQuad.h"

#include <cstring>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>

namespace platform {

LocalAddresses localAddresses()
{
    LocalAddresses local;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return local;
    for (const ifaddrs* ifa = list; ifa; ifa = ifa->ifa_next) {
        if (ifa->ifa_name == nullptr)
            continue;
        if ((ifa->ifa_flags & IFF_LOOPBACK) != 0) {
            const unsigned index = if_nametoindex(ifa->ifa_name);
            if (index != 0 && !local.isLoopbackAdapter(index))
                local.loopbackIndexes.push_back(index);
        }
        if (ifa->ifa_addr == nullptr || ifa->ifa_addr->sa_family != AF_INET)
            continue;
        Ipv4Address address{};
        std::memcpy(address.data(),
                    &reinterpret_cast<const sockaddr_in*>(ifa->ifa_addr)->sin_addr.s_addr,
                    address.size());
        local.addresses.push_back(address);
    }
    freeifaddrs(list);
    return local;
}

} // namespace platform
