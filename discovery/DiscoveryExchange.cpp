#include "discovery/DiscoveryExchange.h"

#include "discovery/core/FixedText.h"
#include "platform/os/Adapters.h"

#include <QHostAddress>
#include <QUdpSocket>

namespace discovery {
namespace {

// One request through each adapter that is up and has an address: a socket
// bound to the adapter's address sends its limited broadcast out of that
// adapter, so units on every segment of the PC hear it, not only those behind
// the default route.
void sendRequests()
{
    const QByteArray request(kDiscoveryRequest.data(),
                             static_cast<qsizetype>(kDiscoveryRequest.size()));
    const QHostAddress broadcast(QHostAddress::Broadcast);
    int sent = 0;
    if (const auto adapters = platform::adapters()) {
        for (const platform::Adapter& adapter : *adapters) {
            const QHostAddress source(QString::fromStdString(adapter.address));
            if (!adapter.up || source.isNull() || source == QHostAddress(QHostAddress::AnyIPv4))
                continue;
            QUdpSocket socket;
            if (!socket.bind(source, 0))
                continue;
            if (socket.writeDatagram(request, broadcast, kRequestPort) == request.size())
                ++sent;
        }
    }
    if (sent == 0) {
        // No adapter to bind to: one unbound send, leaving by the default route.
        QUdpSocket socket;
        socket.writeDatagram(request, broadcast, kRequestPort);
    }
}

} // namespace

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
    m_replyPortFailed = !m_reader.bind(QHostAddress(QHostAddress::AnyIPv4), kReplyPort);

    sendRequests();

    emit scanStarting();
    m_timer1.start();
}

void DiscoveryExchange::onDiscoveryReply(std::size_t length)
{
    ++m_counters.datagrams;
    const ReplyOutcome outcome =
        ParseDiscoveryReply(m_receiveBuffer, length, m_table, textOf(m_pc.PcSubnetMask));
    if (outcome == ReplyOutcome::Added)
        ++m_counters.added;
    else
        ++m_counters.ignored;
}

void DiscoveryExchange::EndScan()
{
    m_timer1.stop();
    m_reader.close();
    emit scanEnded(m_replyPortFailed);
}

} // namespace discovery
