// One UDP socket bound to each adapter's address, and the datagram sent
// through each of them.

#include "platform/net/AdapterBroadcast.h"

#include "platform/core/DottedQuad.h"
#include "platform/os/Adapters.h"
#include "platform/os/Ipv4Address.h"
#include "platform/os/UdpSocket.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>

namespace platform {

AdapterBroadcast::AdapterBroadcast() = default;

AdapterBroadcast::~AdapterBroadcast() = default;

int AdapterBroadcast::open()
{
    close();
    if (const auto list = adapters()) {
        for (const Adapter& adapter : *list) {
            const auto source = parseDottedQuad(adapter.address);
            if (!canSend(adapter) || !source)
                continue;
            // The system picks the port.
            auto socket = std::make_unique<UdpSocket>();
            if (socket->bind(*source, 0))
                m_sockets.push_back(std::move(socket));
        }
    }
    return boundCount();
}

int AdapterBroadcast::send(const QByteArray& datagram, const Ipv4Address& destination,
                           std::uint16_t port)
{
    const auto size = static_cast<std::size_t>(datagram.size());
    const auto sendFrom = [&](UdpSocket& socket) {
        return socket.sendTo(datagram.constData(), size, destination, port) ==
                       static_cast<std::ptrdiff_t>(size)
                   ? 1
                   : 0;
    };
    int sent = 0;
    if (destination == kLimitedBroadcast) {
        for (const auto& socket : m_sockets)
            sent += sendFrom(*socket);
    }
    if (sent == 0) {
        UdpSocket unbound;
        if (unbound.open())
            sent = sendFrom(unbound);
    }
    return sent;
}

void AdapterBroadcast::close()
{
    m_sockets.clear();
}

} // namespace platform
