#include "probe/TRawSocketClient.h"

#include "platform/os/HostLookup.h"
#include "probe/core/EInvalidSocket.h"
#include "probe/core/ENotAllBytesSent.h"
#include "probe/core/EPackageSizeTooBig.h"
#include "probe/core/ESocketError.h"
#include "probe/core/HostText.h"
#include "probe/core/RawDatagram.h"
#include "probe/core/SocketErrorText.h"

#include <chrono>

namespace probe {

TRawSocketClient::TRawSocketClient(QObject* owner) : TNetComponent(owner) {}

platform::Ipv4Address TRawSocketClient::resolveHost() const
{
    const HostTarget target = classifyHost(m_host.toStdString());
    if (target.kind != HostKind::Name)
        return target.address;
    if (const auto address = platform::lookUpIpv4(m_host.toStdString()))
        return *address;
    throw ESocketError(kWsaHostNotFound);
}

platform::IcmpSocket& TRawSocketClient::fetchSocket(std::uint16_t identifier)
{
    if (!m_socket.isOpen() && !m_socket.open(m_protocol, identifier))
        throw EInvalidSocket();
    m_lastKind = m_socket.kind();
    if (const int error = m_socket.setTimeToLive(kEchoTimeToLive); error != 0)
        throw ESocketError(error);
    return m_socket;
}

void TRawSocketClient::sendBuffer(std::uint16_t identifier, const std::uint8_t* data,
                                  std::size_t size, const platform::Ipv4Address& address)
{
    platform::IcmpSocket& socket = fetchSocket(identifier);
    const platform::IcmpSocket::Sent sent =
        socket.sendTo(data, size, address, static_cast<std::uint16_t>(m_port));
    if (sent.error == kWsaEMsgSize)
        throw EPackageSizeTooBig();
    if (sent.error != 0)
        throw ESocketError(sent.error);
    if (sent.bytes < size)
        throw ENotAllBytesSent();
}

std::size_t TRawSocketClient::receiveBuffer(std::uint16_t identifier, IcmpBuffer& buffer,
                                            const platform::Ipv4Address& target)
{
    platform::IcmpSocket& socket = fetchSocket(identifier);
    buffer.fill(0);
    using Clock = std::chrono::steady_clock;
    const auto deadline =
        Clock::now() + std::chrono::milliseconds(m_receiveTimeout < 0 ? 0 : m_receiveTimeout);
    // The bare message of the unprivileged socket, before it is laid out.
    IcmpBuffer bare{};
    // Readiness without a datagram (an error report we cannot describe) goes
    // back to waiting for what is left of the time.
    for (int attempt = 0; attempt < 64; ++attempt) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (!socket.waitReadable(static_cast<int>(left > 0 ? left : 0)))
            return 0;
        const bool raw = socket.kind() == platform::IcmpSocket::Kind::Raw;
        std::uint8_t* into = raw ? buffer.data() : bare.data();
        const platform::IcmpSocket::Received got = socket.receive(into, buffer.size());
        if (got.error != 0)
            throw ESocketError(got.error);
        if (got.size == 0)
            continue;
        if (raw)
            return got.size;
        if (got.errorReport) {
            ErrorReport report;
            report.type = got.icmpType;
            report.code = got.icmpCode;
            report.info = got.icmpInfo;
            report.reporter = got.source;
            report.timeToLive = got.timeToLive;
            report.target = target;
            report.quoted = bare.data();
            report.quotedSize = got.size;
            return rawDatagramForError(buffer, report);
        }
        BareMessage message;
        message.icmp = bare.data();
        message.icmpSize = got.size;
        message.source = got.source;
        message.timeToLive = got.timeToLive;
        return rawDatagramForMessage(buffer, message);
    }
    return 0;
}

} // namespace probe
