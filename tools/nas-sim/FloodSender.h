#pragma once
// Sends one flood at a steady rate from the event loop, bounded in count and time.

#include "tools/nas-sim/FloodPlan.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>
#include <QTimer>

class QUdpSocket;

class FloodSender : public QObject
{
    Q_OBJECT
public:
    FloodSender(QUdpSocket* socket, QObject* parent = nullptr);

    bool isRunning() const { return m_timer.isActive(); }
    void start(const FloodPlan& plan, const QHostAddress& target, quint16 port, int ratePerSecond,
               int maxMs);

signals:
    void finished(int sent, int failed, qint64 elapsedMs);

private:
    void tick();

    QUdpSocket* m_socket;
    QTimer m_timer;
    QElapsedTimer m_clock;
    FloodPlan m_plan{0, 0};
    QHostAddress m_target;
    quint16 m_port = 0;
    int m_rate = 0;
    int m_maxMs = 0;
    int m_next = 0;
    int m_failed = 0;
};
