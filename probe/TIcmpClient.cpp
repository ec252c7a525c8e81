// The echo: the request sent, the reply awaited and handed to OnReply, and the
// socket closed afterwards in every case.

#include "probe/TIcmpClient.h"

#include "platform/core/DottedQuad.h"
#include "platform/os/Tick.h"
#include "probe/TRawSocketClient.h"
#include "probe/core/EIcmpException.h"
#include "probe/core/EchoRequest.h"
#include "probe/core/ReplyDecoder.h"
#include "probe/core/ReplyMatch.h"

#include <cstddef>
#include <cstdint>

namespace probe {

namespace {

// Closes the client's socket when an echo ends, however it ends.
template <typename Close>
class ScopeExit
{
public:
    explicit ScopeExit(Close close) : m_close(std::move(close)) {}
    ~ScopeExit() { m_close(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    Close m_close;
};

} // namespace

TIcmpClient::TIcmpClient(QObject* owner) : TRawSocketClient(owner) {}

void TIcmpClient::Echo()
{
    const std::uint32_t processId = platform::currentProcessId();
    const auto identifier = static_cast<std::uint16_t>(processId & 0xFFFFU);
    ProbeIdentity probe;
    probe.identifier = identifier;
    probe.sequence = m_sequence.prepare(m_sendBuffer, processId, platform::tickCount());
    const platform::Ipv4Address target = resolveHost();
    probe.target = target;

    // Also after an error: a socket left open would collect ICMP messages
    // until the next echo, which would then take a stale one for its reply.
    const ScopeExit closeAtEnd{[this] { closeSocket(); }};
    fetchSocket(identifier);
    sendBuffer(identifier, m_sendBuffer.data(), kEchoRequestSize, target);
    const std::size_t received = receiveBuffer(probe, m_receiveBuffer);

    const DecodedReply reply =
        m_sequence.decode(m_receiveBuffer.data(), received, platform::tickCount());
    if (reply.error != DecodeError::None)
        throw EIcmpException::from(reply.error);
    if (m_onReply)
        m_onReply(this, reply.status);
    m_replyStatus = reply.status;
}

} // namespace probe
