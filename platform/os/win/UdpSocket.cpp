// Windows: the UDP socket on Winsock, with the arrival adapter read through
// WSARecvMsg and IP_PKTINFO.

#include "platform/os/UdpSocket.h"

#include "platform/os/SocketAddress.h"
#include "platform/os/win/SocketLayer.h"

// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
#include <mswsock.h>
#include <iphlpapi.h>
// clang-format on

#include <climits>
#include <cstddef>
#include <cstring>
#include <optional>
#include <vector>

namespace platform {

namespace {

bool switchOn(SOCKET s, int option)
{
    const BOOL on = TRUE;
    return ::setsockopt(s, SOL_SOCKET, option, reinterpret_cast<const char*>(&on), sizeof on) == 0;
}

// WSARecvMsg is reached only through its extension pointer; every UDP socket
// of ours has the same provider, so the first socket's answer serves all.
LPFN_WSARECVMSG recvMsgFunction(SOCKET s)
{
    static const LPFN_WSARECVMSG function = [s] {
        GUID id = WSAID_WSARECVMSG;
        LPFN_WSARECVMSG found = nullptr;
        DWORD returned = 0;
        if (::WSAIoctl(s, SIO_GET_EXTENSION_FUNCTION_POINTER, &id, sizeof id, &found, sizeof found,
                       &returned, nullptr, nullptr) != 0)
            return LPFN_WSARECVMSG{nullptr};
        return found;
    }();
    return function;
}

// The adapter named by the datagram's IP_PKTINFO. Windows gives the header's
// destination there, so only a unicast one is the PC's own address.
Arrival arrivalOf(WSAMSG& message)
{
    Arrival arrival;
    if ((message.dwFlags & MSG_CTRUNC) != 0)
        return arrival;
    for (WSACMSGHDR* h = WSA_CMSG_FIRSTHDR(&message); h != nullptr;
         h = WSA_CMSG_NXTHDR(&message, h)) {
        if (h->cmsg_level != IPPROTO_IP || h->cmsg_type != IP_PKTINFO ||
            h->cmsg_len < WSA_CMSG_LEN(sizeof(IN_PKTINFO)))
            continue;
        IN_PKTINFO info{};
        std::memcpy(&info, WSA_CMSG_DATA(h), sizeof info);
        arrival.interfaceIndex = info.ipi_ifindex;
        Ipv4Address to{};
        std::memcpy(to.data(), &info.ipi_addr.s_addr, to.size());
        if (to != kLimitedBroadcast && to[0] < 224)
            arrival.localAddress = to;
        return arrival;
    }
    return arrival;
}

// The first address of the adapter with this index, from the system's table.
std::optional<Ipv4Address> adapterAddress(std::uint32_t interfaceIndex)
{
    ULONG size = 0;
    if (::GetIpAddrTable(nullptr, &size, FALSE) != ERROR_INSUFFICIENT_BUFFER || size == 0)
        return std::nullopt;
    std::vector<unsigned char> room(size);
    auto* table = reinterpret_cast<MIB_IPADDRTABLE*>(room.data());
    if (::GetIpAddrTable(table, &size, FALSE) != NO_ERROR)
        return std::nullopt;
    const std::size_t fits =
        (room.size() - offsetof(MIB_IPADDRTABLE, table)) / sizeof(MIB_IPADDRROW);
    const std::size_t count = table->dwNumEntries < fits ? table->dwNumEntries : fits;
    for (std::size_t i = 0; i < count; ++i) {
        const MIB_IPADDRROW& row = table->table[i];
        if (row.dwIndex != interfaceIndex || row.dwAddr == 0)
            continue;
        Ipv4Address address{};
        std::memcpy(address.data(), &row.dwAddr, address.size());
        return address;
    }
    return std::nullopt;
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
    m_portReserved = false;
    if (!open())
        return false;
    // Exclusive use: a port another socket holds is refused, and no later
    // socket with SO_REUSEADDR can take ours over, as on Linux without it.
    // The arrival adapter (IP_PKTINFO, read by WSARecvMsg) is asked for
    // before the bind, so that no datagram is ever read without it.
    const sockaddr_in sa = socketAddress(address, port);
    const DWORD on = 1;
    if (!switchOn(socketOf(m_socket), SO_EXCLUSIVEADDRUSE) ||
        ::setsockopt(socketOf(m_socket), IPPROTO_IP, IP_PKTINFO, reinterpret_cast<const char*>(&on),
                     sizeof on) != 0 ||
        recvMsgFunction(socketOf(m_socket)) == nullptr ||
        ::bind(socketOf(m_socket), reinterpret_cast<const sockaddr*>(&sa), sizeof sa) != 0) {
        m_portReserved = WSAGetLastError() == WSAEACCES;
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

// Windows sends a limited broadcast out of the adapter whose address the
// socket is bound to, so binding to that adapter's address is the choice.
// NOLINTNEXTLINE(readability-make-member-function-const): the socket changes, not this object
std::ptrdiff_t UdpSocket::sendThrough(const void* data, std::size_t size, const Arrival& via,
                                      const Ipv4Address& address, std::uint16_t port)
{
    if (!isOpen() || !via.known() || size > INT_MAX)
        return -1;
    // The index names the adapter; the address it came with may be a
    // broadcast's or an old one, so the system's table decides.
    const auto source = adapterAddress(via.interfaceIndex);
    if (!source || (*source)[0] == 127)
        return -1; // the adapter is gone, or loopback: only this PC would hear it
    const sockaddr_in from = socketAddress(*source, 0);
    if (::bind(socketOf(m_socket), reinterpret_cast<const sockaddr*>(&from), sizeof from) != 0)
        return -1;
    return sendTo(data, size, address, port);
}

// NOLINTNEXTLINE(readability-make-member-function-const): the socket changes, not this object
UdpSocket::Received UdpSocket::receive(void* buffer, std::size_t capacity)
{
    Received received;
    if (!isOpen())
        return received;
    const ULONG room = capacity > INT_MAX ? INT_MAX : static_cast<ULONG>(capacity);
    sockaddr_in from{};
    int fromSize = sizeof from;
    int got = SOCKET_ERROR;
    const LPFN_WSARECVMSG recvMsg = recvMsgFunction(socketOf(m_socket));
    WSAMSG message{};
    alignas(WSACMSGHDR) char control[WSA_CMSG_SPACE(sizeof(IN_PKTINFO))] = {};
    if (recvMsg != nullptr) {
        WSABUF part{room, static_cast<char*>(buffer)};
        message.name = reinterpret_cast<sockaddr*>(&from);
        message.namelen = fromSize;
        message.lpBuffers = &part;
        message.dwBufferCount = 1;
        message.Control = {sizeof control, control};
        DWORD bytes = 0;
        if (recvMsg(socketOf(m_socket), &message, &bytes, nullptr, nullptr) == 0)
            got = static_cast<int>(bytes);
    } else {
        got = ::recvfrom(socketOf(m_socket), static_cast<char*>(buffer), static_cast<int>(room), 0,
                         reinterpret_cast<sockaddr*>(&from), &fromSize);
    }
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
    if (recvMsg != nullptr)
        received.arrival = arrivalOf(message);
    return received;
}

bool UdpSocket::hasPending() const
{
    return waitPending(0);
}

bool UdpSocket::waitPending(int milliseconds) const
{
    // select, not FIONREAD: an empty datagram counts too.
    if (!isOpen())
        return false;
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(socketOf(m_socket), &readable);
    timeval wait{milliseconds / 1000, (milliseconds % 1000) * 1000};
    return ::select(0, &readable, nullptr, nullptr, &wait) > 0;
}

} // namespace platform
