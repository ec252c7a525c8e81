#include "platform/os/UdpSocket.h"

#include "platform/os/SocketAddress.h"

#include <cerrno>
#include <poll.h>
#include <sys/socket.h>
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
    if (!open())
        return false;
    const sockaddr_in sa = socketAddress(address, port);
    if (::bind(m_fd, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) != 0) {
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

std::ptrdiff_t UdpSocket::sendTo( // NOLINT(readability-make-member-function-const)
    const void* data, std::size_t size, const Ipv4Address& address, std::uint16_t port)
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

UdpSocket::Received UdpSocket::receive( // NOLINT(readability-make-member-function-const)
    void* buffer, std::size_t capacity)
{
    Received received;
    if (m_fd < 0)
        return received;
    sockaddr_in from{};
    socklen_t fromSize = sizeof from;
    ssize_t got = -1;
    do {
        // A datagram longer than the buffer is cut to it; the kernel drops the rest.
        got = ::recvfrom(m_fd, buffer, capacity, 0, reinterpret_cast<sockaddr*>(&from), &fromSize);
    } while (got < 0 && errno == EINTR);
    if (got < 0)
        return received;
    received.got = true;
    received.size = static_cast<std::size_t>(got);
    received.source = addressOf(from);
    received.port = ntohs(from.sin_port);
    return received;
}

bool UdpSocket::hasPending() const
{
    if (m_fd < 0)
        return false;
    pollfd p{m_fd, POLLIN, 0};
    return ::poll(&p, 1, 0) > 0 && (p.revents & POLLIN) != 0;
}

} // namespace platform
