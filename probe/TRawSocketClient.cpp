// The client's socket work: resolving Host, opening the ICMP socket or using
// the helper, sending, and receiving within the wait until our reply comes.

#include "probe/TRawSocketClient.h"

#include "platform/core/DottedQuad.h"
#include "platform/os/HostLookup.h"
#include "platform/os/IcmpSocket.h"
#include "platform/os/Privileges.h"
#include "probe/TNetComponent.h"
#include "probe/core/EInvalidSocket.h"
#include "probe/core/ENotAllBytesSent.h"
#include "probe/core/EPackageSizeTooBig.h"
#include "probe/core/ESocketError.h"
#include "probe/core/EchoRequest.h"
#include "probe/core/HelperMessages.h"
#include "probe/core/HostText.h"
#include "probe/core/RawDatagram.h"
#include "probe/core/ReplyMatch.h"
#include "probe/core/SocketErrorText.h"

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace probe {

namespace {

constexpr int kIcmpProtocolNumber = 1;

} // namespace

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
    if (m_viaHelper)
        return m_socket;
    if (!m_socket.isOpen() && !m_socket.open(m_protocol, identifier)) {
        if (m_protocol != kIcmpProtocolNumber || platform::icmpHelperChannel() < 0)
            throw EInvalidSocket();
        m_viaHelper = true;
        m_lastKind = platform::IcmpSocket::Kind::Helper;
        return m_socket;
    }
    m_lastKind = m_socket.kind();
    if (const int error = m_socket.setTimeToLive(kEchoTimeToLive); error != 0)
        throw ESocketError(error);
    return m_socket;
}

void TRawSocketClient::sendBuffer(std::uint16_t identifier, const std::uint8_t* data,
                                  std::size_t size, const platform::Ipv4Address& address)
{
    platform::IcmpSocket& socket = fetchSocket(identifier);
    // Kept for the wait: the helper sends nothing but our echo request, and a
    // flooded wait answers in its target's name.
    if (size == m_sentEcho.size())
        std::copy(data, data + size, m_sentEcho.begin());
    m_sentTarget = address;
    if (m_viaHelper) {
        if (size != m_sentEcho.size())
            throw EPackageSizeTooBig();
        return;
    }
    const platform::IcmpSocket::Sent sent =
        socket.sendTo(data, size, address, static_cast<std::uint16_t>(m_port));
    if (sent.error == kWsaEMsgSize)
        throw EPackageSizeTooBig();
    if (sent.error != 0)
        throw ESocketError(sent.error);
    if (sent.bytes < size)
        throw ENotAllBytesSent();
}

namespace {

// Enough to drain a busy host's queue within one wait, bounded all the same:
// a datagram that arrived in time is read even when others queued before it.
constexpr int kMaxDatagramsPerWait = 4096;

} // namespace

std::size_t TRawSocketClient::receiveBuffer(const ProbeIdentity& probe, IcmpBuffer& buffer)
{
    platform::IcmpSocket& socket = fetchSocket(probe.identifier);
    buffer.fill(0);
    if (m_viaHelper)
        return exchangeViaHelper(probe, buffer);
    using Clock = std::chrono::steady_clock;
    const auto deadline =
        Clock::now() + std::chrono::milliseconds(m_receiveTimeout < 0 ? 0 : m_receiveTimeout);
    const bool raw = socket.kind() == platform::IcmpSocket::Kind::Raw;
    ProbeIdentity match = probe;
    match.identifierSetBySystem = socket.kind() == platform::IcmpSocket::Kind::Datagram;
    // The bare message of the unprivileged socket, before it is laid out.
    IcmpBuffer bare{};
    for (int attempt = 0; attempt < kMaxDatagramsPerWait; ++attempt) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (!socket.waitReadable(static_cast<int>(left > 0 ? left : 0)))
            break;
        std::uint8_t* into = raw ? buffer.data() : bare.data();
        const platform::IcmpSocket::Received got = socket.receive(into, buffer.size());
        if (got.error != 0)
            throw ESocketError(got.error);
        if (got.size == 0)
            continue;
        std::size_t size = got.size;
        if (got.errorReport) {
            ErrorReport report;
            report.type = got.icmpType;
            report.code = got.icmpCode;
            report.info = got.icmpInfo;
            report.reporter = got.source;
            report.timeToLive = got.timeToLive;
            report.target = got.destination;
            report.quoted = bare.data();
            report.quotedSize = got.size;
            size = rawDatagramForError(buffer, report);
        } else if (!raw) {
            BareMessage message;
            message.icmp = bare.data();
            message.icmpSize = got.size;
            message.source = got.source;
            message.timeToLive = got.timeToLive;
            size = rawDatagramForMessage(buffer, message);
        }
        if (answersOurProbe(buffer.data(), size, match))
            return size;
    }
    if (Clock::now() < deadline)
        return floodedAnswer(buffer, m_sentEcho, m_sentTarget);
    buffer.fill(0);
    return 0;
}

std::size_t TRawSocketClient::exchangeViaHelper(const ProbeIdentity& probe, IcmpBuffer& buffer)
{
    HelperRequest request;
    request.target = m_sentTarget;
    request.echo = m_sentEcho;
    const int wait = std::clamp(m_receiveTimeout, 0, int{kHelperMaxWaitMs});
    request.waitMs = static_cast<std::uint16_t>(wait);
    const HelperRequestBytes out = encodeHelperRequest(request);
    HelperReplyBytes in{};
    // The helper answers within its wait; a second more covers its own work.
    const std::size_t n =
        platform::exchangeWithIcmpHelper(out.data(), out.size(), in.data(), in.size(), wait + 1000);
    const std::optional<HelperReply> reply = decodeHelperReply(in.data(), n);
    if (!reply)
        throw EInvalidSocket(); // the helper has gone or broken its word
    if (reply->outcome == HelperOutcome::SocketError)
        throw ESocketError(reply->error);
    if (reply->outcome == HelperOutcome::Flooded)
        return floodedAnswer(buffer, m_sentEcho, m_sentTarget);
    if (reply->outcome != HelperOutcome::Answered ||
        !answersOurProbe(reply->datagram.data(), reply->size, probe))
        return 0;
    buffer = reply->datagram;
    return reply->size;
}

} // namespace probe
