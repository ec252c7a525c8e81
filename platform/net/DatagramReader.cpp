#include "platform/net/DatagramReader.h"

#include <QUdpSocket>
#include <cstring>

namespace platform {

DatagramReader::DatagramReader(char* buffer, std::size_t capacity, Handler onDatagram,
                               QObject* parent)
    : QObject(parent), m_buffer(buffer), m_capacity(capacity), m_onDatagram(std::move(onDatagram))
{
}

DatagramReader::~DatagramReader()
{
    if (m_socket)
        m_socket->disconnect(this); // the socket goes with the reader
}

bool DatagramReader::bind(const QHostAddress& address, quint16 port)
{
    close();
    auto socket = std::make_unique<QUdpSocket>();
    if (!socket->bind(address, port, QUdpSocket::DefaultForPlatform))
        return false;
    m_socket = std::move(socket);
    connect(m_socket.get(), &QUdpSocket::readyRead, this, &DatagramReader::readOne);
    return true;
}

void DatagramReader::close()
{
    m_readQueued = false;
    if (!m_socket)
        return;
    m_socket->disconnect(this);
    m_socket->close();
    // close() may run inside the socket's own notice: let the socket go later.
    m_socket.release()->deleteLater();
}

void DatagramReader::readOne()
{
    m_readQueued = false;
    if (!m_socket)
        return; // a late notice after close(): nothing to read

    // The read is attempted on every call: Qt re-arms its read notice only
    // after a read, so asking first whether a datagram waits can leave a
    // burst unread for good.
    std::memset(m_buffer, 0, m_capacity);
    const qint64 got = m_socket->readDatagram(m_buffer, static_cast<qint64>(m_capacity));
    if (got >= 0 && m_onDatagram)
        m_onDatagram(static_cast<std::size_t>(got)); // may close()

    if (m_socket && m_socket->hasPendingDatagrams() && !m_readQueued) {
        m_readQueued = true;
        QMetaObject::invokeMethod(this, &DatagramReader::readOne, Qt::QueuedConnection);
    }
}

} // namespace platform
