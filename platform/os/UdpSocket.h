#pragma once
// A non-blocking IPv4 UDP socket that may send broadcasts. The event loop
// learns of a waiting datagram through handle(); receive() never blocks.
// A bound socket also learns which of the PC's adapters each datagram came
// in by, so that an answer can go back through that adapter alone.

#include "platform/os/Ipv4Address.h"

#include <cstddef>
#include <cstdint>

namespace platform {

// One of the PC's adapters, as a datagram's arrival names it. Index 0: unknown.
struct Arrival
{
    std::uint32_t interfaceIndex = 0; // the system's index of the adapter
    Ipv4Address localAddress{};       // the PC's own address on it (0.0.0.0: unknown)

    bool known() const { return interfaceIndex != 0; }
};

class UdpSocket
{
public:
    UdpSocket();
    ~UdpSocket();
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;

    // Opens the socket, broadcasts allowed, and binds it to address:port
    // (port 0: the system picks one). The address is not shared with other
    // sockets, so a port another socket holds is refused. Closes any earlier
    // socket first. False when it cannot be opened or bound, or when the
    // system will not report the adapter each datagram came in by.
    bool bind(const Ipv4Address& address, std::uint16_t port);
    // True when the last bind was refused because the system keeps the port
    // for itself (Windows' excluded port ranges, Hyper-V and WSL among their
    // owners; a privileged port on Linux), not because a program holds it.
    bool portReserved() const { return m_portReserved; }
    // Opens the socket without binding it: the system binds it on the first
    // send, from the address of the adapter the route goes by.
    bool open();
    void close();
    bool isOpen() const;

    // The port the socket is bound to; 0 when it is not (yet) bound.
    std::uint16_t localPort() const;
    // The socket, for the event loop's read notifier (a descriptor on Linux,
    // a SOCKET on Windows); -1 when closed.
    std::intptr_t handle() const;

    // Sends one datagram. The number of bytes sent; -1 when it could not be
    // sent (it is then lost, as any datagram may be).
    std::ptrdiff_t sendTo(const void* data, std::size_t size, const Ipv4Address& address,
                          std::uint16_t port);

    // Sends one datagram out of the adapter `via` only, whatever the routing
    // table would pick (a limited broadcast included), from the PC's address
    // on it. -1, and nothing sent, when via is unknown, a loopback adapter or
    // gone: a datagram meant for one network must never leave by another.
    // The socket must be open and not bound.
    std::ptrdiff_t sendThrough(const void* data, std::size_t size, const Arrival& via,
                               const Ipv4Address& address, std::uint16_t port);

    struct Received
    {
        bool got = false;     // false: nothing was waiting (or the read failed)
        std::size_t size = 0; // bytes in the buffer, at most its capacity
        Ipv4Address source{}; // the sender
        std::uint16_t port = 0;
        Arrival arrival{}; // the adapter it came in by, when the system said
    };
    // Takes one waiting datagram, at most capacity bytes of it; the rest of a
    // longer one is lost. Never blocks.
    Received receive(void* buffer, std::size_t capacity);
    // Whether another datagram waits to be read.
    bool hasPending() const;
    // Whether one waits or comes within milliseconds (blocks that long at most).
    bool waitPending(int milliseconds) const;

private:
#ifdef _WIN32
    std::uintptr_t m_socket = ~std::uintptr_t{0}; // a SOCKET; INVALID_SOCKET when closed
#else
    int m_fd = -1;
#endif
    bool m_portReserved = false;
};

} // namespace platform
