#include "platform/os/UdpSocket.h"

#include "platform/os/SocketAddress.h"
#include "platform/os/win/SocketLayer.h"

// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
#include <mswsock.h>
// clang-format on

#include <climits>
#include <cstring>

namespace platform {

namespace {

bool switchOn(SOCKET s, int option)
{
    const BOOL on = TRUE;
    return ::setsockopt(s, SOL_SOCKET, option, reinterpret_cast<const char*>(&on), sizeof on) == 0;
}

} // namespace

UdpSocket::UdpSocket() = default;

UdpSocket::~UdpSocket()
{
    close();
}

bool UdpSocket::open()
{
    close();
    if (!startSocketLayer())
        return false;
    const SOCKET s = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (s == INVALID_SOCKET)
        return false;
    m_socket = static_cast<std::uintptr_t>(s);
    u_long nonBlocking = 1;
    if (!switchOn(s, SO_BROADCAST) || ::ioctlsocket(s, FIONBIO, &nonBlocking) != 0) {
        close();
        return false;
    }
    // An ICMP port unreachable for an earlier send would otherwise fail the
    // next recvfrom with WSAECONNRESET; a datagram socket has no connection to
    // lose. Where the switch is missing, receive() passes over that error.
    BOOL reportReset = FALSE;
    DWORD returned = 0;
    ::WSAIoctl(s, SIO_UDP_CONNRESET, &reportReset, sizeof reportReset, nullptr, 0, &returned,
               nullptr, nullptr);
    return true;
}

bool UdpSocket::bind(const Ipv4Address& address, std::uint16_t port)
{
    if (!open())
        return false;
    // Exclusive use: a port another socket holds is refused, and no later
    // socket with SO_REUSEADDR can take ours over, as on Linux without it.
    const sockaddr_in sa = socketAddress(address, port);
    if (!switchOn(socketOf(m_socket), SO_EXCLUSIVEADDRUSE) ||
        ::bind(socketOf(m_socket), reinterpret_cast<const sockaddr*>(&sa), sizeof sa) != 0) {
        close();
        return false;
    }
    return true;
}

void UdpSocket::close()
{
    if (socketOf(m_socket) != INVALID_SOCKET)
        ::closesocket(socketOf(m_socket));
    m_socket = static_cast<std::uintptr_t>(INVALID_SOCKET);
}

bool UdpSocket::isOpen() const
{
    return socketOf(m_socket) != INVALID_SOCKET;
}

std::uint16_t UdpSocket::localPort() const
{
    sockaddr_in sa{};
    int size = sizeof sa;
    // Before the first send an unbound socket has no name (WSAEINVAL).
    if (!isOpen() ||
        ::getsockname(socketOf(m_socket), reinterpret_cast<sockaddr*>(&sa), &size) != 0)
        return 0;
    return ntohs(sa.sin_port);
}

std::intptr_t UdpSocket::handle() const
{
    return isOpen() ? static_cast<std::intptr_t>(m_socket) : -1;
}

// NOLINTNEXTLINE(readability-make-member-function-const): the socket changes, not this object
std::ptrdiff_t UdpSocket::sendTo(const void* data, std::size_t size, const Ipv4Address& address,
                                 std::uint16_t port)
{
    if (!isOpen() || size > INT_MAX)
        return -1;
    const sockaddr_in sa = socketAddress(address, port);
    const int sent =
        ::sendto(socketOf(m_socket), static_cast<const char*>(data), static_cast<int>(size), 0,
                 reinterpret_cast<const sockaddr*>(&sa), sizeof sa);
    return sent == SOCKET_ERROR ? -1 : sent;
}

// NOLINTNEXTLINE(readability-make-member-function-const): the socket changes, not this object
UdpSocket::Received UdpSocket::receive(void* buffer, std::size_t capacity)
{
    Received received;
    if (!isOpen())
        return received;
    const int room = capacity > INT_MAX ? INT_MAX : static_cast<int>(capacity);
    sockaddr_in from{};
    int fromSize = sizeof from;
    const int got = ::recvfrom(socketOf(m_socket), static_cast<char*>(buffer), room, 0,
                               reinterpret_cast<sockaddr*>(&from), &fromSize);
    if (got == SOCKET_ERROR) {
        // A datagram longer than the buffer fills it and the rest is dropped,
        // as on Linux; only Windows says so, with WSAEMSGSIZE.
        if (WSAGetLastError() != WSAEMSGSIZE)
            return received; // nothing waiting, a reset, or a failed read
        received.size = static_cast<std::size_t>(room);
    } else {
        received.size = static_cast<std::size_t>(got);
    }
    received.got = true;
    received.source = addressOf(from);
    received.port = ntohs(from.sin_port);
    return received;
}

bool UdpSocket::hasPending() const
{
    // A zero-timeout select, not FIONREAD: an empty datagram counts too.
    if (!isOpen())
        return false;
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(socketOf(m_socket), &readable);
    timeval now{};
    return ::select(0, &readable, nullptr, nullptr, &now) > 0;
}

} // namespace platform
