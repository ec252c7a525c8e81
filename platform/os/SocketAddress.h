#pragma once
// Between our four-byte addresses and the system's socket addresses, for the
// sockets of both halves of the OS layer.

#include "platform/os/Ipv4Address.h"

#ifdef _WIN32
#include <winsock2.h>
#else
#include <netinet/in.h>
#endif

#include <cstdint>
#include <cstring>

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

#ifdef _WIN32
// Our classes keep a SOCKET as a number, so that their headers need no Windows header.
inline SOCKET socketOf(std::uintptr_t value)
{
    return static_cast<SOCKET>(value);
}
#endif

} // namespace platform
