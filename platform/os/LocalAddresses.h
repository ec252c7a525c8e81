#pragma once
// The PC's own addresses and its loopback adapters: a datagram from one of
// them, or one that came in by loopback, was sent by a program on this PC.

#include "platform/os/Ipv4Address.h"

#include <cstdint>
#include <vector>

namespace platform {

struct LocalAddresses
{
    std::vector<Ipv4Address> addresses;         // every IPv4 address of every adapter
    std::vector<std::uint32_t> loopbackIndexes; // the system's indexes of loopback adapters

    bool isLoopbackAdapter(std::uint32_t interfaceIndex) const;
    // A loopback-range address (127/8) or one of this PC's own.
    bool isOwnAddress(const Ipv4Address& address) const;
};

// Reads the system's tables now (adapters up or down alike). Empty lists
// when they cannot be read; 127/8 is the PC's own all the same.
LocalAddresses localAddresses();

} // namespace platform
