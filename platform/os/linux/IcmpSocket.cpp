// Linux: the ICMP socket, an unprivileged datagram socket where the system
// allows one and a raw socket otherwise, its errors given as Windows Sockets
// numbers as the client reports them.

#include "platform/os/IcmpSocket.h"

#include "platform/core/DottedQuad.h"
#include "platform/os/SocketAddress.h"
#include "platform/os/linux/SocketMessage.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <linux/errqueue.h>
#include <linux/icmp.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr int kIcmpProtocol = IPPROTO_ICMP;

int enable(int fd, int option)
{
    const int on = 1;
    return setsockopt(fd, IPPROTO_IP, option, &on, sizeof on);
}

} // namespace

int windowsSocketsError(int errorNumber)
{
    switch (errorNumber) {
    case EINTR:
        return 10004;
    case EBADF:
        return 10009;
    case EACCES:
    case EPERM:
        return 10013; // a firewall rule refusing a send shows as EPERM
    case EFAULT:
        return 10014;
    case EINVAL:
        return 10022;
    case EMFILE:
    case ENFILE:
        return 10024;
    case EAGAIN:
        return 10035;
    case EINPROGRESS:
        return 10036;
    case EALREADY:
        return 10037;
    case ENOTSOCK:
        return 10038;
    case EDESTADDRREQ:
        return 10039;
    case EMSGSIZE:
        return 10040;
    case EPROTOTYPE:
        return 10041;
    case ENOPROTOOPT:
        return 10042;
    case EPROTONOSUPPORT:
        return 10043;
    case ESOCKTNOSUPPORT:
        return 10044;
    case EOPNOTSUPP:
        return 10045;
    case EPFNOSUPPORT:
        return 10046;
    case EAFNOSUPPORT:
        return 10047;
    case EADDRINUSE:
        return 10048;
    case EADDRNOTAVAIL:
        return 10049;
    case ENETDOWN:
        return 10050;
    case ENETUNREACH:
        return 10051;
    case ENETRESET:
        return 10052;
    case ECONNABORTED:
        return 10053;
    case ECONNRESET:
        return 10054;
    case ENOBUFS:
    case ENOMEM:
        return 10055;
    case EISCONN:
        return 10056;
    case ENOTCONN:
        return 10057;
    case ESHUTDOWN:
    case EPIPE:
        return 10058;
    case ETOOMANYREFS:
        return 10059;
    case ETIMEDOUT:
        return 10060;
    case ECONNREFUSED:
        return 10061;
    case ELOOP:
        return 10062;
    case ENAMETOOLONG:
        return 10063;
    case EHOSTDOWN:
        return 10064;
    case EHOSTUNREACH:
        return 10065;
    case ENOTEMPTY:
        return 10066;
    default:
        return errorNumber;
    }
}

IcmpSocket::IcmpSocket() = default;

IcmpSocket::~IcmpSocket()
{
    close();
}

bool IcmpSocket::open(int protocol, std::uint16_t identifier)
{
    close();
    // Needs no privilege: where the system allows it, it is all we use.
    if (protocol == kIcmpProtocol && openDatagram(identifier))
        return true;
    m_fd = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, protocol);
    if (m_fd < 0)
        return false;
    m_kind = Kind::Raw;
    // Every ICMP message of the host would queue here: let through only the
    // kinds that can answer an echo request.
    if (protocol == kIcmpProtocol) {
        icmp_filter filter{};
        filter.data =
            ~((1U << ICMP_ECHOREPLY) | (1U << ICMP_DEST_UNREACH) | (1U << ICMP_TIME_EXCEEDED));
        if (setsockopt(m_fd, SOL_RAW, ICMP_FILTER, &filter, sizeof filter) != 0) {
            close();
            return false;
        }
    }
    return true;
}

bool IcmpSocket::openDatagram(std::uint16_t identifier)
{
    m_fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (m_fd < 0)
        return false;
    m_kind = Kind::Datagram;
    // The system writes the socket's port into every request as its
    // identifier: bind to ours (low byte first on the wire). Should another
    // socket hold it already, the system's choice will do.
    sockaddr_in local{};
    local.sin_family = AF_INET;
    const std::uint8_t wire[2] = {static_cast<std::uint8_t>(identifier & 0xFFU),
                                  static_cast<std::uint8_t>(identifier >> 8)};
    std::memcpy(&local.sin_port, wire, 2);
    if (::bind(m_fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        // Held by another socket: the system's choice stands.
    }
    // Errors from routers come through the error queue, and the time-to-live
    // of each datagram as a control message.
    if (enable(m_fd, IP_RECVERR) != 0 || enable(m_fd, IP_RECVTTL) != 0) {
        close();
        return false;
    }
    return true;
}

void IcmpSocket::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_kind = Kind::None;
}

// Setting, sending and receiving change the socket's state, which the
// descriptor number does not show: these are not const.
// NOLINTNEXTLINE(readability-make-member-function-const): the socket changes, not this object
int IcmpSocket::setTimeToLive(int timeToLive)
{
    if (setsockopt(m_fd, IPPROTO_IP, IP_TTL, &timeToLive, sizeof timeToLive) != 0)
        return windowsSocketsError(errno);
    return 0;
}

// NOLINTNEXTLINE(readability-make-member-function-const): the socket changes, not this object
IcmpSocket::Sent IcmpSocket::sendTo(const std::uint8_t* data, std::size_t size,
                                    const Ipv4Address& address, std::uint16_t port)
{
    Sent result;
    const sockaddr_in to = socketAddress(address, port);
    const ssize_t n =
        ::sendto(m_fd, data, size, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    if (n < 0)
        result.error = windowsSocketsError(errno);
    else
        result.bytes = static_cast<std::size_t>(n);
    return result;
}

bool IcmpSocket::waitReadable(int timeoutMs)
{
    if (m_fd < 0)
        return false;
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    // poll() rather than select(): no limit on the descriptor's number. A
    // signal only shortens the wait to what is left of it.
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd pfd{m_fd, POLLIN, 0};
        const int ready = ::poll(&pfd, 1, left > 0 ? static_cast<int>(left) : 0);
        if (ready > 0)
            return (pfd.revents & (POLLIN | POLLERR)) != 0;
        if (ready == 0 || errno != EINTR)
            return false;
    }
    return false;
}

IcmpSocket::Received IcmpSocket::receive(std::uint8_t* buffer, std::size_t capacity)
{
    if (m_kind == Kind::Datagram) {
        // A pending error report comes first: until it is taken, the socket
        // also fails every ordinary receive with that error.
        Received report = receiveDatagram(buffer, capacity, true);
        if (report.error != 0 || report.size > 0)
            return report;
        return receiveDatagram(buffer, capacity, false);
    }
    Received result;
    const ssize_t n = ::recv(m_fd, buffer, capacity, MSG_DONTWAIT);
    if (n > 0)
        result.size = static_cast<std::size_t>(n);
    else if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
        result.error = windowsSocketsError(errno);
    return result;
}

// NOLINTNEXTLINE(readability-make-member-function-const): the socket changes, not this object
IcmpSocket::Received IcmpSocket::receiveDatagram(
    // NOLINTNEXTLINE(readability-non-const-parameter): recvmsg() writes it through the iovec
    std::uint8_t* buffer, std::size_t capacity, bool errorQueue)
{
    Received result;
    sockaddr_in from{};
    iovec io{buffer, capacity};
    alignas(cmsghdr) unsigned char control[256];
    msghdr msg = socketMessage(from, io, control, sizeof control);
    const ssize_t n = ::recvmsg(m_fd, &msg, MSG_DONTWAIT | (errorQueue ? MSG_ERRQUEUE : 0));
    if (n < 0) {
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            result.error = windowsSocketsError(errno);
        return result;
    }
    result.size = static_cast<std::size_t>(n);
    result.source = addressOf(from);
    for (cmsghdr* c = CMSG_FIRSTHDR(&msg); c != nullptr; c = CMSG_NXTHDR(&msg, c)) {
        if (c->cmsg_level != IPPROTO_IP)
            continue;
        if (c->cmsg_type == IP_TTL && c->cmsg_len >= CMSG_LEN(sizeof(int))) {
            int ttl = 0;
            std::memcpy(&ttl, CMSG_DATA(c), sizeof ttl);
            result.timeToLive = static_cast<std::uint8_t>(ttl & 0xFF);
        } else if (c->cmsg_type == IP_RECVERR &&
                   c->cmsg_len >= CMSG_LEN(sizeof(sock_extended_err) + sizeof(sockaddr_in))) {
            sock_extended_err ee{};
            std::memcpy(&ee, CMSG_DATA(c), sizeof ee);
            if (ee.ee_origin != SO_EE_ORIGIN_ICMP) {
                // A failure of our own send, not a router's message.
                result = Received{};
                result.error = windowsSocketsError(static_cast<int>(ee.ee_errno));
                return result;
            }
            sockaddr_in offender{};
            std::memcpy(&offender, CMSG_DATA(c) + sizeof ee, sizeof offender);
            result.errorReport = true;
            // The error queue names the quoted request's destination as the sender.
            result.destination = addressOf(from);
            result.source = addressOf(offender);
            result.icmpType = ee.ee_type;
            result.icmpCode = ee.ee_code;
            result.icmpInfo = ee.ee_info;
        }
    }
    if (errorQueue && !result.errorReport) {
        // Something without a report: nothing we can describe; drop it.
        result = Received{};
    }
    return result;
}

} // namespace platform
