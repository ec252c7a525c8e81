// Linux: the neighbour table asked for in one netlink dump, read with a
// bounded number of bounded waits.

#include "platform/os/Neighbours.h"

#include "platform/os/linux/NeighbourDump.h"

#include <arpa/inet.h>
#include <cstddef>
#include <linux/neighbour.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <netinet/in.h>
#include <string>
#include <string_view>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/types.h>
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

} // namespace

bool neighbourResolved(std::string_view address)
{
    in_addr wanted{};
    const std::string text(address);
    if (::inet_pton(AF_INET, text.c_str(), &wanted) != 1)
        return false;

    const NetlinkSocket socket;
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
        const NeighbourDumpRead read =
            readNeighbourDump(buffer, static_cast<std::size_t>(got), wanted.s_addr);
        found = found || read.found;
        if (read.ended)
            return found;
    }
    return found;
}

} // namespace platform
