// Writes the JSON lines of the datagram log.

#include "tools/nas-sim/DatagramLog.h"

#include "tools/nas-sim/ByteText.h"

#include <QJsonDocument>

bool DatagramLog::open(const QString& path)
{
    m_clock.start();
    if (path.isEmpty())
        return true;
    m_file.setFileName(path);
    return m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered);
}

void DatagramLog::datagram(const char* direction, const QHostAddress& peer, quint16 port,
                           const QByteArray& bytes)
{
    if (!m_file.isOpen())
        return;
    QJsonObject line{
        {QStringLiteral("dir"), QLatin1String(direction)},
        {QStringLiteral("peer"), QStringLiteral("%1:%2").arg(peer.toString()).arg(port)},
        {QStringLiteral("len"), bytes.size()},
        {QStringLiteral("hex"), QString::fromLatin1(bytes.toHex())},
        {QStringLiteral("text"), ByteText::escaped(bytes)},
    };
    writeLine(line);
}

void DatagramLog::event(QJsonObject fields)
{
    if (!m_file.isOpen())
        return;
    fields.insert(QStringLiteral("dir"), QStringLiteral("event"));
    writeLine(fields);
}

void DatagramLog::writeLine(QJsonObject& line)
{
    line.insert(QStringLiteral("t_ms"), m_clock.elapsed());
    m_file.write(QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n');
}
