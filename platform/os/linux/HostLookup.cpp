// Linux: a host name's IPv4 address from the system's resolver.

#include "platform/os/HostLookup.h"

#include "platform/core/DottedQuad.h"
#include "platform/os/SocketAddress.h"

#include <netdb.h>
#include <netinet/in.h>
#include <optional>
#include <string>
#include <sys/socket.h>

namespace platform {

std::optional<Ipv4Address> lookUpIpv4(const std::string& hostName)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (hostName.empty() || ::getaddrinfo(hostName.c_str(), nullptr, &hints, &found) != 0)
        return std::nullopt;
    std::optional<Ipv4Address> address;
    for (const addrinfo* entry = found; entry && !address; entry = entry->ai_next) {
        if (entry->ai_family == AF_INET && entry->ai_addrlen >= sizeof(sockaddr_in)) {
            address = addressOf(*reinterpret_cast<const sockaddr_in*>(entry->ai_addr));
        }
    }
    ::freeaddrinfo(found);
    return address;
}

} // namespace platform
