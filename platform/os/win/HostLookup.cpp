// Windows: a host name's IPv4 address from getaddrinfo().

#include "platform/os/HostLookup.h"

#include "platform/os/win/SocketLayer.h"

// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
// clang-format on

#include <cstring>

namespace platform {

std::optional<Ipv4Address> lookUpIpv4(const std::string& hostName)
{
    if (hostName.empty() || !startSocketLayer())
        return std::nullopt;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(hostName.c_str(), nullptr, &hints, &found) != 0)
        return std::nullopt;
    std::optional<Ipv4Address> address;
    for (const addrinfo* entry = found; entry && !address; entry = entry->ai_next) {
        if (entry->ai_family == AF_INET && entry->ai_addrlen >= sizeof(sockaddr_in)) {
            sockaddr_in sa{};
            std::memcpy(&sa, entry->ai_addr, sizeof sa);
            Ipv4Address bytes{};
            std::memcpy(bytes.data(), &sa.sin_addr.s_addr, bytes.size());
            address = bytes;
        }
    }
    ::freeaddrinfo(found);
    return address;
}

} // namespace platform
