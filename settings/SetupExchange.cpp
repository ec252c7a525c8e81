// The setup exchange: request built, sent through the unit's adapter and
// wiped; the awaited reply read.

#include "settings/SetupExchange.h"

#include "discovery/core/DeviceRecord.h"
#include "discovery/core/FixedText.h"
#include "discovery/core/Messages.h"
#include "platform/os/Ipv4Address.h"
#include "platform/os/LocalAddresses.h"
#include "platform/os/PortOwner.h"
#include "settings/core/SettingsMessages.h"
#include "settings/core/SetupReply.h"
#include "settings/core/SetupRequest.h"

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>

namespace settings {

SetupExchange::SetupExchange(QObject* parent)
    : QObject(parent),
      SetupReplySocket(m_replyBuffer, sizeof m_replyBuffer, [this](std::size_t) { onSetupReply(); })
{
}

SetupExchange::~SetupExchange()
{
    close();
}

namespace {

// Builds the request from local copies of the record's texts: identity up to
// 17 characters, the two host values up to 15 each.
std::optional<std::size_t> buildRequest(const discovery::DeviceRecord& record,
                                        const char* newAddress, const char* newMask,
                                        const char* newGateway, const QByteArray& userName,
                                        const QByteArray& password,
                                        char (&request)[kSetupBufferSize])
{
    char identity[discovery::kMacAddressSize];
    char hostName[discovery::kHostTextSize];
    char hostAux[discovery::kHostTextSize];
    discovery::copyText(identity, discovery::textOf(record.MacAddress));
    discovery::copyText(hostName, discovery::textOf(record.HostName));
    discovery::copyText(hostAux, discovery::textOf(record.HostAux));

    SetupRequestFields fields;
    fields.identity = discovery::textOf(identity);
    fields.address = newAddress ? newAddress : "";
    fields.mask = newMask ? newMask : "";
    fields.gateway = newGateway ? newGateway : "";
    fields.hostName = discovery::textOf(hostName);
    fields.hostAux = discovery::textOf(hostAux);
    fields.userName = {userName.constData(), static_cast<std::size_t>(userName.size())};
    fields.password = {password.constData(), static_cast<std::size_t>(password.size())};
    return buildSetupRequest(fields, request);
}

} // namespace

bool SetupExchange::requestFits(const discovery::DeviceRecord& record, const char* newAddress,
                                const char* newMask, const char* newGateway,
                                const QByteArray& userName, const QByteArray& password)
{
    char request[kSetupBufferSize];
    const bool fits =
        buildRequest(record, newAddress, newMask, newGateway, userName, password, request)
            .has_value();
    wipeSetupBuffer(request);
    return fits;
}

SetupExchange::OpenResult SetupExchange::open(const discovery::DeviceRecord& record,
                                              const char* newAddress, const char* newMask,
                                              const char* newGateway, const QByteArray& userName,
                                              const QByteArray& password)
{
    close();
    std::memset(m_replyBuffer, 0, sizeof m_replyBuffer);
    m_awaitedSeen = false;

    discovery::copyText(m_identity, discovery::textOf(record.MacAddress));
    m_via.interfaceIndex = record.ArrivalInterface;
    std::memcpy(m_via.localAddress.data(), &record.ArrivalAddress, m_via.localAddress.size());
    char request[kSetupBufferSize];
    const auto length =
        buildRequest(record, newAddress, newMask, newGateway, userName, password, request);
    if (!length)
        return OpenResult::RequestTooLong;

    m_local = platform::localAddresses();
    if (!OpenSetupReplySocket()) {
        wipeSetupBuffer(request);
        // A port the system keeps for itself has no program to name.
        if (SetupReplySocket.portReserved())
            m_busyPortMessage = discovery::messages::kReplyPortReserved;
        else
            noteBusyPort(discovery::messages::kReplyPortInUse, m_endpoints.replyPort);
        return OpenResult::ReplyPortInUse;
    }
    // No SO_REUSEADDR or SO_REUSEPORT here (exclusive use on Windows): while
    // we hold the port nobody else on this PC can bind it, on any address.
    const bool broadcast = m_endpoints.requestAddress == platform::kLimitedBroadcast;
    if (broadcast && !m_requestPortHold.bind(platform::kAnyAddress, m_endpoints.requestPort)) {
        wipeSetupBuffer(request);
        close();
        noteBusyPort(messages::kRequestPortInUse, m_endpoints.requestPort);
        return OpenResult::RequestPortInUse;
    }

    const bool sent = SendSetupRequest(request, *length);
    wipeSetupBuffer(request);
    releaseRequestPort(sent ? *length : 0);
    return OpenResult::Sent;
}

void SetupExchange::noteBusyPort(const char* message, std::uint16_t port)
{
    const auto owner = platform::udpPortOwner(port);
    m_busyPortMessage =
        owner ? discovery::messages::withPortOwner(message, owner->user, owner->program)
              : std::string(message);
}

// The system hands a broadcast to this PC's listeners while sending it, so
// our copy is normally waiting already; it is waited for (at most
// kLoopedCopyWaitMs) so that the port is never let go while it may still
// come, and read so that it does not stay in a buffer.
void SetupExchange::releaseRequestPort(std::size_t length)
{
    constexpr int kLoopedCopyWaitMs = 200;
    constexpr int kMostRead = 64;
    char copy[kSetupBufferSize];
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kLoopedCopyWaitMs);
    bool seen = length == 0;
    for (int n = 0; n < kMostRead && m_requestPortHold.isOpen(); ++n) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (!m_requestPortHold.waitPending(
                seen ? 0 : static_cast<int>(std::max<long long>(left.count(), 0))))
            break;
        const platform::UdpSocket::Received got = m_requestPortHold.receive(copy, sizeof copy);
        wipeSetupBuffer(copy);
        seen = seen || (got.got && got.size == length);
    }
    m_requestPortHold.close();
}

bool SetupExchange::OpenSetupReplySocket()
{
    return SetupReplySocket.bind(m_endpoints.replyAddress, m_endpoints.replyPort);
}

// Only the limited broadcast is steered, and never without a known adapter
// (the default route may be a tunnel's): any other destination (a test's
// loopback) has one way, the routing table's. A request that did not go out
// shows as a missing reply.
bool SetupExchange::SendSetupRequest(const char* request, std::size_t length)
{
    std::ptrdiff_t sent = -1;
    if (SetupSendSocket.open()) {
        if (m_endpoints.requestAddress == platform::kLimitedBroadcast)
            sent = SetupSendSocket.sendThrough(request, length, m_via, m_endpoints.requestAddress,
                                               m_endpoints.requestPort);
        else
            sent = SetupSendSocket.sendTo(request, length, m_endpoints.requestAddress,
                                          m_endpoints.requestPort);
    }
    SetupSendSocket.close();
    return sent >= 0;
}

void SetupExchange::close()
{
    SetupReplySocket.close();
}

bool SetupExchange::accepted() const
{
    return m_awaitedSeen && setupAccepted(m_replyBuffer);
}

void SetupExchange::onSetupReply()
{
    // Any program on this PC may send to the reply port; by default only the
    // LAN can answer for a unit (tests bind the reply socket to loopback).
    const bool fromThisPc = m_local.isOwnAddress(SetupReplySocket.source()) ||
                            m_local.isLoopbackAdapter(SetupReplySocket.arrival().interfaceIndex);
    if (fromThisPc && m_endpoints.replyAddress != platform::kLoopbackAddress)
        return;
    if (isAwaitedSetupReply(m_replyBuffer, discovery::textOf(m_identity))) {
        m_awaitedSeen = true;
        emit awaitedReplyArrived(); // the handler ends the exchange
    }
}

} // namespace settings
