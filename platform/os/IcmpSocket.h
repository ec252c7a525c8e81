#pragma once
// One ICMP socket for one echo at a time. On Linux the unprivileged ICMP
// socket (which the ping_group_range setting allows per group) comes first
// and the raw socket only where that is refused; on Windows the raw socket
// comes first and, for a user who is not an administrator, the IP Helper
// echo call stands in.

#include "platform/os/Ipv4Address.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace platform {

// The Windows Sockets code for a system error number, so that messages use
// the one table of socket error texts. A number without such a code is
// returned unchanged (it is far below every Windows Sockets code).
int windowsSocketsError(int errorNumber);

class IcmpSocket
{
public:
    enum class Kind
    {
        None,
        Raw,      // receives whole IP datagrams, every ICMP message of the host
        Datagram, // receives bare replies to its own requests and error reports
        // No socket: the system's echo call, which sends when the wait
        // begins and hands over its outcome as Datagram does.
        EchoCall,
        // No socket here: our ICMP helper process sends and receives on its
        // raw socket (see Privileges.h).
        Helper,
    };

    // What one receive produced. For Raw, buffer holds the IP datagram. For
    // Datagram and EchoCall, buffer holds an ICMP message: an echo reply, or,
    // when errorReport is set, the part of our request that an error quoted.
    struct Received
    {
        int error = 0;               // Windows Sockets code; 0 when the receive worked
        std::size_t size = 0;        // bytes in buffer; 0: nothing was waiting after all
        Ipv4Address source{};        // not Raw: the sender (of the reply or the error)
        std::uint8_t timeToLive = 0; // not Raw: of the datagram received
        bool errorReport = false;
        std::uint8_t icmpType = 0; // errorReport: the ICMP error's type, code, info
        std::uint8_t icmpCode = 0;
        std::uint32_t icmpInfo = 0;
        Ipv4Address destination{}; // errorReport: where the quoted request was going
    };

    struct Sent
    {
        int error = 0; // Windows Sockets code; 0 when the send worked
        std::size_t bytes = 0;
    };

    IcmpSocket();
    ~IcmpSocket();
    IcmpSocket(const IcmpSocket&) = delete;
    IcmpSocket& operator=(const IcmpSocket&) = delete;

    // Opens an IPv4 socket for protocol, for ICMP (1) in the order above; the
    // unprivileged socket's requests carry identifier where the system lets
    // us choose it. False when no socket could be opened.
    bool open(int protocol, std::uint16_t identifier);
    void close();
    bool isOpen() const { return m_kind != Kind::None; }
    Kind kind() const { return m_kind; }

    // 0 or a Windows Sockets code.
    int setTimeToLive(int timeToLive);

    Sent sendTo(const std::uint8_t* data, std::size_t size, const Ipv4Address& address,
                std::uint16_t port);

    // Waits at most timeoutMs (a negative value counts as 0) for something to
    // receive. False when the time ran out or the wait itself failed.
    bool waitReadable(int timeoutMs);

    // Takes one waiting datagram (never blocks), at most capacity bytes of it.
    Received receive(std::uint8_t* buffer, std::size_t capacity);

private:
#ifdef _WIN32
    struct EchoCall;
    bool callEcho(int timeoutMs);

    std::uintptr_t m_socket = ~std::uintptr_t{0}; // a SOCKET; INVALID_SOCKET when closed
    std::unique_ptr<EchoCall> m_echoCall;
#else
    bool openDatagram(std::uint16_t identifier);
    Received receiveDatagram(std::uint8_t* buffer, std::size_t capacity, bool errorQueue);

    int m_fd = -1;
#endif
    Kind m_kind = Kind::None;
};

} // namespace platform
