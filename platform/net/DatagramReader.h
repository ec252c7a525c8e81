#pragma once
// A bound UDP socket whose datagrams are handed over one per call, each in a
// buffer zeroed before the receive: the stand-in for a socket that posts one
// window message per waiting datagram. The event loop (timers, painting) runs
// between two calls, however many datagrams wait.

#include "platform/os/UdpSocket.h"

#include <QObject>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace platform {

class DatagramReader : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DatagramReader)

public:
    // Each datagram is read into buffer (at most capacity bytes; the rest of
    // a longer one is lost) and then handed to onDatagram with the number of
    // bytes read. The buffer belongs to the caller and outlives the reader.
    using Handler = std::function<void(std::size_t length)>;
    DatagramReader(char* buffer, std::size_t capacity, Handler onDatagram,
                   QObject* parent = nullptr);
    ~DatagramReader() override;

    // Binds a fresh socket (closing any earlier one); false when the address
    // and port cannot be had.
    bool bind(const Ipv4Address& address, std::uint16_t port);
    // After a failed bind: the system keeps the port for itself.
    bool portReserved() const { return m_socket.portReserved(); }
    // Stops reading; safe to call from inside the handler.
    void close();
    bool isOpen() const { return m_socket.isOpen(); }
    std::uint16_t localPort() const { return m_socket.localPort(); }
    // The adapter the datagram being handled came in by, and its sender
    // (inside the handler).
    const Arrival& arrival() const { return m_arrival; }
    const Ipv4Address& source() const { return m_source; }

private:
    void readOne();

    char* m_buffer;
    std::size_t m_capacity;
    Handler m_onDatagram;
    UdpSocket m_socket;
    Arrival m_arrival;
    Ipv4Address m_source{};
    QSocketNotifier* m_notifier = nullptr; // a child; watches m_socket while it is open
};

} // namespace platform
