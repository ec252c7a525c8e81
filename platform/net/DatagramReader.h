#pragma once
// A bound UDP socket whose datagrams are handed over one per call, each in a
// buffer zeroed before the receive: the stand-in for a socket that posts one
// window message per waiting datagram. The event loop (timers, painting) runs
// between two calls, however many datagrams wait.

#include <QHostAddress>
#include <QObject>
#include <cstddef>
#include <functional>
#include <memory>

class QUdpSocket;

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
    bool bind(const QHostAddress& address, quint16 port);
    // Stops reading; safe to call from inside the handler.
    void close();
    bool isOpen() const { return m_socket != nullptr; }

private:
    void readOne();

    char* m_buffer;
    std::size_t m_capacity;
    Handler m_onDatagram;
    std::unique_ptr<QUdpSocket> m_socket;
    bool m_readQueued = false;
};

} // namespace platform
