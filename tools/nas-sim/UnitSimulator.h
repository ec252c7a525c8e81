#pragma once
// One simulated unit: answers discovery and setup requests on UDP 12311.

#include "tools/nas-sim/DatagramLog.h"
#include "tools/nas-sim/SimConfig.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>
#include <QUdpSocket>

class FloodSender;
struct SetupRequest;

class UnitSimulator : public QObject
{
    Q_OBJECT
public:
    explicit UnitSimulator(SimConfig config, QObject* parent = nullptr);

    // Opens the log and binds the request port; an error text, empty on success.
    QString start();

private:
    void readPending();
    void handleDiscovery(const QHostAddress& sender);
    void handleSetup(const SetupRequest& request, const QHostAddress& sender);
    void send(const QByteArray& bytes, const QHostAddress& to);
    void takeSettings(const SetupRequest& request, int prefixLength);
    char judge(const SetupRequest& request, int* prefixLength) const;

    SimConfig m_config;
    QUdpSocket m_socket;
    DatagramLog m_log;
    FloodSender* m_flood = nullptr;
    QElapsedTimer m_floodStart;
    static constexpr qint64 kScanMs = 3000; // how long the PC listens after its first request
};
