#pragma once
// Between our four-byte addresses and socket handles and the Windows Sockets
// types.

#include "platform/os/Ipv4Address.h"

#include <cstdint>
#include <cstring>
#include <winsock2.h>

namespace platform {

// Our classes keep a SOCKET as a number, so that their headers need no Windows header.
inline SOCKET socketOf(std::uintptr_t value)
{
    return static_cast<SOCKET>(value);
}

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
