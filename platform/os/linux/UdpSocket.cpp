// Linux: the UDP socket on the BSD calls, with the arrival adapter from
// IP_PKTINFO and sending through a named adapter.

#include "platform/os/UdpSocket.h"

#include "platform/core/DottedQuad.h"
#include "platform/os/LocalAddresses.h"
#include "platform/os/SocketAddress.h"
#include "platform/os/linux/SocketMessage.h"

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

namespace platform {

UdpSocket::UdpSocket() = default;

UdpSocket::~UdpSocket()
{
    close();
}

bool UdpSocket::open()
{
    close();
    m_fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_UDP);
    if (m_fd < 0)
        return false;
    const int on = 1;
    if (::setsockopt(m_fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0) {
        close();
        return false;
    }
    return true;
}

bool UdpSocket::bind(const Ipv4Address& address, std::uint16_t port)
{
    // No SO_REUSEADDR: a port another socket holds must be refused, not shared.
    m_portReserved = false;
    // The arrival adapter is asked for before the bind, so that no datagram
    // is ever read without it.
    if (!open())
        return false;
    const int on = 1;
    const sockaddr_in sa = socketAddress(address, port);
    if (::setsockopt(m_fd, IPPROTO_IP, IP_PKTINFO, &on, sizeof on) != 0 ||
        ::bind(m_fd, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) != 0) {
        m_portReserved = errno == EACCES;
        close();
        return false;
    }
    return true;
}

void UdpSocket::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool UdpSocket::isOpen() const
{
    return m_fd >= 0;
}

std::uint16_t UdpSocket::localPort() const
{
    sockaddr_in sa{};
    socklen_t size = sizeof sa;
    if (m_fd < 0 || ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&sa), &size) != 0)
        return 0;
    return ntohs(sa.sin_port);
}

std::intptr_t UdpSocket::handle() const
{
    return m_fd;
}

// NOLINTNEXTLINE(readability-make-member-function-const): the socket changes, not this object
std::ptrdiff_t UdpSocket::sendTo(const void* data, std::size_t size, const Ipv4Address& address,
                                 std::uint16_t port)
{
    if (m_fd < 0)
        return -1;
    const sockaddr_in sa = socketAddress(address, port);
    ssize_t sent = -1;
    do {
        sent = ::sendto(m_fd, data, size, MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&sa),
                        sizeof sa);
    } while (sent < 0 && errno == EINTR);
    return sent;
}

// Linux routes a limited broadcast by the source address alone only when no
// interface is named; naming the interface in the datagram's own IP_PKTINFO
// holds for every destination and needs no privilege (SO_BINDTODEVICE would).
std::ptrdiff_t UdpSocket::sendThrough(const void* data, std::size_t size, const Arrival& via,
                                      const Ipv4Address& address, std::uint16_t port)
{
    // Whatever goes into loopback reaches only programs on this PC.
    if (m_fd < 0 || !via.known() || localAddresses().isLoopbackAdapter(via.interfaceIndex))
        return -1;
    sockaddr_in to = socketAddress(address, port);
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-const-cast): sendmsg reads it; iovec has no const
    iovec part{const_cast<void*>(data), size};
    alignas(cmsghdr) unsigned char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
    msghdr message = socketMessage(to, part, control, sizeof control);
    cmsghdr* header = CMSG_FIRSTHDR(&message);
    header->cmsg_level = IPPROTO_IP;
    header->cmsg_type = IP_PKTINFO;
    header->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
    in_pktinfo info{};
    info.ipi_ifindex = static_cast<int>(via.interfaceIndex);
    // The source address; 0.0.0.0 lets the system take the adapter's own.
    std::memcpy(&info.ipi_spec_dst.s_addr, via.localAddress.data(), via.localAddress.size());
    std::memcpy(CMSG_DATA(header), &info, sizeof info);
    ssize_t sent = -1;
    do {
        sent = ::sendmsg(m_fd, &message, MSG_NOSIGNAL);
    } while (sent < 0 && errno == EINTR);
    return sent;
}

namespace {

// The adapter named by the datagram's IP_PKTINFO, when the kernel gave it whole.
Arrival arrivalOf(msghdr& message)
{
    Arrival arrival;
    if ((message.msg_flags & MSG_CTRUNC) != 0)
        return arrival;
    for (cmsghdr* h = CMSG_FIRSTHDR(&message); h != nullptr; h = CMSG_NXTHDR(&message, h)) {
        if (h->cmsg_level != IPPROTO_IP || h->cmsg_type != IP_PKTINFO ||
            h->cmsg_len < CMSG_LEN(sizeof(in_pktinfo)))
            continue;
        in_pktinfo info{};
        std::memcpy(&info, CMSG_DATA(h), sizeof info);
        if (info.ipi_ifindex <= 0)
            return arrival;
        arrival.interfaceIndex = static_cast<std::uint32_t>(info.ipi_ifindex);
        // ipi_spec_dst: the PC's address the datagram was for, or for a
        // broadcast the adapter's own.
        std::memcpy(arrival.localAddress.data(), &info.ipi_spec_dst.s_addr,
                    arrival.localAddress.size());
        return arrival;
    }
    return arrival;
}

} // namespace

// NOLINTNEXTLINE(readability-make-member-function-const): the socket changes, not this object
UdpSocket::Received UdpSocket::receive(void* buffer, std::size_t capacity)
{
    Received received;
    if (m_fd < 0)
        return received;
    sockaddr_in from{};
    iovec part{buffer, capacity};
    alignas(cmsghdr) unsigned char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
    msghdr message{};
    ssize_t got = -1;
    do {
        message = socketMessage(from, part, control, sizeof control);
        // A datagram longer than the buffer is cut to it; the kernel drops the rest.
        got = ::recvmsg(m_fd, &message, 0);
    } while (got < 0 && errno == EINTR);
    if (got < 0)
        return received;
    received.got = true;
    received.size = static_cast<std::size_t>(got);
    received.source = addressOf(from);
    received.port = ntohs(from.sin_port);
    received.arrival = arrivalOf(message);
    return received;
}

bool UdpSocket::hasPending() const
{
    return waitPending(0);
}

bool UdpSocket::waitPending(int milliseconds) const
{
    if (m_fd < 0)
        return false;
    pollfd p{m_fd, POLLIN, 0};
    int ready = -1;
    do {
        ready = ::poll(&p, 1, milliseconds);
    } while (ready < 0 && errno == EINTR);
    return ready > 0 && (p.revents & POLLIN) != 0;
}

} // namespace platform
