#pragma once
// One attempt to give a unit new settings, without any window: in automatic
// mode the search for a free address of the PC's subnet by probing, then the
// setup exchange, and its result after the unit's answer or the 30 s wait.
// The settings dialog shows what it reports and asks for what it needs.

#include "discovery/core/DeviceRecord.h"
#include "probe/TOnReplyEvent.h"
#include "probe/core/TReplyStatus.h"
#include "settings/AddressProber.h"
#include "settings/SetupExchange.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace settings {

inline constexpr int kNewTextSize = 32;
inline constexpr int kReplyWaitMs = 30000;
inline constexpr int kProbeWaitMs = 100;
inline constexpr int kStoredProbeWaitMs = 1000;
inline constexpr int kPauseAfterProbeMs = 500;

class ApplySequence : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ApplySequence)

public:
    enum class Phase
    {
        Idle,
        Searching,
        Awaiting
    };

    // How start() ended. Anything but Sent leaves the sequence idle, nothing
    // sent, with the text to show.
    struct Started
    {
        enum class Outcome
        {
            Sent,         // the answer is awaited; finished() follows
            SearchFailed, // no free address, or a probe could not be made
            NotSent,      // the request did not fit, or a port it needs is taken
        };
        Outcome outcome = Outcome::Sent;
        std::string message;
    };

    explicit ApplySequence(QObject* parent = nullptr);
    ~ApplySequence() override;

    Phase phase() const { return m_phase; }

    // The values the next setup request carries; in automatic mode the
    // search replaces the address's last octet.
    void setNewValues(std::string_view address, std::string_view mask, std::string_view gateway);
    const char* NewAddress() const { return m_newAddress; }
    const char* NewMask() const { return m_newMask; }
    const char* NewGateway() const { return m_newGateway; }

    // The wait for the unit's answer, 30 s again after every attempt.
    QTimer* Timer1() { return &m_timer1; }
    SetupExchange& exchange() { return m_exchange; }

    // The echo client behind the free-address search (the ICMP client unless
    // replaced, as tests do) and the neighbour-table lookup consulted after a
    // probe nothing answered.
    void setAddressProber(std::unique_ptr<AddressProber> prober);
    void setNeighbourLookup(std::function<bool(std::string_view)> lookup);

    // Whether a request with these credentials fits, asked before anything
    // is probed or sent; in automatic mode the longest candidate decides.
    bool requestFits(const discovery::DeviceRecord& record, bool automatic,
                     const QByteArray& userName, const QByteArray& password) const;

    // Runs the search (automatic mode), then opens the exchange. Returns once
    // the request is sent or the attempt has ended; the credentials are not
    // kept.
    Started start(const discovery::DeviceRecord& record, bool automatic, const QByteArray& userName,
                  const QByteArray& password);

    // One probe of the search: true when something answered address.
    bool ProbeAddress(const char* address);
    // The echo client's OnReply: any message it accepted counts.
    void ICMPReply(probe::TIcmpClient* ASender, const probe::TReplyStatus& AReplyStatus);
    // The 30 s wait ran out: the attempt ends as a failure.
    void Timer1Timer();

signals:
    void phaseChanged(settings::ApplySequence::Phase phase);
    // The exchange ended, by the unit's answer or the time-out; the sequence
    // is idle again. accepted: the unit took the settings.
    void finished(bool accepted);

private:
    // Tries the candidates in order; leaves the first that nobody answered
    // on in NewAddress and returns an empty text, else the text to show.
    std::string searchFreeAddress();
    void onAwaitedReply();
    // The one end of every attempt: wait stopped and 30 s again, exchange
    // closed, idle.
    void endAttempt();
    void setPhase(Phase phase);

    char m_newAddress[kNewTextSize]{};
    char m_newMask[kNewTextSize]{};
    char m_newGateway[kNewTextSize]{};
    bool ProbeAnswered = false; // the last probe was answered
    int m_receiveTimeout = kStoredProbeWaitMs;

    std::unique_ptr<AddressProber> m_prober;
    std::function<bool(std::string_view)> m_neighbourLookup;
    SetupExchange m_exchange;
    QTimer m_timer1;
    Phase m_phase = Phase::Idle;
};

} // namespace settings
