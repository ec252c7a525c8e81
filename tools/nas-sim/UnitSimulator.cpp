// The simulated unit's loop: answering discovery (and flooding when asked),
// judging setup requests and applying the accepted address.

#include "tools/nas-sim/UnitSimulator.h"

#include "tools/nas-sim/AddressChanger.h"
#include "tools/nas-sim/FloodSender.h"
#include "tools/nas-sim/Ipv4Text.h"
#include "tools/nas-sim/SetupRequest.h"
#include "tools/nas-sim/SimConfig.h"
#include "tools/nas-sim/UnitReplies.h"

#include <QJsonObject>
#include <QNetworkDatagram>
#include <QTimer>
#include <sys/socket.h>
#include <utility>

UnitSimulator::UnitSimulator(SimConfig config, QObject* parent)
    : QObject(parent), m_config(std::move(config)), m_flood(new FloodSender(&m_socket, this))
{
    connect(m_flood, &FloodSender::finished, this, [this](int sent, int failed, qint64 ms) {
        m_log.event({{"flood", "finished"}, {"sent", sent}, {"retries", failed}, {"ms", ms}});
    });
    connect(&m_socket, &QUdpSocket::readyRead, this, &UnitSimulator::readPending);
}

QString UnitSimulator::start()
{
    if (!m_log.open(m_config.logPath))
        return QStringLiteral("cannot open the log %1").arg(m_config.logPath);
    // Several simulated units may share one namespace: share the port.
    if (!m_socket.bind(QHostAddress::AnyIPv4, m_config.listenPort,
                       QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint)) {
        return QStringLiteral("cannot bind UDP port %1: %2")
            .arg(m_config.listenPort)
            .arg(m_socket.errorString());
    }
    const int one = 1;
    ::setsockopt(static_cast<int>(m_socket.socketDescriptor()), SOL_SOCKET, SO_BROADCAST, &one,
                 sizeof one);
    return {};
}

void UnitSimulator::readPending()
{
    // Bounded: a burst is taken in slices so timers (replies, the flood) keep running.
    for (int i = 0; i < 256 && m_socket.hasPendingDatagrams(); ++i) {
        const QNetworkDatagram d = m_socket.receiveDatagram(65536);
        const QByteArray data = d.data();
        m_log.datagram("in", d.senderAddress(), static_cast<quint16>(d.senderPort()), data);
        const QHostAddress sender(d.senderAddress().toIPv4Address());
        if (data.startsWith("0C01S")) {
            handleDiscovery(sender);
        } else if (const auto request = SetupRequest::parse(data)) {
            if (request->identity == m_config.unit.identity)
                handleSetup(*request, sender);
        }
    }
    if (m_socket.hasPendingDatagrams())
        QTimer::singleShot(0, this, &UnitSimulator::readPending);
}

void UnitSimulator::send(const QByteArray& bytes, const QHostAddress& to)
{
    if (m_socket.writeDatagram(bytes, to, m_config.replyPort) < 0) {
        m_log.event({{"send_error", m_socket.errorString()}, {"to", to.toString()}});
        return;
    }
    m_log.datagram("out", to, m_config.replyPort, bytes);
}

void UnitSimulator::handleDiscovery(const QHostAddress& sender)
{
    const UnitConfig& unit = m_config.unit;
    // One flood per scan: the PC repeats its request within a scan.
    const bool newScan = !m_floodStart.isValid() || m_floodStart.elapsed() >= kScanMs;
    if (m_config.flood.count > 0 && !m_flood->isRunning() && newScan) {
        m_floodStart.start();
        m_flood->start(FloodPlan(m_config.flood.count, m_config.flood.units),
                       QHostAddress::Broadcast, m_config.replyPort, m_config.flood.ratePerSecond,
                       m_config.flood.maxMs);
    }
    if (!unit.answerDiscovery)
        return;
    const QHostAddress to = unit.broadcastReply ? QHostAddress(QHostAddress::Broadcast) : sender;
    auto answer = [this, to] {
        const UnitConfig& u = m_config.unit;
        for (const QByteArray& raw : u.rawReplies)
            send(raw, to);
        if (!u.rawReplies.isEmpty() && !u.rawAndReply)
            return;
        const QByteArray reply = UnitReplies::discovery(u.identity, u.values);
        for (int i = 0; i < u.copies; ++i)
            send(reply, to);
    };
    if (unit.delayMs > 0)
        QTimer::singleShot(unit.delayMs, this, answer);
    else
        answer();
}

char UnitSimulator::judge(const SetupRequest& request, int* prefixLength) const
{
    const UnitConfig& unit = m_config.unit;
    if (!request.complete)
        return unit.malformedStatus;
    if (request.user != unit.user || request.password != unit.password)
        return unit.badLoginStatus;
    const auto address = Ipv4Text::parse(request.address);
    const auto mask = Ipv4Text::parse(request.mask);
    const auto gateway = Ipv4Text::parse(request.gateway);
    const int length = mask ? Ipv4Text::prefixLength(*mask).value_or(0) : 0;
    if (!address || !gateway || length == 0)
        return unit.malformedStatus;
    *prefixLength = length;
    return unit.acceptStatus;
}

void UnitSimulator::handleSetup(const SetupRequest& request, const QHostAddress& sender)
{
    const UnitConfig& unit = m_config.unit;
    int prefixLength = -1;
    const char status = judge(request, &prefixLength);
    const bool takes = prefixLength > 0 && status == '2';
    m_log.event({{"setup", takes ? "accepted" : "refused"},
                 {"status", QString(QLatin1Char(status))},
                 {"address", QString::fromLatin1(request.address)},
                 {"mask", QString::fromLatin1(request.mask)},
                 {"gateway", QString::fromLatin1(request.gateway)}});
    const QHostAddress to =
        unit.setupBroadcastReply ? QHostAddress(QHostAddress::Broadcast) : sender;
    auto answer = [this, to, status, takes, request, prefixLength] {
        if (m_config.unit.answerSetup)
            send(UnitReplies::setup(m_config.unit.identity, status), to);
        // The answer goes out first: after the change the unit may no longer
        // reach the PC by unicast.
        if (takes)
            takeSettings(request, prefixLength);
    };
    if (unit.setupDelayMs > 0)
        QTimer::singleShot(unit.setupDelayMs, this, answer);
    else
        answer();
}

void UnitSimulator::takeSettings(const SetupRequest& request, int prefixLength)
{
    UnitConfig& unit = m_config.unit;
    if (unit.setupEffect == SetupEffect::Ignore)
        return;
    if (unit.setupEffect == SetupEffect::Address) {
        const QString error =
            AddressChanger::apply(unit.device, QString::fromLatin1(request.address), prefixLength,
                                  QString::fromLatin1(request.gateway));
        if (!error.isEmpty()) {
            m_log.event({{"address_error", error}});
            return;
        }
    }
    unit.values[0] = request.address;
    unit.values[1] = request.mask;
    unit.values[2] = request.gateway;
    m_log.event({{"address_taken", QString::fromLatin1(request.address)}});
}
