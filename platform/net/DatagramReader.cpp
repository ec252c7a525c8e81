// A bound UDP socket watched by the event loop, one datagram read into the
// caller's buffer per notice.

#include "platform/net/DatagramReader.h"

#include "platform/core/DottedQuad.h"

#include <QSocketNotifier>
#include <cstdint>
#include <cstring>
#include <utility>

namespace platform {

DatagramReader::DatagramReader(char* buffer, std::size_t capacity, Handler onDatagram,
                               QObject* parent)
    : QObject(parent), m_buffer(buffer), m_capacity(capacity), m_onDatagram(std::move(onDatagram))
{
}

DatagramReader::~DatagramReader()
{
    close();
}

bool DatagramReader::bind(const Ipv4Address& address, std::uint16_t port)
{
    close();
    if (!m_socket.bind(address, port))
        return false;
    m_notifier =
        new QSocketNotifier(static_cast<qintptr>(m_socket.handle()), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &DatagramReader::readOne);
    return true;
}

void DatagramReader::close()
{
    if (m_notifier) {
        // close() may run inside the notifier's own signal: let it go later.
        m_notifier->setEnabled(false);
        m_notifier->disconnect(this);
        m_notifier->deleteLater();
        m_notifier = nullptr;
    }
    m_socket.close();
}

// The notice is level-triggered: while another datagram waits, the next pass
// of the event loop calls again, after the timers and painting due.
void DatagramReader::readOne()
{
    if (!m_socket.isOpen())
        return; // a late notice after close(): nothing to read
    std::memset(m_buffer, 0, m_capacity);
    const UdpSocket::Received got = m_socket.receive(m_buffer, m_capacity);
    m_arrival = got.arrival;
    m_source = got.source;
    if (got.got && m_onDatagram)
        m_onDatagram(got.size); // may close()
}

} // namespace platform
