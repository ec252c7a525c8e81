#pragma once
// The ICMP echo client: one echo request to Host, a bounded wait for one ICMP
// message in return, and the outcome through OnReply.
//
// Echo() blocks the calling thread for at most ReceiveTimeout plus the send.
// It raises the NetComponentError subclasses on failure; callers must catch
// them, they must never reach the event loop.

#include "probe/TOnReplyEvent.h"
#include "probe/TRawSocketClient.h"
#include "probe/core/EchoRequest.h"
#include "probe/core/EchoSequence.h"
#include "probe/core/TReplyStatus.h"

#include <cstdint>
#include <functional>

namespace probe {

class TIcmpClient : public TRawSocketClient
{
    Q_OBJECT

public:
    explicit TIcmpClient(QObject* owner = nullptr);

    const TOnReplyEvent& OnReply() const { return m_onReply; }
    void setOnReply(TOnReplyEvent handler) { m_onReply = std::move(handler); }

    // One complete echo: prepare, resolve, send, wait, decode, report through
    // OnReply, keep the outcome, close the socket. On an error OnReply is not
    // called and the socket is closed all the same.
    void Echo();

    // The outcome of the last echo that completed.
    const TReplyStatus& replyStatus() const { return m_replyStatus; }

    // The number the next request will carry.
    std::uint16_t nextSequenceNumber() const { return m_sequence.next(); }

private:
    EchoSequence m_sequence;
    IcmpBuffer m_sendBuffer{};
    IcmpBuffer m_receiveBuffer{};
    TReplyStatus m_replyStatus;
    TOnReplyEvent m_onReply;
};

} // namespace probe
