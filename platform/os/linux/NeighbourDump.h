#pragma once
// Reading the kernel's answer to a neighbour table dump: netlink messages,
// several to one received buffer.

#include <cstddef>
#include <cstdint>

namespace platform {

struct NeighbourDumpRead
{
    bool found = false; // a resolved IPv4 entry for the wanted address
    bool ended = false; // the dump's end (or an error message) was in the buffer
};

// Reads one received buffer (size bytes at data, aligned as a receive buffer
// for netlink messages is). wanted is the IPv4 address in network byte order.
// Messages of any other kind, and lengths that do not fit, are passed over;
// nothing outside [data, data + size) is read.
NeighbourDumpRead readNeighbourDump(const void* data, std::size_t size, std::uint32_t wanted);

} // namespace platform
