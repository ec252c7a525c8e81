// The scan's sockets and timers: the reply socket bound before the broadcast
// goes out of every adapter, each reply parsed into the table under the mask
// of the network it came in by, and the end after the fixed scan time.

#include "discovery/DiscoveryExchange.h"

#include "discovery/core/DeviceRecord.h"
#include "discovery/core/DeviceTable.h"
#include "discovery/core/DiscoveryReply.h"
#include "discovery/core/FixedText.h"
#include "discovery/core/LocalNetwork.h"
#include "discovery/core/Messages.h"
#include "platform/core/DottedQuad.h"
#include "platform/net/AdapterBroadcast.h"
#include "platform/os/Ipv4Address.h"
#include "platform/os/LocalAddresses.h"
#include "platform/os/PortOwner.h"

#include <cstring>

namespace discovery {

DiscoveryExchange::DiscoveryExchange(DeviceTable& table, const PcNetworkValues& pc, QObject* parent)
    : QObject(parent), m_table(table), m_pc(pc),
      m_reader(reinterpret_cast<char*>(m_receiveBuffer), sizeof m_receiveBuffer,
               [this](std::size_t length) { onDiscoveryReply(length); }),
      m_timer1(this)
{
    m_timer1.setObjectName(QStringLiteral("Timer1"));
    m_timer1.setSingleShot(true);
    m_timer1.setTimerType(Qt::PreciseTimer); // a coarse timer may end the scan 5% early
    m_timer1.setInterval(kScanMilliseconds);
    connect(&m_timer1, &QTimer::timeout, this, &DiscoveryExchange::EndScan);
    m_resendTimer.setSingleShot(true);
    m_resendTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_resendTimer, &QTimer::timeout, this, &DiscoveryExchange::sendRequest);
}

DiscoveryExchange::~DiscoveryExchange() = default;

bool DiscoveryExchange::isScanning() const
{
    return m_timer1.isActive();
}

void DiscoveryExchange::StartScan()
{
    ClearDeviceTable(m_table);
    m_counters = {};

    // The reply socket is bound before anything goes out, so that a unit that
    // answers at once is heard.
    m_replyPortFailed = !m_reader.bind(platform::kAnyAddress, kReplyPort);
    // A port the system keeps for itself has no program to name.
    const bool reserved = m_replyPortFailed && m_reader.portReserved();
    m_replyPortMessage = reserved ? messages::kReplyPortReserved : messages::kReplyPortInUse;
    if (m_replyPortFailed && !reserved) {
        if (const auto owner = platform::udpPortOwner(kReplyPort))
            m_replyPortMessage =
                messages::withPortOwner(messages::kReplyPortInUse, owner->user, owner->program);
    }
    m_local = platform::localAddresses();

    // The sockets stay bound for the whole scan, so every resend leaves from
    // the same adapters with the same source ports.
    m_requestSockets.open();
    m_nextRequest = 0;
    m_scanClock.start();
    sendRequest();

    emit scanStarting();
    m_timer1.start();
}

void DiscoveryExchange::sendRequest()
{
    const QByteArray request(kDiscoveryRequest.data(),
                             static_cast<qsizetype>(kDiscoveryRequest.size()));
    m_counters.requests +=
        m_requestSockets.send(request, platform::kLimitedBroadcast, kRequestPort);
    if (++m_nextRequest < kRequestMomentsMs.size()) {
        const qint64 due = kRequestMomentsMs[m_nextRequest] - m_scanClock.elapsed();
        m_resendTimer.start(static_cast<int>(due > 0 ? due : 0));
    }
}

void DiscoveryExchange::onDiscoveryReply(std::size_t length)
{
    ++m_counters.datagrams;
    if (m_local.isOwnAddress(m_reader.source()) ||
        m_local.isLoopbackAdapter(m_reader.arrival().interfaceIndex)) {
        ++m_counters.ignored;
        return;
    }
    const ReplyOutcome outcome =
        ParseDiscoveryReply(m_receiveBuffer, length, m_table, textOf(m_pc.PcSubnetMask));
    if (outcome == ReplyOutcome::Added) {
        ++m_counters.added;
        DeviceRecord& record = *m_table.record(m_table.DeviceCount);
        const platform::Arrival& arrival = m_reader.arrival();
        record.ArrivalInterface = arrival.interfaceIndex;
        std::memcpy(&record.ArrivalAddress, arrival.localAddress.data(),
                    sizeof record.ArrivalAddress);
        // Under the mask of the unit's own network, which on a PC with more
        // than one adapter may not be the PC's chosen one.
        const PcNetworkValues own = unitNetworkValues(m_pc, m_adapters, record.ArrivalInterface);
        record.NetworkAddress = platform::inetAddr(textOf(record.IpAddress)) &
                                platform::inetAddr(textOf(own.PcSubnetMask));
    } else
        ++m_counters.ignored;
}

void DiscoveryExchange::EndScan()
{
    m_timer1.stop();
    m_resendTimer.stop(); // nothing goes out after the scan
    m_requestSockets.close();
    m_reader.close();
    emit scanEnded(m_replyPortFailed);
}

} // namespace discovery
