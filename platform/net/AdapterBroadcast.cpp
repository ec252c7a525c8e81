#include "platform/net/AdapterBroadcast.h"

#include "platform/os/Adapters.h"

#include <QUdpSocket>

namespace platform {

AdapterBroadcast::AdapterBroadcast() = default;

AdapterBroadcast::~AdapterBroadcast() = default;

int AdapterBroadcast::open()
{
    close();
    if (const auto list = adapters()) {
        for (const Adapter& adapter : *list) {
            const QHostAddress source(QString::fromStdString(adapter.address));
            if (!canSend(adapter) || source.protocol() != QAbstractSocket::IPv4Protocol)
                continue;
            // Qt enables broadcast on its UDP sockets; the system picks the port.
            auto socket = std::make_unique<QUdpSocket>();
            if (socket->bind(source, 0))
                m_sockets.push_back(std::move(socket));
        }
    }
    return boundCount();
}

int AdapterBroadcast::send(const QByteArray& datagram, const QHostAddress& destination,
                           quint16 port)
{
    const auto sendFrom = [&](QUdpSocket& socket) {
        return socket.writeDatagram(datagram, destination, port) == datagram.size() ? 1 : 0;
    };
    int sent = 0;
    if (destination == QHostAddress(QHostAddress::Broadcast)) {
        for (const auto& socket : m_sockets)
            sent += sendFrom(*socket);
    }
    if (sent == 0) {
        QUdpSocket unbound;
        sent = sendFrom(unbound);
    }
    return sent;
}

void AdapterBroadcast::close()
{
    m_sockets.clear();
}

} // namespace platform
