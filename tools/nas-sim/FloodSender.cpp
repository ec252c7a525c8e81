// Sends a flood plan on a timer at its rate, in bounded batches.
#include "tools/nas-sim/FloodSender.h"

#include "tools/nas-sim/FloodPlan.h"

#include <QUdpSocket>
#include <algorithm>

FloodSender::FloodSender(QUdpSocket* socket, QObject* parent) : QObject(parent), m_socket(socket)
{
    m_timer.setInterval(2);
    connect(&m_timer, &QTimer::timeout, this, &FloodSender::tick);
}

void FloodSender::start(const FloodPlan& plan, const QHostAddress& target, quint16 port,
                        int ratePerSecond, int maxMs)
{
    m_plan = plan;
    m_target = target;
    m_port = port;
    m_rate = ratePerSecond;
    m_maxMs = maxMs;
    m_next = 0;
    m_failed = 0;
    m_clock.start();
    m_timer.start();
    tick();
}

void FloodSender::tick()
{
    const qint64 elapsed = m_clock.elapsed();
    // Rate 0 means as fast as the socket takes them, a bounded batch per tick.
    const qint64 due = m_rate > 0 ? (elapsed + 2) * m_rate / 1000 : m_next + 2000;
    const int until = static_cast<int>(std::min<qint64>(due, m_plan.count()));
    while (m_next < until) {
        if (m_socket->writeDatagram(m_plan.datagram(m_next), m_target, m_port) < 0) {
            // Send buffer full: try again on the next tick.
            ++m_failed;
            break;
        }
        ++m_next;
    }
    if (m_next >= m_plan.count() || elapsed >= m_maxMs) {
        m_timer.stop();
        emit finished(m_next, m_failed, m_clock.elapsed());
    }
}
