#include "settings/SetupExchange.h"

#include "discovery/core/DiscoveryReply.h"
#include "discovery/core/FixedText.h"
#include "platform/os/SecureWipe.h"
#include "settings/core/SetupReply.h"

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

    if (!OpenSetupReplySocket()) {
        wipeSetupBuffer(request);
        return OpenResult::ReplyPortInUse;
    }

    SetupSendSocket.open();
    SendSetupRequest(request, *length);
    wipeSetupBuffer(request);
    return OpenResult::Sent;
}

bool SetupExchange::OpenSetupReplySocket()
{
    return SetupReplySocket.bind(m_endpoints.replyAddress, m_endpoints.replyPort);
}

// Only the limited broadcast is steered: any other destination (a test's
// loopback) has one way, the routing table's. Like every send of the
// program's own exchanges, its result is not checked: a request that did not
// go out shows as a missing reply.
void SetupExchange::SendSetupRequest(const char* request, std::size_t length)
{
    if (SetupSendSocket.open()) {
        const bool steered = m_endpoints.requestAddress == platform::kLimitedBroadcast;
        if (steered && m_via.known())
            SetupSendSocket.sendThrough(request, length, m_via, m_endpoints.requestAddress,
                                        m_endpoints.requestPort);
        else
            SetupSendSocket.sendTo(request, length, m_endpoints.requestAddress,
                                   m_endpoints.requestPort);
    }
    SetupSendSocket.close();
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
    if (isAwaitedSetupReply(m_replyBuffer, discovery::textOf(m_identity))) {
        m_awaitedSeen = true;
        emit awaitedReplyArrived(); // the handler ends the exchange
    }
}

} // namespace settings
