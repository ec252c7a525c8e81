// Windows: the ICMP socket on the IP Helper's echo call, which needs no
// rights; its answers laid out as the datagrams a raw socket would have
// received, so that the client reads both systems alike.

#include "platform/os/IcmpSocket.h"

#include "platform/os/SocketAddress.h"
#include "platform/os/win/SocketLayer.h"

// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
#include <iphlpapi.h>
#include <icmpapi.h>
// clang-format on

#include <algorithm>
#include <cstring>
#include <vector>

namespace platform {

namespace {

constexpr int kIcmpProtocol = IPPROTO_ICMP;
constexpr std::size_t kIcmpHeaderSize = 8;
constexpr std::uint8_t kEchoReplyType = 0;
constexpr std::uint8_t kDestinationUnreachable = 3;
constexpr std::uint8_t kSourceQuench = 4;
constexpr std::uint8_t kTimeExceeded = 11;
constexpr std::uint8_t kParameterProblem = 12;

Ipv4Address addressOf(IPAddr value)
{
    Ipv4Address address{};
    std::memcpy(address.data(), &value, 4); // already in network order
    return address;
}

// The Internet checksum (RFC 1071) of an ICMP message we lay out ourselves.
std::uint16_t checksum(const std::vector<std::uint8_t>& bytes)
{
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const std::uint32_t low = i + 1 < bytes.size() ? bytes[i + 1] : 0;
        sum += (static_cast<std::uint32_t>(bytes[i]) << 8) | low;
    }
    sum = (sum >> 16) + (sum & 0xFFFFU);
    sum += sum >> 16;
    return static_cast<std::uint16_t>(~sum & 0xFFFFU);
}

struct IcmpError
{
    std::uint8_t type;
    std::uint8_t code;
};

// The ICMP message behind an echo call's status, for those statuses that
// report one. The call does not tell the code of a generic status; 0 stands in.
bool icmpErrorFor(ULONG status, IcmpError& error)
{
    switch (status) {
    case IP_DEST_NET_UNREACHABLE:
        error = {kDestinationUnreachable, 0};
        return true;
    case IP_DEST_HOST_UNREACHABLE:
        error = {kDestinationUnreachable, 1};
        return true;
    case IP_DEST_PROT_UNREACHABLE:
        error = {kDestinationUnreachable, 2};
        return true;
    case IP_DEST_PORT_UNREACHABLE:
        error = {kDestinationUnreachable, 3};
        return true;
    case IP_PACKET_TOO_BIG:
        error = {kDestinationUnreachable, 4};
        return true;
    case IP_BAD_ROUTE:
        error = {kDestinationUnreachable, 5};
        return true;
    case IP_DEST_UNREACHABLE:
        error = {kDestinationUnreachable, 0};
        return true;
    case IP_TTL_EXPIRED_TRANSIT:
    case IP_TIME_EXCEEDED:
        error = {kTimeExceeded, 0};
        return true;
    case IP_TTL_EXPIRED_REASSEM:
        error = {kTimeExceeded, 1};
        return true;
    case IP_PARAM_PROBLEM:
    case IP_BAD_HEADER:
        error = {kParameterProblem, 0};
        return true;
    case IP_SOURCE_QUENCH:
        error = {kSourceQuench, 0};
        return true;
    default:
        return false;
    }
}

// A failed echo call as a Windows Sockets code, so that the message has a
// text. The call's own statuses without a socket equivalent become its
// general failure; any other code is kept, so the message still names it.
int socketsErrorForCall(DWORD status)
{
    switch (status) {
    case IP_BUF_TOO_SMALL:
        return WSAENOBUFS;
    case IP_BAD_OPTION:
    case IP_BAD_REQ:
        return WSAEINVAL;
    case IP_HW_ERROR:
        return WSAENETDOWN;
    case IP_OPTION_TOO_BIG:
        return WSAEMSGSIZE;
    case ERROR_NETWORK_UNREACHABLE:
        return WSAENETUNREACH;
    case ERROR_HOST_UNREACHABLE:
        return WSAEHOSTUNREACH;
    case ERROR_NOT_ENOUGH_MEMORY:
    case IP_NO_RESOURCES:
        return WSAENOBUFS;
    case ERROR_INVALID_PARAMETER:
        return WSAEINVAL;
    case IP_BAD_DESTINATION:
        return WSAEADDRNOTAVAIL;
    default:
        if (status > IP_STATUS_BASE && status <= IP_GENERAL_FAILURE)
            return IP_GENERAL_FAILURE;
        return static_cast<int>(status);
    }
}

} // namespace

// The echo call's request, kept from the send until the wait, and its outcome,
// kept from the wait until the receive.
struct IcmpSocket::EchoCall
{
    HANDLE handle = INVALID_HANDLE_VALUE;
    UCHAR timeToLive = 128;

    bool requestPending = false;
    IPAddr destination = 0;
    std::uint8_t header[kIcmpHeaderSize] = {}; // our request's type to sequence number
    std::vector<std::uint8_t> data;            // the rest of our request

    bool outcomeReady = false;
    Received outcome;
    std::vector<std::uint8_t> message; // the ICMP message for the caller's buffer
};

int windowsSocketsError(int errorNumber)
{
    // Windows reports socket errors in these codes already.
    return errorNumber;
}

IcmpSocket::IcmpSocket() = default;

IcmpSocket::~IcmpSocket()
{
    close();
}

bool IcmpSocket::open(int protocol, std::uint16_t /*identifier: the call chooses its own*/)
{
    close();
    if (!startSocketLayer())
        return false;
    const SOCKET fd = ::socket(AF_INET, SOCK_RAW, protocol);
    if (fd != INVALID_SOCKET) {
        // recv never blocks, whatever the wait said before it.
        u_long nonBlocking = 1;
        ::ioctlsocket(fd, FIONBIO, &nonBlocking);
        m_socket = static_cast<std::uintptr_t>(fd);
        m_kind = Kind::Raw;
        return true;
    }
    // Raw sockets are for administrators only (WSAEACCES otherwise); the
    // echo call needs no rights.
    if (protocol != kIcmpProtocol)
        return false;
    HANDLE handle = IcmpCreateFile();
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    m_echoCall = std::make_unique<EchoCall>();
    m_echoCall->handle = handle;
    m_kind = Kind::EchoCall;
    return true;
}

void IcmpSocket::close()
{
    if (socketOf(m_socket) != INVALID_SOCKET)
        ::closesocket(socketOf(m_socket));
    m_socket = static_cast<std::uintptr_t>(INVALID_SOCKET);
    if (m_echoCall)
        IcmpCloseHandle(m_echoCall->handle);
    m_echoCall.reset();
    m_kind = Kind::None;
}

int IcmpSocket::setTimeToLive(int timeToLive)
{
    if (m_echoCall) {
        m_echoCall->timeToLive = static_cast<UCHAR>(std::clamp(timeToLive, 1, 255));
        return 0;
    }
    if (::setsockopt(socketOf(m_socket), IPPROTO_IP, IP_TTL,
                     reinterpret_cast<const char*>(&timeToLive), sizeof timeToLive) != 0)
        return WSAGetLastError();
    return 0;
}

IcmpSocket::Sent IcmpSocket::sendTo(const std::uint8_t* data, std::size_t size,
                                    const Ipv4Address& address, std::uint16_t port)
{
    Sent result;
    if (m_echoCall) {
        // The call builds the ICMP header itself and takes only what follows.
        if (size < kIcmpHeaderSize) {
            result.error = WSAEINVAL;
            return result;
        }
        if (size - kIcmpHeaderSize > 0xFFFFU) {
            result.error = WSAEMSGSIZE;
            return result;
        }
        EchoCall& call = *m_echoCall;
        std::memcpy(&call.destination, address.data(), 4);
        std::memcpy(call.header, data, kIcmpHeaderSize);
        call.data.assign(data + kIcmpHeaderSize, data + size);
        call.requestPending = true;
        call.outcomeReady = false;
        result.bytes = size;
        return result;
    }
    const sockaddr_in to = socketAddress(address, port);
    const int n =
        ::sendto(socketOf(m_socket), reinterpret_cast<const char*>(data), static_cast<int>(size), 0,
                 reinterpret_cast<const sockaddr*>(&to), sizeof to);
    if (n == SOCKET_ERROR)
        result.error = WSAGetLastError();
    else
        result.bytes = static_cast<std::size_t>(n);
    return result;
}

bool IcmpSocket::waitReadable(int timeoutMs)
{
    const int timeout = timeoutMs < 0 ? 0 : timeoutMs;
    if (m_echoCall)
        return callEcho(timeout);
    if (socketOf(m_socket) == INVALID_SOCKET)
        return false;
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(socketOf(m_socket), &readable);
    timeval wait{};
    wait.tv_sec = timeout / 1000;
    wait.tv_usec = (timeout % 1000) * 1000;
    return ::select(0, &readable, nullptr, nullptr, &wait) > 0;
}

// Sends the pending request and waits for its outcome, at most timeoutMs.
bool IcmpSocket::callEcho(int timeoutMs)
{
    EchoCall& call = *m_echoCall;
    if (call.outcomeReady)
        return true;
    if (!call.requestPending)
        return false;
    call.requestPending = false;

    IP_OPTION_INFORMATION options{};
    options.Ttl = call.timeToLive;
    // Room for one reply with our data echoed, and for the 8 bytes of an
    // ICMP error, and for the status block the call may put behind it.
    std::vector<unsigned char> replies(sizeof(ICMP_ECHO_REPLY) + call.data.size() +
                                       kIcmpHeaderSize + 64);
    const DWORD count =
        IcmpSendEcho2(call.handle, nullptr, nullptr, nullptr, call.destination, call.data.data(),
                      static_cast<WORD>(call.data.size()), &options, replies.data(),
                      static_cast<DWORD>(replies.size()), static_cast<DWORD>(timeoutMs));
    ICMP_ECHO_REPLY reply{};
    std::memcpy(&reply, replies.data(), sizeof reply);
    const DWORD status = count > 0 ? reply.Status : GetLastError();

    Received& outcome = call.outcome;
    outcome = Received{};
    call.message.clear();
    IcmpError error{};
    // The call pairs replies with its request by its own identifier and
    // sequence number; an echo reply still counts only from the probed host.
    if (status == IP_SUCCESS && (count == 0 || reply.Address != call.destination))
        return false;
    if (status == IP_SUCCESS) {
        // The call sent its own identifier and sequence number; the reply is
        // laid out with ours, as if it answered the request we built.
        call.message.assign(call.header, call.header + kIcmpHeaderSize);
        call.message[0] = kEchoReplyType;
        call.message[1] = 0;
        call.message[2] = call.message[3] = 0;
        const auto* echoed = static_cast<const std::uint8_t*>(reply.Data);
        const std::size_t echoedSize = echoed ? reply.DataSize : 0;
        const auto* bufferEnd = replies.data() + replies.size();
        if (echoed && echoed >= replies.data() && echoed + echoedSize <= bufferEnd)
            call.message.insert(call.message.end(), echoed, echoed + echoedSize);
        const std::uint16_t sum = checksum(call.message);
        call.message[2] = static_cast<std::uint8_t>(sum >> 8);
        call.message[3] = static_cast<std::uint8_t>(sum & 0xFFU);
        outcome.source = addressOf(reply.Address);
        outcome.timeToLive = reply.Options.Ttl;
    } else if (icmpErrorFor(status, error)) {
        // The error quoted our request; the call hands back only who sent it.
        call.message.assign(call.header, call.header + kIcmpHeaderSize);
        call.message.insert(call.message.end(), call.data.begin(), call.data.end());
        outcome.errorReport = true;
        outcome.destination = addressOf(call.destination);
        outcome.icmpType = error.type;
        outcome.icmpCode = error.code;
        outcome.source = addressOf(reply.Address);
        outcome.timeToLive = reply.Options.Ttl;
    } else if (status == IP_REQ_TIMED_OUT) {
        return false;
    } else {
        outcome.error = socketsErrorForCall(status);
    }
    call.outcomeReady = true;
    return true;
}

IcmpSocket::Received IcmpSocket::receive(std::uint8_t* buffer, std::size_t capacity)
{
    if (m_echoCall) {
        EchoCall& call = *m_echoCall;
        if (!call.outcomeReady)
            return {};
        call.outcomeReady = false;
        Received result = call.outcome;
        if (result.error == 0) {
            result.size = std::min(capacity, call.message.size());
            std::memcpy(buffer, call.message.data(), result.size);
        }
        return result;
    }
    Received result;
    const int n =
        ::recv(socketOf(m_socket), reinterpret_cast<char*>(buffer), static_cast<int>(capacity), 0);
    if (n > 0) {
        result.size = static_cast<std::size_t>(n);
    } else if (n == SOCKET_ERROR) {
        const int error = WSAGetLastError();
        // A datagram longer than the buffer arrives cut, as on Linux;
        // Windows fills the buffer and says so with WSAEMSGSIZE.
        if (error == WSAEMSGSIZE)
            result.size = capacity;
        else if (error != WSAEWOULDBLOCK)
            result.error = error;
    }
    return result;
}

} // namespace platform
