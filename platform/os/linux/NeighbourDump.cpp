// Walking the netlink messages of a neighbour dump for one IPv4 address in a
// state that holds a resolved hardware address.

#include "platform/os/linux/NeighbourDump.h"

#include <cstdint>
#include <cstring>
#include <linux/neighbour.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>

namespace platform {
namespace {

// Every state that holds a resolved hardware address counts. A stale entry
// may belong to a host that has gone, but it may just as well belong to a
// host that drops echo requests: our own probe then only moves the entry to
// "delay" without asking again. Counting it only ever marks an address taken.
bool confirmed(unsigned state)
{
    return (state & (NUD_REACHABLE | NUD_PERMANENT | NUD_STALE | NUD_DELAY | NUD_PROBE)) != 0;
}

// Looks through one neighbour message for the wanted address.
bool messageMatches(const nlmsghdr* header, std::uint32_t wanted)
{
    if (header->nlmsg_type != RTM_NEWNEIGH || header->nlmsg_len < NLMSG_LENGTH(sizeof(ndmsg)))
        return false;
    const auto* neighbour = static_cast<const ndmsg*>(NLMSG_DATA(header));
    if (neighbour->ndm_family != AF_INET || !confirmed(neighbour->ndm_state))
        return false;
    int remaining = static_cast<int>(header->nlmsg_len - NLMSG_LENGTH(sizeof(ndmsg)));
    for (const auto* attr = reinterpret_cast<const rtattr*>(
             reinterpret_cast<const char*>(neighbour) + NLMSG_ALIGN(sizeof(ndmsg)));
         RTA_OK(attr, remaining); attr = RTA_NEXT(attr, remaining)) {
        if (attr->rta_type == NDA_DST && RTA_PAYLOAD(attr) == sizeof wanted)
            return std::memcmp(RTA_DATA(attr), &wanted, sizeof wanted) == 0;
    }
    return false;
}

} // namespace

NeighbourDumpRead readNeighbourDump(const void* data, std::size_t size, std::uint32_t wanted)
{
    NeighbourDumpRead read;
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::size_t offset = 0;
    while (size - offset >= sizeof(nlmsghdr)) {
        const auto* header = reinterpret_cast<const nlmsghdr*>(bytes + offset);
        if (header->nlmsg_len < sizeof(nlmsghdr) || header->nlmsg_len > size - offset)
            break; // a length that does not fit: the rest cannot be read
        if (header->nlmsg_type == NLMSG_DONE || header->nlmsg_type == NLMSG_ERROR) {
            read.ended = true;
            return read;
        }
        if (messageMatches(header, wanted))
            read.found = true;
        const std::size_t next = NLMSG_ALIGN(header->nlmsg_len);
        if (next > size - offset)
            break;
        offset += next;
    }
    return read;
}

} // namespace platform
