// The apply sequence: free-address search, setup exchange and its end.

#include "settings/ApplySequence.h"

#include "discovery/core/FixedText.h"
#include "discovery/core/Messages.h"
#include "platform/net/Pause.h"
#include "platform/os/Neighbours.h"
#include "settings/IcmpAddressProber.h"
#include "settings/core/FreeAddressCandidates.h"
#include "settings/core/SettingsMessages.h"

#include <exception>

namespace settings {

ApplySequence::ApplySequence(QObject* parent)
    : QObject(parent), m_prober(std::make_unique<IcmpAddressProber>()),
      m_neighbourLookup(&platform::neighbourResolved), m_timer1(this)
{
    m_timer1.setObjectName(QStringLiteral("Timer1"));
    m_timer1.setSingleShot(true);
    // A coarse timer may fire up to 5 % early: the unit gets its full 30 s.
    m_timer1.setTimerType(Qt::PreciseTimer);
    m_timer1.setInterval(kReplyWaitMs);
    connect(&m_timer1, &QTimer::timeout, this, &ApplySequence::Timer1Timer);
    connect(&m_exchange, &SetupExchange::awaitedReplyArrived, this, &ApplySequence::onAwaitedReply);
}

ApplySequence::~ApplySequence() = default;

void ApplySequence::setNewValues(std::string_view address, std::string_view mask,
                                 std::string_view gateway)
{
    discovery::copyText(m_newAddress, address);
    discovery::copyText(m_newMask, mask);
    discovery::copyText(m_newGateway, gateway);
}

void ApplySequence::setAddressProber(std::unique_ptr<AddressProber> prober)
{
    m_prober = std::move(prober);
}

void ApplySequence::setNeighbourLookup(std::function<bool(std::string_view)> lookup)
{
    m_neighbourLookup = std::move(lookup);
}

bool ApplySequence::requestFits(const discovery::DeviceRecord& record, bool automatic,
                                const QByteArray& userName, const QByteArray& password) const
{
    std::string longestAddress(discovery::textOf(m_newAddress));
    if (automatic) {
        for (const std::string& candidate :
             freeAddressCandidates(discovery::textOf(m_newAddress), discovery::textOf(m_newMask))) {
            if (candidate.size() > longestAddress.size())
                longestAddress = candidate;
        }
    }
    return SetupExchange::requestFits(record, longestAddress.c_str(), m_newMask, m_newGateway,
                                      userName, password);
}

ApplySequence::Started ApplySequence::start(const discovery::DeviceRecord& record, bool automatic,
                                            const QByteArray& userName, const QByteArray& password)
{
    using Outcome = Started::Outcome;
    if (automatic) {
        setPhase(Phase::Searching);
        std::string failure = searchFreeAddress();
        if (!failure.empty()) {
            endAttempt();
            return {Outcome::SearchFailed, std::move(failure)};
        }
    }

    switch (m_exchange.open(record, m_newAddress, m_newMask, m_newGateway, userName, password)) {
    case SetupExchange::OpenResult::Sent:
        setPhase(Phase::Awaiting);
        m_timer1.start();
        return {Outcome::Sent, {}};
    case SetupExchange::OpenResult::RequestTooLong:
        endAttempt();
        return {Outcome::NotSent, messages::kCredentialsTooLong};
    case SetupExchange::OpenResult::ReplyPortInUse:
    case SetupExchange::OpenResult::RequestPortInUse:
        break;
    }
    endAttempt();
    return {Outcome::NotSent, m_exchange.busyPortMessage()};
}

std::string ApplySequence::searchFreeAddress()
{
    const auto candidates =
        freeAddressCandidates(discovery::textOf(m_newAddress), discovery::textOf(m_newMask));
    for (const std::string& candidate : candidates) {
        discovery::copyText(m_newAddress, candidate);
        try {
            if (!ProbeAddress(m_newAddress))
                return {};
        } catch (const std::exception& error) {
            return error.what();
        } catch (...) {
            return "Unknown error";
        }
    }
    return messages::kNoFreeAddress;
}

bool ApplySequence::ProbeAddress(const char* address)
{
    m_receiveTimeout = kProbeWaitMs;
    ProbeAnswered = false;
    if (m_prober)
        m_prober->echo(address, m_receiveTimeout, std::bind_front(&ApplySequence::ICMPReply, this));
    platform::pauseResponsive(kPauseAfterProbeMs);
    // A host that drops echo requests still answers address resolution: a
    // resolved entry in the neighbour table means the address is in use.
    if (!ProbeAnswered && m_neighbourLookup && m_neighbourLookup(address))
        ProbeAnswered = true;
    return ProbeAnswered;
}

// Any message the client accepted counts, whoever sent it and whatever kind
// it is: the sender is not looked at.
void ApplySequence::ICMPReply(probe::TIcmpClient* ASender, const probe::TReplyStatus& AReplyStatus)
{
    Q_UNUSED(ASender);
    ProbeAnswered = false;
    if (AReplyStatus.ByteCount != 0 && AReplyStatus.FromAddress != probe::kNoAddress)
        ProbeAnswered = true;
}

void ApplySequence::onAwaitedReply()
{
    const bool accepted = m_exchange.accepted();
    endAttempt();
    emit finished(accepted);
}

void ApplySequence::Timer1Timer()
{
    endAttempt();
    emit finished(false);
}

// Idle before anyone is told: nothing of this exchange can arrive any more.
void ApplySequence::endAttempt()
{
    m_timer1.stop();
    m_timer1.setInterval(kReplyWaitMs);
    m_exchange.close();
    setPhase(Phase::Idle);
}

void ApplySequence::setPhase(Phase phase)
{
    if (m_phase == phase)
        return;
    m_phase = phase;
    emit phaseChanged(phase);
}

} // namespace settings
