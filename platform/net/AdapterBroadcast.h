#pragma once
// A limited broadcast (255.255.255.255) sent out of every adapter of the PC.
// An unbound socket's broadcast leaves by the default route's adapter only,
// so units on the PC's other segments, or behind a working adapter while the
// default route points at an unplugged one, would never hear it. A socket
// bound to an adapter's address sends it out of that adapter.

#include "platform/os/UdpSocket.h"

#include <QByteArray>
#include <cstdint>
#include <memory>
#include <vector>

namespace platform {

class AdapterBroadcast
{
public:
    AdapterBroadcast();
    ~AdapterBroadcast();
    AdapterBroadcast(const AdapterBroadcast&) = delete;
    AdapterBroadcast& operator=(const AdapterBroadcast&) = delete;

    // Binds one UDP socket to the address of each adapter that is up, linked
    // and has an address (closing any earlier ones). Returns how many.
    int open();

    // Sends the datagram to destination:port. The limited broadcast goes once
    // through each bound socket, or, when none is bound or none could send
    // it, once from an unbound socket (by the default route). Any other destination goes once from
    // an unbound socket: the routing table knows its way. Returns the number of datagrams sent in
    // full.
    int send(const QByteArray& datagram, const Ipv4Address& destination, std::uint16_t port);

    void close();
    int boundCount() const { return static_cast<int>(m_sockets.size()); }

private:
    std::vector<std::unique_ptr<UdpSocket>> m_sockets;
};

} // namespace platform
