#pragma once
// One scan: the "0C01S" broadcast, 3000 ms of replies into the device table,
// then the end of the scan, which the owner (main window, command-line tool)
// handles through scanEnded().

#include "discovery/core/DeviceTable.h"
#include "discovery/core/DiscoveryReply.h"
#include "discovery/core/LocalNetwork.h"
#include "discovery/core/Messages.h"
#include "platform/net/AdapterBroadcast.h"
#include "platform/net/DatagramReader.h"
#include "platform/os/LocalAddresses.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <string>
#include <vector>

namespace discovery {

class DiscoveryExchange : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DiscoveryExchange)

public:
    // The table and the PC values belong to the owner and outlive this object.
    DiscoveryExchange(DeviceTable& table, const PcNetworkValues& pc, QObject* parent = nullptr);
    ~DiscoveryExchange() override;

    // Clears the table, binds the reply socket to port 12310, broadcasts the
    // request through every adapter that is up, linked and has an address,
    // emits scanStarting() (the owner starts its progress bar) and then
    // starts Timer1. The request goes out again at the moments of
    // kRequestMomentsMs, all within the scan.
    void StartScan();

    // The PC's adapters as the network check read them: a unit whose reply
    // comes in by one of them with a sound set is judged by that adapter's
    // network. Without a list every unit is judged by the PC's values.
    void setAdapters(std::vector<AdapterAddresses> adapters) { m_adapters = std::move(adapters); }

    bool isScanning() const;
    // True when the last scan could not bind the reply port (its end reports it).
    bool replyPortFailed() const { return m_replyPortFailed; }
    // Then, the message that says so, naming the program in the way when the
    // system told.
    std::string replyPortMessage() const { return m_replyPortMessage; }

    // Counters of the current or last scan, for tests and benchmarks.
    struct Counters
    {
        int datagrams = 0;
        int added = 0;
        int ignored = 0;
        int requests = 0; // requests sent, one per adapter and moment
    };
    Counters counters() const { return m_counters; }

    QTimer* Timer1() { return &m_timer1; }

signals:
    void scanStarting();
    // After Timer1 fired: the timer is stopped and the reply socket closed.
    void scanEnded(bool replyPortFailed);

private:
    // One datagram, in the zeroed receive buffer: stands for the window
    // message of a waiting datagram. A datagram from this PC itself (one of
    // its addresses, or in by loopback) is no unit's, whatever it says: any
    // local program could have sent it.
    void onDiscoveryReply(std::size_t length);
    void EndScan();
    // Sends the request through every adapter and arms the timer for the next moment.
    void sendRequest();

    DeviceTable& m_table;
    const PcNetworkValues& m_pc;
    std::vector<AdapterAddresses> m_adapters;
    unsigned char m_receiveBuffer[kReceiveBufferSize]{};
    platform::DatagramReader m_reader; // after the buffer it reads into
    QTimer m_timer1;
    platform::AdapterBroadcast m_requestSockets; // open for the length of a scan
    QTimer m_resendTimer;
    QElapsedTimer m_scanClock;
    std::size_t m_nextRequest = 0; // index into kRequestMomentsMs
    bool m_replyPortFailed = false;
    std::string m_replyPortMessage = messages::kReplyPortInUse;
    platform::LocalAddresses m_local; // this PC's, read at the start of each scan
    Counters m_counters;
};

} // namespace discovery
