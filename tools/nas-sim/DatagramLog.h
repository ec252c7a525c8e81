#pragma once
// One JSON line per datagram, flushed at once so a test can read it while the
// simulator runs: {"t_ms":..,"dir":"in","peer":"192.168.1.37:40000","len":5,
// "hex":"3043303153","text":"0C01S"}.

#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QJsonObject>

class DatagramLog
{
public:
    bool open(const QString& path); // an empty path logs nothing
    void datagram(const char* direction, const QHostAddress& peer, quint16 port,
                  const QByteArray& bytes);
    void event(QJsonObject fields); // anything else worth a line ("dir":"event")

private:
    void writeLine(QJsonObject& line);

    QFile m_file;
    QElapsedTimer m_clock;
};
