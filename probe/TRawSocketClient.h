#pragma once
// A client of one raw IPv4 socket: target host, port and protocol, the
// receive wait, and the socket itself, opened when first fetched and closed
// by the derived client when its exchange is over.

#include "platform/os/IcmpSocket.h"
#include "probe/TNetComponent.h"
#include "probe/core/EchoRequest.h"
#include "probe/core/ReplyMatch.h"

#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>

namespace probe {

class TRawSocketClient : public TNetComponent
{
    Q_OBJECT
    Q_PROPERTY(QString Host READ Host WRITE setHost)
    Q_PROPERTY(int Port READ Port WRITE setPort)
    Q_PROPERTY(int Protocol READ Protocol WRITE setProtocol)
    Q_PROPERTY(int ReceiveTimeout READ ReceiveTimeout WRITE setReceiveTimeout)

public:
    explicit TRawSocketClient(QObject* owner = nullptr);

    QString Host() const { return m_host; }
    void setHost(const QString& host) { m_host = host; }
    int Port() const { return m_port; }
    void setPort(int port) { m_port = port; }
    int Protocol() const { return m_protocol; }
    void setProtocol(int protocol) { m_protocol = protocol; }
    // Milliseconds; a negative value waits not at all.
    int ReceiveTimeout() const { return m_receiveTimeout; }
    void setReceiveTimeout(int milliseconds) { m_receiveTimeout = milliseconds; }

    // Which kind of socket the last exchange used (None before the first).
    platform::IcmpSocket::Kind lastSocketKind() const { return m_lastKind; }

protected:
    // Host as an address: "LOCALHOST" (any case), a decimal dotted quad, or
    // a name for the system's resolver. Raises ESocketError when the name
    // cannot be resolved.
    platform::Ipv4Address resolveHost() const;

    // Opens the socket when none is open, then sets its time-to-live.
    // identifier is what an unprivileged ICMP socket should put into its
    // requests. Raises EInvalidSocket or ESocketError.
    platform::IcmpSocket& fetchSocket(std::uint16_t identifier);

    // Sends data[0, size) to address and Port. Raises EPackageSizeTooBig,
    // ESocketError or ENotAllBytesSent.
    void sendBuffer(std::uint16_t identifier, const std::uint8_t* data, std::size_t size,
                    const platform::Ipv4Address& address);

    // Zeroes buffer and waits at most ReceiveTimeout for one datagram that
    // answers the request probe describes, laid out as a raw socket delivers
    // it (IP header first); whatever else arrives meanwhile is dropped.
    // Returns its length, 0 when nothing answered. When more arrives than one
    // wait may read, the target counts as having answered (floodedAnswer). Raises ESocketError when
    // the receive fails.
    std::size_t receiveBuffer(const ProbeIdentity& probe, IcmpBuffer& buffer);

    void closeSocket()
    {
        m_socket.close();
        m_viaHelper = false;
    }

private:
    // The exchange through our ICMP helper, where this process may open no
    // ICMP socket of its own.
    std::size_t exchangeViaHelper(const ProbeIdentity& probe, IcmpBuffer& buffer);

    bool m_viaHelper = false;
    std::array<std::uint8_t, kEchoRequestSize> m_sentEcho{};
    platform::Ipv4Address m_sentTarget{};
    QString m_host;
    int m_port = 0;
    int m_protocol = 1;
    int m_receiveTimeout = 5000;
    platform::IcmpSocket m_socket;
    platform::IcmpSocket::Kind m_lastKind = platform::IcmpSocket::Kind::None;
};

} // namespace probe
