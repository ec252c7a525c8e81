#pragma once
// Between our four-byte addresses and the system's socket addresses.

#include "platform/os/Ipv4Address.h"

#include <cstring>
#include <netinet/in.h>

namespace platform {

inline sockaddr_in socketAddress(const Ipv4Address& address, std::uint16_t port)
{
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(port);
    std::memcpy(&sa.sin_addr.s_addr, address.data(), address.size());
    return sa;
}

inline Ipv4Address addressOf(const sockaddr_in& sa)
{
    Ipv4Address address{};
    std::memcpy(address.data(), &sa.sin_addr.s_addr, address.size());
    return address;
}

} // namespace platform
