#include "platform/os/Neighbours.h"

#include <arpa/inet.h>
#include <cstring>
#include <linux/neighbour.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <string>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace platform {
namespace {

class NetlinkSocket
{
public:
    NetlinkSocket() : m_fd(::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE)) {}
    ~NetlinkSocket()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    NetlinkSocket(const NetlinkSocket&) = delete;
    NetlinkSocket& operator=(const NetlinkSocket&) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
};

// Every state that holds a resolved hardware address counts. A stale entry
// may belong to a host that has gone, but it may just as well belong to a
// host that drops echo requests: our own probe then only moves the entry to
// "delay" without asking again. Counting it only ever marks an address taken.
bool confirmed(unsigned state)
{
    return (state & (NUD_REACHABLE | NUD_PERMANENT | NUD_STALE | NUD_DELAY | NUD_PROBE)) != 0;
}

// Whether a whole message starts at header within the remaining bytes: what
// NLMSG_OK tests, without comparing its unsigned length to the signed count.
bool messageFits(const nlmsghdr* header, int remaining)
{
    return remaining >= static_cast<int>(sizeof(nlmsghdr)) &&
           header->nlmsg_len >= sizeof(nlmsghdr) &&
           header->nlmsg_len <= static_cast<unsigned>(remaining);
}

// Looks through one neighbour message for the wanted address.
bool messageMatches(const nlmsghdr* header, const in_addr& wanted)
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
        if (attr->rta_type == NDA_DST && RTA_PAYLOAD(attr) == sizeof(in_addr))
            return std::memcmp(RTA_DATA(attr), &wanted, sizeof wanted) == 0;
    }
    return false;
}

} // namespace

bool neighbourResolved(std::string_view address)
{
    in_addr wanted{};
    const std::string text(address);
    if (::inet_pton(AF_INET, text.c_str(), &wanted) != 1)
        return false;

    NetlinkSocket socket;
    if (socket.fd() < 0)
        return false;
    // The table is read in one dump; never wait long for the kernel.
    timeval timeout{1, 0};
    ::setsockopt(socket.fd(), SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);

    struct
    {
        nlmsghdr header;
        ndmsg neighbour;
    } request{};
    request.header.nlmsg_len = NLMSG_LENGTH(sizeof(ndmsg));
    request.header.nlmsg_type = RTM_GETNEIGH;
    request.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    request.header.nlmsg_seq = 1;
    request.neighbour.ndm_family = AF_INET;
    sockaddr_nl kernel{};
    kernel.nl_family = AF_NETLINK;
    if (::sendto(socket.fd(), &request, request.header.nlmsg_len, 0,
                 reinterpret_cast<const sockaddr*>(&kernel), sizeof kernel) < 0)
        return false;

    alignas(nlmsghdr) char buffer[16384];
    bool found = false;
    // A dump of even a large table ends within a few hundred reads.
    for (int reads = 0; reads < 1000; ++reads) {
        const ssize_t got = ::recv(socket.fd(), buffer, sizeof buffer, 0);
        if (got <= 0)
            return found;
        int remaining = static_cast<int>(got);
        for (const auto* header = reinterpret_cast<const nlmsghdr*>(buffer);
             messageFits(header, remaining); header = NLMSG_NEXT(header, remaining)) {
            if (header->nlmsg_type == NLMSG_DONE || header->nlmsg_type == NLMSG_ERROR)
                return found;
            if (messageMatches(header, wanted))
                found = true;
        }
    }
    return found;
}

} // namespace platform
